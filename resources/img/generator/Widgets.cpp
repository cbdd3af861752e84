#include "Artwork.h"
#include "Layout.h"
#include "Palette.h"
#include "Shapes.h"

namespace {
// A round push button with an LED in its middle, dark when off and glowing when on.
Image DrawButtonFrame(bool on)
{
  Canvas canvas(kButtonSize, kButtonSize, 8);
  const float c = float(kButtonSize) / 2;
  const Box all = {0, 0, float(kButtonSize), float(kButtonSize)};
  canvas.Glow(all, Circle(c, c + 1, 9.5f), -1, 2.5f, WithAlpha(Colour(0x000000), 0.7f));
  canvas.Fill(all, Circle(c, c, 10.5f), Palette::kPanelEdge);
  canvas.Fill(all, Circle(c, c, 9.7f), VerticalGradient(c - 10, c + 10, Colour(0x5E646E), Colour(0x24272C)));
  canvas.Fill(all, Circle(c, c, 6.2f), Colour(0x111214));
  if (on)
  {
    canvas.Glow(all, Circle(c, c, 4.2f), 0, 4.5f, WithAlpha(Palette::kAmber, 0.55f));
    canvas.Fill(all, Circle(c, c, 4.2f), Palette::kAmber);
    canvas.Fill(all, Circle(c - 1.3f, c - 1.4f, 1.3f), WithAlpha(Colour(0xFFFFFF), 0.8f));
  }
  else
  {
    canvas.Fill(all, Circle(c, c, 4.2f), Mix(Colour(0x111214), Palette::kAmber, 0.22f));
    canvas.Fill(all, Circle(c - 1.3f, c - 1.4f, 1.1f), WithAlpha(Colour(0xFFFFFF), 0.12f));
  }
  return canvas.Resolve();
}

// A fader handle: an arrow and a line across the gain meters at `markerRow` (the meters'
// edge for the handle's limit), joined to a grip that carries the handle's name.
Image DrawHandle(const Typeface& bold, int markerRow, Rgba accent, const char* name)
{
  Canvas canvas(kHandleWidth, kHandleHeight, 8);
  const float m = float(markerRow);
  const Box all = {0, 0, float(kHandleWidth), float(kHandleHeight)};
  const float meterLeft = float(kGainMeters[0].left - kUpperFader.left) - 2;
  const float meterRight = float(kGainMeters[1].right - kUpperFader.left) + 2;
  const float gripLeft = 74, gripRight = 112;

  canvas.Fill(all, Triangle(1, m - 4, meterLeft, m + 1, 1, m + 6), WithAlpha(Colour(0x000000), 0.4f));
  canvas.Fill(all, Triangle(1, m - 5, meterLeft, m, 1, m + 5), accent);
  canvas.Glow(all, Capsule(meterLeft, m, meterRight, m, 0.5f), 0, 2, WithAlpha(Colour(0x000000), 0.45f));
  canvas.Fill(all, Capsule(meterLeft, m, meterRight, m, 1.0f), WithAlpha(accent, 0.95f));
  canvas.Fill(all, Capsule(meterRight, m, gripLeft, m, 0.5f), WithAlpha(accent, 0.55f));

  const auto grip = RoundRect(gripLeft, m - 9, gripRight, m + 9, 4);
  canvas.Glow(all, RoundRect(gripLeft, m - 8, gripRight, m + 10, 4), 0, 3, WithAlpha(Colour(0x000000), 0.6f));
  canvas.Fill(all, RoundRect(gripLeft - 1, m - 10, gripRight + 1, m + 10, 5), Palette::kPanelEdge);
  canvas.Fill(
    all, grip,
    VerticalGradient(m - 9, m + 9, Mix(accent, Colour(0xFFFFFF), 0.25f), Mix(accent, Colour(0x000000), 0.25f)));
  bold.Draw(canvas, name, 10, (gripLeft + gripRight) / 2, int(m + 4.5f), Align::Centre, Colour(0x16171A), 1);
  return canvas.Resolve();
}
}  // namespace

Image DrawButtonStrip()
{
  return StackFrames({DrawButtonFrame(false), DrawButtonFrame(true)});
}

Image DrawUpperLimitHandle(const Typeface& bold)
{
  return DrawHandle(bold, MarkerRow(kUpperLimit), Palette::kAmber, "MAX");
}

Image DrawLowerLimitHandle(const Typeface& bold)
{
  return DrawHandle(bold, MarkerRow(kLowerLimit), Palette::kCyan, "MIN");
}
