#pragma once

#include "framework/gui/IBitmapRef.h"
#include "framework/gui/IControl.h"

// The rectangle of one frame of the bitmap with its top-left corner at x, y; all zero for
// an empty bitmap, so that a control over a missing image draws nothing and takes no input.
IRectangle FrameRectAt(int x, int y, const IBitmapRef& bitmap);

// Draws the frame of a multi-frame bitmap that stands for the value (frames in value order)
// into rect.
bool BlitValueFrame(IGraphics* graphics, const IBitmapRef& bitmap, double value, const IRectangle& rect,
                    const IBlendSpec& blend);

// A frame of a bitmap chosen by the value: the backdrop, the meters.
class IBitmapControl : public IControl
{
public:
  IBitmapControl(IPlugBase* plug, int x, int y, const IBitmapRef& bitmap, int blendKind = IBlendSpec::kAlphaCopy);

  bool Render(IGraphics* graphics) override;

  const IBitmapRef& Bitmap() const { return mBitmap; }

protected:
  IBitmapControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapRef& bitmap);

  IBitmapRef mBitmap;
};

// Steps through its frames, one per click, and wraps round to the first.
class ISwitchControl : public IBitmapControl
{
public:
  ISwitchControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapRef& bitmap);

  void HandlePress(int x, int y, const PointerModifiers& mods) override;
  void HandleDoubleClick(int x, int y, const PointerModifiers& mods) override { HandlePress(x, y, mods); }
};
