// Bitmaps over test-owned memory, optionally upside down, with guard pixels around the drawable
// area so that any write outside it shows.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "lice/LICE_Bitmap.h"

class GuardedBitmap : public LICE_IBitmap
{
public:
  static constexpr Pixel32 kGuard = 0xA5C3E10Fu;
  static constexpr int kBand = 4;

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

  // Pixel x of drawn row y.
  Pixel32& At(int x, int y) { return PixelData()[(m_upsideDown ? m_height - 1 - y : y) * m_pitch + x]; }

  template <class F> void ForEach(F f)
  {
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) f(At(x, y));
  }
  void Fill(Pixel32 v) { ForEach([v](Pixel32& p) { p = v; }); }
  void Randomise(std::mt19937& rng) { ForEach([&rng](Pixel32& p) { p = static_cast<Pixel32>(rng()); }); }
  // Drawn rows, top to bottom.
  std::vector<Pixel32> Pixels()
  {
    std::vector<Pixel32> out;
    ForEach([&out](Pixel32& p) { out.push_back(p); });
    return out;
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

private:
  int m_width;
  int m_height;
  int m_pitch;
  bool m_upsideDown;
  std::vector<Pixel32> m_store;
};
