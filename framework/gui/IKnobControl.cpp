#include "framework/gui/IKnobControl.h"

#include "framework/core/IPlugBase.h"
#include "framework/gui/IBitmapControl.h"
#include "framework/gui/IGraphics.h"

#include <cstdio>
#include <cstring>
#include <limits>

IKnobControl::IKnobControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, int direction, double gearing)
  : IControl(plug, rect, paramIdx), mDirection(direction), mGearing(gearing)
{}

IKnobMultiControl::IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapRef& bitmap,
                                     int direction, double gearing)
  : IKnobControl(plug, FrameRectAt(x, y, bitmap), paramIdx, direction, gearing), mBitmap(bitmap)
{}

bool IKnobMultiControl::Render(IGraphics* graphics)
{
  return BlitValueFrame(graphics, mBitmap, Value(), mRect, Blend());
}

void IKnobMultiControl::HandleDragMove(int, int, int dx, int dy, const PointerModifiers& mods)
{
  // A knob without size (its image is missing) has no scale to drag along.
  if (mRect.W() <= 0 || mRect.H() <= 0 || !(mGearing > 0.0))
    return;
  const double gearing = mods.control || mods.shift ? mGearing * 10.0 : mGearing;
  if (mDirection == kVertical)
    SetValue(Value() + static_cast<double>(dy) / (mRect.T - mRect.B) / gearing);
  else
    SetValue(Value() + static_cast<double>(dx) / (mRect.R - mRect.L) / gearing);
  MarkChanged(true);
}

void IKnobMultiControl::HandleWheelTurn(int, int, const PointerModifiers& mods, int notches)
{
  StepByWheel(mods, notches);
}

namespace {

// Where the text goes for each position; widens the target rectangle to take clicks on it.
IRectangle PlaceText(const IRectangle& knob, int size, int position, int offset, IRectangle* target)
{
  const int m = size + 4;
  const int mid = knob.T + knob.H() / 2 - m / 2 + offset + 2;
  IRectangle text;
  switch (position)
  {
  case IKnobMultiControlText::kTextBelow:
    text = IRectangle(knob.L, knob.B + 4 + offset, knob.R, knob.B + 8 + size + offset);
    target->B = text.B;
    break;
  case IKnobMultiControlText::kTextAbove:
    text = IRectangle(knob.L, knob.T - size - 8, knob.R, knob.T);
    target->T = text.T;
    break;
  case IKnobMultiControlText::kTextCentred:
    text = IRectangle(knob.L, mid, knob.R, mid + m);
    break;
  case IKnobMultiControlText::kTextLeft:
    text = IRectangle(2 * knob.L - knob.R, mid, knob.L, mid + m);
    target->L = text.L;
    break;
  case IKnobMultiControlText::kTextRight:
    text = IRectangle(knob.R + 2, mid, knob.L + 6 * size + 2, mid + m);
    target->R = text.R;
    break;
  case IKnobMultiControlText::kTextRightBottom:
    text = IRectangle(knob.R - 4, knob.B - m, knob.L + 6 * size - 4, knob.B);
    target->R = text.R;
    break;
  default:
    break;
  }
  return text;
}

}  // namespace

IKnobMultiControlText::IKnobMultiControlText(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapRef& bitmap,
                                             const ITextStyle& style, bool showLabel, int textPosition, int offset)
  : IKnobMultiControl(plug, x, y, paramIdx, bitmap),
    mKnobRect(mRect),
    mDrawnTextValue(std::numeric_limits<double>::quiet_NaN()),
    mShownTextValue(std::numeric_limits<double>::quiet_NaN()),
    mShowLabel(showLabel)
{
  mStyle = style;
  mPromptDisabled = false;
  // A knob whose image is missing stays inert, text and all.
  if (!mKnobRect.Empty())
    mTextRect = PlaceText(mKnobRect, mStyle.size, textPosition, offset, &mTargetRect);
}

void IKnobMultiControlText::ComposeText(const IPlugParameter& param, double value, char* out, int capacity) const
{
  out[0] = '\0';
  char display[IPlugParameter::kTextSize];
  param.DisplayText(value, false, display, sizeof display, true);
  if (!display[0])
    return;
  if (mShowLabel)
    std::snprintf(out, static_cast<size_t>(capacity), "%s %s", display, param.UnitLabel());
  else
    std::snprintf(out, static_cast<size_t>(capacity), "%s", display);
}

bool IKnobMultiControlText::NeedsRedraw() const
{
  if (IKnobMultiControl::NeedsRedraw())
    return true;
  if (IsHidden())
    return false;
  // The plug-in may change the parameter without moving the knob: the text still follows.
  // The text depends on the value alone (the texts and labels are fixed), so the value is
  // compared; it is read without the plug-in lock, as it is kept atomically.
  const IPlugParameter* param = mPlug ? mPlug->ParamAt(mParamIdx) : nullptr;
  return param && param->Value() != mShownTextValue;
}

void IKnobMultiControlText::ClearChanged()
{
  mShownTextValue = mDrawnTextValue;
  IKnobMultiControl::ClearChanged();
}

bool IKnobMultiControlText::Render(IGraphics* graphics)
{
  IKnobMultiControl::Render(graphics);
  char text[kTextCapacity] = "";
  if (const IPlugParameter* param = mPlug ? mPlug->ParamAt(mParamIdx) : nullptr)
  {
    mDrawnTextValue = param->Value();
    ComposeText(*param, mDrawnTextValue, text, kTextCapacity);
  }
  mText.Assign(text);
  if (!mText.Get()[0] || mTextRect.Empty())
    return true;
  graphics->RenderText(mStyle, mText.Get(), &mTextRect, true);
  mTextRect.B = mTextRect.T + mStyle.size + 4;
  return graphics->RenderText(mStyle, mText.Get(), &mTextRect, false);
}

void IKnobMultiControlText::HandlePress(int x, int y, const PointerModifiers& mods)
{
  const IRectangle& t = mTextRect;
  if (!t.Empty() && x >= t.L && x < t.R && y >= t.T && y < t.B)
    AskValueInRect(mTextRect);
  else
    HandleDragMove(x, y, 0, 0, mods);  // moves nothing, but sends the value as a touch
}
