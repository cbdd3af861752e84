// The system bitmap as a top-down 32-bit DIB section selected into a memory device context,
// so GDI can draw into it and copy it to a window.
#include <windows.h>

#include "lice/LICE_Bitmap.h"

LICE_SysBitmap::LICE_SysBitmap(int width, int height)
{
  mDc = CreateCompatibleDC(nullptr);
  Reallocate(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  ReleasePixels();
  if (mDc)
    DeleteDC(static_cast<HDC>(mDc));
}

void LICE_SysBitmap::ReleasePixels()
{
  if (mPreviousBitmap && mDc)
    SelectObject(static_cast<HDC>(mDc), static_cast<HGDIOBJ>(mPreviousBitmap));
  mPreviousBitmap = nullptr;
  if (mDib)
    DeleteObject(static_cast<HGDIOBJ>(mDib));
  mDib = nullptr;
  mBits = nullptr;
}

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
  if (LICE_StoreBytes(allocWidth, height) < 0)
  {
    mWidth = mHeight = mAllocWidth = mAllocHeight = 0;
    return true;
  }

  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(header);
  header.biWidth = static_cast<LONG>(allocWidth);
  header.biHeight = IsUpsideDown() ? height : -height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits)
  {
    if (dib)
      DeleteObject(dib);
    mWidth = mHeight = mAllocWidth = mAllocHeight = 0;
    return true;
  }
  mDib = dib;
  mBits = static_cast<Pixel32*>(bits);
  mPreviousBitmap = SelectObject(static_cast<HDC>(mDc), dib);
  mAllocWidth = static_cast<int>(allocWidth);
  mAllocHeight = height;
  return true;
}
