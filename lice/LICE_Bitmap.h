// The bitmap interface of every drawing routine, and its two implementations.
#pragma once

#include <cstdint>

#include "lice/LICE_Pixel.h"

// Largest pixel store any bitmap allocates. Sizes are computed in 64 bits and anything
// larger counts as a failed allocation (0 x 0, no pixels), so a size taken from a file can
// never wrap into a small block that is then written as if it were large.
constexpr std::int64_t LICE_MaxBitmapBytes = std::int64_t(256) << 20;

// Row pitch (in pixels) for a width: rows hold a multiple of 4 pixels. 64-bit, so widths
// near INT_MAX cannot overflow; a negative width gives a non-positive pitch.
inline std::int64_t LICE_AlignedPitch(std::int64_t width)
{
  return (width + 3) & ~std::int64_t(3);
}

// Bytes of `rows` rows of `pitch` pixels; -1 when either is not positive or the store would
// exceed LICE_MaxBitmapBytes. Never overflows.
inline std::int64_t LICE_StoreBytes(std::int64_t pitch, std::int64_t rows)
{
  if (pitch <= 0 || rows <= 0 || pitch > LICE_MaxBitmapBytes / 4 / rows)
    return -1;
  return pitch * rows * 4;
}

class LICE_IBitmap
{
public:
  virtual ~LICE_IBitmap() = default;

  // First pixel of the first row, or null when there is no storage.
  virtual Pixel32* PixelData() const = 0;
  virtual int PixelWidth() const = 0;
  virtual int PixelHeight() const = 0;
  // Pixels (not bytes) from one row to the next.
  virtual int RowPitch() const = 0;
  // True when row 0 lies last in memory.
  virtual bool IsUpsideDown() const { return false; }
  // True when the size changed; pixel contents are undefined afterwards.
  virtual bool Reallocate(int width, int height) = 0;
  // The GDI device context to draw into (an HDC on Windows), or null.
  virtual void* DrawingContext() const { return nullptr; }
  virtual int ExtensionCall(int /*code*/, void* /*data*/) { return 0; }
};

// A bitmap in plain heap memory: 64-byte aligned rows of a multiple of 4 pixels. The store
// grows by a quarter beyond a request and never shrinks, so resizing scratch bitmaps is cheap.
class LICE_MemBitmap : public LICE_IBitmap
{
public:
  LICE_MemBitmap(int width = 0, int height = 0);
  ~LICE_MemBitmap() override;
  LICE_MemBitmap(const LICE_MemBitmap&) = delete;
  LICE_MemBitmap& operator=(const LICE_MemBitmap&) = delete;

  Pixel32* PixelData() const override;
  int PixelWidth() const override { return mWidth; }
  int PixelHeight() const override { return mHeight; }
  int RowPitch() const override { return (mWidth + mAlignMask) & ~mAlignMask; }
  bool Reallocate(int width, int height) override;

  // Bytes of pixel storage held (not counting the alignment slack).
  int AllocatedBytes() const { return mAllocated; }

private:
  void* mStorage = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mAllocated = 0;
  int mAlignMask = 3;
};

// The editor's drawing surface: a DIB section selected into a memory device context on
// Windows, an aligned heap block elsewhere. A bitmap that shrinks keeps its larger pixels and
// its row pitch; one that grows gets a new block whose width is rounded up to 4.
class LICE_SysBitmap : public LICE_IBitmap
{
public:
  LICE_SysBitmap(int width = 0, int height = 0);
  ~LICE_SysBitmap() override;
  LICE_SysBitmap(const LICE_SysBitmap&) = delete;
  LICE_SysBitmap& operator=(const LICE_SysBitmap&) = delete;

  Pixel32* PixelData() const override { return mBits; }
  int PixelWidth() const override { return mWidth; }
  int PixelHeight() const override { return mHeight; }
  int RowPitch() const override { return mAllocWidth; }
  bool Reallocate(int width, int height) override;
  // Windows: the memory HDC. Elsewhere a non-null token: there is no GDI, but callers that
  // test for a context behave as they do on Windows.
  void* DrawingContext() const override { return mDc; }

private:
  // The platform's part: a block of allocWidth x height pixels (bytes long), or null; and
  // its release, which leaves mBits null.
  Pixel32* AllocatePixels(int allocWidth, int height, std::int64_t bytes);
  void ReleasePixels();

  int mWidth = 0;
  int mHeight = 0;
  void* mDc = nullptr;
  Pixel32* mBits = nullptr;
  int mAllocWidth = 0;
  int mAllocHeight = 0;
  void* mDib = nullptr;
  void* mPreviousBitmap = nullptr;
};
