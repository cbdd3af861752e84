#include "sdk/vst3/CPluginView.h"

namespace vst3 {

CPluginView::CPluginView(const ViewRect* rect)
{
  if (rect)
    mRect = *rect;
}

CPluginView::~CPluginView()
{
  if (mFrame)
    mFrame->release();
}

tresult PLUGIN_API CPluginView::isPlatformTypeSupported(FIDString)
{
  return kNotImplemented;
}

tresult PLUGIN_API CPluginView::attached(void* parent, FIDString)
{
  mParent = parent;
  attachedToParent();
  return kResultOk;
}

tresult PLUGIN_API CPluginView::removed()
{
  mParent = nullptr;
  removedFromParent();
  return kResultOk;
}

tresult PLUGIN_API CPluginView::onWheel(float)
{
  return kResultFalse;
}
tresult PLUGIN_API CPluginView::onKeyDown(char16, int16, int16)
{
  return kResultFalse;
}
tresult PLUGIN_API CPluginView::onKeyUp(char16, int16, int16)
{
  return kResultFalse;
}

tresult PLUGIN_API CPluginView::getSize(ViewRect* size)
{
  if (!size)
    return kInvalidArgument;
  *size = mRect;
  return kResultTrue;
}

tresult PLUGIN_API CPluginView::onSize(ViewRect* newSize)
{
  if (newSize)
    mRect = *newSize;
  return kResultTrue;
}

tresult PLUGIN_API CPluginView::onFocus(TBool)
{
  return kResultFalse;
}

tresult PLUGIN_API CPluginView::setFrame(IPlugFrame* frame)
{
  if (frame)
    frame->addRef();
  if (mFrame)
    mFrame->release();
  mFrame = frame;
  return kResultTrue;
}

tresult PLUGIN_API CPluginView::canResize()
{
  return kResultFalse;
}
tresult PLUGIN_API CPluginView::checkSizeConstraint(ViewRect*)
{
  return kResultFalse;
}

tresult PLUGIN_API CPluginView::queryInterface(const TUID iid_, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (queryAs<IPlugView>(iid_, obj, this) == kResultOk)
    return kResultOk;
  return FObject::queryInterface(iid_, obj);
}

}  // namespace vst3
