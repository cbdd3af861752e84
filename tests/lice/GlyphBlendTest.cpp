#include <algorithm>
#include <limits>
#include <utility>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "lice/glyphs/LICE_GlyphBlend.h"

namespace
{
int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

// One channel of each combine mode with weight k, written from the mode table.
int Channel(int mode, int c, int s, int k)
{
  switch (mode)
  {
  case 0: return Clamp(s + (c - s) * (256 - k) / 256);
  case 1: return Clamp(c + s * k / 256);
  case 2:
  {
    const int kk = s * k / 256;
    return Clamp(kk >= 255 ? c * 256 : c * 256 / (256 - kk));
  }
  case 3: return Clamp((c * (s * k + (256 - k) * 256)) >> 16);
  case 4:
  {
    const int m = s * k + (256 - k) * 128;
    return Clamp(((c * (32768 - m) / 256 + m) * c) >> 15);
  }
  }
  return c;
}

Pixel32 Expected(int mode, Pixel32 dest, Pixel32 colour, int k)
{
  if (mode == 5)
  {
    Pixel32 p = dest;
    LICE_MixHsvPixel(&p, LICE_Red(colour), LICE_Green(colour), LICE_Blue(colour), 255, k);
    return p;
  }
  return LICE_Rgba(Channel(mode, LICE_Red(dest), LICE_Red(colour), k),
                   Channel(mode, LICE_Green(dest), LICE_Green(colour), k),
                   Channel(mode, LICE_Blue(dest), LICE_Blue(colour), k),
                   Channel(mode, LICE_Alpha(dest), 255, k));
}

struct Scene
{
  std::vector<unsigned char> mask;
  std::vector<Pixel32> pixels;
  LICE_GlyphSpan span;
};

// One row per destination sample, one column per mask value.
Scene MakeScene(const std::vector<int>& values, int rows, unsigned seed)
{
  Scene scene;
  std::mt19937 random(seed);
  const int width = static_cast<int>(values.size());
  for (int y = 0; y < rows; ++y)
    for (int v : values) scene.mask.push_back(static_cast<unsigned char>(v));
  for (int i = 0; i < width * rows; ++i) scene.pixels.push_back(static_cast<Pixel32>(random()));
  scene.span = LICE_GlyphSpan{scene.mask.data(), width, scene.pixels.data(), width, width, rows};
  return scene;
}

const Pixel32 Text = 0x40FFC83F;  // its alpha byte plays no part in the loops
const Pixel32 Effect = 0xC0205080;

TEST(GlyphBlend, EveryFamilyAndModeFollowsItsWeightRule)
{
  const std::vector<int> plainValues = {0, 1, 64, 128, 200, 254, 255};
  const float alphas[] = {1.0f, 255 / 256.0f, 0.25f, 0.75f, 1.5f};
  for (int mode = 0; mode <= 5; ++mode)
  {
    for (float alpha : alphas)
    {
      const int w = static_cast<int>(alpha * 256);
      for (LICE_GlyphFamily family : {LICE_GlyphFamily::Plain, LICE_GlyphFamily::Mono, LICE_GlyphFamily::Effect})
      {
        const std::vector<int> values = family == LICE_GlyphFamily::Plain  ? plainValues
                                        : family == LICE_GlyphFamily::Mono ? std::vector<int>{0, 255}
                                                                           : std::vector<int>{0, 128, 255};
        Scene scene = MakeScene(values, 64, static_cast<unsigned>(mode * 1000 + w));
        const std::vector<Pixel32> before = scene.pixels;
        LICE_BlendGlyphSpan(scene.span, family, mode | BlendUseSourceAlpha, alpha, Text, Effect);
        for (size_t i = 0; i < before.size(); ++i)
        {
          const int v = values[i % values.size()];
          Pixel32 expected = before[i];
          const bool whole = family != LICE_GlyphFamily::Plain && alpha == 1.0f && mode == 0;
          if (v && whole)
            expected = v == 255 ? Text : Effect;
          else if (v)
          {
            const int k = family == LICE_GlyphFamily::Plain ? (w == 256 ? v + 1 : std::min(w * v / 256, 256))
                                                            : std::min(w, 256);
            const Pixel32 colour = family == LICE_GlyphFamily::Effect && v != 255 ? Effect : Text;
            expected = Expected(mode, before[i], colour, k);
          }
          ASSERT_EQ(scene.pixels[i], expected)
              << "mode " << mode << " alpha " << alpha << " family " << int(family) << " v " << v;
        }
      }
    }
  }
}

TEST(GlyphBlend, WeightsThatDrawNothingAndUnknownModes)
{
  for (auto [mode, alpha] : {std::pair<int, float>{0, 0.0f}, {0, -0.5f}, {3, 0.001f}, {6, 1.0f}, {0xEF, 0.5f},
                             {0xF3, 1.0f}, {2, std::numeric_limits<float>::quiet_NaN()}})
  {
    Scene scene = MakeScene({0, 1, 128, 255}, 8, 3);
    const std::vector<Pixel32> before = scene.pixels;
    LICE_BlendGlyphSpan(scene.span, LICE_GlyphFamily::Plain, mode, alpha, Text, Effect);
    EXPECT_EQ(scene.pixels, before) << mode << " " << alpha;
  }
  // A negative weight subtracts in add mode, and never wraps a channel.
  Scene scene = MakeScene({255}, 1, 1);
  scene.pixels[0] = 0xFF102030;
  LICE_BlendGlyphSpan(scene.span, LICE_GlyphFamily::Mono, BlendAdd, -1.0f, 0xFFFFFFFF, Effect);
  EXPECT_EQ(scene.pixels[0], 0x00000000u);
  scene.pixels[0] = 0xFF102030;
  LICE_BlendGlyphSpan(scene.span, LICE_GlyphFamily::Plain, BlendMultiply, -16.0f, 0xFF000000, Effect);
  EXPECT_EQ(scene.pixels[0], 0xFFFFFFFFu);
}

} // namespace
