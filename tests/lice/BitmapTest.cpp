#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>

#include "lice/LICE_Bitmap.h"

namespace {

bool Aligned64(const void* p) { return (reinterpret_cast<std::uintptr_t>(p) & 63) == 0; }

} // namespace

TEST(MemBitmap, EmptyUntilSized)
{
  LICE_MemBitmap bitmap(0, 0);
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.PixelWidth(), 0);
  EXPECT_EQ(bitmap.PixelHeight(), 0);
  EXPECT_FALSE(bitmap.Reallocate(0, 0));
  EXPECT_EQ(bitmap.DrawingContext(), nullptr);
  EXPECT_FALSE(bitmap.IsUpsideDown());
  LICE_MemBitmap flat(5, 0);
  EXPECT_EQ(flat.PixelData(), nullptr);
  EXPECT_EQ(flat.PixelWidth(), 0);
}

TEST(MemBitmap, PitchAlignmentAndGrowthRules)
{
  LICE_MemBitmap bitmap;
  EXPECT_TRUE(bitmap.Reallocate(5, 2));
  EXPECT_EQ(bitmap.RowPitch(), 8);
  EXPECT_EQ(bitmap.AllocatedBytes(), 2 * 8 * 4);
  EXPECT_TRUE(Aligned64(bitmap.PixelData()));
  std::memset(bitmap.PixelData(), 0xAB, 2 * 8 * 4); // the whole store is writable

  Pixel32* before = bitmap.PixelData();
  EXPECT_TRUE(bitmap.Reallocate(4, 2)); // smaller: same storage
  EXPECT_EQ(bitmap.PixelData(), before);
  EXPECT_EQ(bitmap.RowPitch(), 4);
  EXPECT_FALSE(bitmap.Reallocate(4, 2));

  EXPECT_TRUE(bitmap.Reallocate(20, 10)); // larger: grows by a quarter beyond the request
  EXPECT_EQ(bitmap.AllocatedBytes(), 10 * 20 * 4 + 10 * 20 * 4 / 4);
  EXPECT_TRUE(Aligned64(bitmap.PixelData()));
  std::memset(bitmap.PixelData(), 0, 10 * 20 * 4);
  EXPECT_TRUE(bitmap.Reallocate(20, 12)); // fits in the quarter: no change of store size
  EXPECT_EQ(bitmap.AllocatedBytes(), 1000);

  EXPECT_TRUE(bitmap.Reallocate(0, 3));
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.PixelWidth(), 0);
  EXPECT_EQ(bitmap.PixelHeight(), 0);
  EXPECT_EQ(bitmap.AllocatedBytes(), 0);
}

// Sizes whose byte count overflows 32 bits, or exceeds the cap, fail cleanly instead of
// allocating a wrapped-around small block.
TEST(MemBitmap, HugeOrNegativeSizesFailCleanly)
{
  const int sizes[][2] = {{1000000, 1074}, {INT_MAX, 1}, {INT_MAX - 2, 2}, {1, INT_MAX}, {65536, 65536},
                          {-5, 4}, {4, -5}, {INT_MIN, INT_MIN}, {(1 << 26) + 1, 1}};
  for (const auto& s : sizes)
  {
    LICE_MemBitmap bitmap(3, 3);
    EXPECT_TRUE(bitmap.Reallocate(s[0], s[1]));
    EXPECT_EQ(bitmap.PixelData(), nullptr) << s[0] << " x " << s[1];
    EXPECT_EQ(bitmap.PixelWidth(), 0);
    EXPECT_EQ(bitmap.PixelHeight(), 0);
    LICE_MemBitmap fresh(s[0], s[1]);
    EXPECT_EQ(fresh.PixelData(), nullptr);
  }
  LICE_MemBitmap atCap(1 << 26, 1); // exactly the cap is allowed
  EXPECT_NE(atCap.PixelData(), nullptr);
}

TEST(SysBitmap, ShrinkKeepsPixelsAndPitchGrowRoundsUp)
{
  LICE_SysBitmap bitmap(10, 6);
  ASSERT_NE(bitmap.PixelData(), nullptr);
  EXPECT_NE(bitmap.DrawingContext(), nullptr);
  EXPECT_EQ(bitmap.RowPitch(), 12);
  std::memset(bitmap.PixelData(), 0x11, 12 * 6 * 4);
  Pixel32* pixels = bitmap.PixelData();

  EXPECT_TRUE(bitmap.Reallocate(3, 2));
  EXPECT_EQ(bitmap.PixelData(), pixels);
  EXPECT_EQ(bitmap.RowPitch(), 12);
  EXPECT_EQ(bitmap.PixelWidth(), 3);
  EXPECT_EQ(bitmap.PixelHeight(), 2);
  EXPECT_FALSE(bitmap.Reallocate(3, 2));

  EXPECT_TRUE(bitmap.Reallocate(13, 7));
  EXPECT_EQ(bitmap.RowPitch(), 16);
  ASSERT_NE(bitmap.PixelData(), nullptr);
  std::memset(bitmap.PixelData(), 0x22, 16 * 7 * 4);
}

TEST(SysBitmap, EmptyAndFailedSizesLeaveNoPixels)
{
  LICE_SysBitmap empty(0, 0);
  EXPECT_EQ(empty.PixelData(), nullptr);
  EXPECT_EQ(empty.PixelWidth(), 0);
  LICE_SysBitmap bitmap(8, 8);
  EXPECT_FALSE(bitmap.Reallocate(0, 5)); // nothing to allocate
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.PixelWidth(), 0);
  EXPECT_EQ(bitmap.PixelHeight(), 0);
  EXPECT_TRUE(bitmap.Reallocate(1000000, 1074));
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.PixelWidth(), 0);
  EXPECT_FALSE(bitmap.Reallocate(-4, -4));
  EXPECT_EQ(bitmap.PixelWidth(), 0);
  EXPECT_TRUE(bitmap.Reallocate(4, 4));
  EXPECT_NE(bitmap.PixelData(), nullptr);
}
