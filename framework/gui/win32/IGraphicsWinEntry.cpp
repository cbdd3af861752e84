// The text entry the value prompt opens over a control: an EDIT child of the view whose
// window procedure the editor takes over, committed or cancelled by the next tick.
#include "framework/gui/win32/IGraphicsWin.h"

#include "framework/gui/IControl.h"
#include "framework/gui/TextEntry.h"

#include <algorithm>
#include <vector>

namespace {

// The entry reads back at least this many characters, more when the control allows more.
constexpr int kMinEntryRead = 31;
constexpr int kMaxEntryRead = 1024;

DWORD FieldAlignment(int align)
{
  if (align == ITextStyle::kAlignNear)
    return ES_LEFT;
  if (align == ITextStyle::kAlignFar)
    return ES_RIGHT;
  return ES_CENTER;
}

}  // namespace

void IGraphicsWin::BeginTextEntry(IControl* control, const ITextStyle& style, const IRectangle& rect, const char* text,
                                  IPlugParameter* param)
{
  if (!control || mEntryField || !mView)
    return;
  const DWORD fieldStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | FieldAlignment(style.align);
  HWND field = CreateWindowExA(0, "EDIT", text ? text : "", fieldStyle, rect.L, rect.T, rect.W() + 1, rect.H() + 1,
                               mView, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEntryFieldId)), mModule, nullptr);
  if (!field)
    return;
  mEntryFont = CreateFontA(style.size, 0, 0, 0, style.style == ITextStyle::kStyleBold ? FW_BOLD : 0,
                           style.style == ITextStyle::kStyleItalic, 0, 0, 0, 0, 0, 0, 0, style.face);
  if (mEntryFont)
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(mEntryFont), 0);
  SendMessageA(field, EM_LIMITTEXT, static_cast<WPARAM>(std::max(control->TextEntryLimit(), 0)), 0);
  SendMessageA(field, EM_SETSEL, 0, -1);
  // The field takes the focus before the editor takes it over: it starts in the current state.
  SetFocus(field);
  mEntryField = field;
  mEntryFieldProc =
    reinterpret_cast<WNDPROC>(SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditFieldProc)));
  mEntryControl = control;
  mEntryParam = param;
}

void IGraphicsWin::CancelTextEntry()
{
  // Only an open field: a later one must not start cancelled.
  if (mEntryField)
    mEntryState = kEntryCancel;
}

LRESULT CALLBACK IGraphicsWin::EditFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
  auto* editor = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrA(GetParent(field), GWLP_USERDATA));
  if (!editor || field != editor->mEntryField)
    return DefWindowProcA(field, message, wParam, lParam);
  editor->HideTooltip();
  return editor->HandleFieldMessage(field, message, wParam, lParam);
}

LRESULT IGraphicsWin::HandleFieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message)
  {
  case WM_SETFOCUS:
    mEntryState = kEntryEditing;
    break;
  case WM_KILLFOCUS:
    mEntryState = kEntryCommit;
    break;
  case WM_GETDLGCODE:
  {
    LRESULT code = CallWindowProcA(mEntryFieldProc, field, message, wParam, lParam);
    // A dialog host asks with the message about to be delivered, or with none.
    const MSG* pending = reinterpret_cast<const MSG*>(lParam);
    if (!mEntryParam && pending && pending->message == WM_KEYDOWN && wParam == VK_RETURN)
      code |= DLGC_WANTALLKEYS;
    return code;
  }
  case WM_KEYDOWN:
    if (wParam == VK_RETURN)
    {
      mEntryState = kEntryCommit;
      return 0;
    }
    if (wParam == VK_ESCAPE)
    {
      mEntryState = kEntryCancel;
      return 0;
    }
    break;
  case WM_CHAR:
    if (mEntryParam && !TextEntryAccepts(mEntryParam, static_cast<int>(wParam)))
      return 0;
    break;
  case WM_COMMAND:
    if (HIWORD(wParam) == 1)
    {
      mEntryState = kEntryCommit;
      return 0;
    }
    break;
  default:
    break;
  }
  return CallWindowProcA(mEntryFieldProc, field, message, wParam, lParam);
}

void IGraphicsWin::FinishTextEntry()
{
  if (!mEntryField || mEntryState != kEntryCommit)
  {
    CloseTextEntry();
    return;
  }
  const int capacity = std::clamp(mEntryControl->TextEntryLimit(), kMinEntryRead, kMaxEntryRead) + 1;
  std::vector<char> text(static_cast<size_t>(capacity), 0);
  SendMessageA(mEntryField, WM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(text.data()));
  IControl* control = mEntryControl;
  IPlugParameter* param = mEntryParam;
  // Closed before the value goes out, so nothing the commit sets off sees a half-open entry.
  CloseTextEntry();
  CommitTextEntry(control, param, text.data());
}

void IGraphicsWin::CloseTextEntry()
{
  if (mEntryField)
  {
    // Given back first, so the field's loss of focus on its way out changes nothing here.
    SetWindowLongPtrA(mEntryField, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mEntryFieldProc));
    DestroyWindow(mEntryField);
  }
  if (mEntryFont)
    DeleteObject(mEntryFont);
  mEntryField = nullptr;
  mEntryFieldProc = nullptr;
  mEntryFont = nullptr;
  mEntryControl = nullptr;
  mEntryParam = nullptr;
  mEntryState = kEntryIdle;
}

LRESULT IGraphicsWin::EntryColours(HDC dc)
{
  if (!mEntryControl)
    return 0;
  const ITextStyle& style = mEntryControl->TextStyle();
  const IColour& back = style.entryBackground;
  const IColour& text = style.entryText;
  SetBkColor(dc, RGB(back.R, back.G, back.B));
  SetTextColor(dc, RGB(text.R, text.G, text.B));
  SetBkMode(dc, OPAQUE);
  return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}
