#include "lice/LICE_AreaBitmap.h"

#include <algorithm>
#include <cstddef>

LICE_AreaBitmap::LICE_AreaBitmap(LICE_IBitmap& bitmap, int left, int top, int right, int bottom) : mBitmap(bitmap)
{
  mLeft = std::max(left, 0);
  mTop = std::max(top, 0);
  const int width = std::min(right, bitmap.PixelWidth()) - mLeft;
  const int height = std::min(bottom, bitmap.PixelHeight()) - mTop;
  // An area that misses the bitmap is no pixels at all.
  if (width > 0 && height > 0)
  {
    mWidth = width;
    mHeight = height;
  }
}

Pixel32* LICE_AreaBitmap::PixelData() const
{
  Pixel32* pixels = mBitmap.PixelData();
  if (!pixels || mWidth == 0)
    return nullptr;
  // The area's first row in memory: its top one, or its bottom one in an upside-down bitmap.
  const int firstRow = mBitmap.IsUpsideDown() ? mBitmap.PixelHeight() - (mTop + mHeight) : mTop;
  return pixels + static_cast<std::ptrdiff_t>(firstRow) * mBitmap.RowPitch() + mLeft;
}
