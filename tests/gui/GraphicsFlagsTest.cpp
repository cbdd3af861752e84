// The framework's optional behaviours, in editors made with them on: hover handling, the
// bounds overlay, drawing each changed control whole, and the keyboard catcher.
#include "framework/gui/IBitmapControl.h"
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Logs what reaches it as "name:event"; draws a solid colour over its rectangle.
class LoggingControl : public IControl
{
public:
  LoggingControl(const IRectangle& rect, std::string name, std::string* log, bool hoverWhileGreyed = false)
    : IControl(nullptr, rect), mName(std::move(name)), mLog(log)
  {
    mHoverWhileGreyed = hoverWhileGreyed;
  }
  ~LoggingControl() override { Log("deleted"); }

  void HandleHoverMove(int, int, const PointerModifiers&) override { Log("hover"); }
  void HandleHoverLeave() override { Log("leave"); }
  bool HandleKey(int, int, int keyCode) override
  {
    Log("key" + std::to_string(keyCode));
    return true;
  }
  bool Render(IGraphics*) override
  {
    Log("render");
    return true;
  }

private:
  void Log(const std::string& what) { *mLog += (mLog->empty() ? "" : " ") + mName + ":" + what; }
  std::string mName;
  std::string* mLog;
};

IGraphicsFlags AllOn()
{
  IGraphicsFlags flags;
  flags.hoverHandling = flags.tooltips = flags.showBounds = true;
  return flags;
}

IGraphicsFlags NotStrict()
{
  IGraphicsFlags flags;
  flags.strictDrawing = false;
  return flags;
}

// A backdrop "b" over the editor, "k" at {10,10,60,60} and "s" at {50,50,70,70} over k's corner.
class FlagsTest : public ::testing::Test
{
protected:
  void Build(const IGraphicsFlags& flags)
  {
    fixture = std::make_unique<EditorFixture>(IPlugBase::kBindingVST2, flags);
    graphics = fixture->graphics;
    backdrop = fixture->Add(new LoggingControl({0, 0, 200, 200}, "b", &log));
    knob = fixture->Add(new LoggingControl({10, 10, 60, 60}, "k", &log));
    toggle = fixture->Add(new LoggingControl({50, 50, 70, 70}, "s", &log));
    fixture->Attach();
    graphics->Tick();
    log.clear();
  }
  std::string Take()
  {
    std::string taken;
    taken.swap(log);
    return taken;
  }

  std::string log;
  std::unique_ptr<EditorFixture> fixture;
  TestGraphics* graphics = nullptr;
  IControl* backdrop = nullptr;
  IControl* knob = nullptr;
  IControl* toggle = nullptr;
};

TEST_F(FlagsTest, AnEditorMadeWithoutFlagsKeepsTheDefaults)
{
  Build(IGraphicsFlags());
  const IGraphicsFlags& flags = graphics->Flags();
  EXPECT_FALSE(flags.hoverHandling || flags.tooltips || flags.showBounds);
  EXPECT_TRUE(flags.strictDrawing);
  EXPECT_FALSE(graphics->DispatchHover(20, 20, PointerModifiers()));
  EXPECT_EQ(graphics->HoverIndex(), -1);
  EXPECT_EQ(Take(), "");
  IRectangle dirty;
  EXPECT_FALSE(graphics->CollectDirtyRect(&dirty));
}

TEST_F(FlagsTest, HoverMovesReachTheTopControlAndLeavingTheOneBefore)
{
  Build(AllOn());
  const PointerModifiers none;
  EXPECT_TRUE(graphics->DispatchHover(20, 20, none));
  EXPECT_TRUE(graphics->DispatchHover(21, 20, none));
  EXPECT_TRUE(graphics->DispatchHover(55, 55, none));
  EXPECT_EQ(Take(), "k:hover k:hover s:hover k:leave");
  EXPECT_EQ(graphics->HoverIndex(), 2);
  // Off the editor: nothing moves, and the control is left only when the window says so.
  EXPECT_TRUE(graphics->DispatchHover(500, 500, none));
  EXPECT_EQ(graphics->HoverIndex(), 2);
  graphics->DispatchHoverLeave();
  EXPECT_EQ(Take(), "b:leave k:leave s:leave");
  EXPECT_EQ(graphics->HoverIndex(), -1);
}

TEST_F(FlagsTest, GreyedControlsTakeHoverOnlyWhenTheyAskForIt)
{
  Build(AllOn());
  auto* asking = fixture->Add(new LoggingControl({100, 100, 120, 120}, "a", &log, true));
  knob->SetGreyed(true);
  asking->SetGreyed(true);
  graphics->DispatchHover(20, 20, PointerModifiers());
  graphics->DispatchHover(110, 110, PointerModifiers());
  EXPECT_EQ(Take(), "b:hover a:hover b:leave");
  // Presses still skip every greyed control.
  EXPECT_EQ(graphics->FindControlAt(110, 110, false), 0);
}

TEST_F(FlagsTest, KeysOffTheControlsGoToTheCatcherWhichTheEditorFrees)
{
  Build(IGraphicsFlags());
  EXPECT_FALSE(graphics->DispatchKey(100, 100, IGraphics::kKeyUp));
  graphics->SetKeyboardCatcher(new LoggingControl({}, "c", &log));
  EXPECT_TRUE(graphics->DispatchKey(100, 100, IGraphics::kKeyUp));
  EXPECT_TRUE(graphics->DispatchKey(500, 500, IGraphics::kKeyDown));
  EXPECT_TRUE(graphics->DispatchKey(20, 20, IGraphics::kKeySpace));
  EXPECT_EQ(Take(), "c:key1 c:key2 k:key0");
  graphics->SetKeyboardCatcher(new LoggingControl({}, "d", &log));
  EXPECT_EQ(Take(), "c:deleted");
  fixture.reset();
  EXPECT_EQ(log.substr(0, 9), "d:deleted");
}

TEST_F(FlagsTest, NonStrictDrawingRedrawsEachChangedControlWhole)
{
  Build(NotStrict());
  // Each changed control is drawn whole, with what lies under and over it; hidden ones not.
  knob->MarkChanged(false);
  toggle->SetHidden(true);
  graphics->RedrawRect({0, 0, 100, 100});
  EXPECT_EQ(Take(), "b:render k:render b:render k:render");
  EXPECT_FALSE(knob->NeedsRedraw());
  // What a paint did not present stays changed for the next frame.
  graphics->Tick();
  toggle->SetHidden(false);
  Take();
  graphics->RedrawRect({0, 0, 20, 20});
  EXPECT_EQ(Take(), "b:render k:render s:render");
  EXPECT_TRUE(toggle->NeedsRedraw());
  // A changed backdrop draws everything shown.
  backdrop->MarkChanged(false);
  knob->SetHidden(true);
  graphics->Tick();
  EXPECT_EQ(Take(), "b:render s:render");
  EXPECT_FALSE(backdrop->NeedsRedraw());
}

// Controls that draw a known image, under the bounds overlay.
class OverlayTest : public ::testing::Test, public EditorFixture
{
protected:
  OverlayTest() : EditorFixture(IPlugBase::kBindingVST2, AllOn()) {}
};

TEST_F(OverlayTest, OutlinesEveryControlButTheBackdropAndShowsThePointer)
{
  graphics->images[1200] = [] { return FrameStrip(200, 200, 1, 9); };
  graphics->SetBackdrop(1200, "backdrop.png");
  Add(new IBitmapControl(plug.get(), 20, 30, Strip(10, 10, 1, 3)));
  Attach();
  graphics->DispatchHover(33, 44, PointerModifiers());
  graphics->Tick();

  const Pixel32 green = LICE_Rgba(0, 255, 0, 255);
  for (const auto& [x, y] : {std::pair{20, 30}, {30, 30}, {20, 40}, {30, 40}, {25, 30}, {20, 35}})
    EXPECT_EQ(graphics->PixelAt(x, y), green) << x << "," << y;
  EXPECT_EQ(LICE_Blue(graphics->PixelAt(25, 35)), 3) << "the control itself";
  EXPECT_EQ(LICE_Blue(graphics->PixelAt(0, 100)), 9) << "the backdrop has no outline";
  int texts = 0;
  for (int y = 180; y < 200; ++y)
    for (int x = 50; x < 200; ++x)
      texts += graphics->PixelAt(x, y) == green;
  EXPECT_GT(texts, 100) << "x: 33, y: 44";

  // The painted area is drawn again on every frame, the text over a clean backdrop.
  graphics->DispatchHover(5, 44, PointerModifiers());
  for (int frame = 0; frame < 2; ++frame)
  {
    const size_t presented = graphics->presented.size();
    EXPECT_EQ(graphics->Tick(), IRectangle(0, 0, 200, 200));
    EXPECT_EQ(graphics->presented.size(), presented + 1);
  }
  int after = 0;
  for (int y = 180; y < 200; ++y)
    for (int x = 50; x < 200; ++x)
      after += graphics->PixelAt(x, y) == green;
  EXPECT_LT(after, texts) << "x: 5, y: 44 alone, the longer text before it gone";
  EXPECT_GT(after, 100);
}

}  // namespace
