#include "lice/LICE_Line.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "lice/LICE_Surface.h"

namespace {

using std::int64_t;
using std::ptrdiff_t;

// Pixel operations. Each is a type of its own so every loop below is compiled per operation
// and holds no mode test; k is the weight where the operation takes one.
struct StoreOp
{
  Pixel32 c;
  void operator()(Pixel32* p, int) const { *p = c; }
};

struct AverageOp
{
  Pixel32 c;
  void operator()(Pixel32* p, int) const
  {
    const Pixel32 d = *p;
    *p = LICE_Rgba((LICE_Red(d) + LICE_Red(c)) >> 1, (LICE_Green(d) + LICE_Green(c)) >> 1,
                   (LICE_Blue(d) + LICE_Blue(c)) >> 1, (LICE_Alpha(d) + LICE_Alpha(c)) >> 1);
  }
};

inline Pixel32 Half(Pixel32 v)
{
  return (v >> 1) & 0x7F7F7F7F;
}
inline Pixel32 Quarter(Pixel32 v)
{
  return (v >> 2) & 0x3F3F3F3F;
}

struct HalfMaskOp
{
  Pixel32 c;
  void operator()(Pixel32* p, int) const { *p = Half(c) + Half(*p); }
};
struct QuarterMaskOp
{
  Pixel32 c;
  void operator()(Pixel32* p, int) const { *p = Half(*p) + Quarter(c) + Quarter(*p); }
};
struct ThreeQuarterMaskOp
{
  Pixel32 c;
  void operator()(Pixel32* p, int) const { *p = Quarter(c) + Half(c) + Quarter(*p); }
};

template <int Mode>
struct ModeOp
{
  Pixel32 c;
  void operator()(Pixel32* p, int k) const
  {
    const int r = LICE_Red(c), g = LICE_Green(c), b = LICE_Blue(c), a = LICE_Alpha(c);
    if constexpr (Mode == 0)
      LICE_MixCopyPixel(p, r, g, b, a, k);
    else if constexpr (Mode == 1)
      LICE_MixAddPixel(p, r, g, b, a, k);
    else if constexpr (Mode == 2)
      LICE_MixDodgePixel(p, r, g, b, a, k);
    else if constexpr (Mode == 3)
      LICE_MixMultiplyPixel(p, r, g, b, a, k);
    else if constexpr (Mode == 4)
      LICE_MixOverlayPixel(p, r, g, b, a, k);
    else
      LICE_MixHsvPixel(p, r, g, b, a, k);
  }
};

// Calls f with the operation of mode 1..5 at a weight given per pixel.
template <class F>
void WithModeOp(int mode, Pixel32 colour, F f)
{
  switch (mode)
  {
  case 1:
    f(ModeOp<1>{colour});
    break;
  case 2:
    f(ModeOp<2>{colour});
    break;
  case 3:
    f(ModeOp<3>{colour});
    break;
  case 4:
    f(ModeOp<4>{colour});
    break;
  case 5:
    f(ModeOp<5>{colour});
    break;
  default:
    break;
  }
}

// The plain (not anti-aliased) weight cases: copy mode picks a store, an average or the copy
// formula by weight; the other modes take the weight as it is.
template <class F>
void WithPlainOp(int mode, int w, Pixel32 colour, F f)
{
  if (w == 0)
    return;
  if (mode != 0)
    WithModeOp(mode, colour, f);
  else if (w == 256)
    f(StoreOp{colour});
  else if (w == 128)
    f(AverageOp{colour});
  else if (w > 0)
    f(ModeOp<0>{colour});
}

template <class Op>
void Run(Pixel32* p, ptrdiff_t step, int count, Op op, int k)
{
  for (int i = 0; i < count; ++i, p += step)
    op(p, k);
}

void DrawAxisRun(Pixel32* p, ptrdiff_t step, int count, Pixel32 colour, float alpha, int w, int mode)
{
  if (mode == 0)
  {
    if (alpha == 1.0f)
      return Run(p, step, count, StoreOp{colour}, 0);
    if (alpha == 0.5f)
      return Run(p, step, count, HalfMaskOp{colour}, 0);
    if (alpha == 0.25f)
      return Run(p, step, count, QuarterMaskOp{colour}, 0);
    if (alpha == 0.75f)
      return Run(p, step, count, ThreeQuarterMaskOp{colour}, 0);
  }
  WithPlainOp(mode, w, colour, [&](auto op) { Run(p, step, count, op, w); });
}

template <class Main, class Side>
void Diagonal(Pixel32* p, ptrdiff_t sx, ptrdiff_t sy, int n, Main main, int mainWeight, Side side, int sideWeight,
              bool sides)
{
  for (int i = 0; i <= n; ++i, p += sx + sy)
  {
    main(p, mainWeight);
    if (sides && i < n)
    {
      side(p + sx, sideWeight);
      side(p + sy, sideWeight);
    }
  }
}

struct ComplementMaskOp
{
  Pixel32 c;
  void operator()(Pixel32* p, int) const { *p = Quarter(c) + Quarter(*p) + Half(*p); }
};

void DrawDiagonal(Pixel32* p, ptrdiff_t sx, ptrdiff_t sy, int n, Pixel32 colour, float alpha, int w, int mode,
                  bool antiAlias)
{
  if (mode == 0 && alpha == 1.0f)
  {
    if (antiAlias)
      Diagonal(p, sx, sy, n, ThreeQuarterMaskOp{colour}, 0, ComplementMaskOp{colour}, 0, true);
    else
      Diagonal(p, sx, sy, n, StoreOp{colour}, 0, StoreOp{colour}, 0, false);
    return;
  }
  if (w == 0)
    return;
  if (!antiAlias)
  {
    WithPlainOp(mode, w, colour, [&](auto op) { Diagonal(p, sx, sy, n, op, w, op, w, false); });
    return;
  }
  const int mainWeight = w * 3 / 4, sideWeight = w / 4;
  auto draw = [&](auto op) { Diagonal(p, sx, sy, n, op, mainWeight, op, sideWeight, true); };
  if (mode == 0)
  {
    if (w > 0)
      draw(ModeOp<0>{colour});
  }
  else
    WithModeOp(mode, colour, draw);
}

// A sloped segment walked from both ends toward the middle, so exchanging the end points draws
// the same pixels. `a` is the end with the smaller major coordinate.
struct Slope
{
  Pixel32* a;
  Pixel32* b;
  ptrdiff_t major;
  ptrdiff_t minor;
  int length;
  int fraction;  // 16.16 minor advance per major step
};

template <class Op>
void SlopedPlain(const Slope& s, Op op, int w)
{
  Pixel32* pa = s.a;
  Pixel32* pb = s.b;
  int e = 0;
  for (int i = (s.length + 1) / 2; i > 0; --i)
  {
    op(pa, w);
    op(pb, w);
    e += s.fraction;
    if (e >= 0x8000)
    {
      pa += s.minor;
      pb -= s.minor;
      e -= 0x10000;
    }
    pa += s.major;
    pb -= s.major;
  }
  if ((s.length & 1) == 0)
    op(pa, w);
}

template <class Op>
void SlopedAntiAliased(const Slope& s, Op op, int w)
{
  op(s.a, w);
  op(s.b, w);
  Pixel32* pa = s.a + s.major;
  Pixel32* pb = s.b - s.major;
  Pixel32* partner = pb - s.minor;
  int f = s.fraction;
  auto weights = [w](int frac, int& mainWeight, int& partnerWeight) {
    const int t = frac >> 8;
    if (w == 256)
    {
      mainWeight = 255 - t;
      partnerWeight = t;
    }
    else
    {
      mainWeight = ((255 - t) * w) >> 8;
      partnerWeight = (w * t) >> 8;
    }
  };
  int mainWeight, partnerWeight;
  for (int i = (s.length + 1) / 2 - 1; i > 0; --i)
  {
    weights(f, mainWeight, partnerWeight);
    op(pa, mainWeight);
    op(pa + s.minor, partnerWeight);
    op(pb, mainWeight);
    op(partner, partnerWeight);
    f += s.fraction;
    if (f >= 0x10000)
    {
      pa += s.minor;
      pb -= s.minor;
      partner -= s.minor;
      f -= 0x10000;
    }
    pa += s.major;
    pb -= s.major;
    partner -= s.major;
  }
  if ((s.length & 1) == 0)
  {
    weights(f, mainWeight, partnerWeight);
    op(pa, mainWeight);
    op(pa + s.minor, partnerWeight);
  }
}

void DrawSloped(const Slope& s, Pixel32 colour, int w, int mode, bool antiAlias)
{
  if (w == 0)
    return;
  if (!antiAlias)
  {
    WithPlainOp(mode, w, colour, [&](auto op) { SlopedPlain(s, op, w); });
    return;
  }
  auto draw = [&](auto op) { SlopedAntiAliased(s, op, w); };
  if (mode == 0)
  {
    if (w > 0)
      draw(ModeOp<0>{colour});
  }
  else
    WithModeOp(mode, colour, draw);
}

int RegionCode(int64_t x, int64_t y, int64_t width, int64_t height)
{
  int code = x < 0 ? 1 : (x >= width ? 2 : 0);
  code |= y < 0 ? 4 : (y >= height ? 8 : 0);
  return code;
}

// Cohen-Sutherland in 64-bit coordinates with double interpolation: no input can overflow.
bool ClipSegment64(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2, int64_t width, int64_t height)
{
  if (width <= 0 || height <= 0)
    return false;
  int c1 = RegionCode(x1, y1, width, height), c2 = RegionCode(x2, y2, width, height);
  // Each pass puts one point on an edge. Because the far edges interpolate one past the last
  // column or row, a segment that grazes a corner can creep toward it a pixel per pass; a
  // crossing needs a handful of passes, so a long creep means the segment misses the bitmap.
  for (int pass = 0; pass < 64; ++pass)
  {
    if (!(c1 | c2))
      return true;
    if (c1 & c2)
      return false;
    const bool first = c1 != 0;
    const int c = first ? c1 : c2;
    const double dx = double(x2) - double(x1), dy = double(y2) - double(y1);
    int64_t x, y;
    if (c & 8)
    {
      x = x1 + static_cast<int64_t>(std::trunc(dx * (double(height) - double(y1)) / dy));
      y = height - 1;
    }
    else if (c & 4)
    {
      x = x1 - static_cast<int64_t>(std::trunc(dx * double(y1) / dy));
      y = 0;
    }
    else if (c & 2)
    {
      y = y1 + static_cast<int64_t>(std::trunc(dy * (double(width) - double(x1)) / dx));
      x = width - 1;
    }
    else
    {
      y = y1 - static_cast<int64_t>(std::trunc(dy * double(x1) / dx));
      x = 0;
    }
    if (first)
    {
      x1 = x;
      y1 = y;
      c1 = RegionCode(x1, y1, width, height);
    }
    else
    {
      x2 = x;
      y2 = y;
      c2 = RegionCode(x2, y2, width, height);
    }
  }
  return false;
}

}  // namespace

bool LICE_ClipSegment(int& x1, int& y1, int& x2, int& y2, int width, int height)
{
  int64_t a = x1, b = y1, c = x2, d = y2;
  if (!ClipSegment64(a, b, c, d, width, height))
    return false;
  x1 = static_cast<int>(a);
  y1 = static_cast<int>(b);
  x2 = static_cast<int>(c);
  y2 = static_cast<int>(d);
  return true;
}

void LICE_DrawSegment(LICE_IBitmap* bitmap, int x1, int y1, int x2, int y2, Pixel32 colour, float alpha, BlendMode mode,
                      bool antiAlias)
{
  const LICE_Surface surface(bitmap);
  if (!surface.Usable())
    return;
  const int m = mode & 0xFF;
  if (m > BlendHsvAdjust)
    return;

  int64_t ax = x1, ay = y1, bx = x2, by = y2;
  // Flipped before clipping, so the clipped rows are memory rows.
  if (surface.upsideDown)
  {
    ay = surface.height - 1 - ay;
    by = surface.height - 1 - by;
  }
  if (!ClipSegment64(ax, ay, bx, by, surface.width, surface.height))
    return;

  const int w = LICE_WeightFromAlpha(alpha);
  const ptrdiff_t pitch = surface.pitch;
  auto at = [&](int64_t x, int64_t y) { return surface.data + static_cast<ptrdiff_t>(y * pitch + x); };
  const int64_t dx = bx - ax, dy = by - ay;

  if (dy == 0)
  {
    const int64_t left = dx < 0 ? bx : ax;
    DrawAxisRun(at(left, ay), 1, static_cast<int>(std::llabs(dx)) + 1, colour, alpha, w, m);
  }
  else if (dx == 0)
  {
    const int64_t top = dy < 0 ? by : ay;
    DrawAxisRun(at(ax, top), pitch, static_cast<int>(std::llabs(dy)) + 1, colour, alpha, w, m);
  }
  else if (std::llabs(dx) == std::llabs(dy))
  {
    DrawDiagonal(at(ax, ay), dx > 0 ? 1 : -1, dy > 0 ? pitch : -pitch, static_cast<int>(std::llabs(dx)), colour, alpha,
                 w, m, antiAlias);
  }
  else
  {
    const bool xMajor = std::llabs(dx) > std::llabs(dy);
    int64_t majorDelta = xMajor ? dx : dy, minorDelta = xMajor ? dy : dx;
    Slope s;
    if (majorDelta < 0)
    {
      s.a = at(bx, by);
      s.b = at(ax, ay);
      majorDelta = -majorDelta;
      minorDelta = -minorDelta;
    }
    else
    {
      s.a = at(ax, ay);
      s.b = at(bx, by);
    }
    const ptrdiff_t minorUnit = xMajor ? pitch : 1;
    s.major = xMajor ? 1 : pitch;
    s.minor = minorDelta < 0 ? -minorUnit : minorUnit;
    s.length = static_cast<int>(majorDelta);
    s.fraction = static_cast<int>(std::trunc(double(std::llabs(minorDelta)) / double(majorDelta) * 65536.0));
    DrawSloped(s, colour, w, m, antiAlias);
  }
}
