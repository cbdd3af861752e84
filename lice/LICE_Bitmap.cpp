#include "lice/LICE_Bitmap.h"

#include <cstdlib>

static_assert(LICE_MaxBitmapBytes + LICE_MaxBitmapBytes / 4 + 63 < INT32_MAX, "allocated sizes are kept in an int");

LICE_MemBitmap::LICE_MemBitmap(int width, int height)
{
  if (width > 0 && height > 0)
    Reallocate(width, height);
}

LICE_MemBitmap::~LICE_MemBitmap()
{
  std::free(mStorage);
}

Pixel32* LICE_MemBitmap::PixelData() const
{
  if (!mStorage)
    return nullptr;
  const std::uintptr_t p = reinterpret_cast<std::uintptr_t>(mStorage);
  return reinterpret_cast<Pixel32*>((p + 63) & ~std::uintptr_t(63));
}

bool LICE_MemBitmap::Reallocate(int width, int height)
{
  if (width == mWidth && height == mHeight)
    return false;
  mWidth = width;
  mHeight = height;
  const std::int64_t bytes = width > 0 ? LICE_StoreBytes(LICE_AlignedPitch(width), height) : -1;
  if (bytes > 0)
  {
    if (!mStorage)
    {
      mStorage = std::malloc(static_cast<std::size_t>(bytes + 63));
      mAllocated = static_cast<int>(bytes);
    }
    else if (mAllocated < bytes)
    {
      const std::int64_t grown = bytes + bytes / 4;
      void* p = std::realloc(mStorage, static_cast<std::size_t>(grown + 63));
      if (p)
      {
        mStorage = p;
        mAllocated = static_cast<int>(grown);
      }
      else
      {
        std::free(mStorage);
        mStorage = std::malloc(static_cast<std::size_t>(bytes + 63));
        mAllocated = static_cast<int>(bytes);
      }
    }
  }
  else
  {
    std::free(mStorage);
    mStorage = nullptr;
  }
  if (!mStorage)
  {
    mAllocated = 0;
    mWidth = 0;
    mHeight = 0;
  }
  return true;
}
