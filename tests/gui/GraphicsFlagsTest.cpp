// Editors made with the framework's optional behaviours on: hover handling, the bounds
// overlay, drawing each changed control whole; and the keyboard catcher.
#include "framework/gui/IBitmapControl.h"
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Logs as "name:event" what reaches it.
class LoggingControl : public IControl
{
public:
  LoggingControl(const IRectangle& rect, std::string name, std::string* log)
    : IControl(nullptr, rect), mName(name), mLog(log)
  {}
  ~LoggingControl() override { Log("deleted"); }
  void HandleHoverMove(int, int, const PointerModifiers&) override { Log("hover"); }
  void HandleHoverLeave() override { Log("leave"); }
  bool HandleKey(int, int, int code) override { return Log("key" + std::to_string(code)); }
  bool Render(IGraphics*) override { return Log("render"); }
  void TakeHoverWhileGreyed() { mHoverWhileGreyed = true; }

private:
  bool Log(const std::string& what) { return !(*mLog += (mLog->empty() ? "" : " ") + mName + ":" + what).empty(); }
  std::string mName;
  std::string* mLog;
};

struct FlagsTest : ::testing::Test
{
  // An editor with hover handling and the given flags.
  void Open(IGraphicsFlags flags)
  {
    flags.hoverHandling = true;
    fixture = std::make_unique<EditorFixture>(IPlugBase::kBindingVST2, flags);
    graphics = fixture->graphics;
  }
  // A backdrop "b", "k" at {10,10,60,60} and "s", which takes hover while greyed, at
  // {50,50,70,70} over k's corner.
  void Build(bool strict)
  {
    IGraphicsFlags flags;
    flags.strictDrawing = strict;
    Open(flags);
    for (auto [rect, name] :
         {std::pair{IRectangle(0, 0, 200, 200), "b"}, {{10, 10, 60, 60}, "k"}, {{50, 50, 70, 70}, "s"}})
      controls.push_back(fixture->Add(new LoggingControl(rect, name, &log)));
    controls[2]->TakeHoverWhileGreyed();
    fixture->Attach();
    graphics->Tick();
    log.clear();
  }
  std::string Take() { return std::exchange(log, ""); }
  int GreenTextPixels() const
  {
    int count = 0;
    for (int y = 180; y < 200; ++y)
      for (int x = 50; x < 200; ++x)
        count += graphics->PixelAt(x, y) == LICE_Rgba(0, 255, 0, 255);
    return count;
  }

  std::string log;
  std::unique_ptr<EditorFixture> fixture;
  TestGraphics* graphics = nullptr;
  std::vector<LoggingControl*> controls;
};

TEST_F(FlagsTest, HoverReachesTheTopControlAndLeavesTheOneBefore)
{
  Build(true);
  controls[1]->SetGreyed(true);
  controls[2]->SetGreyed(true);
  for (auto [x, y] : {std::pair{20, 20}, {55, 55}, {56, 55}, {500, 500}, {20, 20}})
    EXPECT_TRUE(graphics->DispatchHover(x, y, PointerModifiers()));
  EXPECT_EQ(Take(), "b:hover s:hover b:leave s:hover b:hover s:leave");
  graphics->DispatchHoverLeave();
  EXPECT_EQ(Take(), "b:leave k:leave s:leave");
  EXPECT_EQ(graphics->HoverIndex(), -1);
}

TEST_F(FlagsTest, KeysOffTheControlsGoToTheCatcherWhichTheEditorFrees)
{
  Build(true);
  EXPECT_FALSE(graphics->DispatchKey(100, 100, IGraphics::kKeyUp));
  graphics->SetKeyboardCatcher(new LoggingControl({}, "c", &log));
  for (auto [x, y] : {std::pair{100, 100}, {500, 500}, {20, 20}})
    EXPECT_TRUE(graphics->DispatchKey(x, y, IGraphics::kKeyUp));
  graphics->SetKeyboardCatcher(new LoggingControl({}, "d", &log));
  EXPECT_EQ(Take(), "c:key1 c:key1 k:key1 c:deleted");
  fixture.reset();
  EXPECT_EQ(log.substr(0, 9), "d:deleted");
}

TEST_F(FlagsTest, NonStrictDrawingRedrawsEachChangedControlWhole)
{
  Build(false);
  // With what lies under and over it; a paint keeps what it did not present for later.
  controls[1]->MarkChanged(false);
  controls[2]->MarkChanged(false);
  graphics->RedrawRect({0, 0, 65, 65});
  EXPECT_EQ(Take(), "b:render k:render s:render b:render k:render s:render");
  EXPECT_FALSE(controls[1]->NeedsRedraw());
  EXPECT_TRUE(controls[2]->NeedsRedraw());
  // A changed backdrop draws everything shown.
  controls[0]->MarkChanged(false);
  controls[1]->SetHidden(true);
  graphics->Tick();
  EXPECT_EQ(Take(), "b:render s:render");
}

TEST_F(FlagsTest, OverlayOutlinesTheControlsButTheBackdropAndShowsThePointerEachFrame)
{
  IGraphicsFlags flags;
  flags.showBounds = true;
  Open(flags);
  graphics->images[1200] = [] { return FrameStrip(200, 200, 1, 9); };
  graphics->SetBackdrop(1200, "backdrop.png");
  fixture->Add(new IBitmapControl(fixture->plug.get(), 20, 30, fixture->Strip(10, 10, 1, 3)));
  fixture->Attach();
  graphics->DispatchHover(33, 44, PointerModifiers());
  graphics->Tick();
  for (auto [x, y] : {std::pair{20, 30}, {30, 40}, {25, 30}, {20, 35}})
    EXPECT_EQ(graphics->PixelAt(x, y), LICE_Rgba(0, 255, 0, 255)) << x << "," << y;
  EXPECT_EQ(LICE_Blue(graphics->PixelAt(25, 35)), 3);
  EXPECT_EQ(LICE_Blue(graphics->PixelAt(0, 100)), 9) << "no outline";
  const int before = GreenTextPixels();  // "x: 33, y: 44"
  // Nothing changed, yet the painted area is drawn again, the shorter text on a clean backdrop.
  graphics->DispatchHover(5, 44, PointerModifiers());
  EXPECT_EQ(graphics->Tick(), IRectangle(0, 0, 200, 200));
  EXPECT_GT(GreenTextPixels(), 100);
  EXPECT_LT(GreenTextPixels(), before);
}

}  // namespace
