// The editor window's tooltips inside a real host window, driven by sent messages. The queue
// is never pumped, so nothing the window system posts by itself comes in between.
#include "framework/gui/win32/IGraphicsWin.h"
#include "hosts/window/HostWindow.h"
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

class TipControl : public IControl
{
public:
  TipControl(const IRectangle& rect, const std::string& tip) : IControl(nullptr, rect) { SetTooltip(tip.c_str()); }
  bool Render(IGraphics*) override { return true; }
};

// Tips: {10,10,60,60} "Level", {100,100,150,150} 100 characters, {160,10,190,40} none.
struct TooltipWindowTest : ::testing::Test
{
  void Open(bool tooltips)
  {
    IGraphicsFlags flags;
    flags.hoverHandling = flags.tooltips = tooltips;
    editor = new IGraphicsWin(plug.get(), 200, 200, 0, flags);
    editor->AddControl(new TipControl({10, 10, 60, 60}, "Level"));
    editor->AddControl(new TipControl({100, 100, 150, 150}, std::string(100, 'w')));
    editor->AddControl(new TipControl({160, 10, 190, 40}, ""));
    plug->AttachEditor(editor);
    view = static_cast<HWND>(editor->OpenInParent(parent.handle()));
  }
  // Rests the pointer at x, y (a move, then the hover the window system would send); gives
  // whether a tip is shown, and its text.
  std::string Rest(int x, int y)
  {
    SendMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageA(view, WM_MOUSEHOVER, 0, MAKELPARAM(x, y));
    return Tip();
  }
  std::string Tip() const
  {
    char text[1024] = "";
    TOOLINFOA tool{sizeof tool, 0, view, reinterpret_cast<UINT_PTR>(view), {}, nullptr, text, 0, nullptr};
    SendMessageA(editor->TooltipWindow(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return (editor->TooltipShown() ? "shown " : "hidden ") + std::string(text);
  }

  hostwindow::HostWindow parent{200, 200};
  std::unique_ptr<GuiTestPlug> plug = std::make_unique<GuiTestPlug>();
  IGraphicsWin* editor = nullptr;  // the plug-in's
  HWND view = nullptr;
};

TEST_F(TooltipWindowTest, MadeOnlyWhenTheEditorHasTooltips)
{
  Open(false);
  EXPECT_EQ(Rest(20, 20), "hidden ");
  EXPECT_EQ(editor->TooltipWindow(), nullptr);
}

TEST_F(TooltipWindowTest, ARestingPointerShowsTheControlsTipUntilAPress)
{
  Open(true);
  HWND tooltip = editor->TooltipWindow();
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(Rest(20, 20), "shown Level");
  SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(Tip(), "hidden ");
  EXPECT_EQ(Rest(120, 120), "shown " + std::string(IControl::kTooltipMaxLength, 'w'));
  EXPECT_EQ(Rest(170, 20), "hidden ");
  EXPECT_EQ(editor->TooltipControlIndex(), 2);

  Rest(20, 20);
  editor->CloseView();
  EXPECT_FALSE(IsWindow(tooltip));
  EXPECT_EQ(Tip(), "hidden ");
  EXPECT_EQ(editor->TooltipWindow(), nullptr);
}

}  // namespace
