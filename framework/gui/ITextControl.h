#pragma once

#include "framework/core/StringBuffer.h"
#include "framework/gui/IControl.h"

// A text drawn in its rectangle, bound to no parameter.
class ITextControl : public IControl
{
public:
  ITextControl(IPlugBase* plug, const IRectangle& rect, const ITextStyle& style, const char* text);

  void ChangeText(const char* text);
  const char* Text() const { return mText.Get(); }
  bool Render(IGraphics* graphics) override;

private:
  StringBuffer mText;
};
