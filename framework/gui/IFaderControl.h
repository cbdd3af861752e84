#pragma once

#include "framework/gui/IBitmapRef.h"
#include "framework/gui/IControl.h"

// A handle bitmap sliding along a track; the value follows the pointer.
class IFaderControl : public IControl
{
public:
  IFaderControl(IPlugBase* plug, int x, int y, int trackLength, int paramIdx, const IBitmapRef& handle,
                int direction = kVertical, bool handleOnlyHit = false);

  // Where the handle lies for a value (below 0: the current value).
  IRectangle HandleRect(double value = -1.0) const;

  bool Render(IGraphics* graphics) override;
  bool ContainsPoint(int x, int y) const override;
  void HandlePress(int x, int y, const PointerModifiers& mods) override;
  void HandleDragMove(int x, int y, int dx, int dy, const PointerModifiers& mods) override;
  void HandleWheelTurn(int x, int y, const PointerModifiers& mods, int notches) override;
  // Puts the handle's centre at the pointer.
  virtual void JumpToPoint(int x, int y);

private:
  bool Vertical() const { return mDirection == kVertical; }

  int mTrackLength;
  int mHandleSize;  // along the track
  IBitmapRef mHandle;
  int mDirection;
  bool mHandleOnlyHit;
};
