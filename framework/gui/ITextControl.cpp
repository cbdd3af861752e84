#include "framework/gui/ITextControl.h"

#include "framework/gui/IGraphics.h"

#include <cstring>

ITextControl::ITextControl(IPlugBase* plug, const IRectangle& rect, const ITextStyle& style, const char* text)
  : IControl(plug, rect), mText(text ? text : "")
{
  mStyle = style;
}

void ITextControl::ChangeText(const char* text)
{
  if (!text || std::strcmp(text, mText.Get()) == 0)
    return;
  MarkChanged(false);
  mText.Assign(text);
}

bool ITextControl::Render(IGraphics* graphics)
{
  if (!mText.Get()[0])
    return true;
  IRectangle rect = mRect;
  return graphics->RenderText(mStyle, mText.Get(), &rect, false);
}
