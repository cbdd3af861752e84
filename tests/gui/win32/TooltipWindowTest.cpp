// The editor window's tooltips in a real host window, driven by the messages the pointer
// makes; sent, never waited for, and the queue is not pumped, so nothing the window system
// posts by itself (the pointer is elsewhere) gets in between.
#include "framework/gui/win32/IGraphicsWin.h"
#include "hosts/window/HostWindow.h"
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windows.h>

#include <string>

namespace {

// Draws nothing; its tooltip is the test's.
class TipControl : public IControl
{
public:
  TipControl(const IRectangle& rect, const char* tip) : IControl(nullptr, rect) { SetTooltip(tip); }
  bool Render(IGraphics*) override { return true; }
};

LPARAM At(int x, int y)
{
  return MAKELPARAM(x, y);
}

class TooltipWindowTest : public ::testing::Test
{
protected:
  // Controls: 0 {10,10,60,60} "Level of the effect", 1 {100,100,150,150} a 100-character
  // tip, 2 {160,10,190,40} without one.
  IGraphicsWin* Open(const IGraphicsFlags& flags)
  {
    editor = new IGraphicsWin(plug.get(), 200, 200, 0, flags);
    editor->AddControl(new TipControl({10, 10, 60, 60}, "Level of the effect"));
    editor->AddControl(new TipControl({100, 100, 150, 150}, std::string(100, 'w').c_str()));
    editor->AddControl(new TipControl({160, 10, 190, 40}, nullptr));
    plug->AttachEditor(editor);
    view = static_cast<HWND>(editor->OpenInParent(parent.handle()));
    EXPECT_NE(view, nullptr);
    return editor;
  }
  void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { SendMessageA(view, message, wParam, lParam); }
  // The tip text the tooltip window holds for the view.
  std::string TipText() const
  {
    char text[1024] = "";
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = view;
    tool.uId = reinterpret_cast<UINT_PTR>(view);
    tool.lpszText = text;
    SendMessageA(editor->TooltipWindow(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
  }

  hostwindow::HostWindow parent{200, 200};
  std::unique_ptr<GuiTestPlug> plug = std::make_unique<GuiTestPlug>();
  IGraphicsWin* editor = nullptr;  // the plug-in's
  HWND view = nullptr;
};

IGraphicsFlags WithTooltips()
{
  IGraphicsFlags flags;
  flags.hoverHandling = flags.tooltips = true;
  return flags;
}

TEST_F(TooltipWindowTest, MadeOnlyWhenTheEditorHasTooltips)
{
  Open(IGraphicsFlags());
  EXPECT_EQ(editor->TooltipWindow(), nullptr);
  Send(WM_MOUSEMOVE, 0, At(20, 20));
  Send(WM_MOUSEHOVER, 0, At(20, 20));
  EXPECT_FALSE(editor->TooltipShown());
  EXPECT_EQ(editor->TooltipControlIndex(), -1);
}

TEST_F(TooltipWindowTest, AHoverShowsTheControlsTipAndAPressHidesIt)
{
  Open(WithTooltips());
  HWND tooltip = editor->TooltipWindow();
  ASSERT_NE(tooltip, nullptr);
  char className[64] = "";
  GetClassNameA(tooltip, className, sizeof className);
  EXPECT_STREQ(className, "tooltips_class32");
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);

  Send(WM_MOUSEMOVE, 0, At(20, 20));
  EXPECT_EQ(editor->TooltipControlIndex(), 0);
  EXPECT_FALSE(editor->TooltipShown());
  Send(WM_MOUSEHOVER, 0, At(20, 20));
  EXPECT_TRUE(editor->TooltipShown());
  EXPECT_EQ(TipText(), "Level of the effect");

  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
  Send(WM_LBUTTONUP, 0, At(20, 20));
  EXPECT_FALSE(editor->TooltipShown());
  EXPECT_EQ(TipText(), "");

  // The over-long tip is shown cut; a control without one shows nothing.
  Send(WM_MOUSEMOVE, 0, At(120, 120));
  Send(WM_MOUSEHOVER, 0, At(120, 120));
  EXPECT_EQ(TipText(), std::string(IControl::kTooltipMaxLength, 'w'));
  Send(WM_MOUSEMOVE, 0, At(170, 20));
  EXPECT_EQ(editor->TooltipControlIndex(), 2);
  EXPECT_FALSE(editor->TooltipShown());
  Send(WM_MOUSEHOVER, 0, At(170, 20));
  EXPECT_FALSE(editor->TooltipShown());
  EXPECT_EQ(TipText(), "");

  Send(WM_MOUSEMOVE, 0, At(20, 20));
  Send(WM_MOUSEHOVER, 0, At(20, 20));
  Send(WM_MOUSELEAVE);
  EXPECT_FALSE(editor->TooltipShown());
  EXPECT_EQ(editor->HoverIndex(), -1);
}

TEST_F(TooltipWindowTest, ClosingTheViewDestroysTheTooltipWindow)
{
  Open(WithTooltips());
  HWND tooltip = editor->TooltipWindow();
  Send(WM_MOUSEMOVE, 0, At(20, 20));
  Send(WM_MOUSEHOVER, 0, At(20, 20));
  editor->CloseView();
  EXPECT_FALSE(IsWindow(tooltip));
  EXPECT_EQ(editor->TooltipWindow(), nullptr);
  EXPECT_FALSE(editor->TooltipShown());
  EXPECT_EQ(editor->TooltipControlIndex(), -1);
  // Opened again, it has a tooltip window of its own.
  view = static_cast<HWND>(editor->OpenInParent(parent.handle()));
  EXPECT_NE(editor->TooltipWindow(), nullptr);
  EXPECT_NE(editor->TooltipWindow(), tooltip);
}

TEST_F(TooltipWindowTest, AFileAskedForWithoutAWindowChangesOnlyTheName)
{
  Open(IGraphicsFlags());
  editor->CloseView();
  StringBuffer file("song.wav");
  StringBuffer folder;
  editor->AskForFile(file, 0, folder, "wav aif");
  EXPECT_STREQ(file.Get(), "");
  EXPECT_STREQ(folder.Get(), "");
}

}  // namespace
