#include <algorithm>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "lice/glyphs/LICE_GlyphBlend.h"
#include "tests/lice/BlendReference.h"

namespace {
const Pixel32 Text = 0x40FFC83F;  // its alpha byte plays no part in the loops
const Pixel32 Effect = 0xC0205080;

// Rows of random destination pixels under one mask value per column.
struct Scene
{
  std::vector<unsigned char> mask;
  std::vector<Pixel32> pixels;
  LICE_GlyphSpan span;

  Scene(const std::vector<int>& values, int rows, unsigned seed)
  {
    std::mt19937 random(seed);
    const int width = static_cast<int>(values.size());
    for (int i = 0; i < width * rows; ++i)
      mask.push_back(static_cast<unsigned char>(values[i % width]));
    for (int i = 0; i < width * rows; ++i)
      pixels.push_back(static_cast<Pixel32>(random()));
    span = LICE_GlyphSpan{mask.data(), width, pixels.data(), width, width, rows};
  }
};

// Plain masks weigh by coverage (v + 1 at full weight), mono and effect masks by the weight
// alone; the colour counts as opaque.
TEST(GlyphBlend, EveryFamilyAndModeFollowsItsWeightRule)
{
  using Family = LICE_GlyphFamily;
  for (int mode = 0; mode <= 5; ++mode)
    for (float alpha : {1.0f, 255 / 256.0f, 0.25f, 0.75f, 1.5f})
      for (Family family : {Family::Plain, Family::Mono, Family::Effect})
      {
        const int w = static_cast<int>(alpha * 256);
        const std::vector<int> values = family == Family::Plain  ? std::vector<int>{0, 1, 64, 128, 200, 254, 255}
                                        : family == Family::Mono ? std::vector<int>{0, 255}
                                                                 : std::vector<int>{0, 128, 255};
        Scene scene(values, 64, static_cast<unsigned>(mode * 1000 + w));
        const std::vector<Pixel32> before = scene.pixels;
        LICE_BlendGlyphSpan(scene.span, family, mode | BlendUseSourceAlpha, alpha, Text, Effect);
        for (size_t i = 0; i < before.size(); ++i)
        {
          const int v = scene.mask[i];
          const Pixel32 colour = family == Family::Effect && v != 255 ? Effect : Text;
          const int k = family == Family::Plain ? (w == 256 ? v + 1 : std::min(w * v / 256, 256)) : std::min(w, 256);
          Pixel32 expected = before[i];
          if (v && family != Family::Plain && alpha == 1.0f && mode == 0)
            expected = colour;  // stored whole
          else if (v)
            expected = ref::Mix(mode, before[i], colour | 0xFF000000, k);
          ASSERT_EQ(scene.pixels[i], expected)
            << "mode " << mode << " alpha " << alpha << " family " << int(family) << " v " << v;
        }
      }
}

TEST(GlyphBlend, WeightsThatDrawNothingAndUnknownModes)
{
  for (auto [mode, alpha] : {std::pair<int, float>{0, 0.0f},
                             {0, -0.5f},
                             {3, 0.001f},
                             {6, 1.0f},
                             {0xEF, 0.5f},
                             {0xF3, 1.0f},
                             {2, std::numeric_limits<float>::quiet_NaN()}})
  {
    Scene scene({0, 1, 128, 255}, 8, 3);
    const std::vector<Pixel32> before = scene.pixels;
    LICE_BlendGlyphSpan(scene.span, LICE_GlyphFamily::Plain, mode, alpha, Text, Effect);
    EXPECT_EQ(scene.pixels, before) << mode << " " << alpha;
  }
  // Negative weights subtract in add mode and scale up in multiply mode, never wrapping.
  Scene scene({255}, 1, 1);
  scene.pixels[0] = 0xFF102030;
  LICE_BlendGlyphSpan(scene.span, LICE_GlyphFamily::Mono, BlendAdd, -1.0f, 0xFFFFFFFF, Effect);
  EXPECT_EQ(scene.pixels[0], 0x00000000u);
  scene.pixels[0] = 0xFF102030;
  LICE_BlendGlyphSpan(scene.span, LICE_GlyphFamily::Plain, BlendMultiply, -16.0f, 0xFF000000, Effect);
  EXPECT_EQ(scene.pixels[0], 0xFFFFFFFFu);
}

}  // namespace
