// The view window's messages: pointer and keys into the editor's dispatch, and the redraw
// timer's tick.
#include "framework/gui/WindowInput.h"
#include "framework/gui/win32/IGraphicsWin.h"

#include "framework/gui/IControl.h"

#include <windowsx.h>

namespace {

PointerModifiers ReadMouseModifiers(WPARAM wParam)
{
  return ModifiersFromMouseKeys(static_cast<unsigned>(LOWORD(wParam)), GetKeyState(VK_MENU) < 0);
}

RECT ToRect(const IRectangle& r)
{
  return RECT{r.L, r.T, r.R, r.B};
}

}  // namespace

LRESULT CALLBACK IGraphicsWin::ViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_CREATE)
  {
    auto* editor = static_cast<IGraphicsWin*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(editor));
    if (editor)
      SetTimer(window, kRedrawTimerId, static_cast<UINT>(TimerPeriodMs(editor->FPS())), nullptr);
    SetFocus(window);
    return 0;
  }
  auto* editor = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!editor || window != editor->mView)
    return DefWindowProcA(window, message, wParam, lParam);
  if (editor->mEntryField && editor->mEntryState == kEntryEditing)
    return editor->HandleWhileEditing(window, message, wParam, lParam);
  return editor->HandleMessage(window, message, wParam, lParam);
}

LRESULT IGraphicsWin::HandleWhileEditing(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message)
  {
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
    mEntryState = kEntryCancel;
    return 0;
  case WM_PAINT:
    // An area the host uncovered is still drawn, or it would stay blank.
    Paint();
    return 0;
  case WM_DESTROY:
    ForgetView();
    break;
  default:
    break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT IGraphicsWin::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message)
  {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    return 0;
  case WM_PAINT:
    Paint();
    return 0;
  case WM_CLOSE:
    CloseView();
    return 0;
  case WM_DESTROY:
    // The host destroyed its window with ours inside, without closing the editor.
    ForgetView();
    break;
  case WM_KEYDOWN:
  case WM_KEYUP:
    if (HandleKey(message, wParam, lParam))
      return 0;
    break;
  case WM_TIMER:
    if (wParam == kRedrawTimerId)
      Tick();
    return 0;
  case WM_CTLCOLOREDIT:
    return EntryColours(reinterpret_cast<HDC>(wParam));
  default:
    if (HandlePointer(message, wParam, lParam))
      return 0;
    break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool IGraphicsWin::HandlePointer(UINT message, WPARAM wParam, LPARAM lParam)
{
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  const PointerModifiers mods = ReadMouseModifiers(wParam);
  switch (message)
  {
  case WM_MOUSEMOVE:
    if (wParam & (MK_LBUTTON | MK_RBUTTON))
    {
      if (GetCapture() == mView && !mEntryField)
        DispatchDrag(x, y, mods);
    }
    else if (DispatchHover(x, y, mods))
      TrackHover();
    return true;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    HideTooltip();
    if (mEntryField)
    {
      mEntryState = kEntryCommit;
      return true;
    }
    SetFocus(mView);
    SetCapture(mView);
    DispatchPress(x, y, mods);
    return true;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP:
    // The middle button's press captured the pointer and began a gesture like the others.
    ReleaseCapture();
    DispatchRelease(x, y, mods);
    return true;
  case WM_LBUTTONDBLCLK:
    if (DispatchDoubleClick(x, y, mods))
      SetCapture(mView);
    return true;
  case WM_MOUSEWHEEL:
  {
    if (mEntryField)
    {
      mEntryState = kEntryCancel;
      return true;
    }
    // The wheel's position is on the screen.
    RECT window;
    if (GetWindowRect(mView, &window))
      DispatchWheel(x - window.left, y - window.top, mods, WheelNotches(GET_WHEEL_DELTA_WPARAM(wParam)));
    return true;
  }
  case WM_MOUSEHOVER:
    ShowTooltip();
    return true;
  case WM_MOUSELEAVE:
    HideTooltip();
    DispatchHoverLeave();
    return true;
  default:
    return false;
  }
}

bool IGraphicsWin::HandleKey(UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_KEYDOWN)
  {
    const int code = KeyCodeForVirtualKey(static_cast<int>(wParam));
    POINT p;
    if (code >= 0 && GetCursorPos(&p) && ScreenToClient(mView, &p) && DispatchKey(p.x, p.y, code))
      return true;
  }
  // Keys the editor does not use are the host's (its shortcuts, transport keys).
  HWND root = GetAncestor(mView, GA_ROOT);
  if (root && root != mView && !mForwardingKey)
  {
    // A host that sends the key back to its focused child must not loop.
    mForwardingKey = true;
    SendMessageA(root, message, wParam, lParam);
    mForwardingKey = false;
  }
  return false;
}

void IGraphicsWin::Paint()
{
  RECT update;
  if (!GetUpdateRect(mView, &update, FALSE))
    return;
  // Without controls nothing is presented, and an area left invalid would be painted for ever.
  if (!RedrawRect(IRectangle(update.left, update.top, update.right, update.bottom)))
    ValidateRect(mView, nullptr);
}

void IGraphicsWin::Tick()
{
  if (mEntryField && mEntryState != kEntryIdle)
  {
    if (mEntryState == kEntryCancel || mEntryState == kEntryCommit)
      FinishTextEntry();
    else
      mEntryState = kEntryIdle;
    return;
  }
  IRectangle dirty;
  if (!CollectDirtyRect(&dirty))
    return;
  const RECT area = ToRect(dirty);
  InvalidateRect(mView, &area, FALSE);
  if (mEntryField && mEntryControl)
  {
    // The open field lies over its control: the control is not painted over it.
    const RECT under = ToRect(mEntryControl->Rect());
    ValidateRect(mView, &under);
    UpdateWindow(mView);
    mEntryState = kEntryRepainted;
    return;
  }
  UpdateWindow(mView);
}
