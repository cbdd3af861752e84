// Tooltips: one tool covering the view, whose text follows the control the pointer rests on.
#include "framework/gui/win32/IGraphicsWin.h"

#include "framework/gui/IControl.h"

#include <commctrl.h>

namespace {

// The view's one tool; the size is this build's own, as the common controls read it.
TOOLINFOA ViewTool(HWND view, const char* text)
{
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = view;
  tool.uId = reinterpret_cast<UINT_PTR>(view);
  tool.lpszText = const_cast<char*>(text);
  return tool;
}

}  // namespace

void IGraphicsWin::MakeTooltipWindow()
{
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
  HWND tooltip = nullptr;
  if (InitCommonControlsEx(&controls))
    tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mView, nullptr, mModule, nullptr);
  if (!tooltip)
  {
    DropTooltips();
    return;
  }
  SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TOOLINFOA tool = ViewTool(mView, "");
  // A tooltip window without its tool would never show anything.
  if (!SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)))
  {
    DestroyWindow(tooltip);
    DropTooltips();
    return;
  }
  mTooltip = tooltip;
}

void IGraphicsWin::DestroyTooltipWindow()
{
  // Owned by the view: it may have gone with it already.
  if (mTooltip && IsWindow(mTooltip))
    DestroyWindow(mTooltip);
  mTooltip = nullptr;
  mTooltipShown = false;
  mTooltipControlIdx = -1;
}

void IGraphicsWin::TrackHover()
{
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, mView, HOVER_DEFAULT};
  if (Flags().tooltips && HoverIndex() != mTooltipControlIdx)
  {
    mTooltipControlIdx = HoverIndex();
    if (mTooltipControlIdx >= 0)
      track.dwFlags |= TME_HOVER;
    HideTooltip();
  }
  TrackMouseEvent(&track);
}

void IGraphicsWin::ShowTooltip()
{
  const IControl* control = mTooltipControlIdx >= 0 ? ControlAt(mTooltipControlIdx) : nullptr;
  const char* text = control ? control->Tooltip() : nullptr;
  if (!mTooltip || !text)
    return;
  TOOLINFOA tool = ViewTool(mView, text);
  SendMessageA(mTooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  mTooltipShown = true;
}

void IGraphicsWin::HideTooltip()
{
  if (!mTooltipShown)
    return;
  if (mTooltip)
  {
    TOOLINFOA tool = ViewTool(mView, "");
    SendMessageA(mTooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  mTooltipShown = false;
}
