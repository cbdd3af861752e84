#include <gtest/gtest.h>

#include "lice/LICE_Bitmap.h"

TEST(MemBitmap, EmptyUntilSized)
{
  LICE_MemBitmap bitmap(0, 0);
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_EQ(bitmap.PixelWidth(), 0);
  EXPECT_FALSE(bitmap.Reallocate(0, 0));
}
