#include "framework/gui/IBitmapControl.h"

#include "framework/gui/IGraphics.h"

IRectangle FrameRectAt(int x, int y, const IBitmapRef& bitmap)
{
  if (bitmap.Empty())
    return IRectangle();
  return IRectangle(x, y, x + bitmap.FrameWidth(), y + bitmap.FrameHeight());
}

bool BlitValueFrame(IGraphics* graphics, const IBitmapRef& bitmap, double value, const IRectangle& rect,
                    const IBlendSpec& blend)
{
  const int frames = bitmap.frames;
  int frame = 1;
  if (frames > 1)
  {
    value = value > 0.0 ? (value < 1.0 ? value : 1.0) : 0.0;  // NaN too
    frame = static_cast<int>((frames - 1) * value + 0.5) + 1;
    frame = frame < 1 ? 1 : (frame > frames ? frames : frame);
  }
  int sx = 0;
  int sy = 0;
  if (frames >= 2 && frame >= 2)
  {
    const double step = static_cast<double>(frame - 1) / frames;
    if (bitmap.framesSideBySide)
      sx = static_cast<int>(bitmap.width * step + 0.5);
    else
      sy = static_cast<int>(bitmap.height * step + 0.5);
  }
  return graphics->BlitBitmap(bitmap, rect, sx, sy, &blend);
}

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, const IBitmapRef& bitmap, int blendKind)
  : IControl(plug, FrameRectAt(x, y, bitmap), -1, blendKind), mBitmap(bitmap)
{}

IBitmapControl::IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapRef& bitmap)
  : IControl(plug, FrameRectAt(x, y, bitmap), paramIdx), mBitmap(bitmap)
{}

bool IBitmapControl::Render(IGraphics* graphics)
{
  return BlitValueFrame(graphics, mBitmap, Value(), mRect, Blend());
}

ISwitchControl::ISwitchControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapRef& bitmap)
  : IBitmapControl(plug, x, y, paramIdx, bitmap)
{}

void ISwitchControl::HandlePress(int, int, const PointerModifiers& mods)
{
  if (mods.right)
    AskValue();
  else
    SetValue(Value() + (mBitmap.frames < 2 ? 1.0 : 1.0 / (mBitmap.frames - 1)));
  // Past the last frame it starts again; a right click without a prompt re-sends the value.
  if (Value() > 1.001)
    SetValue(0.0);
  MarkChanged(true);
}
