#pragma once

class LICE_IBitmap;

// A loaded bitmap as the controls see it. The bitmap cache owns the bitmap. An image that
// could not be loaded gives an empty reference (no bitmap, no size); controls made over one
// draw nothing and take no input.
struct IBitmapRef
{
  LICE_IBitmap* bitmap = nullptr;
  int width = 0;   // of the whole bitmap
  int height = 0;  // of the whole bitmap
  int frames = 1;
  bool framesSideBySide = false;  // false: frames stacked top to bottom

  bool Empty() const { return !bitmap || width <= 0 || height <= 0; }
  // The size of one frame (frames below 1 count as one).
  int FrameWidth() const { return framesSideBySide && frames > 1 ? width / frames : width; }
  int FrameHeight() const { return !framesSideBySide && frames > 1 ? height / frames : height; }
};
