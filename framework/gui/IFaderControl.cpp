#include "framework/gui/IFaderControl.h"

#include "framework/gui/IGraphics.h"

namespace {

IRectangle TrackRect(int x, int y, int trackLength, const IBitmapRef& handle, int direction)
{
  if (handle.Empty())
    return IRectangle();
  if (direction == IFaderControl::kVertical)
    return IRectangle(x, y, x + handle.width, y + trackLength);
  return IRectangle(x, y, x + trackLength, y + handle.height);
}

}  // namespace

IFaderControl::IFaderControl(IPlugBase* plug, int x, int y, int trackLength, int paramIdx, const IBitmapRef& handle,
                             int direction, bool handleOnlyHit)
  : IControl(plug, TrackRect(x, y, trackLength, handle, direction), paramIdx),
    mTrackLength(trackLength),
    mHandleSize(direction == kVertical ? handle.height : handle.width),
    mHandle(handle),
    mDirection(direction),
    mHandleOnlyHit(handleOnlyHit)
{}

IRectangle IFaderControl::HandleRect(double value) const
{
  if (value < 0.0)
    value = Value();
  IRectangle out(mRect.L, mRect.T, mRect.L + mHandle.width, mRect.T + mHandle.height);
  const int travel = mTrackLength - mHandleSize;
  if (Vertical())
  {
    const int offset = static_cast<int>(travel * (1.0 - value));
    out.T += offset;
    out.B += offset;
  }
  else
  {
    const int offset = static_cast<int>(travel * value);
    out.L += offset;
    out.R += offset;
  }
  return out;
}

bool IFaderControl::Render(IGraphics* graphics)
{
  const IBlendSpec blend = Blend();
  return graphics->BlitBitmap(mHandle, HandleRect(), 0, 0, &blend);
}

bool IFaderControl::ContainsPoint(int x, int y) const
{
  if (!mHandleOnlyHit)
    return IControl::ContainsPoint(x, y);
  if (mTargetRect.Empty())
    return false;
  const IRectangle handle = HandleRect();
  return x >= handle.L && x < handle.R && y >= handle.T && y < handle.B;
}

void IFaderControl::HandlePress(int x, int y, const PointerModifiers& mods)
{
  if (mods.right)
    AskValue();
  else
    JumpToPoint(x, y);
}

void IFaderControl::HandleDragMove(int x, int y, int, int, const PointerModifiers&)
{
  JumpToPoint(x, y);
}

void IFaderControl::HandleWheelTurn(int, int, const PointerModifiers& mods, int notches)
{
  StepByWheel(mods, notches);
}

void IFaderControl::JumpToPoint(int x, int y)
{
  const int travel = mTrackLength - mHandleSize;
  // A handle as long as its track cannot move: the value stays.
  if (travel <= 0)
    return;
  const double halfHandle = mHandleSize / 2;
  if (Vertical())
    SetValue(1.0 - (y - mRect.T - halfHandle) / travel);
  else
    SetValue((x - mRect.L - halfHandle) / travel);
  MarkChanged(true);
}
