// The effect's editor: its images, text styles and the fifteen controls over the backdrop.
#include "effect/TarvexQuoxel.h"

#include "framework/gui/IBitmapControl.h"
#include "framework/gui/IFaderControl.h"
#include "framework/gui/IGraphics.h"
#include "framework/gui/IKnobControl.h"
#include "framework/gui/PlatformGraphics.h"

#include <memory>

namespace {

// The module's PNG resources.
enum EImage
{
  kBackdropImage = 100,
  kBigKnobImage = 101,
  kSmallKnobImage = 102,
  kGainMeterImage = 103,
  kPeakMeterImage = 104,
  kButtonImage = 105,
  kUpperFaderImage = 106,
  kLowerFaderImage = 107,
};

constexpr IColour kKnobTextColour(255, 255, 200, 63);
constexpr int kFaderTrack = 164;

}  // namespace

void TarvexQuoxel::BuildEditor()
{
  // Owned here until attached, so running out of memory on the way frees it.
  std::unique_ptr<IGraphics> owned(MakePlatformGraphics(this, kEditorWidth, kEditorHeight));
  IGraphics* graphics = owned.get();
  graphics->SetBackdrop(kBackdropImage, "resources/img/bkg.png");

  const ITextStyle bigText(16, kKnobTextColour);
  const ITextStyle smallText(14, kKnobTextColour);

  const IBitmapRef bigKnob = graphics->FetchBitmap(kBigKnobImage, "resources/img/big-knob.png", 100);
  const IBitmapRef smallKnob = graphics->FetchBitmap(kSmallKnobImage, "resources/img/small-knob.png", 100);
  const IBitmapRef button = graphics->FetchBitmap(kButtonImage, "resources/img/button.png", 2);
  const IBitmapRef gainMeter = graphics->FetchBitmap(kGainMeterImage, "resources/img/gain-meter.png", 25);
  const IBitmapRef peakMeter = graphics->FetchBitmap(kPeakMeterImage, "resources/img/peak-meter.png", 49);
  const IBitmapRef upperFader = graphics->FetchBitmap(kUpperFaderImage, "resources/img/up-limit-fader.png", 1);
  const IBitmapRef lowerFader = graphics->FetchBitmap(kLowerFaderImage, "resources/img/low-limit-fader.png", 1);

  const auto knob = [&](int x, int y, int paramIdx, const IBitmapRef& bitmap, const ITextStyle& style) {
    graphics->AddControl(
      new IKnobMultiControlText(this, x, y, paramIdx, bitmap, style, true, IKnobMultiControlText::kTextCentred));
  };
  const auto meter = [&](int x, int y, const IBitmapRef& bitmap, EMeters which) {
    mMeterControls[which] = graphics->AddControl(new IBitmapControl(this, x, y, bitmap));
  };
  knob(95, 73, kLevel, bigKnob, bigText);
  knob(287, 73, kOutGain, bigKnob, bigText);
  knob(80, 285, kHiPass, smallKnob, smallText);
  knob(192, 285, kLength, smallKnob, smallText);
  knob(305, 285, kRelease, smallKnob, smallText);
  graphics->AddControl(new ISwitchControl(this, 401, 143, kAutoOutGain, button));
  graphics->AddControl(new ISwitchControl(this, 392, 344, kAutoRelease, button));
  meter(482, 82, gainMeter, kGainMeter0);
  meter(502, 82, gainMeter, kGainMeter1);
  graphics->AddControl(new IFaderControl(this, 470, 72, kFaderTrack, kUpperLimit, upperFader));
  graphics->AddControl(new IFaderControl(this, 470, 232, kFaderTrack, kLowerLimit, lowerFader));
  meter(11, 26, peakMeter, kInputMeter0);
  meter(30, 26, peakMeter, kInputMeter1);
  meter(598, 26, peakMeter, kOutputMeter0);
  meter(617, 26, peakMeter, kOutputMeter1);

  AttachEditor(graphics);
  owned.release();
  mGraphics = graphics;
}

void TarvexQuoxel::ShowMeter(int meter, double value)
{
  // Lock-free: the control stores it atomically for the editor's timer.
  if (IControl* control = mGraphics ? mGraphics->ControlAt(mMeterControls[meter]) : nullptr)
    control->ApplyPlugValue(value);
}
