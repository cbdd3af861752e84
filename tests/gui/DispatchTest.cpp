#include "framework/gui/IBitmapControl.h"
#include "framework/gui/IKnobControl.h"
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Plug = GuiTestPlug;

// Records the events it receives as short words.
class RecordingControl : public IControl
{
public:
  RecordingControl(IPlugBase* plug, const IRectangle& rect, int paramIdx, std::string* log, bool takesKeys = false)
    : IControl(plug, rect, paramIdx), mLog(log), mTakesKeys(takesKeys)
  {}
  void HandlePress(int x, int y, const PointerModifiers&) override { Log("press", x, y); }
  void HandleRelease(int x, int y, const PointerModifiers&) override { Log("release", x, y); }
  void HandleDragMove(int x, int y, int dx, int dy, const PointerModifiers&) override
  {
    Log("drag", dx, dy);
    (void)x, (void)y;
  }
  void HandleDoubleClick(int x, int y, const PointerModifiers& mods) override
  {
    Log("double", x, y);
    IControl::HandleDoubleClick(x, y, mods);
  }
  bool HandleKey(int, int, int keyCode) override
  {
    Log("key", keyCode, 0);
    return mTakesKeys;
  }
  bool Render(IGraphics*) override { return true; }

  void ActAsPressOnDoubleClick() { mDoubleClickActsAsPress = true; }

private:
  void Log(const char* what, int a, int b)
  {
    *mLog += (mLog->empty() ? "" : " ") + std::to_string(ParamIdx()) + ":" + what + "(" + std::to_string(a) + "," +
             std::to_string(b) + ")";
  }
  std::string* mLog;
  bool mTakesKeys;
};

// A backdrop over the whole editor, a knob of parameter 0 at {10,10,60,60}, a switch of
// parameter 1 at {50,50,70,70} lying over the knob's corner, and a gain control.
class DispatchTest : public ::testing::Test
{
protected:
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
    gain = fixture->Add(new IKnobMultiControl(plug, 100, 100, Plug::kGain, fixture->Strip(40, 40, 10)));
    fixture->Attach();
  }
  void SetUp() override { Build(IPlugBase::kBindingVST2); }

  void Click(int x, int y, const PointerModifiers& mods = Left())
  {
    graphics->DispatchPress(x, y, mods);
    graphics->DispatchRelease(x, y, mods);
  }

  std::unique_ptr<EditorFixture> fixture;
  GuiTestPlug* plug = nullptr;
  TestGraphics* graphics = nullptr;
  std::string log;
  RecordingControl* backdrop = nullptr;
  RecordingControl* knob = nullptr;
  RecordingControl* toggle = nullptr;
  IControl* gain = nullptr;
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
  EXPECT_EQ(graphics->CaptureIndex(), -1);
}

TEST_F(DispatchTest, GesturesAreBalancedWhateverTheSequence)
{
  // The backdrop begins nothing, so the release over a parameter control ends nothing.
  graphics->DispatchPress(150, 10, Left());
  graphics->DispatchRelease(20, 20, Left());
  EXPECT_EQ(plug->Gestures(), "");
  // A press whose release was lost is ended by the next press.
  graphics->DispatchPress(20, 20, Left());
  graphics->DispatchPress(60, 60, Left());
  graphics->DispatchRelease(60, 60, Left());
  graphics->DispatchRelease(60, 60, Left());
  EXPECT_EQ(plug->Gestures(), "b0 e0 b1 e1");
}

TEST_F(DispatchTest, LastAttachedShownEnabledControlTakesThePress)
{
  struct Case
  {
    bool hideSwitch, greySwitch;
    const char* taker;
  };
  for (const Case& c : {Case{false, false, "1:press"}, Case{true, false, "0:press"}, Case{false, true, "0:press"}})
  {
    log.clear();
    toggle->SetHidden(c.hideSwitch);
    toggle->SetGreyed(c.greySwitch);
    Click(55, 55);
    EXPECT_EQ(log.substr(0, 7), c.taker);
  }
  // Outside the editor nothing takes it, and nothing happens.
  log.clear();
  Click(500, 500);
  EXPECT_EQ(log, "");
}

TEST_F(DispatchTest, RightClickUnderVst3AsksTheHostForItsParameterMenu)
{
  Build(IPlugBase::kBindingVST3);
  Click(20, 30, Right());
  ASSERT_EQ(plug->hostMenus.size(), 1u);
  EXPECT_EQ(plug->hostMenus[0].paramIdx, Plug::kLevel);
  EXPECT_EQ(plug->hostMenus[0].y, 30);
  // The knob got no press and no gesture; the release goes to it without an end.
  EXPECT_EQ(log, "0:release(20,30)");
  EXPECT_EQ(plug->Gestures(), "");
  // A control without parameter gets the right click itself.
  log.clear();
  Click(150, 10, Right());
  EXPECT_EQ(log, "-1:press(150,10) -1:release(150,10)");
}

TEST_F(DispatchTest, RightClickElsewhereIsAPressInAGesture)
{
  Click(20, 30, Right());
  EXPECT_EQ(plug->hostMenus.size(), 0u);
  EXPECT_EQ(log, "0:press(20,30) 0:release(20,30)");
  EXPECT_EQ(plug->Gestures(), "b0 e0");
}

class TakingHost : public IHostClickFilter
{
public:
  bool HostTakesClick(int paramIdx, const PointerModifiers& mods) override
  {
    offered.push_back(paramIdx);
    lastMods = mods;
    return takes;
  }
  bool takes = true;
  std::vector<int> offered;
  PointerModifiers lastMods;
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
  EXPECT_TRUE(host.lastMods.shift && host.lastMods.right);
  // No press, no drag, no gesture: only the release reaches the control under the pointer.
  EXPECT_EQ(log, "0:release(30,30)");
  EXPECT_EQ(plug->Gestures(), "");

  // Clicks the host lets through, and clicks on controls without parameter, go on as usual.
  host.takes = false;
  log.clear();
  Click(20, 20);
  Click(150, 10);
  EXPECT_EQ(host.offered.size(), 2u);
  EXPECT_EQ(log, "0:press(20,20) 0:release(20,20) -1:press(150,10) -1:release(150,10)");
  EXPECT_EQ(plug->Gestures(), "b0 e0");
}

TEST_F(DispatchTest, DoubleClickResetIsOneGesture)
{
  // The double click arrives as press, release, double click, release.
  gain->HandleDragMove(0, 0, 0, -20, Left());
  plug->events.clear();
  Click(110, 110);
  graphics->DispatchDoubleClick(110, 110, Left());
  graphics->DispatchRelease(110, 110, Left());
  EXPECT_EQ(gain->Value(), 0.5);
  EXPECT_EQ(plug->Gestures(), "b2 e2 b2 p2 e2");
  EXPECT_EQ(plug->ParamAt(Plug::kGain)->Value(), 0.0);
}

TEST_F(DispatchTest, DoubleClickActingAsPressCapturesThePointer)
{
  knob->ActAsPressOnDoubleClick();
  EXPECT_TRUE(graphics->DispatchDoubleClick(20, 20, Left()));
  EXPECT_EQ(graphics->CaptureIndex(), 1);
  graphics->DispatchRelease(20, 20, Left());
  EXPECT_EQ(log, "0:press(20,20) 0:release(20,20)");
  EXPECT_EQ(plug->Gestures(), "b0 e0");
  // On the backdrop nothing is begun.
  EXPECT_FALSE(graphics->DispatchDoubleClick(150, 10, Left()));
  EXPECT_EQ(plug->Gestures(), "b0 e0");
}

TEST_F(DispatchTest, WheelTurnIsOneEditUnlessAGestureIsOpen)
{
  graphics->DispatchWheel(110, 110, Left(), 2);
  EXPECT_NEAR(gain->Value(), 0.52, 1e-12);
  EXPECT_EQ(plug->Gestures(), "b2 p2 e2");
  plug->events.clear();
  graphics->DispatchPress(110, 110, Left());
  graphics->DispatchWheel(110, 110, Left(), -1);
  graphics->DispatchRelease(110, 110, Left());
  EXPECT_EQ(plug->Gestures(), "b2 p2 e2");
  // Over the backdrop the wheel does nothing.
  plug->events.clear();
  graphics->DispatchWheel(150, 10, Left(), 3);
  EXPECT_EQ(plug->Gestures(), "");
}

TEST_F(DispatchTest, KeysGoToTheControlUnderThePointerButNeverToTheBackdrop)
{
  const int keen = graphics->AddControl(new RecordingControl(plug, {80, 0, 90, 10}, -1, &log, true));
  ASSERT_EQ(keen, 4);
  EXPECT_FALSE(graphics->DispatchKey(20, 20, IGraphics::kKeyUp));
  EXPECT_TRUE(graphics->DispatchKey(85, 5, IGraphics::kKeySpace));
  EXPECT_FALSE(graphics->DispatchKey(150, 10, IGraphics::kKeyDown));
  EXPECT_EQ(log, "0:key(1,0) -1:key(0,0)");
}

TEST_F(DispatchTest, MenuPromptOffersTheDisplayTextsAndSendsTheChoice)
{
  plug->ParamAt(Plug::kSwitch)->SetPlain(1.0);
  graphics->PushParamToControls(Plug::kSwitch, 1.0, false);
  graphics->menuChoice = 0;
  graphics->AskValueForControl(toggle, plug->ParamAt(Plug::kSwitch), toggle->Rect());
  EXPECT_EQ(graphics->menuItems, (std::vector<std::string>{"off", "on*"}));
  EXPECT_EQ(toggle->Value(), 0.0);
  EXPECT_EQ(plug->ParamAt(Plug::kSwitch)->Value(), 0.0);
  EXPECT_EQ(plug->Gestures(), "b1 p1 e1");
  // Closed without a choice: nothing changes.
  graphics->menuChoice = -1;
  graphics->AskValueForControl(toggle, plug->ParamAt(Plug::kSwitch), toggle->Rect());
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
        Case{"", false, 0.0}, Case{"-", false, 0.0}, Case{"nan", false, 0.0}, Case{"1e400", false, 0.0}})
  {
    level->SetNegateDisplay(c.negate);
    level->SetPlain(50.0);
    graphics->PushParamToControls(Plug::kLevel, 50.0, false);
    plug->events.clear();
    graphics->CommitTextEntry(knob, level, c.text);
    EXPECT_EQ(level->Value(), c.value) << c.text;
    EXPECT_EQ(plug->Gestures(), "b0 p0 e0") << c.text;
  }
  // A control without parameter takes the text as it is.
  graphics->CommitTextEntry(backdrop, nullptr, "free text");
  EXPECT_EQ(plug->Gestures(), "b0 p0 e0");
}

}  // namespace
