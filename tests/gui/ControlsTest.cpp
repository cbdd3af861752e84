#include "framework/gui/IBitmapControl.h"
#include "framework/gui/IFaderControl.h"
#include "framework/gui/IKnobControl.h"
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Plug = GuiTestPlug;

class ControlsTest : public ::testing::Test, public EditorFixture
{
protected:
  // The frame a control at x, y shows after the next tick (read inside the frame, away from
  // its transparent corner).
  int ShownFrame(int x, int y)
  {
    graphics->Tick();
    return FrameOf(graphics->PixelAt(x + 2, y + 2));
  }

  PointerModifiers shift = [] {
    PointerModifiers m;
    m.shift = true;
    return m;
  }();
};

TEST_F(ControlsTest, FrameFollowsTheValueOverTheWholeStrip)
{
  struct Case
  {
    int frames;
    double value;
    int frame;  // shown, from 0
  };
  const Case cases[] = {
    {100, 0.0, 0},
    {100, 0.004, 0},
    {100, 0.5, 50},
    {100, 1.0, 99},
    {25, 0.5, 12},
    {49, 0.5, 24},
    {49, 47.0 / 48.0, 47},
    {1, 0.7, 0},
    {100, 1.5, 99},
    {100, -3.0, 0},
    {100, std::numeric_limits<double>::quiet_NaN(), 0},
  };
  Attach();
  int x = 0;
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.frames << " frames at " << c.value);
    auto* control = Add(new IBitmapControl(plug.get(), x, 0, Strip(6, 5, c.frames)));
    control->ApplyPlugValue(0.25);  // the first value only becomes the default
    control->ApplyPlugValue(c.value);
    EXPECT_EQ(ShownFrame(x, 0), c.frame);
    x += 8;
  }
}

TEST_F(ControlsTest, SwitchStepsThroughItsFramesAndWrapsRound)
{
  auto* two = Add(new ISwitchControl(plug.get(), 0, 0, Plug::kSwitch, Strip(10, 10, 2)));
  auto* three = Add(new ISwitchControl(plug.get(), 20, 0, -1, Strip(10, 10, 3)));
  Attach();
  std::vector<double> twoValues, threeValues;
  for (int i = 0; i < 3; ++i)
  {
    two->HandlePress(1, 1, Left());
    three->HandlePress(21, 1, Left());
    twoValues.push_back(two->Value());
    threeValues.push_back(three->Value());
  }
  EXPECT_EQ(twoValues, (std::vector<double>{1.0, 0.0, 1.0}));
  EXPECT_EQ(threeValues, (std::vector<double>{0.5, 1.0, 0.0}));
  // Every click reaches the bound parameter; a double click is a second click.
  EXPECT_EQ(plug->Gestures(), "p1 p1 p1");
  two->HandleDoubleClick(1, 1, Left());
  EXPECT_EQ(plug->ParamAt(Plug::kSwitch)->Value(), 0.0);
}

TEST_F(ControlsTest, KnobDragIsGearedAndClamped)
{
  auto* knob = Add(new IKnobMultiControl(plug.get(), 0, 0, Plug::kLevel, Strip(100, 100, 10)));
  Attach();  // the parameter's default, 0.5, becomes the knob's value
  knob->HandleDragMove(0, 0, 0, -100, Left());
  EXPECT_DOUBLE_EQ(knob->Value(), 0.75);
  knob->HandleDragMove(0, 0, 0, 100, shift);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.725);
  knob->HandleDragMove(0, 0, 0, -1000, Left());
  EXPECT_EQ(knob->Value(), 1.0);
  EXPECT_EQ(plug->ParamAt(Plug::kLevel)->Value(), 100.0);
}

TEST_F(ControlsTest, FaderFollowsThePointerAndTheWheel)
{
  auto* fader = Add(new IFaderControl(plug.get(), 10, 20, 164, Plug::kGain, Strip(40, 27, 1)));
  Attach();
  EXPECT_EQ(fader->Rect(), IRectangle(10, 20, 50, 184));
  struct Case
  {
    int y;
    double value;
  };
  for (const Case& c : {Case{20 + 13, 1.0}, Case{20 + 150, 0.0}, Case{20 + 160, 0.0}, Case{0, 1.0},
                        Case{20 + 13 + 137 / 2, 1.0 - 68.0 / 137.0}})
  {
    fader->HandlePress(15, c.y, Left());
    EXPECT_DOUBLE_EQ(fader->Value(), c.value) << "y " << c.y;
  }
  const double start = fader->Value();
  fader->HandleWheelTurn(0, 0, Left(), 2);
  EXPECT_NEAR(fader->Value(), start + 0.02, 1e-12);
  PointerModifiers control;
  control.control = true;
  fader->HandleWheelTurn(0, 0, control, 2);
  EXPECT_NEAR(fader->Value(), start + 0.022, 1e-12);
  fader->HandleWheelTurn(0, 0, Left(), -3);
  EXPECT_NEAR(fader->Value(), start - 0.008, 1e-12);
  // The handle lies where the value says: 137 px of travel from the top.
  EXPECT_EQ(fader->HandleRect(0.5), IRectangle(10, 20 + 68, 50, 20 + 68 + 27));
}

TEST_F(ControlsTest, FaderWhoseHandleFillsTheTrackKeepsItsValue)
{
  auto* fader = Add(new IFaderControl(plug.get(), 0, 0, 27, Plug::kGain, Strip(40, 27, 1)));
  Attach();
  fader->HandlePress(5, 3, Left());
  EXPECT_EQ(fader->Value(), 0.5);
  EXPECT_EQ(plug->Gestures(), "");
}

TEST_F(ControlsTest, FirstPlugValueBecomesTheDefaultThatDoubleClickRestores)
{
  auto* knob = Add(new IKnobMultiControl(plug.get(), 0, 0, Plug::kLevel, Strip(10, 10, 10)));
  auto* unbound = Add(new IKnobMultiControl(plug.get(), 20, 0, -1, Strip(10, 10, 10)));
  knob->ClearChanged();
  knob->ApplyPlugValue(0.3);
  EXPECT_EQ(knob->DefaultValue(), 0.3);
  EXPECT_EQ(knob->Value(), 0.3);
  // Drawn once, though nothing else happens: the control had no value before.
  EXPECT_TRUE(knob->NeedsRedraw());
  knob->ClearChanged();
  EXPECT_FALSE(knob->NeedsRedraw());

  // Later values are drawn on this frame and the next (one may arrive while drawing).
  knob->ApplyPlugValue(0.8);
  EXPECT_TRUE(knob->NeedsRedraw());
  knob->ClearChanged();
  EXPECT_TRUE(knob->NeedsRedraw());
  knob->ClearChanged();
  EXPECT_FALSE(knob->NeedsRedraw());

  knob->HandleDoubleClick(0, 0, Left());
  EXPECT_EQ(knob->Value(), 0.3);
  EXPECT_EQ(plug->ParamAt(Plug::kLevel)->Value(), -40.0);
  // Without a value from the plug-in there is nothing to go back to.
  unbound->HandleDragMove(20, 0, 0, -10, Left());
  unbound->HandleDoubleClick(20, 0, Left());
  EXPECT_EQ(unbound->Value(), 0.25);
}

TEST_F(ControlsTest, NonFiniteValuesNeverReachTheDrawingOrThePlugIn)
{
  auto* knob = Add(new IKnobMultiControl(plug.get(), 0, 0, Plug::kLevel, Strip(10, 10, 10)));
  Attach();
  knob->ApplyPlugValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(knob->Value(), 0.0);
  knob->ApplyPlugValue(std::numeric_limits<double>::infinity());
  EXPECT_EQ(knob->Value(), 1.0);
  knob->HandleDragMove(0, 0, 0, 0, Left());
  EXPECT_EQ(plug->ParamAt(Plug::kLevel)->Value(), 100.0);
}

TEST_F(ControlsTest, ControlsOverAMissingImageAreInert)
{
  const IBitmapRef missing = graphics->FetchBitmap(1999, "missing.png", 100);
  auto* knob = Add(new IKnobMultiControlText(plug.get(), 30, 30, Plug::kLevel, missing, ITextStyle(), true,
                                             IKnobMultiControlText::kTextBelow));
  auto* fader = Add(new IFaderControl(plug.get(), 60, 10, 164, Plug::kGain, missing));
  auto* meter = Add(new IBitmapControl(plug.get(), 5, 5, missing));
  Attach();
  for (IControl* control : std::initializer_list<IControl*>{knob, fader, meter})
  {
    EXPECT_TRUE(control->Rect().Empty());
    EXPECT_FALSE(control->ContainsPoint(30, 30));
  }
  EXPECT_TRUE(knob->TextRect().Empty());
  knob->HandlePress(31, 31, Left());
  knob->HandleDragMove(31, 31, 0, -50, Left());
  IRectangle dirty;
  EXPECT_FALSE(graphics->CollectDirtyRect(&dirty));
  EXPECT_EQ(plug->Gestures(), "");
  EXPECT_EQ(plug->ParamAt(Plug::kLevel)->Value(), 0.0);
}

TEST_F(ControlsTest, HiddenAndGreyedSetTheBlendWeight)
{
  auto* control = Add(new IBitmapControl(plug.get(), 0, 0, Strip(10, 10, 1)));
  control->SetHidden(true);
  EXPECT_EQ(control->Blend().weight, 0.0f);
  control->SetGreyed(true);
  EXPECT_EQ(control->Blend().weight, 0.25f);
  control->SetHidden(false);
  EXPECT_TRUE(control->IsGreyed());
  EXPECT_EQ(control->Blend().weight, 1.0f);
}

TEST(KnobTextLayout, TextRectangleByPosition)
{
  GuiTestPlug plug;
  IBitmapRef knob;
  auto* bitmap = new LICE_MemBitmap(100, 1000);
  knob.bitmap = bitmap;
  knob.width = 100;
  knob.height = 1000;
  knob.frames = 10;
  ITextStyle style;
  style.size = 14;
  struct Case
  {
    int position, offset;
    IRectangle text, target;
  };
  // Knob {80, 285, 180, 385}; m = 18; mid = 285 + 50 - 9 + 2 = 328.
  const Case cases[] = {
    {0, 3, {80, 392, 180, 410}, {80, 285, 180, 410}},
    {1, 0, {80, 263, 180, 285}, {80, 263, 180, 385}},
    {2, 0, {80, 328, 180, 346}, {80, 285, 180, 385}},
    {3, 0, {-20, 328, 80, 346}, {-20, 285, 180, 385}},
    {4, 0, {182, 328, 166, 346}, {80, 285, 166, 385}},
    {5, 0, {176, 367, 160, 385}, {80, 285, 160, 385}},
    {9, 0, {}, {80, 285, 180, 385}},
  };
  for (const Case& c : cases)
  {
    IKnobMultiControlText control(&plug, 80, 285, 0, knob, style, true, c.position, c.offset);
    EXPECT_EQ(control.TextRect(), c.text) << "position " << c.position;
    EXPECT_EQ(control.TargetRect(), c.target) << "position " << c.position;
    EXPECT_EQ(control.Rect(), IRectangle(80, 285, 180, 385));
  }
  delete bitmap;
}

TEST_F(ControlsTest, KnobTextIsFittedToTheDisplayAndOpensThePrompt)
{
  ITextStyle style;
  style.size = 16;
  auto* gain = Add(new IKnobMultiControlText(plug.get(), 0, 0, Plug::kGain, Strip(128, 128, 10), style, true,
                                             IKnobMultiControlText::kTextCentred));
  auto* onOff = Add(new IKnobMultiControlText(plug.get(), 0, 130, Plug::kSwitch, Strip(128, 128, 10), style, true,
                                              IKnobMultiControlText::kTextCentred));
  Attach();
  plug->ParamAt(Plug::kGain)->SetPlain(-12.0);
  graphics->Tick();
  // The fake's glyphs are 8 wide, a blank 4: "-12 dB" is 44, "off " (an empty label
  // still gets its blank) 28, each centred on the knob's middle, column 64.
  EXPECT_EQ(gain->TextRect(), IRectangle(42, 56, 86, 76));
  EXPECT_EQ(onOff->TextRect(), IRectangle(50, 186, 78, 206));

  gain->HandlePress(42, 60, Left());
  ASSERT_EQ(graphics->entries.size(), 1u);
  EXPECT_EQ(graphics->entries[0].text, "-12");
  EXPECT_EQ(graphics->entries[0].rect, gain->TextRect());
  // Beside the text the press only touches the parameter, sending its value unchanged.
  gain->HandlePress(41, 60, Left());
  EXPECT_EQ(graphics->entries.size(), 1u);
  EXPECT_EQ(plug->Gestures(), "p2");
}

}  // namespace
