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
  // Rests the pointer at x, y: a move, then the hover the window system would send.
  void Rest(int x, int y)
  {
    SendMessageA(view, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageA(view, WM_MOUSEHOVER, 0, MAKELPARAM(x, y));
  }
  std::string TipText() const
  {
    char text[1024] = "";
    TOOLINFOA tool{sizeof tool, 0, view, reinterpret_cast<UINT_PTR>(view), {}, nullptr, text, 0, nullptr};
    SendMessageA(editor->TooltipWindow(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
  }

  hostwindow::HostWindow parent{200, 200};
  std::unique_ptr<GuiTestPlug> plug = std::make_unique<GuiTestPlug>();
  IGraphicsWin* editor = nullptr;  // the plug-in's
  HWND view = nullptr;
};

TEST_F(TooltipWindowTest, MadeOnlyWhenTheEditorHasTooltips)
{
  Open(false);
  Rest(20, 20);
  EXPECT_EQ(editor->TooltipWindow(), nullptr);
  EXPECT_FALSE(editor->TooltipShown());
}

TEST_F(TooltipWindowTest, ARestingPointerShowsTheControlsTipUntilAPress)
{
  Open(true);
  HWND tooltip = editor->TooltipWindow();
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  Rest(20, 20);
  EXPECT_TRUE(editor->TooltipShown());
  EXPECT_EQ(TipText(), "Level");
  SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_FALSE(editor->TooltipShown());
  EXPECT_EQ(TipText(), "");
  Rest(120, 120);
  EXPECT_EQ(TipText(), std::string(IControl::kTooltipMaxLength, 'w'));
  Rest(170, 20);
  EXPECT_EQ(editor->TooltipControlIndex(), 2);
  EXPECT_EQ(TipText(), "");

  Rest(20, 20);
  editor->CloseView();
  EXPECT_FALSE(IsWindow(tooltip));
  EXPECT_EQ(editor->TooltipWindow(), nullptr);
  EXPECT_FALSE(editor->TooltipShown());
}

}  // namespace
