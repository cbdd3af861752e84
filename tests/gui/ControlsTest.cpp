#include "framework/gui/IBitmapControl.h"
#include "framework/gui/IFaderControl.h"
#include "framework/gui/IKnobControl.h"
#include "framework/gui/ITextControl.h"
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Plug = GuiTestPlug;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class ControlsTest : public ::testing::Test, public EditorFixture
{};

TEST_F(ControlsTest, FrameFollowsTheValueOverTheWholeStrip)
{
  struct Case
  {
    int frames;
    double value;
    int frame;  // shown, from 0
    bool sideBySide = false;
  };
  const Case cases[] = {{100, 0.0, 0},  {100, 0.004, 0}, {100, 0.5, 50},    {100, 1.0, 99},
                        {25, 0.5, 12},  {49, 0.5, 24},   {1, 0.7, 0},       {100, 1.5, 99},
                        {100, -3.0, 0}, {100, kNaN, 0},  {3, 0.5, 1, true}, {20, 1.0, 19, true}};
  Attach();
  int x = 0;
  IControl* control = nullptr;
  for (const Case& c : cases)
  {
    control = Add(new IBitmapControl(plug.get(), x, 0, Strip(6, 5, c.frames, 0, c.sideBySide)));
    // One frame's size, however the frames lie.
    EXPECT_EQ(control->Rect(), IRectangle(x, 0, x + 6, 5));
    control->ApplyPlugValue(0.25);  // the first value is the default
    control->ApplyPlugValue(c.value);
    graphics->Tick();
    EXPECT_EQ(LICE_Red(graphics->PixelAt(x + 2, 2)), c.frame) << c.frames << " frames at " << c.value;
    x += 8;
  }
  // Moved, a control keeps its size, and takes the pointer and is drawn where it is now.
  control->MoveTo(150, 100);
  EXPECT_EQ(control->Rect(), IRectangle(150, 100, 156, 105));
  EXPECT_EQ(control->TargetRect(), control->Rect());
  control->MarkChanged(false);
  graphics->Tick();
  EXPECT_EQ(LICE_Red(graphics->PixelAt(152, 102)), 19);
}

TEST_F(ControlsTest, FaderWhoseHandleFillsItsTrackStays)
{
  auto* stuck = Add(new IFaderControl(plug.get(), 60, 0, 27, Plug::kLevel, Strip(40, 27, 1)));
  Attach();
  stuck->HandlePress(65, 3, Left());
  stuck->HandleDragMove(65, 30, 0, 27, Left());
  EXPECT_EQ(stuck->Value(), 0.5);
  EXPECT_EQ(plug->Gestures(), "");
}

TEST_F(ControlsTest, FirstPlugValueBecomesTheDefaultThatDoubleClickRestores)
{
  auto* knob = Add(new IKnobMultiControl(plug.get(), 0, 0, Plug::kLevel, Strip(10, 10, 10)));
  auto* unbound = Add(new IKnobMultiControl(plug.get(), 20, 0, -1, Strip(10, 10, 10)));
  knob->ApplyPlugValue(0.3);
  EXPECT_EQ(knob->DefaultValue(), 0.3);
  // Later values are drawn on this frame and the next (one may arrive while drawing).
  knob->ApplyPlugValue(0.8);
  for (bool expected : {true, true, false})
  {
    EXPECT_EQ(knob->NeedsRedraw(), expected);
    knob->ClearChanged();
  }
  knob->HandleDoubleClick(0, 0, Left());
  EXPECT_EQ(knob->Value(), 0.3);
  EXPECT_EQ(plug->ParamAt(Plug::kLevel)->Value(), -40.0);
  // Without a value from the plug-in there is nothing to go back to.
  unbound->HandleDragMove(20, 0, 0, -10, Left());
  unbound->HandleDoubleClick(20, 0, Left());
  EXPECT_EQ(unbound->Value(), 0.25);
}

TEST_F(ControlsTest, NeitherBadValuesNorMissingImagesReachThePlugIn)
{
  auto* knob = Add(new IKnobMultiControl(plug.get(), 0, 0, Plug::kLevel, Strip(10, 10, 10)));
  const IBitmapRef missing = graphics->FetchBitmap(1999, "missing.png", 100);
  auto* blind = Add(new IKnobMultiControlText(plug.get(), 30, 30, Plug::kGain, missing, ITextStyle(), true,
                                              IKnobMultiControlText::kTextBelow));
  auto* fader = Add(new IFaderControl(plug.get(), 60, 10, 164, Plug::kGain, missing));
  Attach();
  knob->ApplyPlugValue(kNaN);
  EXPECT_EQ(knob->Value(), 0.0);
  knob->ApplyPlugValue(std::numeric_limits<double>::infinity());
  knob->HandleDragMove(0, 0, 0, 0, Left());
  EXPECT_EQ(plug->ParamAt(Plug::kLevel)->Value(), 100.0);

  // Controls over a missing image have no area: they draw nothing and take no input.
  plug->events.clear();
  for (IControl* control : std::initializer_list<IControl*>{blind, fader})
  {
    EXPECT_TRUE(control->Rect().Empty());
    EXPECT_FALSE(control->ContainsPoint(61, 30));
  }
  blind->HandlePress(31, 31, Left());
  blind->HandleDragMove(31, 31, 0, -50, Left());
  EXPECT_EQ(graphics->Tick(), IRectangle(0, 0, 10, 10));
  // Nor do they ask for frames they could not draw (a knob without area never draws its text).
  graphics->Tick();
  IRectangle left;
  EXPECT_FALSE(graphics->CollectDirtyRect(&left));
  EXPECT_EQ(plug->Gestures(), "");
  EXPECT_EQ(plug->ParamAt(Plug::kGain)->Value(), 0.0);
}

TEST_F(ControlsTest, KnobTextIsFittedToTheDisplayAndOpensThePrompt)
{
  ITextStyle style;
  style.size = 16;
  auto* gain = Add(new IKnobMultiControlText(plug.get(), 0, 0, Plug::kGain, Strip(128, 128, 10), style, true,
                                             IKnobMultiControlText::kTextCentred));
  Attach();
  plug->ParamAt(Plug::kGain)->SetPlain(-12.0);
  graphics->Tick();
  // The fake's glyphs are 8 wide, a blank 4: "-12 dB" is 44, centred on column 64.
  EXPECT_EQ(gain->TextRect(), IRectangle(42, 56, 86, 76));

  gain->HandlePress(42, 60, Left());
  EXPECT_EQ(graphics->entries, std::vector<std::string>{"-12"});
  // Beside the text the press only touches the parameter, sending the knob's value.
  gain->HandlePress(41, 60, Left());
  EXPECT_EQ(graphics->entries.size(), 1u);
  EXPECT_EQ(plug->Gestures(), "p2");
  // The plug-in may set the parameter without moving the knob: its text still follows.
  graphics->Tick();
  graphics->Tick();
  plug->ParamAt(Plug::kGain)->SetPlain(6.0);
  graphics->Tick();
  EXPECT_EQ(gain->TextRect(), IRectangle(50, 56, 78, 76));
  // The prompt asks for the knob to be drawn again, with nothing else changed.
  EXPECT_FALSE(gain->NeedsRedraw());
  gain->HandlePress(55, 60, Left());
  EXPECT_TRUE(gain->NeedsRedraw());
}

TEST_F(ControlsTest, AFirstValueArrivingAfterTheFirstFrameIsDrawn)
{
  auto* meter = Add(new IBitmapControl(plug.get(), 0, 0, Strip(6, 5, 25)));
  Attach();
  graphics->Tick();
  meter->ApplyPlugValue(0.5);
  graphics->Tick();
  EXPECT_EQ(LICE_Red(graphics->PixelAt(2, 2)), 12);
}

TEST_F(ControlsTest, AuxiliaryValuesComeFromThePlugInByTheirFirstBinding)
{
  auto* knob = Add(new IKnobMultiControl(plug.get(), 0, 0, Plug::kLevel, Strip(10, 10, 10)));
  for (int aux : {Plug::kGain, Plug::kSwitch, Plug::kGain})
    knob->AddAuxParam(aux);
  EXPECT_EQ(knob->AuxIndexOfParam(Plug::kSwitch), 1);
  EXPECT_EQ(knob->AuxIndexOfParam(Plug::kLevel), -1);
  Attach();
  graphics->Tick();
  graphics->PushParamToControls(Plug::kGain, 6.0, false);
  EXPECT_EQ(knob->AuxValue(0) + knob->AuxValue(2), 0.75);
  EXPECT_EQ(knob->Value(), 0.5);
  EXPECT_TRUE(knob->NeedsRedraw());
  graphics->Tick();
  graphics->Tick();
  graphics->PushParamToControls(Plug::kGain, 0.75, true);
  EXPECT_FALSE(knob->NeedsRedraw());
  graphics->PushParamToControls(Plug::kSwitch, kNaN, true);
  EXPECT_EQ(knob->AuxValue(1), 0.0);
}

TEST_F(ControlsTest, LinkedTextsShowOnlyTheUsersChanges)
{
  auto* knob = Add(new IKnobMultiControl(plug.get(), 0, 0, Plug::kGain, Strip(10, 10, 10)));
  auto* value = Add(new ITextControl(plug.get(), {20, 0, 60, 10}, ITextStyle(), ""));
  auto* name = Add(new ITextControl(plug.get(), {20, 10, 60, 20}, ITextStyle(), ""));
  knob->SetValueTextLink(value);
  knob->SetNameTextLink(name);
  Attach();  // 0 dB, the default, comes with it
  knob->ApplyPlugValue(0.25);
  EXPECT_STREQ(value->Text(), "");
  knob->HandleDoubleClick(0, 0, Left());
  char expected[IPlugParameter::kTextSize];
  plug->ParamAt(Plug::kGain)->DisplayText(0.0, false, expected, sizeof expected);
  EXPECT_STREQ(value->Text(), expected);
  EXPECT_STREQ(name->Text(), "Gain");
}

}  // namespace
