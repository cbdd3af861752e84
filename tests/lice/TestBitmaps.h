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
    : mWidth(width),
      mHeight(height),
      mPitch(width + 2 * kBand),
      mUpsideDown(upsideDown),
      mStore(static_cast<std::size_t>((height + 2 * kBand) * mPitch), kGuard)
  {
    Fill(0);
  }

  Pixel32* PixelData() const override { return const_cast<Pixel32*>(mStore.data()) + kBand * mPitch + kBand; }
  int PixelWidth() const override { return mWidth; }
  int PixelHeight() const override { return mHeight; }
  int RowPitch() const override { return mPitch; }
  bool IsUpsideDown() const override { return mUpsideDown; }
  bool Reallocate(int, int) override { return false; }

  // Pixel x of drawn row y.
  Pixel32& At(int x, int y) { return PixelData()[(mUpsideDown ? mHeight - 1 - y : y) * mPitch + x]; }

  template <class F>
  void ForEach(F f)
  {
    for (int y = 0; y < mHeight; ++y)
      for (int x = 0; x < mWidth; ++x)
        f(At(x, y));
  }
  void Fill(Pixel32 v)
  {
    ForEach([v](Pixel32& p) { p = v; });
  }
  void Randomise(std::mt19937& rng)
  {
    ForEach([&rng](Pixel32& p) { p = static_cast<Pixel32>(rng()); });
  }
  // Drawn rows, top to bottom.
  std::vector<Pixel32> Pixels()
  {
    std::vector<Pixel32> out;
    ForEach([&out](Pixel32& p) { out.push_back(p); });
    return out;
  }

  bool GuardsIntact() const
  {
    for (int row = 0; row < mHeight + 2 * kBand; ++row)
      for (int col = 0; col < mPitch; ++col)
      {
        const bool inside = row >= kBand && row < kBand + mHeight && col >= kBand && col < kBand + mWidth;
        if (!inside && mStore[static_cast<std::size_t>(row * mPitch + col)] != kGuard)
          return false;
      }
    return true;
  }

private:
  int mWidth;
  int mHeight;
  int mPitch;
  bool mUpsideDown;
  std::vector<Pixel32> mStore;
};
