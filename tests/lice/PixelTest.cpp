#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

#include "lice/LICE_Pixel.h"

namespace {

int HueOf(int r, int g, int b)
{
  int h, s, v;
  LICE_PixelToHsv(r, g, b, &h, &s, &v);
  return h;
}

Pixel32 RoundTrip(int r, int g, int b, int a)
{
  int h, s, v;
  LICE_PixelToHsv(r, g, b, &h, &s, &v);
  return LICE_HsvToPixel(h, s, v, a);
}

} // namespace

TEST(Weight, TruncatesAndStaysBounded)
{
  EXPECT_EQ(LICE_WeightFromAlpha(1.0), 256);
  EXPECT_EQ(LICE_WeightFromAlpha(0.5), 128);
  EXPECT_EQ(LICE_WeightFromAlpha(0.999), 255);
  EXPECT_EQ(LICE_WeightFromAlpha(0.003), 0);
  EXPECT_EQ(LICE_WeightFromAlpha(-0.5), -128);
  EXPECT_EQ(LICE_WeightFromAlpha(-0.999), -255);
  EXPECT_EQ(LICE_WeightFromAlpha(std::nan("")), 0);
  EXPECT_EQ(LICE_WeightFromAlpha(1e30), 4096);
  EXPECT_EQ(LICE_WeightFromAlpha(-std::numeric_limits<double>::infinity()), -4096);
}

TEST(Hsv, ReciprocalsAndKnownColours)
{
  EXPECT_EQ(HsvReciprocals[0], 0);
  EXPECT_EQ(HsvReciprocals[1], 65535);
  EXPECT_EQ(HsvReciprocals[2], 32767);
  EXPECT_EQ(HsvReciprocals[3], 21844);
  EXPECT_EQ(HsvReciprocals[255], 256);

  int h, s, v;
  LICE_PixelToHsv(255, 0, 0, &h, &s, &v);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(s, 255);
  EXPECT_EQ(v, 255);
  EXPECT_EQ(LICE_HsvToPixel(0, 255, 255, 255), 0xFFFF0000u);
  LICE_PixelToHsv(77, 77, 77, &h, &s, &v);
  EXPECT_EQ(h, 256);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(v, 77);
  EXPECT_EQ(HueOf(0, 255, 0), 128);
  EXPECT_EQ(HueOf(0, 0, 255), 256);
}

// Against the textbook conversion in floating point, scaled to 384 hue steps and 256 levels.
TEST(Hsv, ConversionFollowsTheTextbookFormula)
{
  std::mt19937 rng(7);
  for (int i = 0; i < 200000; ++i)
  {
    const int r = rng() & 255, g = rng() & 255, b = rng() & 255;
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    int h, s, v;
    LICE_PixelToHsv(r, g, b, &h, &s, &v);
    ASSERT_EQ(v, mx);
    ASSERT_GE(h, 0);
    ASSERT_LT(h, 384);
    ASSERT_LE(s, 255);
    if (mx == 0) continue;
    ASSERT_NEAR(s, (mx - mn) * 256.0 / mx, 3.0) << r << " " << g << " " << b;
    if (mx == mn) continue;
    double sector; // 0..6
    if (mx == r) sector = std::fmod(6.0 + double(g - b) / (mx - mn), 6.0);
    else if (mx == g) sector = 2.0 + double(b - r) / (mx - mn);
    else sector = 4.0 + double(r - g) / (mx - mn);
    double diff = std::fabs(h - sector * 64.0);
    diff = std::min(diff, 384.0 - diff);
    ASSERT_LE(diff, 2.0) << r << " " << g << " " << b << " hue " << h;
  }
}

// The round trip through HSV is not exact: every colour comes back within 5 levels.
TEST(Hsv, RoundTripOfEveryColourIsWithinFiveLevels)
{
  int worst = 0;
  for (int r = 0; r < 256; ++r)
    for (int g = 0; g < 256; ++g)
      for (int b = 0; b < 256; ++b)
      {
        const Pixel32 p = RoundTrip(r, g, b, 0x5A);
        worst = std::max({worst, std::abs(LICE_Red(p) - r), std::abs(LICE_Green(p) - g), std::abs(LICE_Blue(p) - b)});
        if (LICE_Alpha(p) != 0x5A) FAIL();
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
    Pixel32 p = d;
    LICE_MixHsvPixel(&p, 128, 128, 128, 9, 256);
    ASSERT_EQ(p, neutral);
    // Red 160 shifts the hue by w * 48 / 256: one whole turn at w = 2048, two at w = 4096.
    for (int w : {2048, 4096, -2048, -4096})
    {
      p = d;
      LICE_MixHsvPixel(&p, 160, 128, 128, 9, w);
      ASSERT_EQ(p, neutral) << w;
    }
    // Extreme saturation and value shifts saturate instead of wrapping.
    p = d;
    LICE_MixHsvPixel(&p, 0, 255, 255, 200, 4096);
    ASSERT_EQ(LICE_Alpha(p), 200);
    ASSERT_EQ(std::max({LICE_Red(p), LICE_Green(p), LICE_Blue(p)}), 255);
  }
  EXPECT_EQ(LICE_HsvToPixel(-384, 255, 255, 255), LICE_HsvToPixel(0, 255, 255, 255));
  EXPECT_EQ(LICE_HsvToPixel(1000, 255, 255, 255), LICE_HsvToPixel(1000 % 384, 255, 255, 255));
}

TEST(MixHelpers, SpecialValues)
{
  Pixel32 p = 0x00804001;
  LICE_MixDodgePixel(&p, 255, 255, 255, 255, 256);
  EXPECT_EQ(p, 0x00FFFFFFu); // non-zero channels saturate, zero stays zero
  p = 0x00000001;
  LICE_MixDodgePixel(&p, 0, 0, 255, 0, 255); // k = 254: c * 256 / 2
  EXPECT_EQ(p, 0x00000080u);
  for (int w = 0; w <= 256; ++w)
    for (int c = 0; c < 256; ++c) ASSERT_EQ(LICE_OverlayChannel(c, 128, w), c);
  p = 0xFF00FF00;
  LICE_MixAddPixel(&p, 255, 255, 255, 255, 256);
  EXPECT_EQ(p, 0xFFFFFFFFu);
  p = 0x12345678;
  LICE_MixCopyPixel(&p, 1, 2, 3, 4, 0);
  EXPECT_EQ(p, 0x12345678u);
  LICE_MixCopyPixel(&p, 1, 2, 3, 4, 256);
  EXPECT_EQ(p, 0x04010203u);
}

TEST(MixHelpers, OutOfRangeWeightsSaturateInsteadOfWrapping)
{
  Pixel32 p = LICE_Rgba(200, 200, 10, 255);
  LICE_MixCopyPixel(&p, 50, 250, 10, 255, 512); // 2s - c: -100, 300, 10
  EXPECT_EQ(p, LICE_Rgba(0, 255, 10, 255));
  p = LICE_Rgba(200, 100, 0, 255);
  LICE_MixMultiplyPixel(&p, 0, 0, 0, 255, -256); // factor 2
  EXPECT_EQ(p, LICE_Rgba(255, 200, 0, 255));
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
