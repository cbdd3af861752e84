#include "lice/LICE_Bitmap.h"

#include <cstdlib>

static_assert(LICE_MaxBitmapBytes + LICE_MaxBitmapBytes / 4 + 63 < INT32_MAX,
              "allocated sizes are kept in an int");

LICE_MemBitmap::LICE_MemBitmap(int width, int height)
{
  if (width > 0 && height > 0) Reallocate(width, height);
}

LICE_MemBitmap::~LICE_MemBitmap() { std::free(m_storage); }

Pixel32* LICE_MemBitmap::PixelData() const
{
  if (!m_storage) return nullptr;
  const std::uintptr_t p = reinterpret_cast<std::uintptr_t>(m_storage);
  return reinterpret_cast<Pixel32*>((p + 63) & ~std::uintptr_t(63));
}

bool LICE_MemBitmap::Reallocate(int width, int height)
{
  if (width == m_width && height == m_height) return false;
  m_width = width;
  m_height = height;
  const std::int64_t bytes = width > 0 ? LICE_StoreBytes(LICE_AlignedPitch(width), height) : -1;
  if (bytes > 0)
  {
    if (!m_storage)
    {
      m_storage = std::malloc(static_cast<std::size_t>(bytes + 63));
      m_allocated = static_cast<int>(bytes);
    }
    else if (m_allocated < bytes)
    {
      const std::int64_t grown = bytes + bytes / 4;
      void* p = std::realloc(m_storage, static_cast<std::size_t>(grown + 63));
      if (p)
      {
        m_storage = p;
        m_allocated = static_cast<int>(grown);
      }
      else
      {
        std::free(m_storage);
        m_storage = std::malloc(static_cast<std::size_t>(bytes + 63));
        m_allocated = static_cast<int>(bytes);
      }
    }
  }
  else
  {
    std::free(m_storage);
    m_storage = nullptr;
  }
  if (!m_storage)
  {
    m_allocated = 0;
    m_width = 0;
    m_height = 0;
  }
  return true;
}
