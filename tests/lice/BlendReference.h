// Per-channel blend formulas written out plainly, as the expected values of the drawing tests.
// Shifts of possibly negative values are written as floor divisions.
#pragma once

#include <array>

#include "lice/LICE_Pixel.h"

namespace ref {

inline int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
inline int FloorDiv(long long a, long long b) { return static_cast<int>(a >= 0 ? a / b : -((-a + b - 1) / b)); }

inline int Copy(int c, int s, int w) { return Clamp(s + (c - s) * (256 - w) / 256); }
inline int Add(int c, int s, int w) { return Clamp(c + s * w / 256); }
inline int Dodge(int c, int s, int w)
{
  const int k = s * w / 256;
  return Clamp(k >= 255 ? c * 256 : c * 256 / (256 - k));
}
inline int Multiply(int c, int s, int w) { return Clamp(FloorDiv(static_cast<long long>(c) * ((s - 256) * w + 65536), 65536)); }
inline int Overlay(int c, int s, int w)
{
  const int m = s * w + (256 - w) * 128;
  return Clamp(FloorDiv(static_cast<long long>(c * (32768 - m) / 256 + m) * c, 32768));
}

// Channels in the order blue, green, red, alpha (the memory order).
using Channels = std::array<int, 4>;
inline Channels Split(Pixel32 p) { return {int(p & 255), int((p >> 8) & 255), int((p >> 16) & 255), int(p >> 24)}; }
inline Pixel32 Join(const Channels& c)
{
  return Pixel32(c[0]) | (Pixel32(c[1]) << 8) | (Pixel32(c[2]) << 16) | (Pixel32(c[3]) << 24);
}

template <class F>
Pixel32 PerChannel(Pixel32 d, Pixel32 s, F f)
{
  Channels dc = Split(d), sc = Split(s);
  for (int i = 0; i < 4; ++i) dc[i] = f(dc[i], sc[i]);
  return Join(dc);
}

} // namespace ref
