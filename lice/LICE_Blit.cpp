#include "lice/LICE_Blit.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "lice/LICE_BlendRows.h"
#include "lice/LICE_GlyphCanvas.h"
#include "lice/LICE_Surface.h"

namespace {

using std::int64_t;
using std::ptrdiff_t;

// Masked word arithmetic: each byte shifted on its own, rounding down.
inline Pixel32 Half(Pixel32 v)
{
  return (v >> 1) & 0x7F7F7F7F;
}
inline Pixel32 Quarter(Pixel32 v)
{
  return (v >> 2) & 0x3F3F3F3F;
}
inline Pixel32 Eighth(Pixel32 v)
{
  return (v >> 3) & 0x1F1F1F1F;
}

// One row loop per combine mode: the operation is inlined, so no mode test runs per pixel.
// Source and destination never share memory here (a self-overlapping source is copied first).
// Each row is a function of its own so the compiler can vectorise it.
template <class Op>
[[gnu::noinline]] void BlendRow(Pixel32* __restrict d, const Pixel32* __restrict s, int width, Op op)
{
  for (int x = 0; x < width; ++x)
    op(d[x], s[x]);
}

template <class Op>
void BlendRows(Pixel32* d, ptrdiff_t dstep, const Pixel32* s, ptrdiff_t sstep, int width, int height, Op op)
{
  for (int y = 0; y < height; ++y, d += dstep, s += sstep)
    BlendRow(d, s, width, op);
}

template <class Op>
[[gnu::noinline]] void FillRow(Pixel32* __restrict d, int width, Op op)
{
  for (int x = 0; x < width; ++x)
    op(d[x]);
}

template <class Op>
void FillRows(Pixel32* d, ptrdiff_t dstep, int width, int height, Op op)
{
  for (int y = 0; y < height; ++y, d += dstep)
    FillRow(d, width, op);
}

inline int AlphaWeight(int w, int sa)
{
  return w * (sa + 1) / 256;
}

void CopyRows(Pixel32* d, ptrdiff_t dstep, const Pixel32* s, ptrdiff_t sstep, int width, int height)
{
  for (int y = 0; y < height; ++y, d += dstep, s += sstep)
    std::memmove(d, s, static_cast<std::size_t>(width) * sizeof(Pixel32));
}

// The editor's blits: the rows of the widest path the processor runs.
void RunRows(LICE_BlendRowFn row, int w, Pixel32* d, ptrdiff_t dstep, const Pixel32* s, ptrdiff_t sstep, int width,
             int height)
{
  for (int y = 0; y < height; ++y, d += dstep, s += sstep)
    row(d, s, width, w);
}

void RunBlendLoop(int mode, int w, Pixel32* d, ptrdiff_t dstep, const Pixel32* s, ptrdiff_t sstep, int width,
                  int height)
{
  auto rows = [&](auto op) { BlendRows(d, dstep, s, sstep, width, height, op); };
  switch (mode)
  {
  case 0:
    // Copy only moves toward the source: a negative weight draws nothing.
    if (w < 0)
      break;
    if (w == 256)
      CopyRows(d, dstep, s, sstep, width, height);
    else
      RunRows(LICE_BlendRows().copy, w, d, dstep, s, sstep, width, height);
    break;
  case 1:
    rows(
      [w](Pixel32& p, Pixel32 c) { LICE_MixAddPixel(&p, LICE_Red(c), LICE_Green(c), LICE_Blue(c), LICE_Alpha(c), w); });
    break;
  case 2:
    rows([w](Pixel32& p, Pixel32 c) {
      LICE_MixDodgePixel(&p, LICE_Red(c), LICE_Green(c), LICE_Blue(c), LICE_Alpha(c), w);
    });
    break;
  case 3:
    rows([w](Pixel32& p, Pixel32 c) {
      LICE_MixMultiplyPixel(&p, LICE_Red(c), LICE_Green(c), LICE_Blue(c), LICE_Alpha(c), w);
    });
    break;
  case 4:
    rows([w](Pixel32& p, Pixel32 c) {
      LICE_MixOverlayPixel(&p, LICE_Red(c), LICE_Green(c), LICE_Blue(c), LICE_Alpha(c), w);
    });
    break;
  case 5:
    rows(
      [w](Pixel32& p, Pixel32 c) { LICE_MixHsvPixel(&p, LICE_Red(c), LICE_Green(c), LICE_Blue(c), LICE_Alpha(c), w); });
    break;
  case BlendUseSourceAlpha:
    RunRows(w == 256 ? LICE_BlendRows().alphaFull : LICE_BlendRows().alpha, w, d, dstep, s, sstep, width, height);
    break;
  case BlendUseSourceAlpha | 1:
    rows([w](Pixel32& p, Pixel32 c) {
      const int sa = LICE_Alpha(c);
      Pixel32 t = p;
      LICE_MixAddPixel(&t, LICE_Red(c), LICE_Green(c), LICE_Blue(c), sa, AlphaWeight(w, sa));
      p = sa ? t : p;  // a select, not a branch: the row stays vectorisable
    });
    break;
  case BlendUseSourceAlpha | 2:
    rows([w](Pixel32& p, Pixel32 c) {
      const int sa = LICE_Alpha(c);
      LICE_MixDodgePixel(&p, LICE_Red(c), LICE_Green(c), LICE_Blue(c), sa, AlphaWeight(w, sa));
    });
    break;
  case BlendUseSourceAlpha | 3:
    rows([w](Pixel32& p, Pixel32 c) {
      const int sa = LICE_Alpha(c);
      Pixel32 t = p;
      LICE_MixMultiplyPixel(&t, LICE_Red(c), LICE_Green(c), LICE_Blue(c), sa, AlphaWeight(w, sa));
      p = sa ? t : p;
    });
    break;
  case BlendUseSourceAlpha | 4:
    rows([w](Pixel32& p, Pixel32 c) {
      const int sa = LICE_Alpha(c);
      LICE_MixOverlayPixel(&p, LICE_Red(c), LICE_Green(c), LICE_Blue(c), sa, AlphaWeight(w, sa));
    });
    break;
  case BlendUseSourceAlpha | 5:
    rows([w](Pixel32& p, Pixel32 c) {
      const int sa = LICE_Alpha(c);
      LICE_MixHsvPixel(&p, LICE_Red(c), LICE_Green(c), LICE_Blue(c), sa, AlphaWeight(w, sa));
    });
    break;
  default:
    break;  // unknown modes draw nothing
  }
}

// Lowest and one-past-highest address of a rectangle of rows.
struct Span
{
  std::uintptr_t begin;
  std::uintptr_t end;
};

Span RowsSpan(const Pixel32* first, ptrdiff_t step, int width, int height)
{
  const Pixel32* last = first + step * (height - 1);
  const Pixel32* lo = std::min(first, last);
  const Pixel32* hi = std::max(first, last);
  return {reinterpret_cast<std::uintptr_t>(lo), reinterpret_cast<std::uintptr_t>(hi + width)};
}

}  // namespace

void LICE_CopyRect(LICE_IBitmap* destination, LICE_IBitmap* source, int x, int y, const LICE_SourceRect* sourceRect,
                   float alpha, BlendMode mode)
{
  if (!destination || !source || alpha == 0.0f || alpha != alpha)
    return;
  const LICE_Surface dst(destination);
  const LICE_Surface src(source);

  // Clipping in 64 bits: any int arguments, no overflow.
  int64_t dx = x, dy = y;
  int64_t left = 0, top = 0, right = src.width, bottom = src.height;
  if (sourceRect)
  {
    right = std::min<int64_t>(sourceRect->right, src.width);
    bottom = std::min<int64_t>(sourceRect->bottom, src.height);
    if (sourceRect->left < 0)
      dx -= sourceRect->left;
    else
      left = sourceRect->left;
    if (sourceRect->top < 0)
      dy -= sourceRect->top;
    else
      top = sourceRect->top;
  }
  if (dx < 0)
  {
    left -= dx;
    dx = 0;
  }
  if (dy < 0)
  {
    top -= dy;
    dy = 0;
  }
  if (left >= right || top >= bottom || dx >= dst.width || dy >= dst.height)
    return;
  const int64_t width = std::min(left + dst.width - dx, right) - left;
  const int64_t height = std::min(top + dst.height - dy, bottom) - top;
  if (width <= 0 || height <= 0 || !dst.Usable() || !src.Usable())
    return;

  const int w = static_cast<int>(width), h = static_cast<int>(height);
  Pixel32* d = dst.At(dx, dy);
  const Pixel32* s = src.At(left, top);
  ptrdiff_t sstep = src.RowStep();
  const ptrdiff_t dstep = dst.RowStep();

  // A source that shares memory with the destination is snapshotted first, so the result is
  // that of a copy from the untouched source, in every mode.
  Pixel32* snapshot = nullptr;
  const Span ds = RowsSpan(d, dstep, w, h), ss = RowsSpan(s, sstep, w, h);
  if (ds.begin < ss.end && ss.begin < ds.end)
  {
    snapshot = static_cast<Pixel32*>(std::malloc(static_cast<std::size_t>(w) * h * sizeof(Pixel32)));
    if (!snapshot)
      return;
    CopyRows(snapshot, w, s, sstep, w, h);
    s = snapshot;
    sstep = w;
  }

  if ((mode & 0xFF) >= BlendChannelCopy)
  {
    const int from = (mode & 3) * 8, to = ((mode >> 2) & 3) * 8;
    const Pixel32 keep = ~(Pixel32(0xFF) << to);
    BlendRows(d, dstep, s, sstep, w, h, [=](Pixel32& p, Pixel32 c) { p = (p & keep) | (((c >> from) & 0xFF) << to); });
  }
  else
  {
    const int m = mode & (BlendUseSourceAlpha | 0xFF);
    if (m == 0 && alpha == 1.0f)
      CopyRows(d, dstep, s, sstep, w, h);
    else if (m == 0 && alpha == 0.5f)
      BlendRows(d, dstep, s, sstep, w, h, [](Pixel32& p, Pixel32 c) { p = Half(c) + Half(p); });
    else
    {
      const int weight = LICE_WeightFromAlpha(alpha);
      if (weight != 0)
        RunBlendLoop(m, weight, d, dstep, s, sstep, w, h);
    }
  }
  std::free(snapshot);
}

void LICE_PaintRect(LICE_IBitmap* bitmap, int x, int y, int width, int height, Pixel32 colour, float alpha,
                    BlendMode mode)
{
  if (!bitmap)
    return;
  if (mode & BlendUseSourceAlpha)
    alpha = static_cast<float>(colour >> 24) / 255.0f * alpha;
  const LICE_Surface surface(bitmap);
  int64_t left = x, top = y, cx = width, cy = height;
  if (left < 0)
  {
    cx += left;
    left = 0;
  }
  if (top < 0)
  {
    cy += top;
    top = 0;
  }
  if (alpha == 0.0f || !surface.Usable() || cx < 1 || cy < 1 || left >= surface.width || top >= surface.height)
    return;
  cx = std::min<int64_t>(cx, surface.width - left);
  cy = std::min<int64_t>(cy, surface.height - top);

  Pixel32* d = surface.At(left, top);
  const ptrdiff_t step = surface.RowStep();
  const int cw = static_cast<int>(cx), ch = static_cast<int>(cy);
  const int w = LICE_WeightFromAlpha(alpha);
  auto fill = [&](auto op) { FillRows(d, step, cw, ch, op); };

  if ((mode & 0xFF) == 0)
  {
    // Word-wide fast paths; these blend the colour's own alpha byte too.
    switch (w)
    {
    case 256:
      fill([colour](Pixel32& p) { p = colour; });
      return;
    case 128:
      fill([colour](Pixel32& p) { p = Half(p) + Half(colour); });
      return;
    case 64:
      fill([colour](Pixel32& p) { p = Half(p) + Quarter(p) + Quarter(colour); });
      return;
    case 192:
      fill([colour](Pixel32& p) { p = Quarter(p) + Half(colour) + Quarter(colour); });
      return;
    default:
      break;
    }
  }
  if (w == 0)
    return;
  // The loops move alpha toward the weight itself, not toward the colour's alpha.
  const int r = LICE_Red(colour), g = LICE_Green(colour), b = LICE_Blue(colour);
  switch (mode & 0xFF)
  {
  case 0:
    if (w > 0)
      fill([=](Pixel32& p) { LICE_MixCopyPixel(&p, r, g, b, w, w); });
    break;
  case 1:
    fill([=](Pixel32& p) { LICE_MixAddPixel(&p, r, g, b, w, w); });
    break;
  case 2:
    fill([=](Pixel32& p) { LICE_MixDodgePixel(&p, r, g, b, w, w); });
    break;
  case 3:
    fill([=](Pixel32& p) { LICE_MixMultiplyPixel(&p, r, g, b, w, w); });
    break;
  case 4:
    fill([=](Pixel32& p) { LICE_MixOverlayPixel(&p, r, g, b, w, w); });
    break;
  case 5:
  {
    // A full-weight fill stays opaque (the weight 256 is not taken as its low byte, 0).
    const int a = LICE_Clamp255(w);
    fill([=](Pixel32& p) { LICE_MixHsvPixel(&p, r, g, b, a, w); });
    break;
  }
  default:
    break;
  }
}

void LICE_BlurRegion(LICE_IBitmap* bitmap, int width, int height)
{
  const LICE_Surface canvas(bitmap);
  if (!canvas.Usable() || width <= 0 || height <= 0)
    return;
  width = std::min(width, canvas.width);
  height = std::min(height, canvas.height);
  if (width < 2 || height < 2)
    return;

  // Two unblurred rows: the current one and the one above it.
  constexpr int kStackWidth = 1024;
  Pixel32 stackRows[2 * kStackWidth];
  Pixel32* rows = stackRows;
  Pixel32* heapRows = nullptr;
  if (width > kStackWidth)
  {
    heapRows = static_cast<Pixel32*>(std::malloc(static_cast<std::size_t>(width) * 2 * sizeof(Pixel32)));
    rows = heapRows;
  }

  const ptrdiff_t pitch = canvas.pitch;
  const int last = width - 1;
  for (int y = 0; y < height; ++y)
  {
    Pixel32* row = canvas.data + y * pitch;
    const Pixel32* below = y + 1 < height ? row + pitch : nullptr;
    // The row above comes unblurred from the line buffer, except on the last row or without a
    // buffer, where the canvas (already blurred) is read.
    const Pixel32* above = nullptr;
    if (y > 0)
      above = (rows && y + 1 < height) ? rows + ((y - 1) & 1) * width : row - pitch;
    if (rows)
      std::memcpy(rows + (y & 1) * width, row, static_cast<std::size_t>(width) * sizeof(Pixel32));

    // Exactly one vertical neighbour on the first and last rows, which then weighs a quarter.
    const Pixel32* vertical = above ? above : below;
    const bool edgeRow = !(above && below);
    Pixel32 previous = row[0];
    for (int x = 0; x <= last; ++x)
    {
      const Pixel32 centre = row[x];
      Pixel32 v;
      if (!edgeRow)
      {
        if (x == 0)
          v = Half(centre) + Quarter(row[1]) + Eighth(above[x]) + Eighth(below[x]);
        else if (x == last)
          v = Half(centre) + Quarter(previous) + Eighth(above[x]) + Eighth(below[x]);
        else
          v = Half(centre) + Eighth(previous) + Eighth(row[x + 1]) + Eighth(above[x]) + Eighth(below[x]);
      }
      else
      {
        if (x == 0)
          v = Half(centre) + Quarter(row[1]) + Quarter(vertical[x]);
        else if (x == last)
          v = Half(centre) + Quarter(previous) + Quarter(vertical[x]);
        else
          v = Half(centre) + Quarter(vertical[x]) + Eighth(previous) + Eighth(row[x + 1]);
      }
      previous = centre;
      row[x] = v;
    }
  }
  std::free(heapRows);
}

void LICE_BlurCanvas(int width, int height)
{
  LICE_BlurRegion(GlyphCanvas, width, height);
}
