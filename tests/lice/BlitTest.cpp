#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <vector>

#include "lice/LICE_Blit.h"
#include "lice/LICE_GlyphCanvas.h"
#include "tests/lice/BlendReference.h"
#include "tests/lice/TestBitmaps.h"

namespace {

// One blit pixel from the mode table. With the source-alpha bit the weight is
// k = w * (sa + 1) / 256; copy then skips transparent pixels and raises alpha by sa (by k below
// full weight), and add and multiply skip transparent pixels too. Unknown modes draw nothing,
// and so does plain copy at a negative weight (it would push colours away from the source).
Pixel32 BlitPixel(int mode, int w, Pixel32 d, Pixel32 s)
{
  const int low = mode & 0xFF, sa = int(s >> 24), k = w * (sa + 1) / 256;
  if (low > 5 || w == 0 || (mode == 0 && w < 0))
    return d;
  if (!(mode & BlendUseSourceAlpha))
    return ref::Mix(low, d, s, w);
  if (sa == 0 && (low == 0 || low == 1 || low == 3))
    return d;
  if (low != 0)
    return ref::Mix(low, d, s, k);
  return ref::PerChannel(d, s, [&](int i, int c, int x) {
    return i < 3 ? ref::Channel(0, c, x, k) : ref::Clamp(std::min(255, (w == 256 ? sa : k) + c));
  });
}

// The blit as a plain per-pixel loop: source pixel (sx, sy) of the rectangle lands on
// x + sx - left, y + sy - top when it lies inside both bitmaps.
std::vector<Pixel32> ReferenceBlit(GuardedBitmap& dst, GuardedBitmap& src, int x, int y, const LICE_SourceRect* rect,
                                   int mode, float alpha)
{
  std::vector<Pixel32> out = dst.Pixels();
  const int w = LICE_WeightFromAlpha(alpha), W = dst.PixelWidth();
  const LICE_SourceRect r = rect ? *rect : LICE_SourceRect{0, 0, src.PixelWidth(), src.PixelHeight()};
  for (int sy = std::max(r.top, 0); sy < std::min(r.bottom, src.PixelHeight()); ++sy)
    for (int sx = std::max(r.left, 0); sx < std::min(r.right, src.PixelWidth()); ++sx)
    {
      const long long dx = (long long)x + sx - r.left, dy = (long long)y + sy - r.top;
      if (dx >= 0 && dy >= 0 && dx < W && dy < dst.PixelHeight())
        out[size_t(dy * W + dx)] = BlitPixel(mode, w, out[size_t(dy * W + dx)], src.At(sx, sy));
    }
  return out;
}

}  // namespace

// Every placement and source rectangle around the edges, upright and upside down, also of a
// bitmap onto itself (which reads the source as it was before the call), and coordinates at
// the ends of the int range, against the per-pixel loop; guard bands catch writes outside.
TEST(CopyRect, ClipsAtEveryEdgeAndOverlapsItself)
{
  std::mt19937 rng(1);
  const LICE_SourceRect rects[] = {{0, 0, 7, 5}, {-2, -1, 3, 4},     {2, 1, 100, 100}, {3, 3, 3, 4},
                                   {4, 2, 1, 1}, {-10, -10, -5, -5}, {6, 4, 7, 5},     {-3, 2, 2, 9}};
  auto check = [&](GuardedBitmap& dst, GuardedBitmap& src, int x, int y, const LICE_SourceRect* rect, int mode) {
    const float alpha = mode == 1 ? 0.7f : 1.0f;
    const std::vector<Pixel32> expected = ReferenceBlit(dst, src, x, y, rect, mode, alpha);
    LICE_CopyRect(&dst, &src, x, y, rect, alpha, mode);
    ASSERT_EQ(dst.Pixels(), expected) << x << "," << y << " mode " << mode;
    ASSERT_TRUE(dst.GuardsIntact() && src.GuardsIntact());
  };
  for (bool flipDst : {false, true})
    for (bool flipSrc : {false, true})
      for (int mode : {0, 1, 0x10000})
        for (int x : {-8, -5, -1, 0, 1, 2, 5, 8, 9, 12})
          for (int y : {-8, -5, -1, 0, 1, 2, 5, 8, 9, 12})
            for (int r = -1; r < int(std::size(rects)); ++r)
            {
              GuardedBitmap src(7, 5, flipSrc), dst(9, 6, flipDst);
              src.Randomise(rng);
              dst.Randomise(rng);
              check(dst, src, x, y, r < 0 ? nullptr : &rects[r], mode);
              check(dst, dst, x, y, r < 0 ? nullptr : &rects[r], mode);
            }
  GuardedBitmap src(4, 4), dst(4, 4);
  src.Randomise(rng);
  const LICE_SourceRect extremes[] = {{INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                                      {INT_MAX, INT_MAX, INT_MIN, INT_MIN},
                                      {INT_MIN, 0, 2, 2},
                                      {0, INT_MIN, INT_MAX, 2},
                                      {-1, -1, INT_MAX, INT_MAX}};
  for (int x : {INT_MIN, INT_MIN + 1, -1, 0, INT_MAX - 1, INT_MAX})
    for (const auto& rect : extremes)
    {
      check(dst, src, x, ~x, &rect, 0x10000);
      check(dst, src, ~x, x, nullptr, 0);
    }
}

// Every blend loop on random pixels at the weights that matter, and at weights outside
// 0..256, which must saturate rather than wrap.
TEST(CopyRect, EveryModeFollowsItsFormula)
{
  std::mt19937 rng(2);
  for (int mode : {0, 1, 2, 3, 4, 5, 6, 0xEF, 0x10000, 0x10001, 0x10002, 0x10003, 0x10004, 0x10005, 0x1000F})
    for (float alpha : {1.0f / 256, 0.25f, 127.0f / 256, 0.5f, 0.999f, 1.0f, 1.5f, 3.0f, -0.5f, -2.0f, 0.003f, NAN})
    {
      GuardedBitmap src(67, 9), dst(67, 9);
      src.Randomise(rng);
      dst.Randomise(rng);
      for (int x = 0; x < 3; ++x)
        src.At(x, 0) = (src.At(x, 0) & 0x00FFFFFF) | (Pixel32(x * 255 / 2) << 24);
      std::vector<Pixel32> expected = dst.Pixels();
      const std::vector<Pixel32> source = src.Pixels();
      for (std::size_t i = 0; i < expected.size(); ++i)
        expected[i] = mode == 0 && alpha == 0.5f  // the half-weight copy averages words
                        ? ((source[i] >> 1) & 0x7F7F7F7F) + ((expected[i] >> 1) & 0x7F7F7F7F)
                        : BlitPixel(mode, LICE_WeightFromAlpha(alpha), expected[i], source[i]);
      LICE_CopyRect(&dst, &src, 0, 0, nullptr, alpha, mode);
      ASSERT_EQ(dst.Pixels(), expected) << "mode " << std::hex << mode << " alpha " << alpha;
      ASSERT_TRUE(dst.GuardsIntact());
    }
}

TEST(CopyRect, EditorWeightsGiveExactPixels)
{
  GuardedBitmap src(4, 1), dst(4, 1);
  src.At(0, 0) = 0x00123456;  // transparent: destination kept
  src.At(1, 0) = 0xFF123456;  // opaque: replaced
  src.At(2, 0) = 0x80FF0000;
  src.At(3, 0) = 0x40FFFFFF;
  dst.Fill(0xFF0000FF);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 1.0f, BlendUseSourceAlpha);
  // red 255 + (0 - 255) * 127 / 256 = 129, blue 0 + 255 * 127 / 256 = 126;
  // then red and green 255 - 255 * 191 / 256 = 65, blue stays 255.
  EXPECT_EQ(dst.Pixels(), (std::vector<Pixel32>{0xFF0000FF, 0xFF123456, 0xFF81007E, 0xFF4141FF}));

  // Greyed controls: weight 64, k = 64 * (sa + 1) / 256.
  src.At(1, 0) = 0xFFFFFFFF;  // k = 64: 255 - 255 * 192 / 256 = 64
  src.At(2, 0) = 0x7FFF8000;  // k = 32: 255 - 255 * 224 / 256 = 32, 128 - 128 * 224 / 256 = 16
  dst.Fill(0xFF000000);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.25f, BlendUseSourceAlpha);
  EXPECT_EQ(dst.Pixels(), (std::vector<Pixel32>{0xFF000000, 0xFF404040, 0xFF201000, 0xFF101010}));
  dst.Fill(0);  // over a transparent destination the alpha becomes k
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.25f, BlendUseSourceAlpha);
  EXPECT_EQ(LICE_Alpha(dst.At(1, 0)), 64);
}

// 0xF6: source byte 2 (red) into destination byte 1 (green), whatever the weight or high bits.
TEST(CopyRect, ChannelCopyAndMissingBitmaps)
{
  GuardedBitmap src(3, 2), dst(3, 2);
  std::mt19937 rng(4);
  src.Randomise(rng);
  dst.Randomise(rng);
  const std::vector<Pixel32> before = dst.Pixels(), source = src.Pixels();
  LICE_CopyRect(&dst, nullptr, 0, 0, nullptr, 1.0f, 0);
  LICE_CopyRect(nullptr, &src, 0, 0, nullptr, 1.0f, 0);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, NAN, 0xF6);
  EXPECT_EQ(dst.Pixels(), before);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.01f, 0x7FF100F6);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(dst.Pixels()[i], (before[i] & 0xFFFF00FF) | ((source[i] >> 8) & 0xFF00));
}

// The per-mode fill loops: the weight stands in for the colour's alpha.
TEST(PaintRect, LoopsFollowTheirFormulas)
{
  std::mt19937 rng(8);
  for (int mode = 0; mode <= 5; ++mode)
    for (float alpha : {0.3f, 0.9f, 1.0f, 0.004f, 2.5f, -0.7f, 1.0f / 256})
    {
      const int w = LICE_WeightFromAlpha(alpha);
      if (mode == 0 && (w == 256 || w <= 0))
        continue;  // fast path or nothing, below
      GuardedBitmap bitmap(33, 8);
      bitmap.Randomise(rng);
      const Pixel32 colour = rng();
      std::vector<Pixel32> expected = bitmap.Pixels();
      for (auto& p : expected)
        p = mode == 5 ? ref::Mix(5, p, (colour & 0xFFFFFF) | Pixel32(ref::Clamp(w)) << 24, w)
                      : ref::PerChannel(p, colour,
                                        [&](int i, int c, int s) { return ref::Channel(mode, c, i == 3 ? w : s, w); });
      LICE_PaintRect(&bitmap, 0, 0, 33, 8, colour, alpha, mode);
      ASSERT_EQ(bitmap.Pixels(), expected) << mode << " " << alpha;
    }
}

constexpr Pixel32 kColour = 0xFF8040C1, kDest = 0x7F21F002;

TEST(PaintRect, FastPathsAndAlphaHandling)
{
  auto paint = [](float alpha, int mode, Pixel32 c = kColour) {
    GuardedBitmap bitmap(3, 1);
    bitmap.Fill(kDest);
    LICE_PaintRect(&bitmap, 0, 0, 3, 1, c, alpha, mode);
    return bitmap.At(2, 0);
  };
  auto half = [](Pixel32 v) { return (v >> 1) & 0x7F7F7F7F; };
  auto quarter = [](Pixel32 v) { return (v >> 2) & 0x3F3F3F3F; };
  EXPECT_EQ(paint(0.5f, 0), half(kDest) + half(kColour));
  EXPECT_EQ(paint(0.5f, BlendUseSourceAlpha), half(kDest) + half(kColour));                 // opaque: stays 0.5
  EXPECT_EQ(paint(1.0f, BlendUseSourceAlpha, 0x80FFFFFF), half(kDest) + half(0x80FFFFFF));  // 128/255 -> 128
  EXPECT_EQ(paint(1.0f, 0), kColour);
  EXPECT_EQ(paint(0.25f, 0), half(kDest) + quarter(kDest) + quarter(kColour));
  EXPECT_EQ(paint(0.75f, 0), quarter(kDest) + half(kColour) + quarter(kColour));
  EXPECT_EQ(LICE_Alpha(paint(1.0f, 5)), 255);
  EXPECT_EQ(LICE_Alpha(paint(1.003f, 0)), 255);  // not wrapped to a low byte
  for (auto [alpha, mode] : {std::pair<float, int>{-0.5f, 0}, {0.0f, 1}, {NAN, 1}, {1.0f, 6}})
    EXPECT_EQ(paint(alpha, mode), kDest) << alpha << " " << mode;
}

// Every placement around the edges against a plain per-pixel fill, upright and upside down.
TEST(PaintRect, ClipsAtEveryEdge)
{
  const int positions[] = {INT_MIN, -9, -5, -1, 0, 1, 4, 7, 8, 12};
  const int sizes[] = {-3, 0, 1, 3, 8, 10, INT_MAX};
  for (bool flip : {false, true})
    for (int x : positions)
      for (int y : positions)
        for (int cx : sizes)
          for (int cy : sizes)
          {
            GuardedBitmap bitmap(8, 5, flip), expected(8, 5);
            LICE_PaintRect(&bitmap, x, y, cx, cy, 0xFF00FF00, 1.0f, 0);
            for (int yy = 0; yy < 5; ++yy)
              for (int xx = 0; xx < 8; ++xx)
                if (xx >= x && yy >= y && (long long)xx < (long long)x + cx && (long long)yy < (long long)y + cy)
                  expected.At(xx, yy) = 0xFF00FF00;
            ASSERT_EQ(bitmap.Pixels(), expected.Pixels()) << x << "," << y << " " << cx << "x" << cy;
            ASSERT_TRUE(bitmap.GuardsIntact());
          }
  LICE_PaintRect(nullptr, 0, 0, 1, 1, 0, 1.0f, 0);
}

// The blur against a version computed from a full copy of the original: half the centre plus
// eighths of the neighbours (quarters at the edges), each term rounded down per byte; the last
// row takes its upper neighbour already blurred. Widths past 1024 take the heap row buffer.
TEST(Blur, MatchesTheWrittenOutFilter)
{
  auto part = [](Pixel32 v, int shift) { return (v >> shift) & (0x01010101u * (0xFFu >> shift)); };
  std::mt19937 rng(9);
  const int sizes[][4] = {{2, 2, 2, 2},     {5, 4, 5, 4},  {9, 6, 6, 4},  {1100, 3, 1100, 3}, {1030, 5, 1025, 4},
                          {8, 8, 100, 100}, {5, 5, 1, 10}, {5, 5, 10, 1}, {5, 5, -3, 5}};
  for (const auto& s : sizes)
  {
    GuardedBitmap b(s[0], s[1]);
    b.Randomise(rng);
    const std::vector<Pixel32> in = b.Pixels();
    std::vector<Pixel32> out = in;
    const int W = s[0], w = std::min(s[2], s[0]), h = std::min(s[3], s[1]);
    auto at = [&](int x, int y) { return in[y * W + x]; };
    for (int y = 0; w > 1 && h > 1 && y < h; ++y)
      for (int x = 0; x < w; ++x)
      {
        const Pixel32 above = y == 0 ? 0 : y == h - 1 ? out[(y - 1) * W + x] : at(x, y - 1);
        Pixel32 v = part(at(x, y), 1);
        v += x == 0       ? part(at(1, y), 2)
             : x == w - 1 ? part(at(w - 2, y), 2)
                          : part(at(x - 1, y), 3) + part(at(x + 1, y), 3);
        v += y == 0 ? part(at(x, 1), 2) : y == h - 1 ? part(above, 2) : part(above, 3) + part(at(x, y + 1), 3);
        out[y * W + x] = v;
      }
    LICE_BlurRegion(&b, s[2], s[3]);
    ASSERT_EQ(b.Pixels(), out) << s[0] << "x" << s[1] << " blurring " << s[2] << "x" << s[3];
    ASSERT_TRUE(b.GuardsIntact());
  }
}

TEST(Blur, TheSharedCanvas)
{
  ASSERT_EQ(GlyphCanvas, nullptr);
  LICE_BlurCanvas(5, 5);  // no canvas yet: nothing
  LICE_SysBitmap canvas(4, 4);
  Pixel32* p = canvas.PixelData();
  std::fill_n(p, 4 * canvas.RowPitch(), 0);
  p[canvas.RowPitch() + 1] = 0xFF000000;
  GlyphCanvas = &canvas;
  LICE_BlurCanvas(4, 4);
  GlyphCanvas = nullptr;
  EXPECT_EQ(p[canvas.RowPitch() + 1], 0x7F000000u);
  EXPECT_EQ(p[canvas.RowPitch() + 2], 0x1F000000u);
  EXPECT_EQ(p[1], 0x3F000000u);
}
