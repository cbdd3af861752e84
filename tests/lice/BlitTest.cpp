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

// One blit pixel from the mode table. With the source-alpha bit the weight becomes
// k = w * (sa + 1) / 256; copy skips transparent pixels and moves alpha up by sa (k below full
// weight), add and multiply skip transparent pixels too.
Pixel32 BlitPixel(int mode, int w, Pixel32 d, Pixel32 s)
{
  const int low = mode & 0xFF, sa = int(s >> 24), k = w * (sa + 1) / 256;
  if (low > 5) return d;
  if (!(mode & BlendUseSourceAlpha)) return ref::Mix(low, d, s, w);
  if (sa == 0 && (low == 0 || low == 1 || low == 3)) return d;
  if (low != 0) return ref::Mix(low, d, s, k);
  ref::Channels dc = ref::Split(d), sc = ref::Split(s);
  for (int i = 0; i < 3; ++i) dc[i] = ref::Channel(0, dc[i], sc[i], k);
  dc[3] = ref::Clamp(std::min(255, (w == 256 ? sa : k) + dc[3]));
  return ref::Join(dc);
}

// The blit as a plain per-pixel loop: source pixel (sx, sy) of the rectangle lands on
// x + sx - left, y + sy - top when it lies inside both bitmaps.
std::vector<Pixel32> ReferenceBlit(GuardedBitmap& dst, GuardedBitmap& src, int x, int y,
                                   const LICE_SourceRect* rect, int mode, float alpha)
{
  std::vector<Pixel32> out = dst.Pixels();
  const int w = LICE_WeightFromAlpha(alpha), W = dst.PixelWidth();
  const LICE_SourceRect r = rect ? *rect : LICE_SourceRect{0, 0, src.PixelWidth(), src.PixelHeight()};
  for (int sy = std::max(r.top, 0); sy < std::min(r.bottom, src.PixelHeight()); ++sy)
    for (int sx = std::max(r.left, 0); sx < std::min(r.right, src.PixelWidth()); ++sx)
    {
      const long long dx = (long long)x + sx - r.left, dy = (long long)y + sy - r.top;
      if (dx < 0 || dy < 0 || dx >= W || dy >= dst.PixelHeight()) continue;
      Pixel32& p = out[size_t(dy * W + dx)];
      p = BlitPixel(mode, w, p, src.At(sx, sy));
    }
  return out;
}

} // namespace

// Every placement and source rectangle around the edges, upright and upside down, against the
// per-pixel loop; guard bands catch writes outside either bitmap.
TEST(CopyRect, ClipsAtEveryEdge)
{
  std::mt19937 rng(1);
  const LICE_SourceRect rects[] = {{0, 0, 7, 5}, {-2, -1, 3, 4}, {2, 1, 100, 100}, {3, 3, 3, 4},
                                   {4, 2, 1, 1}, {-10, -10, -5, -5}, {6, 4, 7, 5}, {-3, 2, 2, 9}};
  const int positions[] = {-8, -5, -1, 0, 1, 5, 8, 9, 12};
  for (bool flipDst : {false, true})
    for (bool flipSrc : {false, true})
      for (float alpha : {1.0f, 0.7f})
        for (int x : positions)
          for (int y : positions)
            for (int r = -1; r < int(std::size(rects)); ++r)
            {
              GuardedBitmap src(7, 5, flipSrc), dst(9, 6, flipDst);
              src.Randomise(rng);
              dst.Randomise(rng);
              const LICE_SourceRect* rect = r < 0 ? nullptr : &rects[r];
              const int mode = alpha == 1.0f ? 0 : 1;
              const std::vector<Pixel32> expected = ReferenceBlit(dst, src, x, y, rect, mode, alpha);
              LICE_CopyRect(&dst, &src, x, y, rect, alpha, mode);
              ASSERT_EQ(dst.Pixels(), expected) << x << "," << y << " rect " << r;
              ASSERT_TRUE(dst.GuardsIntact() && src.GuardsIntact());
            }
  // Positions and rectangles at the ends of the int range must not overflow.
  GuardedBitmap src(4, 4), dst(4, 4);
  src.Randomise(rng);
  const LICE_SourceRect extremes[] = {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX, INT_MAX, INT_MIN, INT_MIN},
                                      {INT_MIN, 0, 2, 2}, {0, INT_MIN, INT_MAX, 2}, {-1, -1, INT_MAX, INT_MAX}};
  for (int x : {INT_MIN, INT_MIN + 1, -1, 0, INT_MAX - 1, INT_MAX})
    for (const auto& rect : extremes)
      for (const LICE_SourceRect* r : {&rect, static_cast<const LICE_SourceRect*>(nullptr)})
      {
        const std::vector<Pixel32> expected = ReferenceBlit(dst, src, x, ~x, r, 0x10000, 0.5f);
        LICE_CopyRect(&dst, &src, x, ~x, r, 0.5f, 0x10000);
        ASSERT_EQ(dst.Pixels(), expected) << x;
      }
  EXPECT_TRUE(dst.GuardsIntact());
}

// Every blend loop on random pixels at the weights that matter, and at weights outside
// 0..256, which must saturate rather than wrap.
TEST(CopyRect, EveryModeFollowsItsFormula)
{
  std::mt19937 rng(2);
  for (int mode : {0, 1, 2, 3, 4, 5, 0x10000, 0x10001, 0x10002, 0x10003, 0x10004, 0x10005})
    for (float alpha : {1.0f / 256, 0.25f, 127.0f / 256, 0.5f, 0.999f, 1.0f, 1.5f, 3.0f, -0.5f, -2.0f})
    {
      GuardedBitmap src(67, 9), dst(67, 9);
      src.Randomise(rng);
      dst.Randomise(rng);
      for (int x = 0; x < 3; ++x) src.At(x, 0) = (src.At(x, 0) & 0x00FFFFFF) | (Pixel32(x * 255 / 2) << 24);
      std::vector<Pixel32> expected = dst.Pixels();
      const std::vector<Pixel32> source = src.Pixels();
      for (std::size_t i = 0; i < expected.size(); ++i)
        expected[i] = mode == 0 && alpha == 0.5f // the half-weight copy averages words
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
  src.At(0, 0) = 0x00123456; // transparent: destination kept
  src.At(1, 0) = 0xFF123456; // opaque: replaced
  src.At(2, 0) = 0x80FF0000;
  src.At(3, 0) = 0x40FFFFFF;
  dst.Fill(0xFF0000FF);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 1.0f, BlendUseSourceAlpha);
  // red 255 + (0 - 255) * 127 / 256 = 129, blue 0 + 255 * 127 / 256 = 126;
  // then red and green 255 - 255 * 191 / 256 = 65, blue stays 255.
  EXPECT_EQ(dst.Pixels(), (std::vector<Pixel32>{0xFF0000FF, 0xFF123456, 0xFF81007E, 0xFF4141FF}));

  // Greyed controls: weight 64, k = 64 * (sa + 1) / 256.
  src.At(1, 0) = 0xFFFFFFFF; // k = 64: 255 - 255 * 192 / 256 = 64
  src.At(2, 0) = 0x7FFF8000; // k = 32: 255 - 255 * 224 / 256 = 32, 128 - 128 * 224 / 256 = 16
  dst.Fill(0xFF000000);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.25f, BlendUseSourceAlpha);
  EXPECT_EQ(dst.Pixels(), (std::vector<Pixel32>{0xFF000000, 0xFF404040, 0xFF201000, 0xFF101010}));
  // Over a transparent destination the alpha becomes k.
  dst.Fill(0);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.25f, BlendUseSourceAlpha);
  EXPECT_EQ(LICE_Alpha(dst.At(1, 0)), 64);
}

TEST(CopyRect, NoOpsAndChannelCopy)
{
  GuardedBitmap src(3, 2), dst(3, 2);
  std::mt19937 rng(4);
  src.Randomise(rng);
  dst.Randomise(rng);
  const std::vector<Pixel32> before = dst.Pixels();
  for (int mode : {6, 0xEF, 0x10006, 0x1000F}) LICE_CopyRect(&dst, &src, 0, 0, nullptr, 1.0f, mode);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.0f, 0);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.003f, 1); // weight 0
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, std::nanf(""), 0xF6);
  LICE_CopyRect(&dst, nullptr, 0, 0, nullptr, 1.0f, 0);
  LICE_CopyRect(nullptr, &src, 0, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(dst.Pixels(), before);

  // 0xF6: source byte 2 (red) into destination byte 1 (green), whatever the weight.
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.01f, 0xF6);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(dst.Pixels()[i], (before[i] & 0xFFFF00FF) | (Pixel32(LICE_Red(src.Pixels()[i])) << 8));
  // The source-alpha bit and other high bits do not change a channel copy.
  dst.Fill(0);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 1.0f, 0x7FF100F3); // byte 3 into byte 0
  EXPECT_EQ(dst.At(2, 1), src.At(2, 1) >> 24);
}

// A bitmap blitted onto itself reads the source as it was before the call.
TEST(CopyRect, SelfOverlapReadsTheOriginalSource)
{
  std::mt19937 rng(6);
  const LICE_SourceRect rect = {2, 1, 9, 6};
  for (int mode : {0, 1, 0x10000})
    for (float alpha : {1.0f, 0.6f})
      for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
          for (bool flip : {false, true})
          {
            GuardedBitmap bitmap(11, 7, flip), copy(11, 7);
            bitmap.Randomise(rng);
            for (int y = 0; y < 7; ++y)
              for (int x = 0; x < 11; ++x) copy.At(x, y) = bitmap.At(x, y);
            const std::vector<Pixel32> expected = ReferenceBlit(copy, copy, 2 + dx, 1 + dy, &rect, mode, alpha);
            LICE_CopyRect(&bitmap, &bitmap, 2 + dx, 1 + dy, &rect, alpha, mode);
            ASSERT_EQ(bitmap.Pixels(), expected) << dx << "," << dy << " mode " << mode;
            ASSERT_TRUE(bitmap.GuardsIntact());
          }
}

namespace {

// One filled pixel through the per-mode loops: the weight stands in for the colour's alpha.
Pixel32 FillPixel(int mode, int w, Pixel32 colour, Pixel32 d)
{
  if (mode == 5) return ref::Mix(5, d, (colour & 0xFFFFFF) | Pixel32(ref::Clamp(w)) << 24, w);
  ref::Channels c = ref::Split(d), s = ref::Split(colour);
  s[3] = w;
  for (int i = 0; i < 4; ++i) c[i] = ref::Channel(mode, c[i], s[i], w);
  return ref::Join(c);
}

} // namespace

TEST(PaintRect, LoopsFollowTheirFormulas)
{
  std::mt19937 rng(8);
  for (int mode = 0; mode <= 5; ++mode)
    for (float alpha : {0.3f, 0.9f, 1.0f, 0.004f, 2.5f, -0.7f, 1.0f / 256})
    {
      const int w = LICE_WeightFromAlpha(alpha);
      if (mode == 0 && (w == 256 || w <= 0)) continue; // fast path or nothing, below
      GuardedBitmap bitmap(33, 8);
      bitmap.Randomise(rng);
      const Pixel32 colour = rng();
      std::vector<Pixel32> expected = bitmap.Pixels();
      for (auto& p : expected) p = FillPixel(mode, w, colour, p);
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
  EXPECT_EQ(paint(0.5f, BlendUseSourceAlpha), half(kDest) + half(kColour)); // the colour's alpha 255 keeps 0.5
  EXPECT_EQ(paint(1.0f, BlendUseSourceAlpha, 0x80FFFFFF), half(kDest) + half(0x80FFFFFF)); // 128/255 -> 128
  EXPECT_EQ(paint(1.0f, 0), kColour);
  EXPECT_EQ(paint(0.25f, 0), half(kDest) + quarter(kDest) + quarter(kColour));
  EXPECT_EQ(paint(0.75f, 0), quarter(kDest) + half(kColour) + quarter(kColour));
  EXPECT_EQ(LICE_Alpha(paint(1.0f, 5)), 255);
  EXPECT_EQ(LICE_Alpha(paint(1.003f, 0)), 255); // not wrapped to a low byte
  for (auto [alpha, mode] : {std::pair<float, int>{-0.5f, 0}, {0.0f, 1}, {std::nanf(""), 1}, {1.0f, 6}})
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

namespace {

// The blur from a full copy of the original: half the centre plus eighths of the neighbours
// (quarters at the edges), each term rounded down per byte; the last row takes its upper
// neighbour already blurred.
std::vector<Pixel32> ReferenceBlur(GuardedBitmap& b, int w, int h)
{
  auto part = [](Pixel32 v, int shift) { return (v >> shift) & (0x01010101u * (0xFFu >> shift)); };
  const std::vector<Pixel32> in = b.Pixels();
  std::vector<Pixel32> out = in;
  const int W = b.PixelWidth();
  auto src = [&](int x, int y) { return in[y * W + x]; };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      const Pixel32 above = y == 0 ? 0 : y == h - 1 ? out[(y - 1) * W + x] : src(x, y - 1);
      Pixel32 v = part(src(x, y), 1);
      if (x == 0) v += part(src(1, y), 2);
      else if (x == w - 1) v += part(src(w - 2, y), 2);
      else v += part(src(x - 1, y), 3) + part(src(x + 1, y), 3);
      if (y == 0) v += part(src(x, 1), 2);
      else if (y == h - 1) v += part(above, 2);
      else v += part(above, 3) + part(src(x, y + 1), 3);
      out[y * W + x] = v;
    }
  return out;
}

} // namespace

TEST(Blur, MatchesTheWrittenOutFilter)
{
  std::mt19937 rng(9);
  const int sizes[][4] = {{2, 2, 2, 2}, {5, 4, 5, 4}, {9, 6, 6, 4}, {1100, 3, 1100, 3}, {1030, 5, 1025, 4}, {8, 8, 100, 100}};
  for (const auto& s : sizes)
  {
    GuardedBitmap b(s[0], s[1]);
    b.Randomise(rng);
    const std::vector<Pixel32> expected = ReferenceBlur(b, std::min(s[2], s[0]), std::min(s[3], s[1]));
    LICE_BlurRegion(&b, s[2], s[3]);
    ASSERT_EQ(b.Pixels(), expected) << s[0] << "x" << s[1];
    ASSERT_TRUE(b.GuardsIntact());
  }
  GuardedBitmap b(5, 5);
  b.Randomise(rng);
  const std::vector<Pixel32> before = b.Pixels();
  for (auto [w, h] : {std::pair<int, int>{1, 10}, {10, 1}, {-3, 5}}) LICE_BlurRegion(&b, w, h);
  EXPECT_EQ(b.Pixels(), before);
}

TEST(Blur, TheSharedCanvas)
{
  ASSERT_EQ(GlyphCanvas, nullptr);
  LICE_BlurCanvas(5, 5); // no canvas yet: nothing
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
