// The system bitmap as a top-down 32-bit DIB section selected into a memory device context,
// so GDI can draw into it and copy it to a window.
#include <windows.h>

#include "lice/LICE_Bitmap.h"

LICE_SysBitmap::LICE_SysBitmap(int width, int height)
{
  m_dc = CreateCompatibleDC(nullptr);
  Reallocate(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  ReleasePixels();
  if (m_dc) DeleteDC(static_cast<HDC>(m_dc));
}

void LICE_SysBitmap::ReleasePixels()
{
  if (m_previousBitmap && m_dc) SelectObject(static_cast<HDC>(m_dc), static_cast<HGDIOBJ>(m_previousBitmap));
  m_previousBitmap = nullptr;
  if (m_dib) DeleteObject(static_cast<HGDIOBJ>(m_dib));
  m_dib = nullptr;
  m_bits = nullptr;
}

bool LICE_SysBitmap::Reallocate(int width, int height)
{
  if (!m_dc)
  {
    m_width = m_height = 0;
    m_bits = nullptr;
    return false;
  }
  if (width == m_width && height == m_height) return false;
  m_width = width;
  m_height = height;
  if (width > 0 && height > 0 && m_allocWidth >= width && m_allocHeight >= height && m_bits) return true;

  ReleasePixels();
  const std::int64_t allocWidth = LICE_AlignedPitch(width);
  if (allocWidth < 1 || height < 1)
  {
    m_width = m_height = m_allocWidth = m_allocHeight = 0;
    return false;
  }
  if (LICE_StoreBytes(allocWidth, height) < 0)
  {
    m_width = m_height = m_allocWidth = m_allocHeight = 0;
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
    if (dib) DeleteObject(dib);
    m_width = m_height = m_allocWidth = m_allocHeight = 0;
    return true;
  }
  m_dib = dib;
  m_bits = static_cast<Pixel32*>(bits);
  m_previousBitmap = SelectObject(static_cast<HDC>(m_dc), dib);
  m_allocWidth = static_cast<int>(allocWidth);
  m_allocHeight = height;
  return true;
}
