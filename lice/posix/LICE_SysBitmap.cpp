// Without GDI the system bitmap is an aligned heap block with the DIB section's growth rules.
#include "lice/LICE_Bitmap.h"

#include <cstdlib>

LICE_SysBitmap::LICE_SysBitmap(int width, int height)
{
  mDc = this;  // stands in for the memory device context; never dereferenced
  Reallocate(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  ReleasePixels();
}

void LICE_SysBitmap::ReleasePixels()
{
  std::free(mBits);
  mBits = nullptr;
}

bool LICE_SysBitmap::Reallocate(int width, int height)
{
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
  if (bytes > 0)
    mBits = static_cast<Pixel32*>(std::aligned_alloc(64, static_cast<std::size_t>((bytes + 63) & ~63)));
  if (!mBits)
  {
    mWidth = mHeight = mAllocWidth = mAllocHeight = 0;
    return true;
  }
  mAllocWidth = static_cast<int>(allocWidth);
  mAllocHeight = height;
  return true;
}
