#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <random>

#include "lice/LICE_AreaBitmap.h"
#include "lice/LICE_Bitmap.h"
#include "lice/LICE_Blit.h"
#include "tests/lice/TestBitmaps.h"

namespace {

bool Aligned64(const void* p)
{
  return (reinterpret_cast<std::uintptr_t>(p) & 63) == 0;
}

bool Empty(const LICE_IBitmap& b)
{
  return !b.PixelData() && b.PixelWidth() == 0 && b.PixelHeight() == 0;
}

}  // namespace

// Each store is written whole with memset, so a short allocation shows under ASan.
TEST(MemBitmap, PitchAlignmentAndGrowthRules)
{
  LICE_MemBitmap bitmap;
  EXPECT_FALSE(bitmap.Reallocate(0, 0));
  EXPECT_TRUE(bitmap.Reallocate(5, 2));
  EXPECT_EQ(bitmap.RowPitch(), 8);
  EXPECT_EQ(bitmap.AllocatedBytes(), 2 * 8 * 4);
  EXPECT_TRUE(Aligned64(bitmap.PixelData()));
  std::memset(bitmap.PixelData(), 0xAB, 2 * 8 * 4);
  Pixel32* before = bitmap.PixelData();
  EXPECT_TRUE(bitmap.Reallocate(4, 2));  // smaller: same storage
  EXPECT_EQ(bitmap.PixelData(), before);
  EXPECT_EQ(bitmap.RowPitch(), 4);
  EXPECT_FALSE(bitmap.Reallocate(4, 2));
  EXPECT_TRUE(bitmap.Reallocate(20, 10));  // larger: a quarter beyond the request
  EXPECT_EQ(bitmap.AllocatedBytes(), 1000);
  EXPECT_TRUE(Aligned64(bitmap.PixelData()));
  std::memset(bitmap.PixelData(), 0, 10 * 20 * 4);
  EXPECT_TRUE(bitmap.Reallocate(20, 12));  // fits in that quarter
  EXPECT_EQ(bitmap.AllocatedBytes(), 1000);
  EXPECT_TRUE(bitmap.Reallocate(0, 3));
  EXPECT_TRUE(Empty(bitmap));
  EXPECT_EQ(bitmap.AllocatedBytes(), 0);
}

// A shrinking section keeps its pixels and pitch; a growing one rounds its width up to 4.
TEST(SysBitmap, ShrinkKeepsPixelsAndPitchGrowRoundsUp)
{
  LICE_SysBitmap bitmap(10, 6);
  EXPECT_NE(bitmap.DrawingContext(), nullptr);
  EXPECT_EQ(bitmap.RowPitch(), 12);
  std::memset(bitmap.PixelData(), 0x11, 12 * 6 * 4);
  Pixel32* pixels = bitmap.PixelData();
  EXPECT_TRUE(bitmap.Reallocate(3, 2));
  EXPECT_EQ(bitmap.PixelData(), pixels);
  EXPECT_EQ(bitmap.RowPitch(), 12);
  EXPECT_FALSE(bitmap.Reallocate(3, 2));
  EXPECT_TRUE(bitmap.Reallocate(13, 7));
  EXPECT_EQ(bitmap.RowPitch(), 16);
  std::memset(bitmap.PixelData(), 0x22, 16 * 7 * 4);
  EXPECT_FALSE(bitmap.Reallocate(0, 5));
  EXPECT_TRUE(Empty(bitmap));
}

// Byte counts that overflow 32 bits or pass the cap fail cleanly instead of allocating a
// wrapped-around small block.
TEST(Bitmaps, EmptyHugeOrNegativeSizesHoldNoPixels)
{
  EXPECT_TRUE(Empty(LICE_MemBitmap(5, 0)));
  EXPECT_TRUE(Empty(LICE_SysBitmap(0, 0)));
  const int sizes[][2] = {{1000000, 1074}, {INT_MAX, 1}, {INT_MAX - 2, 2},   {1, INT_MAX},      {65536, 65536},
                          {-5, 4},         {4, -5},      {INT_MIN, INT_MIN}, {(1 << 26) + 1, 1}};
  for (const auto& s : sizes)
  {
    LICE_MemBitmap mem(3, 3);
    LICE_SysBitmap sys(3, 3);
    mem.Reallocate(s[0], s[1]);
    sys.Reallocate(s[0], s[1]);
    EXPECT_TRUE(Empty(mem) && Empty(sys) && Empty(LICE_MemBitmap(s[0], s[1]))) << s[0] << " x " << s[1];
    EXPECT_TRUE(sys.Reallocate(4, 4) && sys.PixelData());
  }
  EXPECT_NE(LICE_MemBitmap(1 << 26, 1).PixelData(), nullptr);  // exactly the cap
}

// Drawn through a view, a fill lands on the pixels it gives drawn into the whole bitmap, inside
// the area only: random areas (some past the bitmap or missing it) and fills, both row orders.
TEST(AreaBitmap, DrawsTheWholeBitmapsPixelsInsideTheAreaOnly)
{
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> any(-8, 40);
  for (int round = 0; round < 400; ++round)
  {
    const int l = any(rng), t = any(rng), r = any(rng), b = any(rng);
    const int x = any(rng), y = any(rng), w = any(rng), h = any(rng);
    const Pixel32 colour = static_cast<Pixel32>(rng());
    GuardedBitmap whole(31, 23, round % 2), viewed(31, 23, round % 2);
    LICE_PaintRect(&whole, x, y, w, h, colour, 1.0f, BlendCopy);
    LICE_AreaBitmap area(viewed, l, t, r, b);
    LICE_PaintRect(&area, x - area.Left(), y - area.Top(), w, h, colour, 1.0f, BlendCopy);
    EXPECT_EQ(area.DrawingContext(), nullptr);
    ASSERT_TRUE(viewed.GuardsIntact()) << "round " << round;
    for (int py = 0; py < 23; ++py)
      for (int px = 0; px < 31; ++px)
        ASSERT_EQ(viewed.At(px, py), px >= l && px < r && py >= t && py < b ? whole.At(px, py) : 0u)
          << "round " << round << " at " << px << "," << py;
  }
}
