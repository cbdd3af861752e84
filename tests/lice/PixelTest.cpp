#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <tuple>

#include "lice/LICE_Pixel.h"

namespace {

struct Hsv
{
  int h, s, v;
};
Hsv ToHsv(int r, int g, int b)
{
  Hsv out;
  LICE_PixelToHsv(r, g, b, &out.h, &out.s, &out.v);
  return out;
}
Pixel32 RoundTrip(int r, int g, int b, int a)
{
  const Hsv c = ToHsv(r, g, b);
  return LICE_HsvToPixel(c.h, c.s, c.v, a);
}

}  // namespace

TEST(Weight, TruncatesAndStaysBounded)
{
  const std::pair<double, int> cases[] = {
    {1.0, 256},        {0.5, 128},   {0.999, 255},
    {0.003, 0},        {-0.5, -128}, {-0.999, -255},
    {std::nan(""), 0}, {1e30, 4096}, {-std::numeric_limits<double>::infinity(), -4096}};
  for (auto [alpha, weight] : cases)
    EXPECT_EQ(LICE_WeightFromAlpha(alpha), weight) << alpha;
}

TEST(Hsv, ReciprocalsAndKnownColours)
{
  EXPECT_EQ(HsvReciprocals[0], 0);
  for (int i = 1; i < 256; ++i)
    ASSERT_EQ(HsvReciprocals[i], 65536 / i - 1) << i;
  const Hsv red = ToHsv(255, 0, 0), grey = ToHsv(77, 77, 77);
  EXPECT_EQ(std::make_tuple(red.h, red.s, red.v, grey.h, grey.s, grey.v), std::make_tuple(0, 255, 255, 256, 0, 77));
  EXPECT_EQ(LICE_HsvToPixel(-384, 255, 255, 255), 0xFFFF0000u);  // hues wrap
  EXPECT_EQ(LICE_HsvToPixel(1000, 255, 255, 255), LICE_HsvToPixel(1000 % 384, 255, 255, 255));
}

// Every colour against the textbook conversion in floating point, scaled to 384 hue steps and
// 256 levels; the round trip back through HSV is not exact, but within 5 levels.
TEST(Hsv, ConversionFollowsTheTextbookFormulaAndRoundTrips)
{
  int worst = 0;
  for (int r = 0; r < 256; ++r)
    for (int g = 0; g < 256; ++g)
      for (int b = 0; b < 256; ++b)
      {
        const int mx = std::max(r, std::max(g, b)), mn = std::min(r, std::min(g, b));
        const Hsv c = ToHsv(r, g, b);
        const Pixel32 p = LICE_HsvToPixel(c.h, c.s, c.v, 0x5A);
        const int dr = std::abs(LICE_Red(p) - r), dg = std::abs(LICE_Green(p) - g), db = std::abs(LICE_Blue(p) - b);
        worst = std::max(worst, std::max(dr, std::max(dg, db)));
        double hue = 0;  // textbook sector 0..6, times 64
        if (mx == mn)
          hue = c.h;
        else if (mx == r)
          hue = 64 * std::fmod(6.0 + double(g - b) / (mx - mn), 6.0);
        else if (mx == g)
          hue = 64 * (2.0 + double(b - r) / (mx - mn));
        else
          hue = 64 * (4.0 + double(r - g) / (mx - mn));
        const double hueError = std::min(std::fabs(c.h - hue), 384 - std::fabs(c.h - hue));
        const double saturation = mx ? (mx - mn) * 256.0 / mx : c.s;
        if (c.v != mx || c.h < 0 || c.h >= 384 || c.s > 255 || hueError > 2 || std::fabs(c.s - saturation) > 3 ||
            LICE_Alpha(p) != 0x5A)
          FAIL() << r << " " << g << " " << b << ": " << c.h << " " << c.s << " " << c.v;
      }
  EXPECT_LE(worst, 5);
}

TEST(Hsv, AdjustWrapsTheHueAnyNumberOfTurns)
{
  std::mt19937 rng(3);
  for (int i = 0; i < 2000; ++i)
  {
    const Pixel32 d = rng();
    const Pixel32 neutral = RoundTrip(LICE_Red(d), LICE_Green(d), LICE_Blue(d), 9);
    // 128 is no change; red 160 shifts the hue by w * 48 / 256, whole turns at w = +-2048, +-4096.
    const std::pair<int, int> noChange[] = {{128, 256}, {160, 2048}, {160, 4096}, {160, -2048}, {160, -4096}};
    for (auto [red, w] : noChange)
    {
      Pixel32 p = d;
      LICE_MixHsvPixel(&p, red, 128, 128, 9, w);
      ASSERT_EQ(p, neutral) << red << " " << w;
    }
    // Extreme saturation and value shifts saturate instead of wrapping.
    Pixel32 p = d;
    LICE_MixHsvPixel(&p, 0, 255, 255, 200, 4096);
    ASSERT_EQ(LICE_Alpha(p), 200);
    ASSERT_EQ(std::max({LICE_Red(p), LICE_Green(p), LICE_Blue(p)}), 255);
  }
}

// Overlay with 128 is neutral at every weight; weights up to the limit of 16 x 256 must not
// overflow (UBSan).
TEST(MixHelpers, NeutralOverlayAndOutOfRangeWeights)
{
  for (int w = 0; w <= 256; ++w)
    for (int c = 0; c < 256; ++c)
      ASSERT_EQ(LICE_OverlayChannel(c, 128, w), c);
  std::mt19937 rng(5);
  for (int i = 0; i < 20000; ++i)
  {
    const int w = static_cast<int>(rng() % 8193) - 4096;
    Pixel32 q = rng();
    LICE_MixOverlayPixel(&q, rng() & 255, rng() & 255, rng() & 255, rng() & 255, w);
    LICE_MixDodgePixel(&q, rng() & 255, rng() & 255, rng() & 255, rng() & 255, w);
    LICE_MixHsvPixel(&q, rng() & 255, rng() & 255, rng() & 255, rng() & 255, w);
  }
}
