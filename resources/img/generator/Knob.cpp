#include <utility>

#include "Artwork.h"
#include "Layout.h"
#include "Palette.h"
#include "Shapes.h"

namespace {
// Radii in pixels: the value arc's track, the turning body, the flat cap the value text sits
// on, and the pointer, which stays clear of that text.
struct KnobShape
{
  int size;
  float trackRadius, trackHalfWidth, litHalfWidth;
  float bodyRadius, capRadius;
  float pointerInner, pointerOuter, pointerHalfWidth;
};

KnobShape ShapeFor(int size)
{
  if (size == kBigKnobSize)
    return {size, 57.0f, 2.6f, 1.9f, 48.0f, 38.0f, 30.0f, 44.0f, 1.9f};
  const float k = float(size) / kBigKnobSize;
  // Smaller knobs scale, but their pointer must still clear a value text as wide as the big one's.
  return {size, 57.0f * k + 1, 2.4f, 1.8f, 48.0f * k - 0.5f, 38.0f * k - 0.7f, 27.0f, 34.0f, 1.7f};
}

Image DrawKnobFrame(const KnobShape& k, bool bipolar, int frame)
{
  Canvas canvas(k.size, k.size, 8);
  const float c = float(k.size) / 2;
  const Box all = {0, 0, float(k.size), float(k.size)};

  canvas.Glow(all, Circle(c, c + 3, k.bodyRadius), -3, 7, WithAlpha(Colour(0x000000), 0.65f));

  canvas.Fill(all, Arc(c, c, k.trackRadius, k.trackHalfWidth, kSweepStart, kSweepEnd), Colour(0x0B0C0E));
  float from = bipolar ? 0.0f : kSweepStart, to = KnobAngle(frame);
  if (to < from)
    std::swap(from, to);
  const auto lit = Arc(c, c, k.trackRadius, k.litHalfWidth, from, to);
  canvas.Glow(all, lit, 0, 4, WithAlpha(Palette::kAmber, 0.3f));
  canvas.Fill(all, lit, Palette::kAmber);

  const float r = k.bodyRadius;
  canvas.Fill(all, Circle(c, c, r + 1), Palette::kPanelEdge);
  canvas.Fill(all, Circle(c, c, r), VerticalGradient(c - r, c + r, Colour(0x545962), Colour(0x1D1F23)));
  // A light rim on the upper half, as if lit from above.
  canvas.Fill(all, Ring(c, c, r - 0.9f, 0.6f),
              [&](float, float y) { return WithAlpha(Colour(0xA4AAB4), std::clamp((c - y) / r, 0.0f, 1.0f) * 0.6f); });
  canvas.Fill(all, Circle(c, c, k.capRadius + 1), Colour(0x131417));
  canvas.Fill(all, Circle(c, c, k.capRadius),
              VerticalGradient(c - k.capRadius, c + k.capRadius, Colour(0x2C2F35), Colour(0x1C1E22)));

  float x0, y0, x1, y1;
  PointAt(c, c, k.pointerInner, KnobAngle(frame), &x0, &y0);
  PointAt(c, c, k.pointerOuter, KnobAngle(frame), &x1, &y1);
  canvas.Glow(all, Capsule(x0, y0, x1, y1, k.pointerHalfWidth), 0, 2.5f, WithAlpha(Colour(0x000000), 0.5f));
  canvas.Fill(all, Capsule(x0, y0, x1, y1, k.pointerHalfWidth), Colour(0xF4F5F7));
  return canvas.Resolve();
}
}  // namespace

Image DrawKnobStrip(int size, bool bipolar)
{
  const KnobShape shape = ShapeFor(size);
  std::vector<Image> frames;
  for (int frame = 0; frame < kKnobFrames; ++frame)
    frames.push_back(DrawKnobFrame(shape, bipolar, frame));
  return StackFrames(frames);
}
