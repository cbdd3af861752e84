#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "lice/LICE_Line.h"
#include "tests/lice/BlendReference.h"
#include "tests/lice/TestBitmaps.h"

namespace {

using Point = std::pair<int, int>;

std::set<Point> Changed(GuardedBitmap& b, Pixel32 background)
{
  std::set<Point> out;
  for (int y = 0; y < b.PixelHeight(); ++y)
    for (int x = 0; x < b.PixelWidth(); ++x)
      if (b.At(x, y) != background) out.insert({x, y});
  return out;
}

std::set<Point> Plain(int x1, int y1, int x2, int y2, int w = 20, int h = 20)
{
  GuardedBitmap b(w, h);
  LICE_DrawSegment(&b, x1, y1, x2, y2, 0xFFFFFFFF, 1.0f, 0, false);
  EXPECT_TRUE(b.GuardsIntact());
  return Changed(b, 0);
}

} // namespace

TEST(Segment, DrawsTheDocumentedPixels)
{
  std::set<Point> row;
  for (int x = 2; x <= 6; ++x) row.insert({x, 3});
  EXPECT_EQ(Plain(2, 3, 6, 3), row);
  EXPECT_EQ(Plain(6, 3, 2, 3), row);
  EXPECT_EQ(Plain(4, 4, 4, 4), (std::set<Point>{{4, 4}}));
  const std::set<Point> slope9 = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 3}, {7, 4}, {8, 4}, {9, 5}};
  EXPECT_EQ(Plain(0, 0, 9, 5), slope9);
  EXPECT_EQ(Plain(9, 5, 0, 0), slope9);
  const std::set<Point> slope8 = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 2}, {7, 3}, {8, 3}};
  EXPECT_EQ(Plain(0, 0, 8, 3), slope8);
  EXPECT_EQ(Plain(8, 3, 0, 0), slope8);
  // The same segments mirrored onto the y-major walker.
  std::set<Point> transposed;
  for (auto [x, y] : slope9) transposed.insert({y, x});
  EXPECT_EQ(Plain(0, 0, 5, 9), transposed);
  EXPECT_EQ(Plain(3, 0, 0, 3), (std::set<Point>{{3, 0}, {2, 1}, {1, 2}, {0, 3}}));
}

TEST(Segment, ClippingInterpolatesOnePastTheFarEdges)
{
  int x1 = 0, y1 = 0, x2 = 20, y2 = 10;
  ASSERT_TRUE(LICE_ClipSegment(x1, y1, x2, y2, 10, 11));
  EXPECT_EQ(std::make_pair(x2, y2), std::make_pair(9, 5));
  x1 = 0, y1 = 0, x2 = 10, y2 = 20;
  ASSERT_TRUE(LICE_ClipSegment(x1, y1, x2, y2, 11, 10));
  EXPECT_EQ(std::make_pair(x2, y2), std::make_pair(5, 9));
  // Left and top interpolate at the edge itself.
  x1 = -10, y1 = 0, x2 = 10, y2 = 10;
  ASSERT_TRUE(LICE_ClipSegment(x1, y1, x2, y2, 20, 20));
  EXPECT_EQ(std::make_pair(x1, y1), std::make_pair(0, 5));
  // Crossing corner regions takes several passes.
  x1 = -4, y1 = -6, x2 = 12, y2 = 10;
  ASSERT_TRUE(LICE_ClipSegment(x1, y1, x2, y2, 10, 10));
  EXPECT_EQ(std::vector<int>({x1, y1, x2, y2}), std::vector<int>({2, 0, 9, 7}));
  x1 = -5, y1 = 3, x2 = 12, y2 = 8;
  ASSERT_TRUE(LICE_ClipSegment(x1, y1, x2, y2, 10, 10));
  EXPECT_EQ(std::vector<int>({x1, y1, x2, y2}), std::vector<int>({0, 4, 9, 7}));
  // A segment grazing a corner creeps toward it one pixel per pass; far from the bitmap that
  // must still end promptly.
  x1 = INT_MIN, y1 = INT_MIN, x2 = 1000000, y2 = 1000000 - 20;
  if (LICE_ClipSegment(x1, y1, x2, y2, 10, 10))
  {
    EXPECT_TRUE(x1 >= 0 && x1 < 10 && y1 >= 0 && y1 < 10);
  }
  for (auto s : std::vector<std::vector<int>>{{-5, 0, -1, 9}, {0, -3, 9, -1}, {10, 0, 30, 9}, {0, 10, 9, 40}, {-5, 3, 3, -5}})
  {
    GuardedBitmap b(10, 10);
    LICE_DrawSegment(&b, s[0], s[1], s[2], s[3], 0xFFFFFFFF, 1.0f, 0, true);
    EXPECT_TRUE(Changed(b, 0).empty()) << s[0] << "," << s[1];
  }
}

// Coordinates anywhere in the int range: clipping ends, and ends inside the bitmap.
TEST(Segment, ClippingTerminatesForExtremeCoordinates)
{
  std::mt19937 rng(13);
  const int extremes[] = {INT_MIN, INT_MIN + 1, -1000000007, -1, 0, 5, 9, 10, 1000000007, INT_MAX - 1, INT_MAX};
  auto pick = [&]() -> int {
    return (rng() & 1) ? extremes[rng() % std::size(extremes)] : static_cast<int>(rng());
  };
  for (int i = 0; i < 200000; ++i)
  {
    int x1 = pick(), y1 = pick(), x2 = pick(), y2 = pick();
    const int w = 1 + rng() % 12, h = 1 + rng() % 12;
    if (LICE_ClipSegment(x1, y1, x2, y2, w, h))
    {
      ASSERT_TRUE(x1 >= 0 && x1 < w && x2 >= 0 && x2 < w && y1 >= 0 && y1 < h && y2 >= 0 && y2 < h);
    }
  }
  for (bool flip : {false, true})
  {
    GuardedBitmap b(7, 5, flip);
    for (int i = 0; i < 20000; ++i)
      LICE_DrawSegment(&b, pick(), pick(), pick(), pick(), rng(), 0.7f, static_cast<int>(rng() % 6), rng() & 1);
    EXPECT_TRUE(b.GuardsIntact());
  }
}

// Random segments in every kind: only pixels of the clipped segment's box change, a plain line
// changes exactly |major| + 1 pixels, and exchanging the ends of a segment inside the bitmap
// changes nothing (clipping may place the ends of a crossing segment differently).
TEST(Segment, RandomSegmentsStayInTheirBoxAndAreSymmetric)
{
  std::mt19937 rng(14);
  for (int i = 0; i < 4000; ++i)
  {
    const bool within = i % 8 < 4;
    auto coord = [&](int size) { return within ? int(rng() % size) : int(rng() % (2 * size)) - size / 2; };
    int x1 = coord(20), y1 = coord(14), x2 = coord(20), y2 = coord(14);
    if (i % 4 == 0) y2 = y1;
    if (i % 4 == 1) x2 = x1;
    if (i % 4 == 2) y2 = std::clamp(y1 + (x2 - x1) * ((rng() & 1) ? 1 : -1), within ? 0 : -100, within ? 13 : 100);
    if (i % 4 == 2 && within) x2 = x1 + (y2 - y1) * ((rng() & 1) ? 1 : -1);
    const bool aa = rng() & 1;
    const int mode = static_cast<int>(rng() % 6);
    const float alpha = (rng() & 1) ? 1.0f : 0.6f;
    const Pixel32 colour = rng();
    GuardedBitmap a(20, 14), b(20, 14);
    a.Fill(0x80808080);
    b.Fill(0x80808080);
    LICE_DrawSegment(&a, x1, y1, x2, y2, colour, alpha, mode, aa);
    LICE_DrawSegment(&b, x2, y2, x1, y1, colour, alpha, mode, aa);
    ASSERT_TRUE(a.GuardsIntact());
    const bool inside = std::min({x1, x2, y1, y2}) >= 0 && std::max(x1, x2) < 20 && std::max(y1, y2) < 14;
    if (inside)
    {
      ASSERT_EQ(a.Pixels(), b.Pixels()) << x1 << "," << y1 << " " << x2 << "," << y2 << " aa " << aa;
    }

    int cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
    if (!LICE_ClipSegment(cx1, cy1, cx2, cy2, 20, 14))
    {
      ASSERT_TRUE(Changed(a, 0x80808080).empty());
      continue;
    }
    for (auto [x, y] : Changed(a, 0x80808080))
      ASSERT_TRUE(x >= std::min(cx1, cx2) && x <= std::max(cx1, cx2) && y >= std::min(cy1, cy2) && y <= std::max(cy1, cy2));
    if (!aa || cx1 == cx2 || cy1 == cy2)
    {
      GuardedBitmap c(20, 14);
      LICE_DrawSegment(&c, x1, y1, x2, y2, 0xFFFFFFFF, 1.0f, 0, aa);
      ASSERT_EQ(Changed(c, 0).size(), std::size_t(std::max(std::abs(cx2 - cx1), std::abs(cy2 - cy1)) + 1));
    }
  }
}

TEST(Segment, AntiAliasingOnlyAffectsDiagonalAndSlopedSegments)
{
  for (auto s : std::vector<std::vector<int>>{{1, 2, 12, 2}, {3, 0, 3, 9}, {7, 7, 7, 7}})
    for (float alpha : {1.0f, 0.5f, 0.3f})
    {
      GuardedBitmap a(14, 10), b(14, 10);
      a.Fill(0x40404040);
      b.Fill(0x40404040);
      LICE_DrawSegment(&a, s[0], s[1], s[2], s[3], 0xFF20C0E0, alpha, 0, false);
      LICE_DrawSegment(&b, s[0], s[1], s[2], s[3], 0xFF20C0E0, alpha, 0 | BlendUseSourceAlpha | 0x7F000000, true);
      EXPECT_EQ(a.Pixels(), b.Pixels());
    }
  // Anti-aliased diagonal at full weight: 3/4 on the main pixels, 1/4 on the two corners of each step.
  GuardedBitmap d(6, 6);
  LICE_DrawSegment(&d, 1, 1, 3, 3, 0xFFFFFFFF, 1.0f, 0, true);
  EXPECT_EQ(d.At(1, 1), 0xBEBEBEBEu); // 0x3F + 0x7F
  EXPECT_EQ(d.At(3, 3), 0xBEBEBEBEu);
  EXPECT_EQ(d.At(2, 1), 0x3F3F3F3Fu);
  EXPECT_EQ(d.At(1, 2), 0x3F3F3F3Fu);
  EXPECT_EQ(d.At(3, 2), 0x3F3F3F3Fu);
  EXPECT_EQ(d.At(4, 3), 0u);
  EXPECT_EQ(Changed(d, 0).size(), 7u);
}

TEST(Segment, AntiAliasedSlopeHasExactEndsAndComplementaryPairs)
{
  const Pixel32 colour = 0xFFC86432;
  for (auto s : std::vector<std::vector<int>>{{0, 0, 9, 5}, {0, 0, 8, 3}, {2, 9, 13, 1}, {1, 0, 4, 11}})
  {
    GuardedBitmap b(16, 12);
    b.Fill(0xFF000000);
    LICE_DrawSegment(&b, s[0], s[1], s[2], s[3], colour, 1.0f, 0, true);
    EXPECT_EQ(b.At(s[0], s[1]), colour);
    EXPECT_EQ(b.At(s[2], s[3]), colour);
    const bool xMajor = std::abs(s[2] - s[0]) > std::abs(s[3] - s[1]);
    const int from = xMajor ? std::min(s[0], s[2]) : std::min(s[1], s[3]);
    const int to = xMajor ? std::max(s[0], s[2]) : std::max(s[1], s[3]);
    for (int m = from + 1; m < to; ++m)
    {
      std::vector<Pixel32> line;
      for (int n = 0; n < (xMajor ? 12 : 16); ++n)
      {
        const Pixel32 p = xMajor ? b.At(m, n) : b.At(n, m);
        if (p != 0xFF000000) line.push_back(p);
      }
      // Two neighbours whose weights are 255 - t and t for one t (one may be 0 and untouched).
      bool found = false;
      for (int t = 0; t <= 255 && !found; ++t)
      {
        Pixel32 main = 0xFF000000, partner = 0xFF000000;
        LICE_MixCopyPixel(&main, 200, 100, 50, 255, 255 - t);
        LICE_MixCopyPixel(&partner, 200, 100, 50, 255, t);
        std::vector<Pixel32> want;
        for (Pixel32 p : {main, partner})
          if (p != 0xFF000000) want.push_back(p);
        std::vector<Pixel32> got = line;
        std::sort(want.begin(), want.end());
        std::sort(got.begin(), got.end());
        found = want == got;
      }
      EXPECT_TRUE(found) << "major " << m;
    }
  }
}

TEST(Segment, WeightsAndModes)
{
  GuardedBitmap b(8, 3);
  auto run = [&](Pixel32 background, Pixel32 colour, float alpha, int mode) {
    b.Fill(background);
    LICE_DrawSegment(&b, 0, 1, 7, 1, colour, alpha, mode, false);
    return b.At(3, 1);
  };
  for (int mode = 0; mode <= 5; ++mode) EXPECT_EQ(run(0x11223344, 0xFFFFFFFF, 0.003f, mode), 0x11223344u) << mode;
  EXPECT_EQ(run(0x11223344, 0xFFFFFFFF, -0.5f, 0), 0x11223344u);
  EXPECT_EQ(run(0x11223344, 0x20202020, -0.5f, 1), 0x01122334u); // subtracts 0x10 per channel
  EXPECT_EQ(run(0x01010101, 0x01010101, 0.5f, 0), 0u);            // masked average rounds each term down
  EXPECT_EQ(run(0x01010101, 0x01010101, 0.501f, 0), 0x01010101u); // (c + s) >> 1
  const Pixel32 d = 0x80F01040, c = 0x40FF2000;
  EXPECT_EQ(run(d, c, 0.25f, 0), ((d >> 1) & 0x7F7F7F7F) + ((c >> 2) & 0x3F3F3F3F) + ((d >> 2) & 0x3F3F3F3F));
  EXPECT_EQ(run(d, c, 0.75f, 0), ((c >> 2) & 0x3F3F3F3F) + ((c >> 1) & 0x7F7F7F7F) + ((d >> 2) & 0x3F3F3F3F));
  EXPECT_EQ(run(d, c, 1.0f, 7), d);
  EXPECT_EQ(run(d, c, 1.0f, 0x106), d);
  // Modes 1..5 at any weight equal the per-pixel helpers (multiply: the plain formula).
  for (float alpha : {0.3f, 1.0f, -0.4f, 2.0f})
  {
    const int w = LICE_WeightFromAlpha(alpha);
    Pixel32 e = d;
    LICE_MixAddPixel(&e, 0xFF, 0x20, 0x00, 0x40, w);
    EXPECT_EQ(run(d, c, alpha, 1), e);
    e = d;
    LICE_MixDodgePixel(&e, 0xFF, 0x20, 0x00, 0x40, w);
    EXPECT_EQ(run(d, c, alpha, 2), e);
    EXPECT_EQ(run(d, c, alpha, 3), ref::PerChannel(d, c, [w](int x, int s) { return ref::Multiply(x, s, w); }));
    e = d;
    LICE_MixOverlayPixel(&e, 0xFF, 0x20, 0x00, 0x40, w);
    EXPECT_EQ(run(d, c, alpha, 4), e);
    e = d;
    LICE_MixHsvPixel(&e, 0xFF, 0x20, 0x00, 0x40, w);
    EXPECT_EQ(run(d, c, alpha, 5), e);
  }
  // Negative multiply weights would scale channels above 255: they saturate.
  EXPECT_EQ(run(0xFFC8C8C8, 0x00000000, -1.0f, 3), 0xFFFFFFFFu);
}

// An upside-down bitmap is flipped before clipping: its memory equals that of an upright
// bitmap drawn with mirrored rows.
TEST(Segment, UpsideDownBitmapsFlipBeforeClipping)
{
  GuardedBitmap flipped(9, 7, true), upright(9, 7);
  LICE_DrawSegment(&flipped, 2, 0, 2, 0, 0xFFFFFFFF, 1.0f, 0, false);
  EXPECT_EQ(flipped.PixelData()[6 * flipped.RowPitch() + 2], 0xFFFFFFFFu);
  std::mt19937 rng(15);
  for (int i = 0; i < 2000; ++i)
  {
    flipped.Fill(0);
    upright.Fill(0);
    const int x1 = int(rng() % 30) - 10, y1 = int(rng() % 30) - 10, x2 = int(rng() % 30) - 10, y2 = int(rng() % 30) - 10;
    const bool aa = rng() & 1;
    LICE_DrawSegment(&flipped, x1, y1, x2, y2, 0xFF8040C0, 0.8f, 0, aa);
    LICE_DrawSegment(&upright, x1, 6 - y1, x2, 6 - y2, 0xFF8040C0, 0.8f, 0, aa);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x)
        ASSERT_EQ(flipped.PixelData()[y * flipped.RowPitch() + x], upright.PixelData()[y * upright.RowPitch() + x]);
  }
}

namespace {

class NoPixels : public LICE_IBitmap
{
public:
  Pixel32* PixelData() const override { return nullptr; }
  int PixelWidth() const override { return 100; }
  int PixelHeight() const override { return 100; }
  int RowPitch() const override { return 100; }
  bool Reallocate(int, int) override { return false; }
};

} // namespace

TEST(Segment, NothingToDrawOn)
{
  NoPixels none;
  LICE_DrawSegment(&none, 0, 0, 50, 20, 0xFFFFFFFF, 1.0f, 0, true);
  LICE_DrawSegment(nullptr, 0, 0, 50, 20, 0xFFFFFFFF, 1.0f, 0, true);
  GuardedBitmap empty(0, 0);
  LICE_DrawSegment(&empty, 0, 0, 0, 0, 0xFFFFFFFF, 1.0f, 0, false);
  EXPECT_TRUE(empty.GuardsIntact());
}
