// The editor view a host embeds in its window, and the host's frame around it.
#pragma once

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

struct ViewRect
{
  int32 left;
  int32 top;
  int32 right;
  int32 bottom;
  int32 getWidth() const { return right - left; }
  int32 getHeight() const { return bottom - top; }
};
static_assert(sizeof(ViewRect) == 16, "ViewRect size");

constexpr const char* kPlatformTypeHWND = "HWND";
constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";

class IPlugFrame;

class IPlugView : public FUnknown
{
public:
  virtual tresult PLUGIN_API isPlatformTypeSupported(FIDString type) = 0;
  virtual tresult PLUGIN_API attached(void* parent, FIDString type) = 0;
  virtual tresult PLUGIN_API removed() = 0;
  virtual tresult PLUGIN_API onWheel(float distance) = 0;
  virtual tresult PLUGIN_API onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult PLUGIN_API onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult PLUGIN_API getSize(ViewRect* size) = 0;
  virtual tresult PLUGIN_API onSize(ViewRect* newSize) = 0;
  virtual tresult PLUGIN_API onFocus(TBool state) = 0;
  virtual tresult PLUGIN_API setFrame(IPlugFrame* frame) = 0;
  virtual tresult PLUGIN_API canResize() = 0;
  virtual tresult PLUGIN_API checkSizeConstraint(ViewRect* rect) = 0;
  TQ_VST3_IID(5BC32507, D06049EA, A6151B52, 2B755B29);
};

class IPlugFrame : public FUnknown
{
public:
  virtual tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* newSize) = 0;
  TQ_VST3_IID(367FAF01, AFA94693, 8D4DA2A0, ED0882A3);
};

}  // namespace vst3
