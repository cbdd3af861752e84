#pragma once

#include "framework/bindings/aax/AAX_VController.h"
#include "framework/bindings/aax/AAX_VTransport.h"
#include "framework/bindings/aax/AAX_VViewContainer.h"
#include "framework/bindings/aax/CACFUnknown.h"
#include "framework/gui/IGraphics.h"
#include "sdk/aax/AAX_IACFEffectGUI.h"
#include "sdk/aax/AAX_IACFEffectParameters.h"

#include <memory>

class IPlugAAX;

// The module side of the editor interface: the host's operations, then the hooks through
// which an editor object fills the host's view.
class AAX_IEffectGUI : public AAX_IACFEffectGUI
{
public:
  virtual void MakeViewContents() = 0;
  virtual void MakeViewContainer() = 0;
  virtual void DropViewContainer() = 0;
  virtual void AnnounceParameters() = 0;

protected:
  ~AAX_IEffectGUI() = default;
};

// The editor object the host makes beside each instance. Between StartInstance and
// StopInstance it holds the host's controller and transport and a reference to the
// instance's effect-parameters interface; while the host lends it a view container it owns
// the wrapper over it. Stopping, or a second start, gives back everything the first start
// and the view took.
class AAX_CEffectGUI : public AAX_IEffectGUI, public CACFUnknown
{
public:
  AAX_CEffectGUI() = default;
  ~AAX_CEffectGUI() override;

  // ---- IACFUnknown: forwarded to the controlling unknown ----
  ACFResult ACF_STDCALL QueryInterface(const ACFGuid& iid, void** out) override;
  uint32_t ACF_STDCALL AddRef() override;
  uint32_t ACF_STDCALL Release() override;
  ACFResult InnerQueryInterface(const ACFGuid& iid, void** out) override;

  // ---- The host's operations ----
  // -20011 without a host object or when the controller wrapper cannot be made.
  ACFResult StartInstance(IACFUnknown* hostObject) override;
  ACFResult StopInstance() override;
  ACFResult IdleThreeArgsA(ACFWord, ACFWord, ACFWord) override { return kAAX_Success; }
  ACFResult AttachViewContainer(IACFUnknown* viewHost) override;
  ACFResult QueryViewSize(AAX_Point*) override { return kAAX_Success; }
  ACFResult IdleOneArg(ACFWord) override { return kAAX_Success; }
  ACFResult IdleNoArgs() override { return kAAX_Success; }
  ACFResult ParameterNotice(const char*) override { return kAAX_Success; }
  ACFResult RefuseRequest(ACFWord, ACFWord) override { return kAAX_ErrMissingInterface; }
  ACFResult IdleThreeArgsB(ACFWord, ACFWord, ACFWord) override { return kAAX_Success; }

  // Hands every parameter identifier of the instance to ParameterNotice.
  void AnnounceParameters() override;

  AAX_IACFEffectParameters* ParametersInterface() const { return mEffectParameters.Get(); }
  AAX_IViewContainer* ViewContainer() const { return mViewContainer.get(); }
  // The container's native window; null without one.
  void* ContainerWindow() const;

protected:
  // Closes what the view shows and drops the container wrapper. Derived destructors call it
  // while their hooks still exist.
  void CloseViewContainer();
  // Lets go of what MakeViewContents took.
  virtual void ReleaseViewContents() {}

private:
  void EndInstance();

  std::unique_ptr<AAX_VController> mController;
  HostRef<AAX_IACFEffectParameters> mEffectParameters;
  std::unique_ptr<AAX_VViewContainer> mViewContainer;
  std::unique_ptr<AAX_VTransport> mTransport;
};

// The editor object of a framework plug-in: it opens the plug-in's own editor (which the
// plug-in keeps) in the host's view, offers the host every click on a parameter control
// first, and lets the plug-in resize the view. Nothing of the plug-in is kept past
// StopInstance.
class AAX_CEffectGUI_IPLUG : public AAX_CEffectGUI, public IHostClickFilter
{
public:
  // Modifier bits of a click offered to the host.
  static constexpr uint32_t kClickShift = 0x01;
  static constexpr uint32_t kClickAlt = 0x04;
  static constexpr uint32_t kClickControl = 0x08;
  static constexpr uint32_t kClickRight = 0x10;

  AAX_CEffectGUI_IPLUG() = default;
  ~AAX_CEffectGUI_IPLUG() override;

  // The editor's size; without an editor the point is left as it is.
  ACFResult QueryViewSize(AAX_Point* size) override;
  void MakeViewContents() override;
  void MakeViewContainer() override;
  void DropViewContainer() override;

  // True when the host took the click (its own modifier clicks on parameters).
  bool HostTakesClick(int paramIdx, const PointerModifiers& mods) override;

  // The plug-in and its editor; null outside StartInstance .. StopInstance.
  IPlugAAX* Plug() const { return mPlug; }
  IGraphics* Graphics() const { return mGraphics; }

protected:
  void ReleaseViewContents() override;

private:
  IPlugAAX* mPlug = nullptr;
  IGraphics* mGraphics = nullptr;
};

// The GUI create procedure: a new editor object (reference count 0), or null.
IACFUnknown* CreateEffectGUI();
