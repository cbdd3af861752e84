// The system bitmap's pixels as a top-down 32-bit DIB section selected into a memory device context,
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

Pixel32* LICE_SysBitmap::AllocatePixels(int allocWidth, int height, std::int64_t)
{
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
    return nullptr;
  }
  mDib = dib;
  mPreviousBitmap = SelectObject(static_cast<HDC>(mDc), dib);
  return static_cast<Pixel32*>(bits);
}
