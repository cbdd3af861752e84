#pragma once

#include "framework/core/IRectangle.h"
#include "framework/gui/ITextStyle.h"
#include "framework/gui/IBlendSpec.h"
#include "framework/gui/PointerModifiers.h"

#include <atomic>
#include <deque>

class IGraphics;
class IPlugBase;
class ITextControl;

// The audio thread must never wait on the editor, not even inside an atomic.
static_assert(std::atomic<double>::is_always_lock_free && std::atomic<float>::is_always_lock_free &&
                std::atomic<bool>::is_always_lock_free,
              "control values must be lock-free atomics");

// One rectangle of the editor, bound to one parameter or to none. It holds a normalised
// value in 0..1, draws itself when the editor asks, reacts to the pointer and key events the
// editor routes to it, and sends the user's changes to the plug-in.
//
// The audio thread writes values and look (meters, host automation, greying) while the
// editor thread reads them to draw: value, default, the dirty flags, hidden, greyed and the
// blend weight are relaxed atomics, so neither side ever waits and no read is a data race.
class IControl
{
public:
  static constexpr int kDefaultTextEntryLimit = 7;
  static constexpr int kTooltipMaxLength = 79;

  // The direction a fader slides or a knob is dragged along.
  enum EDirection
  {
    kVertical = 0,
    kHorizontal = 1,  // any value but 0
  };

  IControl(IPlugBase* plug, const IRectangle& rect, int paramIdx = -1, int blendKind = IBlendSpec::kAlphaCopy,
           float blendWeight = IBlendSpec::kFullWeight);
  virtual ~IControl() = default;

  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Right button: the value prompt.
  virtual void HandlePress(int x, int y, const PointerModifiers& mods);
  virtual void HandleRelease(int /*x*/, int /*y*/, const PointerModifiers& /*mods*/) {}
  virtual void HandleDragMove(int /*x*/, int /*y*/, int /*dx*/, int /*dy*/, const PointerModifiers& /*mods*/) {}
  // Back to the default value, when there is one.
  virtual void HandleDoubleClick(int x, int y, const PointerModifiers& mods);
  virtual void HandleWheelTurn(int /*x*/, int /*y*/, const PointerModifiers& /*mods*/, int /*notches*/) {}
  virtual bool HandleKey(int /*x*/, int /*y*/, int /*keyCode*/) { return false; }
  virtual void HandleHoverMove(int /*x*/, int /*y*/, const PointerModifiers& /*mods*/) {}
  virtual void HandleHoverLeave() {}
  virtual bool Render(IGraphics* graphics) = 0;
  // A value from the plug-in. The first one ever received also becomes the default.
  virtual void ApplyPlugValue(double normalised);
  // What a text entry gave a control without a parameter.
  virtual void AcceptEnteredText(const char* /*text*/) {}
  // A hidden control is not drawn, and asks to be drawn only to leave the picture; shown
  // again, it is drawn with its value as it is then.
  virtual void SetHidden(bool hidden);
  virtual void SetGreyed(bool greyed);
  virtual bool ContainsPoint(int x, int y) const;
  // Clamps the value (NaN to the low end) and marks the control for drawing unless it is
  // hidden; with pushToPlug, a bound control sends the value to the plug-in.
  virtual void MarkChanged(bool pushToPlug);
  // After drawing: a change that arrived meanwhile keeps the control dirty for the next frame.
  virtual void ClearChanged();
  virtual bool NeedsRedraw() const;
  // Reserved for a subclass; nothing calls it.
  virtual void SpareHook() {}
  // A value from the plug-in for the auxiliary parameter at auxIdx (see AuxIndexOfParam);
  // stored clamped like the value, and drawn when it changes.
  virtual void ApplyPlugAuxValue(int auxIdx, double normalised);
  // Moves the drawing rectangle's corner to x, y; the target rectangle follows.
  virtual void MoveTo(int x, int y);

  // A value the value prompt gave.
  void ApplyEnteredValue(double normalised);
  // Opens the value prompt for the bound parameter, over the control.
  void AskValue();
  void AskValueInRect(const IRectangle& rect);

  // Binds a further parameter whose values the control takes as auxiliary values; while
  // the editor is being built only (the list does not change once values flow).
  void AddAuxParam(int paramIdx);
  // The first auxiliary value bound to the parameter, or -1.
  int AuxIndexOfParam(int paramIdx) const;
  int NAuxParams() const { return static_cast<int>(mAuxParams.size()); }
  double AuxValue(int auxIdx) const;

  // Texts that show the parameter's display text and its name after each change the user
  // makes; not owned, null for none.
  void SetValueTextLink(ITextControl* link) { mValueTextLink = link; }
  void SetNameTextLink(ITextControl* link) { mNameTextLink = link; }
  // The window shows it while the pointer rests on the control; a copy is kept, cut to
  // kTooltipMaxLength characters. Null or "" for none.
  void SetTooltip(const char* text);
  // Null when the control has none.
  const char* Tooltip() const { return mTooltip[0] ? mTooltip : nullptr; }

  IPlugBase* Plug() const { return mPlug; }
  const IRectangle& Rect() const { return mRect; }
  const IRectangle& TargetRect() const { return mTargetRect; }
  int ParamIdx() const { return mParamIdx; }
  double Value() const { return mValue.load(std::memory_order_relaxed); }
  // Below 0: no value has come from the plug-in yet.
  double DefaultValue() const { return mDefault.load(std::memory_order_relaxed); }
  bool IsHidden() const { return mHidden.load(std::memory_order_relaxed); }
  bool IsGreyed() const { return mGreyed.load(std::memory_order_relaxed); }
  IBlendSpec Blend() const { return {mBlendKind, mBlendWeight.load(std::memory_order_relaxed)}; }
  ITextStyle& TextStyle() { return mStyle; }
  int TextEntryLimit() const { return mTextEntryLimit; }
  bool PromptDisabled() const { return mPromptDisabled; }
  bool DoubleClickActsAsPress() const { return mDoubleClickActsAsPress; }
  bool HoverWhileGreyed() const { return mHoverWhileGreyed; }

protected:
  void SetValue(double normalised) { mValue.store(normalised, std::memory_order_relaxed); }
  // The wheel step shared by faders and knobs: 1/100 per notch, 1/1000 with shift or control.
  void StepByWheel(const PointerModifiers& mods, int notches);
  // Marks the control to be drawn on the next frame as well as this one (not while hidden).
  void MarkPending()
  {
    if (!IsHidden())
      mPending.store(true, std::memory_order_relaxed);
  }

  int mTextEntryLimit = kDefaultTextEntryLimit;
  ITextStyle mStyle;
  IPlugBase* mPlug;
  IRectangle mRect;        // where it draws, and what it marks dirty
  IRectangle mTargetRect;  // where it takes the pointer
  int mParamIdx;
  double mClampLow = 0.0;
  double mClampHigh = 1.0;
  bool mPromptDisabled = true;
  bool mDoubleClickActsAsPress = false;
  bool mHoverWhileGreyed = false;

private:
  struct AuxParam
  {
    explicit AuxParam(int idx) : paramIdx(idx) {}
    std::atomic<double> value{0.0};
    int paramIdx;
  };

  double Clamped(double value) const;
  // The user's change shown on the linked texts.
  void UpdateTextLinks();

  std::atomic<double> mValue{0.0};
  std::atomic<double> mDefault{-1.0};
  std::atomic<bool> mDirty{true};
  std::atomic<bool> mPending{false};
  std::atomic<bool> mHidden{false};
  std::atomic<bool> mGreyed{false};
  int mBlendKind;
  std::atomic<float> mBlendWeight;
  std::deque<AuxParam> mAuxParams;
  ITextControl* mValueTextLink = nullptr;
  ITextControl* mNameTextLink = nullptr;
  char mTooltip[kTooltipMaxLength + 1] = "";
};
