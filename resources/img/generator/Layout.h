// The editor's geometry as its controls are placed, so the backdrop draws wells, tracks,
// scales and names exactly around them, and the scales that tie meter frames to dB.
#pragma once

#include <map>

struct Rect
{
  int left, top, right, bottom;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  float CentreX() const { return float(left + right) / 2; }
  float CentreY() const { return float(top + bottom) / 2; }
};

constexpr int kEditorWidth = 650;
constexpr int kEditorHeight = 410;

struct KnobPlace
{
  Rect rect;
  const char* name;
  const char* lowest;  // the parameter's ends, printed at the ends of the sweep
  const char* highest;
};

constexpr KnobPlace kBigKnobs[] = {
  {{95, 73, 223, 201}, "QUOXEL LEVEL", "-100", "+100"},
  {{287, 73, 415, 201}, "OUT GAIN", "-12", "+12"},
};
constexpr KnobPlace kSmallKnobs[] = {
  {{80, 285, 180, 385}, "HI PASS", "20", "400"},
  {{192, 285, 292, 385}, "QUOXEL LENGTH", "10", "100"},
  {{305, 285, 405, 385}, "DETECTOR RELEASE", "10", "500"},
};
// The automatic output gain and automatic release switches, beside the knobs they free.
constexpr Rect kSwitches[] = {{401, 143, 425, 167}, {392, 344, 416, 368}};
constexpr Rect kGainMeters[] = {{482, 82, 498, 382}, {502, 82, 518, 382}};
constexpr Rect kInputMeters[] = {{11, 26, 27, 386}, {30, 26, 46, 386}};
constexpr Rect kOutputMeters[] = {{598, 26, 614, 386}, {617, 26, 633, 386}};
constexpr Rect kUpperFader = {470, 72, 585, 236};
constexpr Rect kLowerFader = {470, 232, 585, 396};

// Image sizes and frame counts.
constexpr int kBigKnobSize = 128;
constexpr int kSmallKnobSize = 100;
constexpr int kKnobFrames = 100;
constexpr int kMeterWidth = 16;
constexpr int kGainMeterHeight = 300;
constexpr int kGainMeterFrames = 25;
constexpr int kPeakMeterHeight = 360;
constexpr int kPeakMeterFrames = 49;
constexpr int kButtonSize = 24;
constexpr int kHandleWidth = 115;
constexpr int kHandleHeight = 27;

// Both knobs turn their pointer through the same 270 degrees, centred on twelve o'clock.
constexpr float kSweepStart = -135;
constexpr float kSweepEnd = 135;
inline float KnobAngle(int frame)
{
  return kSweepStart + (kSweepEnd - kSweepStart) * float(frame) / (kKnobFrames - 1);
}

// The editor shows frame round(value * (frames - 1)), so each meter frame is one whole dB:
// the gain meter runs from -12 dB (frame 0) through 0 dB (frame 12) to +12 dB; the peak
// meters from -48 dB (frame 0) to 0 dB (frame 48).
constexpr int kGainMeterLowestDb = -12;
constexpr int kPeakMeterLowestDb = -48;

// The row of a meter frame where the bar for `db` ends (rows counted from the frame's top).
inline int GainMeterRow(int db)
{
  return int(kGainMeterHeight / 2.0 - db * 12.5 + 0.5);
}
inline int PeakMeterRow(int db)
{
  return int(kPeakMeterHeight - (db - kPeakMeterLowestDb) * 7.5 + 0.5);
}

// The fader limits in dB and where the editor puts a handle for one of them.
struct FaderPlace
{
  Rect rect;
  int lowestDb;
  int highestDb;
};
constexpr FaderPlace kUpperLimit = {kUpperFader, 1, 12};
constexpr FaderPlace kLowerLimit = {kLowerFader, -12, -1};

inline int HandleTop(const FaderPlace& fader, int db)
{
  const double value = double(db - fader.lowestDb) / (fader.highestDb - fader.lowestDb);
  return fader.rect.top + int((fader.rect.Height() - kHandleHeight) * (1 - value));
}

// The handle row that lies on the gain meters' edge for the handle's own limit (the row most
// of the limits agree on; the tracks and the meter are not scaled alike to the pixel).
inline int MarkerRow(const FaderPlace& fader)
{
  std::map<int, int> votes;
  for (int db = fader.lowestDb; db <= fader.highestDb; ++db)
    ++votes[kGainMeters[0].top + GainMeterRow(db) - HandleTop(fader, db)];
  int best = 0, count = 0;
  for (const auto& [row, n] : votes)
    if (n > count)
      best = row, count = n;
  return best;
}
