// A drawing surface that keeps samples × samples points per pixel (premultiplied, float), so
// every edge is anti-aliased when Resolve averages them into 8-bit pixels.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "Image.h"

// A colour with straight alpha, all channels 0..1.
struct Rgba
{
  float r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba kClear{};

// 0xRRGGBB with an alpha.
inline Rgba Colour(std::uint32_t rgb, float alpha = 1.0f)
{
  return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f, float(rgb & 0xFF) / 255.0f, alpha};
}

inline Rgba Mix(Rgba from, Rgba to, float t)
{
  t = std::clamp(t, 0.0f, 1.0f);
  return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
          from.a + (to.a - from.a) * t};
}

// A paint running from `top` at y0 to `bottom` at y1.
inline auto VerticalGradient(float y0, float y1, Rgba top, Rgba bottom)
{
  return [=](float, float y) { return Mix(top, bottom, (y - y0) / (y1 - y0)); };
}

inline Rgba WithAlpha(Rgba c, float alpha)
{
  return {c.r, c.g, c.b, c.a * alpha};
}

// An area in pixels (fractions allowed), right and bottom exclusive.
struct Box
{
  float left, top, right, bottom;
};

inline Box BoxAround(float cx, float cy, float radius)
{
  return {cx - radius, cy - radius, cx + radius, cy + radius};
}

// 8-bit coverage (text), placed with its top-left at a whole pixel.
struct Coverage
{
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> alpha;
};

class Canvas
{
public:
  Canvas(int width, int height, int samples);

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }

  // Composites paint(x, y) over every sample inside `area`; x, y are the sample's position in
  // pixels. The paint returns kClear (or any zero alpha) where it leaves the canvas alone.
  template <class Paint>
  void Draw(const Box& area, Paint paint)
  {
    const int s = mSamples;
    const int x0 = std::max(0, int(std::floor(area.left * s))),
              x1 = std::min(mWidth * s, int(std::ceil(area.right * s)));
    const int y0 = std::max(0, int(std::floor(area.top * s))),
              y1 = std::min(mHeight * s, int(std::ceil(area.bottom * s)));
    for (int sy = y0; sy < y1; ++sy)
      for (int sx = x0; sx < x1; ++sx)
        Over(std::size_t(sy) * std::size_t(mWidth * s) + std::size_t(sx),
             paint((float(sx) + 0.5f) / float(s), (float(sy) + 0.5f) / float(s)));
  }

  // Fills where shape(x, y) < 0 (a signed distance, negative inside) with colour(x, y).
  template <class Shape, class Paint>
  void Fill(const Box& area, Shape shape, Paint colour)
  {
    Draw(area, [&](float x, float y) { return shape(x, y) < 0 ? colour(x, y) : kClear; });
  }

  template <class Shape>
  void Fill(const Box& area, Shape shape, Rgba colour)
  {
    Fill(area, shape, [colour](float, float) { return colour; });
  }

  // A soft edge: full `colour` up to distance `inner` of the shape, fading out by `outer`
  // (glows and shadows).
  template <class Shape>
  void Glow(const Box& area, Shape shape, float inner, float outer, Rgba colour)
  {
    Draw(area, [&](float x, float y) {
      const float d = shape(x, y);
      const float t = std::clamp((d - inner) / (outer - inner), 0.0f, 1.0f);
      return WithAlpha(colour, 1.0f - t * t * (3.0f - 2.0f * t));
    });
  }

  // Coverage in `colour` with its top-left at pixel x, y (text is rasterised at one sample a
  // pixel by the font's own anti-aliasing, which keeps it crisp).
  void Stamp(const Coverage& coverage, int x, int y, Rgba colour);

  // Averages the samples of each pixel into 8-bit straight-alpha RGBA; fully transparent
  // pixels are all zero.
  Image Resolve() const;

private:
  void Over(std::size_t index, Rgba colour)
  {
    if (colour.a <= 0)
      return;
    float* p = &mData[index * 4];
    const float a = std::min(colour.a, 1.0f), keep = 1.0f - a;
    p[0] = colour.r * a + p[0] * keep;
    p[1] = colour.g * a + p[1] * keep;
    p[2] = colour.b * a + p[2] * keep;
    p[3] = a + p[3] * keep;
  }

  int mWidth;
  int mHeight;
  int mSamples;
  std::vector<float> mData;  // premultiplied r, g, b, a per sample
};
