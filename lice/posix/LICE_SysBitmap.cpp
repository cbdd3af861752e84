// Without GDI the system bitmap is an aligned heap block with the DIB section's growth rules.
#include "lice/LICE_Bitmap.h"

#include <cstdlib>

LICE_SysBitmap::LICE_SysBitmap(int width, int height)
{
  m_dc = this; // stands in for the memory device context; never dereferenced
  Reallocate(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap() { ReleasePixels(); }

void LICE_SysBitmap::ReleasePixels()
{
  std::free(m_bits);
  m_bits = nullptr;
}

bool LICE_SysBitmap::Reallocate(int width, int height)
{
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
  const std::int64_t bytes = LICE_StoreBytes(allocWidth, height);
  if (bytes > 0)
    m_bits = static_cast<Pixel32*>(std::aligned_alloc(64, static_cast<std::size_t>((bytes + 63) & ~63)));
  if (!m_bits)
  {
    m_width = m_height = m_allocWidth = m_allocHeight = 0;
    return true;
  }
  m_allocWidth = static_cast<int>(allocWidth);
  m_allocHeight = height;
  return true;
}
