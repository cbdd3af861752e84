#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Plug = GuiTestPlug;

// Records the events it receives, as "param:event(x,y)".
class RecordingControl : public IControl
{
public:
  RecordingControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, std::string* log)
    : IControl(plug, rect, paramIdx), mLog(log)
  {}
  void HandlePress(int x, int y, const PointerModifiers&) override { Log("press", x, y); }
  void HandleRelease(int x, int y, const PointerModifiers&) override { Log("release", x, y); }
  void HandleDragMove(int, int, int dx, int dy, const PointerModifiers&) override { Log("drag", dx, dy); }
  bool Render(IGraphics*) override { return true; }

private:
  void Log(const char* what, int a, int b)
  {
    *mLog += (mLog->empty() ? "" : " ") + std::to_string(ParamIdx()) + ":" + what + "(" + std::to_string(a) + "," +
             std::to_string(b) + ")";
  }
  std::string* mLog;
};

// A backdrop over the whole editor, a knob of parameter 0 at {10,10,60,60} and a switch of
// parameter 1 at {50,50,70,70}, over the knob's corner.
class DispatchTest : public ::testing::Test
{
protected:
  void SetUp() override { Build(IPlugBase::kBindingVST2); }
  void Build(int bindingKind)
  {
    fixture.reset();
    log.clear();
    fixture = std::make_unique<EditorFixture>(bindingKind);
    plug = fixture->plug.get();
    graphics = fixture->graphics;
    backdrop = fixture->Add(new RecordingControl(plug, {0, 0, 200, 200}, -1, &log));
    knob = fixture->Add(new RecordingControl(plug, {10, 10, 60, 60}, Plug::kLevel, &log));
    toggle = fixture->Add(new RecordingControl(plug, {50, 50, 70, 70}, Plug::kSwitch, &log));
    fixture->Attach();
  }
  void Click(int x, int y, const PointerModifiers& mods = Left())
  {
    graphics->DispatchPress(x, y, mods);
    graphics->DispatchRelease(x, y, mods);
  }

  std::unique_ptr<EditorFixture> fixture;
  GuiTestPlug* plug = nullptr;
  TestGraphics* graphics = nullptr;
  std::string log;
  IControl* backdrop = nullptr;
  IControl* knob = nullptr;
  IControl* toggle = nullptr;
};

TEST_F(DispatchTest, CapturedControlGetsTheDragsAndTheReleaseInOneGesture)
{
  graphics->DispatchPress(20, 20, Left());
  graphics->DispatchDrag(25, 18, Left());
  graphics->DispatchDrag(25, 18, Left());  // no movement: no drag
  graphics->DispatchDrag(150, 150, Left());
  graphics->DispatchRelease(150, 150, Left());
  EXPECT_EQ(log, "0:press(20,20) 0:drag(5,-2) 0:drag(125,132) 0:release(150,150)");
  EXPECT_EQ(plug->Gestures(), "b0 e0");
}

TEST_F(DispatchTest, OnlyBegunGesturesAreEndedAndEachOnce)
{
  // The backdrop begins nothing, so the release over a parameter control ends nothing.
  graphics->DispatchPress(150, 10, Left());
  graphics->DispatchRelease(20, 20, Left());
  EXPECT_EQ(plug->Gestures(), "");
  // A press whose release was lost is ended by the next press; a second release ends nothing.
  graphics->DispatchPress(20, 20, Left());
  Click(60, 60);
  graphics->DispatchRelease(60, 60, Left());
  EXPECT_EQ(plug->Gestures(), "b0 e0 b1 e1");
}

TEST_F(DispatchTest, RightClickUnderVst3AsksTheHostForItsParameterMenu)
{
  Build(IPlugBase::kBindingVST3);
  Click(20, 30, Right());
  EXPECT_EQ(plug->hostMenus, std::vector<int>{Plug::kLevel});
  // The knob got no press and no gesture; the release goes to it without an end.
  EXPECT_EQ(log, "0:release(20,30)");
  EXPECT_EQ(plug->Gestures(), "");
  // A control without parameter gets the right click itself; other bindings press as usual.
  log.clear();
  Click(150, 10, Right());
  Build(IPlugBase::kBindingVST2);
  Click(20, 30, Right());
  EXPECT_EQ(log, "0:press(20,30) 0:release(20,30)");
  EXPECT_EQ(plug->Gestures(), "b0 e0");
}

class TakingHost : public IHostClickFilter
{
public:
  bool HostTakesClick(int paramIdx, const PointerModifiers& mods) override
  {
    offered.push_back(paramIdx);
    shiftRight = mods.shift && mods.right;
    return takes;
  }
  bool takes = true;
  bool shiftRight = false;
  std::vector<int> offered;
};

TEST_F(DispatchTest, AHostThatTakesAClickGetsItAlone)
{
  Build(IPlugBase::kBindingAAX);
  TakingHost host;
  graphics->SetHostClickFilter(&host);
  PointerModifiers shiftRight = Right();
  shiftRight.shift = true;
  graphics->DispatchPress(20, 20, shiftRight);
  graphics->DispatchDrag(30, 30, shiftRight);
  graphics->DispatchRelease(30, 30, shiftRight);
  EXPECT_EQ(host.offered, std::vector<int>{Plug::kLevel});
  EXPECT_TRUE(host.shiftRight);
  // No press, no drag, no gesture: only the release reaches the control under the pointer.
  EXPECT_EQ(log, "0:release(30,30)");
  EXPECT_EQ(plug->Gestures(), "");

  // Clicks the host lets through go on as usual; those without parameter are not offered.
  host.takes = false;
  log.clear();
  Click(20, 20);
  Click(150, 10);
  EXPECT_EQ(host.offered.size(), 2u);
  EXPECT_EQ(log, "0:press(20,20) 0:release(20,20) -1:press(150,10) -1:release(150,10)");
  EXPECT_EQ(plug->Gestures(), "b0 e0");
}

TEST_F(DispatchTest, MenuPromptOffersTheDisplayTextsAndSendsTheChoice)
{
  plug->ParamAt(Plug::kSwitch)->SetPlain(1.0);
  graphics->PushParamToControls(Plug::kSwitch, 1.0, false);
  for (int choice : {-1, 0})
  {
    graphics->menuChoice = choice;
    graphics->AskValueForControl(toggle, plug->ParamAt(Plug::kSwitch), toggle->Rect());
  }
  EXPECT_EQ(graphics->menuItems, (std::vector<std::string>{"off", "on*"}));
  EXPECT_EQ(plug->ParamAt(Plug::kSwitch)->Value(), 0.0);
  EXPECT_EQ(plug->Gestures(), "b1 p1 e1");
}

TEST_F(DispatchTest, CommittedTextIsOneEditOfTheParameter)
{
  IPlugParameter* level = plug->ParamAt(Plug::kLevel);
  struct Case
  {
    const char* text;
    bool negate;
    double value;
  };
  for (const Case& c :
       {Case{"12.5", false, 13.0}, Case{"12.5", true, -13.0}, Case{" +7", false, 7.0}, Case{"250", false, 100.0},
        Case{"-", false, 0.0}, Case{"nan", false, 0.0}, Case{"1e400", false, 0.0}})
  {
    level->SetNegateDisplay(c.negate);
    level->SetPlain(50.0);
    graphics->PushParamToControls(Plug::kLevel, 50.0, false);
    plug->events.clear();
    graphics->CommitTextEntry(knob, level, c.text);
    EXPECT_EQ(level->Value(), c.value) << c.text;
    EXPECT_EQ(plug->Gestures(), "b0 p0 e0") << c.text;
  }
}

}  // namespace
