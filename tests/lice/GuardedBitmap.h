#pragma once
// A test bitmap with a band of sentinel pixels around it, and optionally upside down, so
// out-of-bounds writes and row order are visible.

#include <vector>

#include "lice/LICE_Bitmap.h"

class GuardedBitmap : public LICE_IBitmap
{
public:
  static constexpr int Guard = 8;
  static constexpr Pixel32 Sentinel = 0xDEADBEEF;

  GuardedBitmap(int width, int height, Pixel32 fill, bool upsideDown = false)
    : m_width(width), m_height(height), m_pitch(width + 2 * Guard), m_upsideDown(upsideDown),
      m_store(static_cast<size_t>(m_pitch) * (height + 2 * Guard), Sentinel)
  {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) At(x, y) = fill;
  }

  Pixel32* PixelData() const override { return const_cast<Pixel32*>(m_store.data()) + Guard * m_pitch + Guard; }
  int PixelWidth() const override { return m_width; }
  int PixelHeight() const override { return m_height; }
  int RowPitch() const override { return m_pitch; }
  bool IsUpsideDown() const override { return m_upsideDown; }
  bool Reallocate(int, int) override { return false; }

  // Pixel at x, y in drawing coordinates (row 0 is the top row whatever the memory order).
  Pixel32& At(int x, int y) { return PixelData()[(m_upsideDown ? m_height - 1 - y : y) * m_pitch + x]; }

  bool GuardsIntact() const
  {
    for (int y = 0; y < m_height + 2 * Guard; ++y)
      for (int x = 0; x < m_pitch; ++x)
      {
        const bool inside = x >= Guard && x < Guard + m_width && y >= Guard && y < Guard + m_height;
        if (!inside && m_store[static_cast<size_t>(y) * m_pitch + x] != Sentinel) return false;
      }
    return true;
  }

private:
  int m_width, m_height, m_pitch;
  bool m_upsideDown;
  std::vector<Pixel32> m_store;
};
