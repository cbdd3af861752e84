// Without GDI the system bitmap's pixels are an aligned heap block.
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

Pixel32* LICE_SysBitmap::AllocatePixels(int, int, std::int64_t bytes)
{
  return static_cast<Pixel32*>(std::aligned_alloc(64, static_cast<std::size_t>((bytes + 63) & ~63)));
}
