#include "tests/vst3/host/FakeGainView.h"

#include "tests/vst3/host/ChildWindow.h"
#include "tests/vst3/host/FakeGainEffect.h"

#include <cstring>

namespace fakegain {

namespace {
constexpr vst3::ViewRect kInitialSize{0, 0, 300, 200};
}

FakeGainView::FakeGainView(FakeGainEffect* owner) : CPluginView(&kInitialSize), owner_(owner)
{
  static_cast<vst3::IAudioProcessor*>(owner_)->addRef();
}

FakeGainView::~FakeGainView()
{
  closeChildWindow(window_);
  static_cast<vst3::IAudioProcessor*>(owner_)->release();
}

vst3::tresult PLUGIN_API FakeGainView::isPlatformTypeSupported(vst3::FIDString type)
{
  return haveWindows() && type != nullptr && std::strcmp(type, vst3::kPlatformTypeHWND) == 0 ? vst3::kResultTrue
                                                                                             : vst3::kResultFalse;
}

vst3::tresult PLUGIN_API FakeGainView::attached(void* parent, vst3::FIDString type)
{
  if (window_ != nullptr || isPlatformTypeSupported(type) != vst3::kResultTrue) return vst3::kResultFalse;
  window_ = openChildWindow(parent, getRect().getWidth(), getRect().getHeight());
  if (window_ == nullptr) return vst3::kResultFalse;
  return CPluginView::attached(parent, type);
}

vst3::tresult PLUGIN_API FakeGainView::removed()
{
  closeChildWindow(window_);
  window_ = nullptr;
  return CPluginView::removed();
}

vst3::tresult PLUGIN_API FakeGainView::onSize(vst3::ViewRect* newSize)
{
  const vst3::tresult r = CPluginView::onSize(newSize);
  if (newSize != nullptr) resizeChildWindow(window_, newSize->getWidth(), newSize->getHeight());
  return r;
}

vst3::tresult FakeGainView::requestSize(vst3::int32 width, vst3::int32 height)
{
  if (getFrame() == nullptr) return vst3::kResultFalse;
  vst3::ViewRect rect{0, 0, width, height};
  return getFrame()->resizeView(this, &rect);
}

}  // namespace fakegain
