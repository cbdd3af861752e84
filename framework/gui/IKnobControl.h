#pragma once

#include "framework/core/IPlugParameter.h"
#include "framework/core/StringBuffer.h"
#include "framework/gui/IBitmapRef.h"
#include "framework/gui/IControl.h"

// A knob: the value changes by dragging along one direction, geared down.
class IKnobControl : public IControl
{
public:
  static constexpr double kDefaultGearing = 4.0;

  IKnobControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, int direction = kVertical,
               double gearing = kDefaultGearing);

protected:
  int mDirection;
  double mGearing;
};

// A knob drawn as the frame of a multi-frame bitmap that stands for its value.
class IKnobMultiControl : public IKnobControl
{
public:
  IKnobMultiControl(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapRef& bitmap, int direction = kVertical,
                    double gearing = kDefaultGearing);

  bool Render(IGraphics* graphics) override;
  // Dragging by the knob's own size changes the value by 1 / gearing (a tenth of that with
  // shift or control); dragging up or right raises it.
  void HandleDragMove(int x, int y, int dx, int dy, const PointerModifiers& mods) override;
  void HandleWheelTurn(int x, int y, const PointerModifiers& mods, int notches) override;

protected:
  IBitmapRef mBitmap;
};

// A knob with its parameter's display text (and unit) drawn beside or over it. A click on
// the text opens the value prompt.
class IKnobMultiControlText : public IKnobMultiControl
{
public:
  enum ETextPosition
  {
    kTextBelow = 0,
    kTextAbove = 1,
    kTextCentred = 2,
    kTextLeft = 3,
    kTextRight = 4,
    kTextRightBottom = 5,
  };

  IKnobMultiControlText(IPlugBase* plug, int x, int y, int paramIdx, const IBitmapRef& bitmap, const ITextStyle& style,
                        bool showLabel = true, int textPosition = kTextBelow, int offset = 0);

  bool Render(IGraphics* graphics) override;
  void HandlePress(int x, int y, const PointerModifiers& mods) override;
  // Also when the parameter's value differs from the one its text shows (while shown).
  bool NeedsRedraw() const override;
  // Drawn whole: the text drawn is the one shown.
  void ClearChanged() override;

  // Where the text was last drawn (left and right fitted to it).
  const IRectangle& TextRect() const { return mTextRect; }
  const IRectangle& KnobRect() const { return mKnobRect; }

private:
  // A display text, a blank and a unit label, each within the parameter's text size.
  static constexpr int kTextCapacity = 3 * IPlugParameter::kTextSize;

  // The parameter's display text of the value, with the unit when shown.
  void ComposeText(const IPlugParameter& param, double value, char* out, int capacity) const;

  IRectangle mTextRect;
  IRectangle mKnobRect;
  StringBuffer mText;
  // The value the text was last drawn from, and the one the text shows: drawn whole, not
  // only the part of it in a paint's area. Not a number before the first.
  double mDrawnTextValue;
  double mShownTextValue;
  bool mShowLabel;
};
