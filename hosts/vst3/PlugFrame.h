#pragma once
// The host's frame around an editor view: records resize requests and, like a real host,
// answers them by calling the view's onSize when the size changes.

#include "sdk/vst3/IPlugView.h"
#include "hosts/vst3/HostObject.h"

#include <vector>

namespace vst3host {

class PlugFrame : public HostObject<vst3::IPlugFrame>
{
public:
  struct Resize
  {
    vst3::IPlugView* view;
    vst3::ViewRect rect;
  };

  // followWithOnSize: whether resizeView ends with view->onSize(newSize) (a host that
  // accepts the size); otherwise the request is only recorded.
  explicit PlugFrame(bool followWithOnSize = true) : mFollowWithOnSize(followWithOnSize) {}

  vst3::tresult PLUGIN_API resizeView(vst3::IPlugView* view, vst3::ViewRect* newSize) override;

  const std::vector<Resize>& resizes() const { return mResizes; }

private:
  bool mFollowWithOnSize;
  std::vector<Resize> mResizes;
};

}  // namespace vst3host
