#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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
      if (b.At(x, y) != background)
        out.insert({x, y});
  return out;
}

std::set<Point> Plain(int x1, int y1, int x2, int y2)
{
  GuardedBitmap b(20, 20);
  LICE_DrawSegment(&b, x1, y1, x2, y2, 0xFFFFFFFF, 1.0f, 0, false);
  EXPECT_TRUE(b.GuardsIntact());
  return Changed(b, 0);
}

// A bitmap that reports a size but has no pixels.
struct NoPixels : GuardedBitmap
{
  NoPixels() : GuardedBitmap(100, 100) {}
  Pixel32* PixelData() const override { return nullptr; }
};

}  // namespace

// Each segment drawn in both directions gives the same pixels.
TEST(Segment, DrawsTheDocumentedPixels)
{
  const std::set<Point> slope9 = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 3}, {7, 4}, {8, 4}, {9, 5}};
  std::set<Point> transposed;
  for (auto [x, y] : slope9)
    transposed.insert({y, x});
  const std::pair<std::array<int, 4>, std::set<Point>> cases[] = {
    {{2, 3, 6, 3}, {{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}}},
    {{4, 4, 4, 4}, {{4, 4}}},
    {{0, 0, 9, 5}, slope9},
    {{0, 0, 8, 3}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 2}, {7, 3}, {8, 3}}},
    {{0, 0, 5, 9}, transposed},  // the y-major walker
    {{3, 0, 0, 3}, {{3, 0}, {2, 1}, {1, 2}, {0, 3}}},
  };
  for (const auto& [s, expected] : cases)
  {
    EXPECT_EQ(Plain(s[0], s[1], s[2], s[3]), expected) << s[0] << "," << s[1] << " " << s[2] << "," << s[3];
    EXPECT_EQ(Plain(s[2], s[3], s[0], s[1]), expected) << s[0] << "," << s[1] << " " << s[2] << "," << s[3];
  }
}

// Right and bottom interpolate one past the far edge, left and top at the edge itself;
// crossing a corner region takes several passes.
TEST(Segment, ClippingInterpolatesAtTheEdges)
{
  const std::array<int, 10> cases[] = {
    {0, 0, 20, 10, 10, 11, 0, 0, 9, 5},   {0, 0, 10, 20, 11, 10, 0, 0, 5, 9}, {-10, 0, 10, 10, 20, 20, 0, 5, 10, 10},
    {-4, -6, 12, 10, 10, 10, 2, 0, 9, 7}, {-5, 3, 12, 8, 10, 10, 0, 4, 9, 7},
  };
  for (const auto& c : cases)
  {
    int x1 = c[0], y1 = c[1], x2 = c[2], y2 = c[3];
    ASSERT_TRUE(LICE_ClipSegment(x1, y1, x2, y2, c[4], c[5]));
    EXPECT_EQ((std::array<int, 4>{x1, y1, x2, y2}), (std::array<int, 4>{c[6], c[7], c[8], c[9]}))
      << c[0] << "," << c[1];
  }
  for (auto s :
       std::vector<std::array<int, 4>>{{-5, 0, -1, 9}, {0, -3, 9, -1}, {10, 0, 30, 9}, {0, 10, 9, 40}, {-5, 3, 3, -5}})
  {
    GuardedBitmap b(10, 10);
    LICE_DrawSegment(&b, s[0], s[1], s[2], s[3], 0xFFFFFFFF, 1.0f, 0, true);
    EXPECT_TRUE(Changed(b, 0).empty()) << s[0] << "," << s[1];
  }
}

// Coordinates anywhere in the int range: clipping ends (a segment grazing a corner far away
// creeps toward it pass by pass), and ends inside the bitmap; drawing never writes outside.
TEST(Segment, ClippingTerminatesForExtremeCoordinates)
{
  std::mt19937 rng(13);
  const int extremes[] = {INT_MIN, INT_MIN + 1, -1000000007, -1, 0, 5, 9, 10, 1000000007, INT_MAX - 1, INT_MAX};
  auto pick = [&]() -> int { return (rng() & 1) ? extremes[rng() % std::size(extremes)] : static_cast<int>(rng()); };
  for (int i = 0; i < 200000; ++i)
  {
    int x1 = pick(), y1 = pick(), x2 = pick(), y2 = pick();
    int w = 1 + rng() % 12, h = 1 + rng() % 12;
    if (i == 0)
      x1 = y1 = INT_MIN, x2 = 1000000, y2 = 1000000 - 20, w = h = 10;
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
  NoPixels none;
  LICE_DrawSegment(&none, 0, 0, 50, 20, 0xFFFFFFFF, 1.0f, 0, true);
  LICE_DrawSegment(nullptr, 0, 0, 50, 20, 0xFFFFFFFF, 1.0f, 0, true);
  GuardedBitmap empty(0, 0);
  LICE_DrawSegment(&empty, 0, 0, 0, 0, 0xFFFFFFFF, 1.0f, 0, false);
  EXPECT_TRUE(empty.GuardsIntact());
}

// Random segments of every kind: only pixels of the clipped segment's box change, a plain
// line changes exactly |major| + 1 pixels, and swapping the ends of a segment inside the
// bitmap changes nothing (clipping may place the ends of a crossing segment differently).
// An upside-down bitmap is flipped before clipping: its memory equals that of an upright
// bitmap drawn with mirrored rows.
TEST(Segment, RandomSegmentsStayInTheirBoxAndAreSymmetric)
{
  std::mt19937 rng(14);
  for (int i = 0; i < 4000; ++i)
  {
    const bool within = i % 8 < 4;
    auto coord = [&](int size) { return within ? int(rng() % size) : int(rng() % (2 * size)) - size / 2; };
    int x1 = coord(20), y1 = coord(14), x2 = coord(20), y2 = coord(14);
    if (i % 4 == 0)
      y2 = y1;
    if (i % 4 == 1)
      x2 = x1;
    if (i % 4 == 2)
      y2 = std::clamp(y1 + (x2 - x1) * ((rng() & 1) ? 1 : -1), within ? 0 : -100, within ? 13 : 100);
    if (i % 4 == 2 && within)
      x2 = x1 + (y2 - y1) * ((rng() & 1) ? 1 : -1);
    const bool aa = rng() & 1;
    const int mode = static_cast<int>(rng() % 6);
    const float alpha = (rng() & 1) ? 1.0f : 0.6f;
    const Pixel32 colour = rng();
    GuardedBitmap a(20, 14), b(20, 14), flipped(20, 14, true);
    a.Fill(0x80808080);
    b.Fill(0x80808080);
    flipped.Fill(0x80808080);
    LICE_DrawSegment(&a, x1, y1, x2, y2, colour, alpha, mode, aa);
    LICE_DrawSegment(&b, x2, y2, x1, y1, colour, alpha, mode, aa);
    LICE_DrawSegment(&flipped, x1, 13 - y1, x2, 13 - y2, colour, alpha, mode, aa);
    ASSERT_TRUE(a.GuardsIntact() && flipped.GuardsIntact());
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 20; ++x)
        ASSERT_EQ(flipped.At(x, 13 - y), a.At(x, y)) << x << "," << y << " in " << i;
    if (std::min({x1, x2, y1, y2}) >= 0 && std::max(x1, x2) < 20 && std::max(y1, y2) < 14)
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
      ASSERT_TRUE(x >= std::min(cx1, cx2) && x <= std::max(cx1, cx2) && y >= std::min(cy1, cy2) &&
                  y <= std::max(cy1, cy2));
    if (!aa || cx1 == cx2 || cy1 == cy2)
    {
      GuardedBitmap c(20, 14);
      LICE_DrawSegment(&c, x1, y1, x2, y2, 0xFFFFFFFF, 1.0f, 0, aa);
      ASSERT_EQ(Changed(c, 0).size(), std::size_t(std::max(std::abs(cx2 - cx1), std::abs(cy2 - cy1)) + 1));
    }
  }
}

TEST(Segment, AntiAliasing)
{
  // Straight segments are the same with it; high mode bits are ignored.
  for (auto s : std::vector<std::array<int, 4>>{{1, 2, 12, 2}, {3, 0, 3, 9}, {7, 7, 7, 7}})
    for (float alpha : {1.0f, 0.5f, 0.3f})
    {
      GuardedBitmap a(14, 10), b(14, 10);
      a.Fill(0x40404040);
      b.Fill(0x40404040);
      LICE_DrawSegment(&a, s[0], s[1], s[2], s[3], 0xFF20C0E0, alpha, 0, false);
      LICE_DrawSegment(&b, s[0], s[1], s[2], s[3], 0xFF20C0E0, alpha, BlendUseSourceAlpha | 0x7F000000, true);
      EXPECT_EQ(a.Pixels(), b.Pixels());
    }
  // A diagonal at full weight: 3/4 on the main pixels, 1/4 on the two corners of each step.
  GuardedBitmap d(6, 6);
  LICE_DrawSegment(&d, 1, 1, 3, 3, 0xFFFFFFFF, 1.0f, 0, true);
  EXPECT_EQ(d.At(1, 1), 0xBEBEBEBEu);  // 0x3F + 0x7F
  EXPECT_EQ(d.At(3, 3), 0xBEBEBEBEu);
  EXPECT_EQ(d.At(2, 1), 0x3F3F3F3Fu);
  EXPECT_EQ(d.At(1, 2), 0x3F3F3F3Fu);
  EXPECT_EQ(d.At(3, 2), 0x3F3F3F3Fu);
  EXPECT_EQ(Changed(d, 0).size(), 7u);

  // A slope has exact ends; between them each step shares the colour between two neighbours
  // at weights 255 - t and t for one t (a pixel at weight 0 stays untouched).
  const Pixel32 colour = 0xFFC86432, black = 0xFF000000;
  for (auto s : std::vector<std::array<int, 4>>{{0, 0, 9, 5}, {0, 0, 8, 3}, {2, 9, 13, 1}, {1, 0, 4, 11}})
  {
    GuardedBitmap b(16, 12);
    b.Fill(black);
    LICE_DrawSegment(&b, s[0], s[1], s[2], s[3], colour, 1.0f, 0, true);
    EXPECT_EQ(b.At(s[0], s[1]), colour);
    EXPECT_EQ(b.At(s[2], s[3]), colour);
    const bool xMajor = std::abs(s[2] - s[0]) > std::abs(s[3] - s[1]);
    const int from = xMajor ? std::min(s[0], s[2]) : std::min(s[1], s[3]);
    const int to = xMajor ? std::max(s[0], s[2]) : std::max(s[1], s[3]);
    for (int m = from + 1; m < to; ++m)
    {
      std::multiset<Pixel32> got;
      for (int n = 0; n < (xMajor ? 12 : 16); ++n)
        if (const Pixel32 p = xMajor ? b.At(m, n) : b.At(n, m); p != black)
          got.insert(p);
      bool found = false;
      for (int t = 0; t <= 255 && !found; ++t)
      {
        std::multiset<Pixel32> want;
        for (int w : {255 - t, t})
          if (const Pixel32 p = ref::Mix(0, black, colour, w); p != black)
            want.insert(p);
        found = want == got;
      }
      EXPECT_TRUE(found) << "major " << m;
    }
  }
}

TEST(Segment, WeightsAndModes)
{
  auto run = [](Pixel32 background, Pixel32 colour, float alpha, int mode) {
    GuardedBitmap b(8, 3);
    b.Fill(background);
    LICE_DrawSegment(&b, 0, 1, 7, 1, colour, alpha, mode, false);
    return b.At(3, 1);
  };
  for (int mode = 0; mode <= 5; ++mode)
    EXPECT_EQ(run(0x11223344, 0xFFFFFFFF, 0.003f, mode), 0x11223344u) << mode;
  EXPECT_EQ(run(0x11223344, 0xFFFFFFFF, -0.5f, 0), 0x11223344u);
  EXPECT_EQ(run(0x11223344, 0x20202020, -0.5f, 1), 0x01122334u);   // subtracts 0x10 per channel
  EXPECT_EQ(run(0x01010101, 0x01010101, 0.5f, 0), 0u);             // the masked average rounds each term down
  EXPECT_EQ(run(0x01010101, 0x01010101, 0.501f, 0), 0x01010101u);  // (c + s) >> 1
  EXPECT_EQ(run(0xFFC8C8C8, 0x00000000, -1.0f, 3), 0xFFFFFFFFu);   // saturates instead of wrapping
  const Pixel32 d = 0x80F01040, c = 0x40FF2000;
  EXPECT_EQ(run(d, c, 0.25f, 0), ((d >> 1) & 0x7F7F7F7F) + ((c >> 2) & 0x3F3F3F3F) + ((d >> 2) & 0x3F3F3F3F));
  EXPECT_EQ(run(d, c, 0.75f, 0), ((c >> 2) & 0x3F3F3F3F) + ((c >> 1) & 0x7F7F7F7F) + ((d >> 2) & 0x3F3F3F3F));
  EXPECT_EQ(run(d, c, 1.0f, 7), d);
  EXPECT_EQ(run(d, c, 1.0f, 0x106), d);
  for (float alpha : {0.3f, 1.0f, -0.4f, 2.0f})
    for (int mode = 1; mode <= 5; ++mode)
      EXPECT_EQ(run(d, c, alpha, mode), ref::Mix(mode, d, c, LICE_WeightFromAlpha(alpha))) << mode << " " << alpha;
}
