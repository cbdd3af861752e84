#pragma once

#include "sdk/vst3/CPluginView.h"

class IPlugVST3;

// The editor view a VST3 host asks for: puts the plug-in's editor window into the host's
// window and takes it out again, reports the editor's size and carries the plug-in's resize
// requests to the host's frame. Holds a reference on the plug-in for its whole life.
class IPlugVST3View : public vst3::CPluginView
{
public:
  explicit IPlugVST3View(IPlugVST3* plug);
  ~IPlugVST3View() override;

  vst3::tresult PLUGIN_API isPlatformTypeSupported(vst3::FIDString type) override;
  vst3::tresult PLUGIN_API attached(void* parent, vst3::FIDString type) override;
  vst3::tresult PLUGIN_API removed() override;
  vst3::tresult PLUGIN_API getSize(vst3::ViewRect* size) override;
  vst3::tresult PLUGIN_API onSize(vst3::ViewRect* newSize) override;

  // Asks the host's frame for a new size; the host's onSize that follows tells the plug-in.
  // Nothing without a frame.
  void RequestResize(int width, int height);

private:
  IPlugVST3* mPlug;
  // Set while the plug-in's own resize request is with the host.
  bool mResizing = false;
};
