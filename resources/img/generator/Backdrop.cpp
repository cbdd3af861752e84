#include <string>

#include "Artwork.h"
#include "Layout.h"
#include "Palette.h"
#include "Shapes.h"

namespace {
constexpr int kNameSize = 10;
constexpr int kSmallSize = 9;
constexpr int kScaleSize = 8;

const Box kAll = {0, 0, float(kEditorWidth), float(kEditorHeight)};

// A raised panel: a dark edge, a gradient face and a faint light line along its top.
void DrawPanel(Canvas& canvas, float left, float top, float right, float bottom)
{
  canvas.Fill(kAll, RoundRect(left - 1, top - 1, right + 1, bottom + 1, 7), Palette::kPanelEdge);
  canvas.Fill(kAll, RoundRect(left, top, right, bottom, 6),
              VerticalGradient(top, bottom, Palette::kPanelTop, Palette::kPanelBottom));
  canvas.Fill(kAll, Capsule(left + 6, top + 0.5f, right - 6, top + 0.5f, 0.5f), WithAlpha(Palette::kHighlight, 0.8f));
}

// A recess the meters sit in: dark, with its lower edge catching the light.
void DrawWell(Canvas& canvas, float left, float top, float right, float bottom)
{
  canvas.Fill(kAll, RoundRect(left, top, right, bottom + 1, 3), WithAlpha(Palette::kHighlight, 0.5f));
  canvas.Fill(kAll, RoundRect(left, top, right, bottom, 3), Palette::kPanelEdge);
  canvas.Fill(kAll, RoundRect(left + 1, top + 1, right - 1, bottom - 1, 2), Palette::kWell);
}

// `rows` whole rows from `row` down, from left to right.
void DrawLine(Canvas& canvas, float left, float right, int row, Rgba colour, int rows = 1)
{
  canvas.Draw({left, float(row), right, float(row + rows)}, [=](float, float) { return colour; });
}

void DrawTitle(Canvas& canvas, const Typeface& bold)
{
  const int size = 24, baseline = 36, left = 64;
  bold.Draw(canvas, "Tarvex", size, left, baseline, Align::Left, Palette::kLabel);
  bold.Draw(canvas, "Quoxel", size, float(left + bold.Measure("Tarvex", size)), baseline, Align::Left, Palette::kAmber);
  bold.Draw(canvas, "TRANSIENT SHAPER", kSmallSize, 458, baseline - 1, Align::Right, Palette::kScale, 2);
}

// A seat for each knob, its two end values at the ends of the sweep, and its name below.
void DrawKnobPlace(Canvas& canvas, const Typeface& bold, const KnobPlace& knob, float sweepRadius, int nameSize,
                   int nameBaseline)
{
  const float cx = knob.rect.CentreX(), cy = knob.rect.CentreY();
  canvas.Glow(kAll, Circle(cx, cy, sweepRadius + 2), -2, 2, WithAlpha(Colour(0x000000), 0.28f));
  const float endX = sweepRadius * 0.77f, endY = sweepRadius * 0.97f;
  bold.Draw(canvas, knob.lowest, kSmallSize, cx - endX, int(cy + endY), Align::Centre, Palette::kScale);
  bold.Draw(canvas, knob.highest, kSmallSize, cx + endX, int(cy + endY), Align::Centre, Palette::kScale);
  bold.Draw(canvas, knob.name, nameSize, cx, nameBaseline, Align::Centre, Palette::kLabel, 1);
}

void DrawSwitchLabel(Canvas& canvas, const Typeface& bold, const Rect& button)
{
  bold.Draw(canvas, "AUTO", kSmallSize, float(button.right + 4), int(button.CentreY() + 3.5f), Align::Left,
            Palette::kLabel, 1);
}

// The row of the dark gap at the outer edge of the gain-meter segment for `db`; 0 dB is the
// two-row middle line.
int GainTickRow(int db)
{
  return kGainMeters[0].top + GainMeterRow(db) - (db <= 0 ? 1 : 0);
}

void DrawGainSection(Canvas& canvas, const Typeface& bold)
{
  const Rect& left = kGainMeters[0];
  const Rect& right = kGainMeters[1];
  DrawWell(canvas, float(left.left - 3), float(left.top - 3), float(right.right + 3), float(left.bottom + 3));
  bold.Draw(canvas, "GAIN", kNameSize, (left.left + right.right) / 2.0f, 66, Align::Centre, Palette::kLabel, 1);
  for (int db = kGainMeterLowestDb; db <= -kGainMeterLowestDb; ++db)
  {
    const int row = GainTickRow(db);
    const bool major = db % 6 == 0;
    const int rows = db == 0 ? 2 : 1;
    DrawLine(canvas, float(left.left - (major ? 10 : 7)), float(left.left - 3), row,
             major ? Palette::kScale : Palette::kTick, rows);
    if (!major)
      continue;
    const std::string text = db > 0 ? "+" + std::to_string(db) : std::to_string(db);
    bold.Draw(canvas, text, kScaleSize, float(right.right + 8), row + 3, Align::Left, Palette::kScale);
  }

  // The limit handles slide in two tracks, each as long as its handle's travel.
  const float trackX = float(kUpperFader.left) + 93;
  bold.Draw(canvas, "LIMITS", kNameSize, trackX, 66, Align::Centre, Palette::kLabel, 1);
  for (const FaderPlace* fader : {&kUpperLimit, &kLowerLimit})
  {
    const int marker = MarkerRow(*fader);
    const float top = float(HandleTop(*fader, fader->highestDb) + marker - 4);
    const float bottom = float(HandleTop(*fader, fader->lowestDb) + marker + 4);
    DrawWell(canvas, trackX - 3, top, trackX + 3, bottom);
  }
}

// Each pair of peak meters has its scale on its right, in dB below full scale, every 6 dB.
void DrawPeakMeters(Canvas& canvas, const Typeface& bold, const Rect (&meters)[2], const char* name)
{
  const Rect& left = meters[0];
  const Rect& right = meters[1];
  DrawWell(canvas, float(left.left - 3), float(left.top - 3), float(right.right + 3), float(left.bottom + 3));
  // No tick marks: beside numbers without a sign they would read as minus signs.
  for (int db = 0; db >= kPeakMeterLowestDb; db -= 6)
    bold.Draw(canvas, std::to_string(-db), kScaleSize, float(right.right + 6), left.top + PeakMeterRow(db) + 3,
              Align::Left, Palette::kScale);
  bold.Draw(canvas, name, kNameSize, (left.left + right.right) / 2.0f, 400, Align::Centre, Palette::kLabel, 1);
}
}  // namespace

Image DrawBackdrop(const Typeface& bold)
{
  Canvas canvas(kEditorWidth, kEditorHeight, 4);
  canvas.Draw(kAll, VerticalGradient(0, kEditorHeight, Palette::kBackTop, Palette::kBackBottom));
  DrawTitle(canvas, bold);

  DrawPanel(canvas, 60, 48, 460, 404);
  DrawLine(canvas, 76, 444, 240, Palette::kPanelEdge);
  DrawLine(canvas, 76, 444, 241, WithAlpha(Palette::kHighlight, 0.6f));
  for (const KnobPlace& knob : kBigKnobs)
    DrawKnobPlace(canvas, bold, knob, 59.5f, kNameSize, 221);
  for (const KnobPlace& knob : kSmallKnobs)
    DrawKnobPlace(canvas, bold, knob, 47.5f, kSmallSize, 400);  // narrower: the small knobs stand close
  for (const Rect& button : kSwitches)
    DrawSwitchLabel(canvas, bold, button);

  DrawPanel(canvas, 468, 48, 591, 404);
  DrawGainSection(canvas, bold);
  DrawPeakMeters(canvas, bold, kInputMeters, "IN");
  DrawPeakMeters(canvas, bold, kOutputMeters, "OUT");
  return canvas.Resolve();
}
