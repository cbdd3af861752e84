#include "framework/gui/IControl.h"

#include "framework/core/IPlugBase.h"
#include "framework/gui/IGraphics.h"
#include "framework/gui/ITextControl.h"

#include <cmath>
#include <cstring>

IControl::IControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, int blendKind, float blendWeight)
  : mPlug(plug), mRect(rect), mTargetRect(rect), mParamIdx(paramIdx), mBlendKind(blendKind), mBlendWeight(blendWeight)
{}

void IControl::HandlePress(int, int, const PointerModifiers& mods)
{
  if (mods.right)
    AskValue();
}

void IControl::HandleDoubleClick(int, int, const PointerModifiers&)
{
  const double defaultValue = DefaultValue();
  if (defaultValue < 0.0)
    return;
  SetValue(defaultValue);
  MarkChanged(true);
}

double IControl::Clamped(double value) const
{
  if (std::isnan(value))
    return mClampLow;
  return value < mClampLow ? mClampLow : (value > mClampHigh ? mClampHigh : value);
}

void IControl::ApplyPlugValue(double normalised)
{
  if (DefaultValue() < 0.0)
  {
    const double first = Clamped(normalised);
    SetValue(first);
    mDefault.store(first, std::memory_order_relaxed);
    // Drawn like any other value: an editor already on screen would otherwise keep showing
    // the look from before it, as long as the value does not change.
    MarkChanged(false);
    return;
  }
  if (normalised == Value())  // a NaN always counts as a change, so its correction is drawn
    return;
  // Stored already clamped: the editor thread may draw it at any moment.
  SetValue(Clamped(normalised));
  MarkChanged(false);
  MarkPending();
}

void IControl::ApplyEnteredValue(double normalised)
{
  if (normalised == Value())
    return;
  SetValue(normalised);
  MarkChanged(true);
  MarkPending();
}

void IControl::SetHidden(bool hidden)
{
  mHidden.store(hidden, std::memory_order_relaxed);
  mBlendWeight.store(hidden ? IBlendSpec::kHiddenWeight : IBlendSpec::kFullWeight, std::memory_order_relaxed);
  MarkChanged(false);
  // Drawn either way, although hidden: gone from the picture, or back with its current value.
  mDirty.store(true, std::memory_order_relaxed);
  mPending.store(true, std::memory_order_relaxed);
}

void IControl::SetGreyed(bool greyed)
{
  mGreyed.store(greyed, std::memory_order_relaxed);
  mBlendWeight.store(greyed ? IBlendSpec::kGreyedWeight : IBlendSpec::kFullWeight, std::memory_order_relaxed);
  MarkChanged(false);
}

bool IControl::ContainsPoint(int x, int y) const
{
  if (mTargetRect.Empty())
    return false;
  return x >= mTargetRect.L && x < mTargetRect.R && y >= mTargetRect.T && y < mTargetRect.B;
}

void IControl::MarkChanged(bool pushToPlug)
{
  const double value = Value();
  const double clamped = Clamped(value);
  // Written back only when it changes: the audio thread may be storing a newer value.
  if (!(clamped == value))
    SetValue(clamped);
  // A hidden control has nothing to show; SetHidden(false) has it drawn as it is by then.
  if (!IsHidden())
    mDirty.store(true, std::memory_order_relaxed);
  if (pushToPlug && mPlug && mParamIdx >= 0)
  {
    mPlug->SetParameterFromGUI(mParamIdx, clamped);
    UpdateTextLinks();
  }
}

void IControl::UpdateTextLinks()
{
  const IPlugParameter* param = mPlug->ParamAt(mParamIdx);
  if (!param)
    return;
  if (mValueTextLink)
  {
    char display[IPlugParameter::kTextSize];
    param->DisplayText(param->Value(), false, display, sizeof display, true);
    mValueTextLink->ChangeText(display);
  }
  if (mNameTextLink)
    mNameTextLink->ChangeText(param->NameText());
}

void IControl::AddAuxParam(int paramIdx)
{
  mAuxParams.emplace_back(paramIdx);
}

int IControl::AuxIndexOfParam(int paramIdx) const
{
  for (size_t i = 0; i < mAuxParams.size(); ++i)
    if (mAuxParams[i].paramIdx == paramIdx)
      return static_cast<int>(i);
  return -1;
}

double IControl::AuxValue(int auxIdx) const
{
  if (auxIdx < 0 || auxIdx >= NAuxParams())
    return 0.0;
  return mAuxParams[static_cast<size_t>(auxIdx)].value.load(std::memory_order_relaxed);
}

void IControl::ApplyPlugAuxValue(int auxIdx, double normalised)
{
  if (auxIdx < 0 || auxIdx >= NAuxParams())
    return;
  std::atomic<double>& value = mAuxParams[static_cast<size_t>(auxIdx)].value;
  if (normalised == value.load(std::memory_order_relaxed))  // a NaN counts as a change
    return;
  value.store(Clamped(normalised), std::memory_order_relaxed);
  MarkChanged(false);
  MarkPending();
}

void IControl::SetTooltip(const char* text)
{
  mTooltip[0] = '\0';
  if (text)
    std::strncat(mTooltip, text, kTooltipMaxLength);
}

void IControl::ClearChanged()
{
  // Taking the pending flag and keeping it as the dirty flag in one step each: a change
  // that lands between the two still shows as pending, which NeedsRedraw also reports. A
  // hidden control, once drawn away, is done with until it is shown.
  const bool pending = mPending.exchange(false, std::memory_order_relaxed);
  mDirty.store(pending && !IsHidden(), std::memory_order_relaxed);
}

bool IControl::NeedsRedraw() const
{
  return mDirty.load(std::memory_order_relaxed) || mPending.load(std::memory_order_relaxed);
}

void IControl::MoveTo(int x, int y)
{
  mRect = IRectangle(x, y, x + mRect.W(), y + mRect.H());
  mTargetRect = mRect;
}

void IControl::AskValue()
{
  const IPlugParameter* param = mPlug && !mPromptDisabled ? mPlug->ParamAt(mParamIdx) : nullptr;
  if (!param)
    return;
  if (param->TextCount() > 0)
  {
    AskValueInRect(mRect);
    return;
  }
  // Single-precision halves, truncated: the rectangle centred on the control.
  const int cx = static_cast<int>(static_cast<float>(mRect.L + mRect.R) * 0.5f);
  const int cy = static_cast<int>(static_cast<float>(mRect.T + mRect.B) * 0.5f);
  const int hw = static_cast<int>(static_cast<float>(mRect.R - mRect.L) * 0.5f);
  const int hh = static_cast<int>(static_cast<float>(mRect.B - mRect.T) * 0.5f);
  AskValueInRect(IRectangle(cx - hw, cy - hh, cx + hw, cy + hh));
}

void IControl::AskValueInRect(const IRectangle& rect)
{
  IPlugParameter* param = mPlug && !mPromptDisabled ? mPlug->ParamAt(mParamIdx) : nullptr;
  if (!param)
    return;
  if (IGraphics* graphics = dynamic_cast<IGraphics*>(mPlug->Editor()))
    graphics->AskValueForControl(this, param, rect);
  MarkPending();
}

void IControl::StepByWheel(const PointerModifiers& mods, int notches)
{
  SetValue(Value() + notches * (mods.control || mods.shift ? 0.001 : 0.01));
  MarkChanged(true);
}
