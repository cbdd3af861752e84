#include "hosts/vst3/PlugFrame.h"

namespace vst3host {

vst3::tresult PLUGIN_API PlugFrame::resizeView(vst3::IPlugView* view, vst3::ViewRect* newSize)
{
  if (view == nullptr || newSize == nullptr)
    return vst3::kInvalidArgument;
  mResizes.push_back({view, *newSize});
  if (!mFollowWithOnSize)
    return vst3::kResultOk;
  // Hosts call onSize only when the size really changes.
  vst3::ViewRect current{};
  if (view->getSize(&current) == vst3::kResultOk && current.getWidth() == newSize->getWidth() &&
      current.getHeight() == newSize->getHeight())
    return vst3::kResultOk;
  vst3::ViewRect copy = *newSize;
  return view->onSize(&copy);
}

}  // namespace vst3host
