// Pointer and key dispatch, the host's edit gestures, and the value prompt.
#include "framework/core/IMenu.h"
#include "framework/core/IPlugBase.h"
#include "framework/gui/IControl.h"
#include "framework/gui/IGraphics.h"
#include "framework/gui/TextEntry.h"
#include "platform/ScopedLock.h"

#include <cstring>

int IGraphics::FindControlAt(int x, int y, bool hoverMode) const
{
  if (mCaptureIdx >= 0)
    return mCaptureIdx;
  for (int i = NControls() - 1; i >= 0; --i)
  {
    const IControl* control = ControlAt(i);
    if (control->IsHidden())
      continue;
    if (control->IsGreyed() && !(hoverMode && control->HoverWhileGreyed()))
      continue;
    if (control->ContainsPoint(x, y))
      return i;
  }
  return -1;
}

void IGraphics::BeginGesture(int paramIdx)
{
  EndGesture();
  if (!mPlug)
    return;
  mPlug->BeginInformHostOfParamChange(paramIdx);
  mGestureParam = paramIdx;
}

void IGraphics::EndGesture()
{
  const int paramIdx = mGestureParam;
  mGestureParam = -1;
  if (paramIdx >= 0 && mPlug)
    mPlug->EndInformHostOfParamChange(paramIdx);
}

template <class Edit>
void IGraphics::EditInGesture(int paramIdx, Edit edit)
{
  const bool own = mPlug && paramIdx >= 0 && paramIdx != mGestureParam;
  if (own)
    mPlug->BeginInformHostOfParamChange(paramIdx);
  edit();
  if (own)
    mPlug->EndInformHostOfParamChange(paramIdx);
}

void IGraphics::ReleasePointer()
{
  mCaptureIdx = -1;
  mLastX = mLastY = -1;
}

void IGraphics::CancelPointer()
{
  ReleasePointer();
  EndGesture();
}

void IGraphics::DispatchPress(int x, int y, const PointerModifiers& mods)
{
  // A press whose release never came (the window lost it) ends its gesture here.
  EndGesture();
  ReleasePointer();
  const int idx = FindControlAt(x, y, false);
  if (idx < 0)
    return;
  mCaptureIdx = idx;
  mLastX = x;
  mLastY = y;
  IControl* control = ControlAt(idx);
  const int paramIdx = control->ParamIdx();
  if (mPlug && mPlug->BindingKind() == IPlugBase::kBindingVST3 && mods.right)
  {
    if (paramIdx >= 0)
    {
      // The host shows its own menu for the parameter; the control lets go.
      ReleasePointer();
      mPlug->ShowHostParamMenu(paramIdx, x, y);
      return;
    }
  }
  else if (paramIdx >= 0)
  {
    if (mHostClickFilter && mHostClickFilter->HostTakesClick(paramIdx, mods))
    {
      ReleasePointer();
      return;
    }
    BeginGesture(paramIdx);
  }
  control->HandlePress(x, y, mods);
}

void IGraphics::DispatchRelease(int x, int y, const PointerModifiers& mods)
{
  const int idx = FindControlAt(x, y, false);
  ReleasePointer();
  if (idx >= 0)
    ControlAt(idx)->HandleRelease(x, y, mods);
  // Only a gesture that was begun is ended, and only once.
  EndGesture();
}

void IGraphics::DispatchDrag(int x, int y, const PointerModifiers& mods)
{
  if (mCaptureIdx < 0 || (x == mLastX && y == mLastY))
    return;
  const int dx = x - mLastX;
  const int dy = y - mLastY;
  mLastX = x;
  mLastY = y;
  if (IControl* control = ControlAt(mCaptureIdx))
    control->HandleDragMove(x, y, dx, dy, mods);
}

bool IGraphics::DispatchDoubleClick(int x, int y, const PointerModifiers& mods)
{
  EndGesture();
  ReleasePointer();
  const int idx = FindControlAt(x, y, false);
  if (idx < 0)
    return false;
  IControl* control = ControlAt(idx);
  // A reset is a whole edit: the window takes no capture, so its release may never come here.
  if (!control->DoubleClickActsAsPress())
  {
    EditInGesture(control->ParamIdx(), [&] { control->HandleDoubleClick(x, y, mods); });
    return false;
  }
  // A second press is an edit like any other; the release that follows ends it.
  if (control->ParamIdx() >= 0)
    BeginGesture(control->ParamIdx());
  mCaptureIdx = idx;
  mLastX = x;
  mLastY = y;
  control->HandlePress(x, y, mods);
  return true;
}

void IGraphics::DispatchWheel(int x, int y, const PointerModifiers& mods, int notches)
{
  const int idx = FindControlAt(x, y, false);
  if (idx < 0)
    return;
  IControl* control = ControlAt(idx);
  EditInGesture(control->ParamIdx(), [&] { control->HandleWheelTurn(x, y, mods, notches); });
}

bool IGraphics::DispatchHover(int x, int y, const PointerModifiers& mods)
{
  if (!mFlags.hoverHandling)
    return false;
  const int idx = FindControlAt(x, y, true);
  if (idx < 0)
    return true;
  mLastX = x;
  mLastY = y;
  ControlAt(idx)->HandleHoverMove(x, y, mods);
  if (mHoverIdx >= 0 && mHoverIdx != idx)
    if (IControl* left = ControlAt(mHoverIdx))
      left->HandleHoverLeave();
  mHoverIdx = idx;
  return true;
}

void IGraphics::DispatchHoverLeave()
{
  for (int i = 0, n = NControls(); i < n; ++i)
    ControlAt(i)->HandleHoverLeave();
  mHoverIdx = -1;
}

bool IGraphics::DispatchKey(int x, int y, int keyCode)
{
  const int idx = FindControlAt(x, y, false);
  if (idx >= 1)
    return ControlAt(idx)->HandleKey(x, y, keyCode);
  // Keys over the backdrop or over nothing are the catcher's, else the host's.
  return mKeyboardCatcher && mKeyboardCatcher->HandleKey(x, y, keyCode);
}

void IGraphics::AskValueForControl(IControl* control, IPlugParameter* param, const IRectangle& rect)
{
  if (!control || !param)
    return;
  const bool menu = param->Type() == IPlugParameter::kTypeEnum ||
                    (param->Type() == IPlugParameter::kTypeBool && param->TextCount() > 0);
  char current[IPlugParameter::kTextSize];
  {
    ScopedLock lock(mPlug ? mPlug->Mutex() : nullptr);
    if (menu)
      param->DisplayText(param->Value(), false, current, sizeof current, true);
    else
      param->PlainDisplay(current, sizeof current);
  }
  if (!menu)
  {
    BeginTextEntry(control, control->TextStyle(), rect, current, param);
    return;
  }
  IMenu choices;
  for (int i = 0, n = param->TextCount(); i < n; ++i)
  {
    const char* text = param->TextForValue(i);
    text = text ? text : "";
    choices.AppendItem(new IMenuItem(text, std::strcmp(text, current) == 0 ? IMenuItem::kChecked : 0));
  }
  if (const IMenu* chosen = RunPopupMenu(&choices, rect))
  {
    const double value = param->NormalOf(chosen->ChosenIndex());
    EditInGesture(control->ParamIdx(), [&] { control->ApplyEnteredValue(value); });
  }
}

void IGraphics::CommitTextEntry(IControl* control, IPlugParameter* param, const char* text)
{
  if (!control)
    return;
  text = text ? text : "";
  if (!param)
  {
    control->AcceptEnteredText(text);
    return;
  }
  const double value = param->NormalOf(EnteredValue(*param, text));
  EditInGesture(control->ParamIdx(), [&] { control->ApplyEnteredValue(value); });
}
