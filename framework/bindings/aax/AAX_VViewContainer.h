#pragma once

#include "framework/bindings/aax/HostRef.h"
#include "sdk/aax/HostViewContainerInterface.h"

// The host window that holds the editor: its native handle, the host's modifier keys, view
// resizing and clicks on parameter controls offered to the host first.
class AAX_IViewContainer
{
public:
  virtual ~AAX_IViewContainer() = default;
  virtual ACFResult Unused3() = 0;
  virtual void* NativeWindow() = 0;
  virtual ACFResult CurrentModifiers(uint32_t* modifiers) = 0;
  virtual ACFResult ChangeViewSize(const AAX_Point* size) = 0;
  // 0 means the host handled the click.
  virtual ACFResult ForwardParameterClick(const char* parameterId, uint32_t modifiers) = 0;
  virtual ACFResult Unused8(ACFWord a, ACFWord b) = 0;
  virtual ACFResult Unused9(ACFWord a, ACFWord b) = 0;
};

// Without the host's interface the window is null, resizing and op 3 answer 0, and the
// other operations -20009.
class AAX_VViewContainer : public AAX_IViewContainer
{
public:
  explicit AAX_VViewContainer(IACFUnknown* hostObject);
  ~AAX_VViewContainer() override = default;

  ACFResult Unused3() override;
  void* NativeWindow() override;
  ACFResult CurrentModifiers(uint32_t* modifiers) override;
  ACFResult ChangeViewSize(const AAX_Point* size) override;
  ACFResult ForwardParameterClick(const char* parameterId, uint32_t modifiers) override;
  ACFResult Unused8(ACFWord a, ACFWord b) override;
  ACFResult Unused9(ACFWord a, ACFWord b) override;

private:
  HostRef<HostViewContainerInterface> mInterface;
};
