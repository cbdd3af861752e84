#include "framework/bindings/vst3/IPlugVST3View.h"

#include "framework/bindings/vst3/IPlugVST3.h"
#include "sdk/vst3/NoThrow.h"

#include <cstring>

using namespace vst3;

IPlugVST3View::IPlugVST3View(IPlugVST3* plug) : mPlug(plug)
{
  mPlug->addRef();
}

IPlugVST3View::~IPlugVST3View()
{
  mPlug->RemoveView(this);
  mPlug->release();
}

tresult PLUGIN_API IPlugVST3View::isPlatformTypeSupported(FIDString type)
{
  const IPlugEditor* editor = mPlug->Editor();
  const char* supported = editor ? editor->ParentWindowType() : nullptr;
  return supported && type && std::strcmp(type, supported) == 0 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IPlugVST3View::attached(void* parent, FIDString type)
{
  return noThrow([&] {
    IPlugEditor* editor = mPlug->Editor();
    // Only a window that was made counts as attached: the host shows nothing otherwise.
    if (!editor || isPlatformTypeSupported(type) != kResultTrue || !editor->OpenInParent(parent))
      return kResultFalse;
    CPluginView::attached(parent, type);
    mPlug->EditorOpened();
    return kResultOk;
  });
}

tresult PLUGIN_API IPlugVST3View::removed()
{
  return noThrow([&] {
    IPlugEditor* editor = mPlug->Editor();
    if (editor && isAttached())
    {
      mPlug->EditorClosed();
      editor->CloseView();
    }
    return CPluginView::removed();
  });
}

tresult PLUGIN_API IPlugVST3View::getSize(ViewRect* size)
{
  const IPlugEditor* editor = mPlug->Editor();
  if (!size)
    return kInvalidArgument;
  if (!editor)
    return kResultFalse;
  *size = ViewRect{0, 0, editor->Width(), editor->Height()};
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3View::onSize(ViewRect* newSize)
{
  return noThrow([&] {
    if (!newSize)
      return kResultOk;
    setRect(*newSize);
    if (mResizing)
    {
      mResizing = false;
      if (IPlugEditor* editor = mPlug->Editor())
        mPlug->EditorResized(editor);
    }
    return kResultOk;
  });
}

void IPlugVST3View::RequestResize(int width, int height)
{
  IPlugFrame* frame = getFrame();
  if (!frame)
    return;
  ViewRect size{0, 0, width, height};
  mResizing = true;
  frame->resizeView(this, &size);
}
