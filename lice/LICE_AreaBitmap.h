// A view of part of a bitmap, for drawing that must stay inside that part.
#pragma once

#include "lice/LICE_Bitmap.h"

// The part of a bitmap inside an area (limited to the bitmap), as a bitmap of its own: what
// is drawn into it cannot reach beyond the area, and its coordinates start at the area's
// top-left corner. It offers no GDI context: GDI would place text by coordinates relative to
// the area and round its centring unlike the same text drawn whole, so the Windows text path
// draws into the whole bitmap's context instead, clipped to the area (see Whole()).
class LICE_AreaBitmap : public LICE_IBitmap
{
public:
  LICE_AreaBitmap(LICE_IBitmap& bitmap, int left, int top, int right, int bottom);
  LICE_AreaBitmap(const LICE_AreaBitmap&) = delete;
  LICE_AreaBitmap& operator=(const LICE_AreaBitmap&) = delete;

  LICE_IBitmap& Whole() const { return mBitmap; }
  // Where the view's (0, 0) lies in the whole bitmap.
  int Left() const { return mLeft; }
  int Top() const { return mTop; }

  Pixel32* PixelData() const override;
  int PixelWidth() const override { return mWidth; }
  int PixelHeight() const override { return mHeight; }
  int RowPitch() const override { return mBitmap.RowPitch(); }
  bool IsUpsideDown() const override { return mBitmap.IsUpsideDown(); }
  // A view keeps its size.
  bool Reallocate(int, int) override { return false; }

private:
  LICE_IBitmap& mBitmap;
  int mLeft = 0;
  int mTop = 0;
  int mWidth = 0;
  int mHeight = 0;
};
