#pragma once
// The gain plug-in's editor view: a child window in the host's "HWND" parent, 300 x 200,
// that can ask the host's frame for another size.

#include "sdk/vst3/CPluginView.h"

namespace fakegain {

class FakeGainEffect;

class FakeGainView : public vst3::CPluginView
{
public:
  // Holds a reference on the plug-in for as long as the view lives.
  explicit FakeGainView(FakeGainEffect* owner);
  ~FakeGainView() override;

  vst3::tresult PLUGIN_API isPlatformTypeSupported(vst3::FIDString type) override;
  // kResultFalse (and no window) for an unsupported type, a null parent or a failed window.
  vst3::tresult PLUGIN_API attached(void* parent, vst3::FIDString type) override;
  vst3::tresult PLUGIN_API removed() override;
  vst3::tresult PLUGIN_API onSize(vst3::ViewRect* newSize) override;

  // Asks the host's frame for a new size; kResultFalse without a frame.
  vst3::tresult requestSize(vst3::int32 width, vst3::int32 height);
  void* window() const { return window_; }

private:
  FakeGainEffect* owner_;
  void* window_ = nullptr;
};

}  // namespace fakegain
