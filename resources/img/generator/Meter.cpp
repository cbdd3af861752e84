#include "Artwork.h"
#include "Layout.h"
#include "Palette.h"
#include "Shapes.h"

namespace {
const Rgba kMeterBack = Colour(0x0D0E10);

// One segment of a bar: rows top..bottom (exclusive), dim when unlit so the scale's colours
// show even in silence.
void DrawSegment(Canvas& canvas, int top, int bottom, Rgba colour, bool lit)
{
  const Rgba base = lit ? colour : Mix(kMeterBack, colour, 0.14f);
  const float mid = float(kMeterWidth) / 2;
  canvas.Draw({2, float(top), float(kMeterWidth - 2), float(bottom)}, [&](float x, float) {
    // A little brighter along the middle, like a lens over an LED.
    return Mix(base, Colour(0xFFFFFF), lit ? 0.18f * (1 - std::fabs(x - mid) / (mid - 2)) : 0.0f);
  });
}

Rgba PeakColour(int db)
{
  if (db > -3)
    return Palette::kMeterRed;
  if (db > -6)
    return Palette::kMeterOrange;
  if (db > -12)
    return Palette::kMeterYellow;
  return Palette::kMeterGreen;
}

// Frame k lights the k lowest one-dB segments.
Image DrawPeakMeterFrame(int frame)
{
  Canvas canvas(kMeterWidth, kPeakMeterHeight, 4);
  canvas.Draw({0, 0, float(kMeterWidth), float(kPeakMeterHeight)}, [](float, float) { return kMeterBack; });
  for (int segment = 0; segment < kPeakMeterFrames - 1; ++segment)
  {
    const int db = kPeakMeterLowestDb + segment + 1;  // the level at the segment's top
    DrawSegment(canvas, PeakMeterRow(db) + 1, PeakMeterRow(db - 1), PeakColour(db), segment < frame);
  }
  return canvas.Resolve();
}

// Gain above 0 dB grows up from the middle line in amber, gain below it down in cyan.
Image DrawGainMeterFrame(int frame)
{
  Canvas canvas(kMeterWidth, kGainMeterHeight, 4);
  canvas.Draw({0, 0, float(kMeterWidth), float(kGainMeterHeight)}, [](float, float) { return kMeterBack; });
  const int gainDb = kGainMeterLowestDb + frame;
  for (int step = 1; step <= -kGainMeterLowestDb; ++step)
  {
    DrawSegment(canvas, GainMeterRow(step) + 1, GainMeterRow(step - 1), Palette::kAmber, gainDb >= step);
    DrawSegment(canvas, GainMeterRow(1 - step), GainMeterRow(-step) - 1, Palette::kCyan, -gainDb >= step);
  }
  const float middle = float(GainMeterRow(0));
  canvas.Draw({1, middle - 1, float(kMeterWidth - 1), middle + 1}, [](float, float) { return Colour(0xD0D4DA); });
  return canvas.Resolve();
}
}  // namespace

Image DrawPeakMeterStrip()
{
  std::vector<Image> frames;
  for (int frame = 0; frame < kPeakMeterFrames; ++frame)
    frames.push_back(DrawPeakMeterFrame(frame));
  return StackFrames(frames);
}

Image DrawGainMeterStrip()
{
  std::vector<Image> frames;
  for (int frame = 0; frame < kGainMeterFrames; ++frame)
    frames.push_back(DrawGainMeterFrame(frame));
  return StackFrames(frames);
}
