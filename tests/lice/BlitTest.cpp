#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "lice/LICE_Blit.h"
#include "lice/LICE_GlyphCanvas.h"
#include "tests/lice/BlendReference.h"
#include "tests/lice/TestBitmaps.h"

namespace {

using PixelRule = std::function<Pixel32(Pixel32 d, Pixel32 s)>;

// Expected result of one blit loop for one pixel, from the loop table.
PixelRule BlitRule(int mode, int w)
{
  using namespace ref;
  auto all = [](int w2, int (*f)(int, int, int)) {
    return PixelRule([=](Pixel32 d, Pixel32 s) { return PerChannel(d, s, [&](int c, int x) { return f(c, x, w2); }); });
  };
  auto k = [w](Pixel32 s) { return w * (int(s >> 24) + 1) / 256; };
  switch (mode)
  {
  case 0: return all(w, Copy);
  case 1: return all(w, Add);
  case 2: return all(w, Dodge);
  case 3: return all(w, Multiply);
  case 4: return all(w, Overlay);
  case 5:
    return [w](Pixel32 d, Pixel32 s) {
      LICE_MixHsvPixel(&d, LICE_Red(s), LICE_Green(s), LICE_Blue(s), LICE_Alpha(s), w);
      return d;
    };
  case 0x10000:
    return [w, k](Pixel32 d, Pixel32 s) {
      const int sa = int(s >> 24);
      if (sa == 0) return d;
      Channels dc = Split(d), sc = Split(s);
      if (w == 256)
      {
        if (sa == 255) return s;
        for (int i = 0; i < 3; ++i) dc[i] = sc[i] + (dc[i] - sc[i]) * (255 - sa) / 256;
        dc[3] = std::min(255, sa + dc[3]);
        return Join(dc);
      }
      for (int i = 0; i < 3; ++i) dc[i] = Copy(dc[i], sc[i], k(s));
      dc[3] = Clamp(std::min(255, k(s) + dc[3]));
      return Join(dc);
    };
  case 0x10001:
  case 0x10002:
  case 0x10003:
  case 0x10004:
    return [mode, k](Pixel32 d, Pixel32 s) {
      static int (*const fns[])(int, int, int) = {nullptr, Add, Dodge, Multiply, Overlay};
      const bool skipsTransparent = mode == 0x10001 || mode == 0x10003;
      if (skipsTransparent && (s >> 24) == 0) return d;
      const int kk = k(s);
      return PerChannel(d, s, [&](int c, int x) { return fns[mode & 0xFF](c, x, kk); });
    };
  case 0x10005:
    return [k](Pixel32 d, Pixel32 s) {
      LICE_MixHsvPixel(&d, LICE_Red(s), LICE_Green(s), LICE_Blue(s), LICE_Alpha(s), k(s));
      return d;
    };
  default: return [](Pixel32 d, Pixel32) { return d; };
  }
}

// The blit as a plain per-pixel loop: source pixel (sx, sy) of the source rectangle lands on
// x + sx - left, y + sy - top, when it lies inside both bitmaps.
void ReferenceBlit(GuardedBitmap& dst, GuardedBitmap& src, int x, int y, const LICE_SourceRect* rect,
                   const PixelRule& rule)
{
  const int left = rect ? rect->left : 0, top = rect ? rect->top : 0;
  const int right = rect ? rect->right : src.PixelWidth(), bottom = rect ? rect->bottom : src.PixelHeight();
  for (int sy = std::max(top, 0); sy < std::min(bottom, src.PixelHeight()); ++sy)
    for (int sx = std::max(left, 0); sx < std::min(right, src.PixelWidth()); ++sx)
    {
      const long long dx = (long long)x + sx - left, dy = (long long)y + sy - top;
      if (dx < 0 || dy < 0 || dx >= dst.PixelWidth() || dy >= dst.PixelHeight()) continue;
      dst.At(int(dx), int(dy)) = rule(dst.At(int(dx), int(dy)), src.At(sx, sy));
    }
}

const int kModes[] = {0, 1, 2, 3, 4, 5, 0x10000, 0x10001, 0x10002, 0x10003, 0x10004, 0x10005};

} // namespace

// Every placement and source rectangle around the edges, for upright and upside-down bitmaps,
// against the per-pixel reference; guard bands catch writes outside the bitmaps.
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
              GuardedBitmap src(7, 5, flipSrc), dst(9, 6, flipDst), expected(9, 6);
              src.Randomise(rng);
              dst.Randomise(rng);
              for (int yy = 0; yy < 6; ++yy)
                for (int xx = 0; xx < 9; ++xx) expected.At(xx, yy) = dst.At(xx, yy);
              const LICE_SourceRect* rect = r < 0 ? nullptr : &rects[r];
              const int mode = alpha == 1.0f ? 0 : 1;
              LICE_CopyRect(&dst, &src, x, y, rect, alpha, mode);
              ReferenceBlit(expected, src, x, y, rect, BlitRule(mode, LICE_WeightFromAlpha(alpha)));
              ASSERT_EQ(dst.Pixels(), expected.Pixels()) << x << "," << y << " rect " << r;
              ASSERT_TRUE(dst.GuardsIntact());
              ASSERT_TRUE(src.GuardsIntact());
            }
}

TEST(CopyRect, ExtremeArgumentsDoNotOverflow)
{
  GuardedBitmap src(4, 4), dst(4, 4), expected(4, 4);
  std::mt19937 rng(12);
  src.Randomise(rng);
  const LICE_SourceRect rects[] = {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX, INT_MAX, INT_MIN, INT_MIN},
                                   {INT_MIN, 0, 2, 2}, {0, INT_MIN, INT_MAX, 2}, {-1, -1, INT_MAX, INT_MAX}};
  for (int x : {INT_MIN, INT_MIN + 1, -1, 0, INT_MAX - 1, INT_MAX})
    for (const auto& rect : rects)
    {
      LICE_CopyRect(&dst, &src, x, x, &rect, 1.0f, 0);
      ReferenceBlit(expected, src, x, x, &rect, BlitRule(0, 256));
      LICE_CopyRect(&dst, &src, x, ~x, nullptr, 0.5f, 0x10000);
      ReferenceBlit(expected, src, x, ~x, nullptr, BlitRule(0x10000, 128));
      ASSERT_EQ(dst.Pixels(), expected.Pixels()) << x;
    }
  EXPECT_TRUE(dst.GuardsIntact());
}

// Each of the blend loops on random pixels at the weights that matter, and at weights
// outside 0..256, which must saturate rather than wrap.
TEST(CopyRect, EveryModeFollowsItsFormula)
{
  std::mt19937 rng(2);
  for (int mode : kModes)
    for (float alpha : {1.0f / 256, 0.25f, 127.0f / 256, 0.5f, 0.999f, 1.0f, 1.5f, 3.0f, -0.5f, -2.0f})
    {
      GuardedBitmap src(37, 3), dst(37, 3);
      src.Randomise(rng);
      dst.Randomise(rng);
      for (int x = 0; x < 4; ++x) src.At(x, 0) = (src.At(x, 0) & 0x00FFFFFF) | (Pixel32(x == 0 ? 0 : x == 1 ? 255 : 128) << 24);
      std::vector<Pixel32> expected = dst.Pixels();
      const std::vector<Pixel32> source = src.Pixels();
      // Mode 0 at exactly 1.0 and 0.5 takes the word paths, checked on their own below.
      const bool special = mode == 0 && (alpha == 1.0f || alpha == 0.5f);
      const PixelRule rule = BlitRule(mode, LICE_WeightFromAlpha(alpha));
      if (!special)
        for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = rule(expected[i], source[i]);
      else if (alpha == 1.0f) expected = source;
      else
        for (std::size_t i = 0; i < expected.size(); ++i)
          expected[i] = ((source[i] >> 1) & 0x7F7F7F7F) + ((expected[i] >> 1) & 0x7F7F7F7F);
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
  src.At(2, 0) = 0x80FF0000; // half: alpha saturates, colour almost reaches the source
  src.At(3, 0) = 0x40FFFFFF;
  dst.Fill(0xFF000000 | 0x0000FF);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 1.0f, BlendUseSourceAlpha);
  EXPECT_EQ(dst.At(0, 0), 0xFF0000FFu);
  EXPECT_EQ(dst.At(1, 0), 0xFF123456u);
  // red 255 + (0 - 255) * 127 / 256 = 129; blue 0 + 255 * 127 / 256 = 126
  EXPECT_EQ(dst.At(2, 0), 0xFF81007Eu);
  // 0x40: red and green 255 - 255 * 191 / 256 = 65, blue 255 + 0 = 255
  EXPECT_EQ(dst.At(3, 0), 0xFF4141FFu);

  // Greyed controls: weight 64, k = 64 * (sa + 1) / 256.
  dst.Fill(0xFF000000);
  src.At(1, 0) = 0xFFFFFFFF; // k = 64: 255 - 255 * 192 / 256 = 64
  src.At(2, 0) = 0x7FFF8000; // k = 32: 255 - 255 * 224 / 256 = 32, 128 - 128 * 224 / 256 = 16
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.25f, BlendUseSourceAlpha);
  EXPECT_EQ(dst.At(0, 0), 0xFF000000u);
  EXPECT_EQ(dst.At(1, 0), 0xFF404040u);
  EXPECT_EQ(dst.At(2, 0), 0xFF201000u);

  // Over a transparent destination the alpha is the weight (k + 0).
  dst.Fill(0x00000000);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.25f, BlendUseSourceAlpha);
  EXPECT_EQ(LICE_Alpha(dst.At(1, 0)), 64);
}

TEST(CopyRect, SpecialModesAndWeights)
{
  GuardedBitmap src(3, 2), dst(3, 2);
  std::mt19937 rng(4);
  src.Randomise(rng);
  dst.Randomise(rng);
  const std::vector<Pixel32> before = dst.Pixels();
  for (int mode : {6, 0xEF, 0x10006, 0x1000F})
    LICE_CopyRect(&dst, &src, 0, 0, nullptr, 1.0f, mode);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.0f, 0);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.003f, 1); // weight 0
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, std::nanf(""), 0xF6);
  LICE_CopyRect(&dst, nullptr, 0, 0, nullptr, 1.0f, 0);
  LICE_CopyRect(nullptr, &src, 0, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(dst.Pixels(), before);

  // Channel copy: source red (byte 2) into destination green (byte 1), weight ignored.
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 0.01f, 0xF6);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
    {
      const Pixel32 b = before[y * 3 + x];
      EXPECT_EQ(dst.At(x, y), (b & 0xFFFF00FF) | (Pixel32(LICE_Red(src.At(x, y))) << 8));
    }
  // Bit 0x10000 and other high bits do not change a channel copy.
  dst.Fill(0);
  LICE_CopyRect(&dst, &src, 0, 0, nullptr, 1.0f, 0x7FF100F3); // byte 3 into byte 0
  EXPECT_EQ(dst.At(2, 1), src.At(2, 1) >> 24);
}

// A bitmap blitted onto itself reads the source as it was before the call, in every mode.
TEST(CopyRect, SelfOverlapReadsTheOriginalSource)
{
  std::mt19937 rng(6);
  for (int mode : {0, 1, 0x10000})
    for (float alpha : {1.0f, 0.6f})
      for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
          for (bool flip : {false, true})
          {
            GuardedBitmap bitmap(11, 7, flip), copy(11, 7), expected(11, 7);
            bitmap.Randomise(rng);
            for (int y = 0; y < 7; ++y)
              for (int x = 0; x < 11; ++x) copy.At(x, y) = expected.At(x, y) = bitmap.At(x, y);
            const LICE_SourceRect rect = {2, 1, 9, 6};
            LICE_CopyRect(&bitmap, &bitmap, 2 + dx, 1 + dy, &rect, alpha, mode);
            ReferenceBlit(expected, copy, 2 + dx, 1 + dy, &rect, BlitRule(mode, LICE_WeightFromAlpha(alpha)));
            ASSERT_EQ(bitmap.Pixels(), expected.Pixels()) << dx << "," << dy << " mode " << mode;
            ASSERT_TRUE(bitmap.GuardsIntact());
          }
}

namespace {

// Expected fill of one pixel through the per-mode loops (not the word fast paths).
Pixel32 FillRule(int mode, int w, Pixel32 colour, Pixel32 d)
{
  switch (mode)
  {
  case 0:
  {
    ref::Channels c = ref::Split(d), s = ref::Split(colour);
    for (int i = 0; i < 3; ++i) c[i] = ref::Copy(c[i], s[i], w);
    c[3] = ref::Clamp(w + (c[3] - w) * (256 - w) / 256);
    return ref::Join(c);
  }
  case 1:
  {
    ref::Channels c = ref::Split(d), s = ref::Split(colour);
    for (int i = 0; i < 3; ++i) c[i] = ref::Add(c[i], s[i], w);
    c[3] = ref::Clamp(c[3] + w * w / 256);
    return ref::Join(c);
  }
  case 2:
  case 3:
  case 4:
  {
    ref::Channels c = ref::Split(d), s = ref::Split(colour);
    s[3] = w; // the weight stands in for the colour's alpha
    for (int i = 0; i < 4; ++i)
      c[i] = mode == 2 ? ref::Dodge(c[i], s[i], w) : mode == 3 ? ref::Multiply(c[i], s[i], w) : ref::Overlay(c[i], s[i], w);
    return ref::Join(c);
  }
  default:
    LICE_MixHsvPixel(&d, LICE_Red(colour), LICE_Green(colour), LICE_Blue(colour), ref::Clamp(w), w);
    return d;
  }
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
      GuardedBitmap bitmap(13, 4);
      bitmap.Randomise(rng);
      const Pixel32 colour = rng();
      std::vector<Pixel32> expected = bitmap.Pixels();
      for (auto& p : expected) p = FillRule(mode, w, colour, p);
      LICE_PaintRect(&bitmap, 0, 0, 13, 4, colour, alpha, mode);
      ASSERT_EQ(bitmap.Pixels(), expected) << mode << " " << alpha;
    }
}

TEST(PaintRect, FastPathsAndAlphaHandling)
{
  GuardedBitmap bitmap(3, 1);
  const Pixel32 colour = 0xFF8040C1, d = 0x7F21F002;
  auto paint = [&](float alpha, int mode) {
    bitmap.Fill(d);
    LICE_PaintRect(&bitmap, 0, 0, 3, 1, colour, alpha, mode);
    return bitmap.At(2, 0);
  };
  const Pixel32 half = ((d >> 1) & 0x7F7F7F7F) + ((colour >> 1) & 0x7F7F7F7F);
  EXPECT_EQ(paint(0.5f, 0), half);
  EXPECT_EQ(paint(0.5f, BlendUseSourceAlpha), half); // colour alpha 255 keeps 0.5
  EXPECT_EQ(paint(1.0f, 0), colour);
  EXPECT_EQ(paint(0.25f, 0), ((d >> 1) & 0x7F7F7F7F) + ((d >> 2) & 0x3F3F3F3F) + ((colour >> 2) & 0x3F3F3F3F));
  EXPECT_EQ(paint(0.75f, 0), ((d >> 2) & 0x3F3F3F3F) + ((colour >> 1) & 0x7F7F7F7F) + ((colour >> 2) & 0x3F3F3F3F));
  // Weight 76 moves alpha toward 76, not toward the colour's 255.
  EXPECT_EQ(LICE_Alpha(paint(0.3f, 0)), 76 + (0x7F - 76) * (256 - 76) / 256);
  // A colour of alpha 0x80 with the source-alpha bit halves the weight: 128/255 * 1.0 -> 128.
  bitmap.Fill(d);
  LICE_PaintRect(&bitmap, 0, 0, 3, 1, 0x80FFFFFF, 1.0f, BlendUseSourceAlpha);
  EXPECT_EQ(bitmap.At(0, 0), ((d >> 1) & 0x7F7F7F7F) + ((0x80FFFFFFu >> 1) & 0x7F7F7F7F));
  // A full-weight HSV fill stays opaque.
  EXPECT_EQ(LICE_Alpha(paint(1.0f, 5)), 255);
  // A fill copy above full weight keeps alpha at 255 instead of wrapping to a low byte.
  EXPECT_EQ(LICE_Alpha(paint(1.003f, 0)), 255);
  EXPECT_EQ(paint(-0.5f, 0), d);
  EXPECT_EQ(paint(0.0f, 1), d);
  EXPECT_EQ(paint(std::nanf(""), 1), d);
  EXPECT_EQ(paint(1.0f, 6), d);
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

// The blur written out with a full copy of the original pixels: each output is half the
// centre plus eighths (quarters at the edges) of its neighbours, every term rounded down per
// byte. The last row takes its upper neighbour already blurred.
std::vector<Pixel32> ReferenceBlur(GuardedBitmap& b, int w, int h)
{
  auto part = [](Pixel32 v, int shift) {
    const Pixel32 mask = shift == 1 ? 0x7F7F7F7F : shift == 2 ? 0x3F3F3F3F : 0x1F1F1F1F;
    return (v >> shift) & mask;
  };
  std::vector<Pixel32> in = b.Pixels(), out = in;
  const int W = b.PixelWidth();
  auto src = [&](int x, int y) { return in[y * W + x]; };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      const bool top = y == 0, bottom = y == h - 1;
      auto above = [&](int xx) { return bottom ? out[(y - 1) * W + xx] : src(xx, y - 1); };
      Pixel32 v = part(src(x, y), 1);
      if (x == 0) v += part(src(1, y), 2);
      else if (x == w - 1) v += part(src(w - 2, y), 2);
      else v += part(src(x - 1, y), 3) + part(src(x + 1, y), 3);
      if (top) v += part(src(x, 1), 2);
      else if (bottom) v += part(above(x), 2);
      else v += part(above(x), 3) + part(src(x, y + 1), 3);
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
}

TEST(Blur, DegenerateSizesAndTheSharedCanvas)
{
  GuardedBitmap b(5, 5);
  b.At(2, 2) = 0xFFFFFFFF;
  LICE_BlurRegion(&b, 1, 10);
  LICE_BlurRegion(&b, 10, 1);
  LICE_BlurRegion(&b, -3, 5);
  EXPECT_EQ(b.At(2, 2), 0xFFFFFFFFu);

  ASSERT_EQ(GlyphCanvas, nullptr);
  LICE_BlurCanvas(5, 5); // no canvas yet: nothing
  LICE_SysBitmap canvas(4, 4);
  for (int i = 0; i < 4 * canvas.RowPitch(); ++i) canvas.PixelData()[i] = 0;
  canvas.PixelData()[canvas.RowPitch() + 1] = 0xFF000000;
  GlyphCanvas = &canvas;
  LICE_BlurCanvas(4, 4);
  GlyphCanvas = nullptr;
  EXPECT_EQ(canvas.PixelData()[canvas.RowPitch() + 1], 0x7F000000u); // half stays
  EXPECT_EQ(canvas.PixelData()[canvas.RowPitch() + 2], 0x1F000000u); // an eighth to each neighbour
  EXPECT_EQ(canvas.PixelData()[1], 0x3F000000u); // the first row weighs its one vertical neighbour by a quarter
}
