// Where real text landed on a bitmap, for the tests of the platform rasterisers.
#pragma once

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

#include "lice/LICE_CachedFont.h"

struct TextInk
{
  int minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1, full = 0;
};

// The box of the pixels that differ from opaque black, and the count of those in `colour`.
// Alpha is ignored: GDI may leave it cleared.
inline TextInk FindInk(const LICE_IBitmap& bitmap, Pixel32 colour)
{
  TextInk ink;
  for (int y = 0; y < bitmap.PixelHeight(); ++y)
    for (int x = 0; x < bitmap.PixelWidth(); ++x)
    {
      const Pixel32 p = bitmap.PixelData()[y * bitmap.RowPitch() + x] | 0xFF000000;
      if (p == 0xFF000000)
        continue;
      ink.minX = std::min(ink.minX, x), ink.maxX = std::max(ink.maxX, x);
      ink.minY = std::min(ink.minY, y), ink.maxY = std::max(ink.maxY, y);
      ink.full += p == colour;
    }
  return ink;
}

inline void ClearToBlack(LICE_IBitmap& bitmap)
{
  for (int y = 0; y < bitmap.PixelHeight(); ++y)
    std::fill_n(bitmap.PixelData() + y * bitmap.RowPitch(), bitmap.PixelWidth(), 0xFF000000);
}

// Draws a value as the editor's knobs do (one line, centred both ways, unclipped) into a
// 100 x 40 bitmap and checks that its ink lies centred inside the 80 px wide rectangle.
inline void ExpectKnobTextCentred(LICE_CachedFont& font, LICE_IBitmap& bitmap, int size, int minFull)
{
  const int flags = LICE_DT_SINGLELINE | LICE_DT_VCENTER | LICE_DT_NOCLIP;
  ClearToBlack(bitmap);
  LICE_TextRect measured{0, 0, 0, 0}, rect{10, 10, 90, 10 + size + 4};
  font.PaintText(&bitmap, "-12 dB", -1, &measured, flags | LICE_DT_CALCRECT);
  EXPECT_EQ(font.PaintText(&bitmap, "-12 dB", -1, &rect, flags | LICE_DT_CENTER), size);
  const TextInk ink = FindInk(bitmap, font.CurrentTextColour());
  const int textLeft = 10 + (80 - measured.right) / 2;
  EXPECT_GT(ink.full, minFull);
  EXPECT_GE(ink.minX, textLeft);
  EXPECT_LT(ink.maxX, textLeft + measured.right);
  EXPECT_LE(std::abs(ink.minX + ink.maxX - 100), 4);  // centred on column 50
  EXPECT_GE(ink.minY, 12);                            // 2 px below the top
  EXPECT_LT(ink.maxY, 12 + size);
}
