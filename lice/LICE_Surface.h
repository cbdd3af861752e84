// Pixel addressing shared by the drawing routines: one read of a bitmap's virtual accessors per
// call, rows addressed in drawing order whichever way the bitmap lies in memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lice/LICE_Bitmap.h"

struct LICE_Surface
{
  Pixel32* data = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
  bool upsideDown = false;

  explicit LICE_Surface(const LICE_IBitmap* bitmap)
  {
    if (!bitmap)
      return;
    data = bitmap->PixelData();
    width = bitmap->PixelWidth();
    height = bitmap->PixelHeight();
    pitch = bitmap->RowPitch();
    upsideDown = bitmap->IsUpsideDown();
  }

  // Something to draw on: pixels, a positive size, and rows at least as long as the width.
  bool Usable() const { return data && width > 0 && height > 0 && pitch >= width; }

  // Pixel `x` of row `y` (0 = top row as drawn); both must lie inside the bitmap.
  Pixel32* At(std::int64_t x, std::int64_t y) const
  {
    const std::int64_t row = upsideDown ? height - 1 - y : y;
    return data + static_cast<std::ptrdiff_t>(row * pitch + x);
  }

  // Pointer step from one drawn row to the next.
  std::ptrdiff_t RowStep() const { return upsideDown ? -std::ptrdiff_t(pitch) : std::ptrdiff_t(pitch); }
};
