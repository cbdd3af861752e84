// Test bitmaps: fixed-size pixels over caller-visible memory, optionally upside down, with
// guard pixels around the drawable area so any write outside it is seen.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "lice/LICE_Bitmap.h"

class GuardedBitmap : public LICE_IBitmap
{
public:
  static constexpr Pixel32 kGuard = 0xA5C3E10Fu;
  static constexpr int kBand = 4; // guard rows above and below, guard columns left and right

  GuardedBitmap(int width, int height, bool upsideDown = false)
    : m_width(width), m_height(height), m_pitch(width + 2 * kBand), m_upsideDown(upsideDown),
      m_store(static_cast<std::size_t>((height + 2 * kBand) * m_pitch), kGuard)
  {
    Fill(0);
  }

  Pixel32* PixelData() const override { return const_cast<Pixel32*>(m_store.data()) + kBand * m_pitch + kBand; }
  int PixelWidth() const override { return m_width; }
  int PixelHeight() const override { return m_height; }
  int RowPitch() const override { return m_pitch; }
  bool IsUpsideDown() const override { return m_upsideDown; }
  bool Reallocate(int, int) override { return false; }

  // Pixel at column x of drawn row y.
  Pixel32& At(int x, int y) { return PixelData()[(m_upsideDown ? m_height - 1 - y : y) * m_pitch + x]; }

  void Fill(Pixel32 v)
  {
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) At(x, y) = v;
  }
  void Randomise(std::mt19937& rng)
  {
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) At(x, y) = static_cast<Pixel32>(rng());
  }

  bool GuardsIntact() const
  {
    for (int row = 0; row < m_height + 2 * kBand; ++row)
      for (int col = 0; col < m_pitch; ++col)
      {
        const bool inside = row >= kBand && row < kBand + m_height && col >= kBand && col < kBand + m_width;
        if (!inside && m_store[static_cast<std::size_t>(row * m_pitch + col)] != kGuard) return false;
      }
    return true;
  }

  // Drawn rows, top to bottom.
  std::vector<Pixel32> Pixels()
  {
    std::vector<Pixel32> out;
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) out.push_back(At(x, y));
    return out;
  }

private:
  int m_width;
  int m_height;
  int m_pitch;
  bool m_upsideDown;
  std::vector<Pixel32> m_store;
};
