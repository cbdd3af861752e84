// The growth rules of the system bitmap, the same on every platform: a bitmap that shrinks
// keeps its larger pixels and its row pitch; one that grows gets a new block whose width is
// rounded up to 4. The platform files make and release the pixels.
#include "lice/LICE_Bitmap.h"

bool LICE_SysBitmap::Reallocate(int width, int height)
{
  if (!mDc)
  {
    mWidth = mHeight = 0;
    mBits = nullptr;
    return false;
  }
  if (width == mWidth && height == mHeight)
    return false;
  mWidth = width;
  mHeight = height;
  if (width > 0 && height > 0 && mAllocWidth >= width && mAllocHeight >= height && mBits)
    return true;

  ReleasePixels();
  const std::int64_t allocWidth = LICE_AlignedPitch(width);
  if (allocWidth < 1 || height < 1)
  {
    mWidth = mHeight = mAllocWidth = mAllocHeight = 0;
    return false;
  }
  const std::int64_t bytes = LICE_StoreBytes(allocWidth, height);
  mBits = bytes > 0 ? AllocatePixels(static_cast<int>(allocWidth), height, bytes) : nullptr;
  if (!mBits)
  {
    mWidth = mHeight = mAllocWidth = mAllocHeight = 0;
    return true;
  }
  mAllocWidth = static_cast<int>(allocWidth);
  mAllocHeight = height;
  return true;
}
