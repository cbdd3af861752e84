// Base of an editor view: keeps the view rectangle, the host's parent window while attached,
// and the host's frame.
#pragma once

#include "sdk/vst3/FObject.h"
#include "sdk/vst3/IPlugView.h"

namespace vst3 {

class CPluginView : public FObject, public IPlugView
{
public:
  explicit CPluginView(const ViewRect* rect = nullptr);
  ~CPluginView() override;

  const ViewRect& getRect() const { return mRect; }
  void setRect(const ViewRect& rect) { mRect = rect; }
  bool isAttached() const { return mParent != nullptr; }
  void* getParent() const { return mParent; }
  IPlugFrame* getFrame() const { return mFrame; }

  // Hooks around attaching to and leaving the host's window.
  virtual void attachedToParent() {}
  virtual void removedFromParent() {}

  // IPlugView. A subclass must say which platform types it supports.
  tresult PLUGIN_API isPlatformTypeSupported(FIDString type) override;
  tresult PLUGIN_API attached(void* parent, FIDString type) override;
  tresult PLUGIN_API removed() override;
  tresult PLUGIN_API onWheel(float distance) override;
  tresult PLUGIN_API onKeyDown(char16 key, int16 keyCode, int16 modifiers) override;
  tresult PLUGIN_API onKeyUp(char16 key, int16 keyCode, int16 modifiers) override;
  tresult PLUGIN_API getSize(ViewRect* size) override;
  tresult PLUGIN_API onSize(ViewRect* newSize) override;
  tresult PLUGIN_API onFocus(TBool state) override;
  tresult PLUGIN_API setFrame(IPlugFrame* frame) override;
  tresult PLUGIN_API canResize() override;
  tresult PLUGIN_API checkSizeConstraint(ViewRect* rect) override;

  tresult PLUGIN_API queryInterface(const TUID iid_, void** obj) override;
  TQ_VST3_REFCOUNT_FROM(FObject)
  TQ_VST3_OBJECT(CPluginView, FObject)

private:
  ViewRect mRect{};
  void* mParent = nullptr;
  IPlugFrame* mFrame = nullptr;
};

}  // namespace vst3
