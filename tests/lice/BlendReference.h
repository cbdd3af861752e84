// The per-channel blend formulas written out plainly, as expected values for the drawing tests.
// Shifts of possibly negative values are written as floor divisions.
#pragma once

#include "lice/LICE_Pixel.h"

namespace ref {

inline int Clamp(int v)
{
  return v < 0 ? 0 : v > 255 ? 255 : v;
}
inline int FloorDiv(long long a, long long b)
{
  return static_cast<int>(a >= 0 ? a / b : -((-a + b - 1) / b));
}

// Destination channel c against source channel s at weight w: 0 copy, 1 add, 2 dodge,
// 3 multiply, 4 overlay; saturated.
inline int Channel(int mode, int c, int s, int w)
{
  const int k = s * w / 256, m = s * w + (256 - w) * 128;
  switch (mode)
  {
  case 0:
    return Clamp(s + (c - s) * (256 - w) / 256);
  case 1:
    return Clamp(c + k);
  case 2:
    return Clamp(k >= 255 ? c * 256 : c * 256 / (256 - k));
  case 3:
    return Clamp(FloorDiv(static_cast<long long>(c) * ((s - 256) * w + 65536), 65536));
  default:
    return Clamp(FloorDiv(static_cast<long long>(c * (32768 - m) / 256 + m) * c, 32768));
  }
}

// f(index, destination channel, source channel) over blue, green, red and alpha.
template <class F>
Pixel32 PerChannel(Pixel32 d, Pixel32 s, F f)
{
  Pixel32 out = 0;
  for (int i = 0; i < 4; ++i)
    out |= Pixel32(f(i, int(d >> 8 * i) & 255, int(s >> 8 * i) & 255)) << 8 * i;
  return out;
}

// Modes 0..4 on all four channels; mode 5 through the HSV helper (checked on its own).
inline Pixel32 Mix(int mode, Pixel32 d, Pixel32 s, int w)
{
  if (mode != 5)
    return PerChannel(d, s, [&](int, int c, int x) { return Channel(mode, c, x, w); });
  LICE_MixHsvPixel(&d, LICE_Red(s), LICE_Green(s), LICE_Blue(s), LICE_Alpha(s), w);
  return d;
}

}  // namespace ref
