// The per-channel blend formulas written out plainly, as expected values for the drawing tests.
// Shifts of possibly negative values are written as floor divisions.
#pragma once

#include <array>

#include "lice/LICE_Pixel.h"

namespace ref {

inline int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
inline int FloorDiv(long long a, long long b) { return static_cast<int>(a >= 0 ? a / b : -((-a + b - 1) / b)); }

// Destination channel c against source channel s at weight w: 0 copy, 1 add, 2 dodge,
// 3 multiply, 4 overlay; saturated.
inline int Channel(int mode, int c, int s, int w)
{
  switch (mode)
  {
  case 0: return Clamp(s + (c - s) * (256 - w) / 256);
  case 1: return Clamp(c + s * w / 256);
  case 2:
  {
    const int k = s * w / 256;
    return Clamp(k >= 255 ? c * 256 : c * 256 / (256 - k));
  }
  case 3: return Clamp(FloorDiv(static_cast<long long>(c) * ((s - 256) * w + 65536), 65536));
  default:
  {
    const int m = s * w + (256 - w) * 128;
    return Clamp(FloorDiv(static_cast<long long>(c * (32768 - m) / 256 + m) * c, 32768));
  }
  }
}

// Channels in memory order: blue, green, red, alpha.
using Channels = std::array<int, 4>;
inline Channels Split(Pixel32 p) { return {int(p & 255), int((p >> 8) & 255), int((p >> 16) & 255), int(p >> 24)}; }
inline Pixel32 Join(const Channels& c)
{
  return Pixel32(c[0]) | (Pixel32(c[1]) << 8) | (Pixel32(c[2]) << 16) | (Pixel32(c[3]) << 24);
}

// Modes 0..4 on all four channels; mode 5 through the HSV helper (checked on its own).
inline Pixel32 Mix(int mode, Pixel32 d, Pixel32 s, int w)
{
  if (mode == 5)
  {
    LICE_MixHsvPixel(&d, LICE_Red(s), LICE_Green(s), LICE_Blue(s), LICE_Alpha(s), w);
    return d;
  }
  Channels dc = Split(d), sc = Split(s);
  for (int i = 0; i < 4; ++i) dc[i] = Channel(mode, dc[i], sc[i], w);
  return Join(dc);
}

} // namespace ref
