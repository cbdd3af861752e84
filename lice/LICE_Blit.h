// Unscaled blit, rectangle fill and the glyph canvas blur.
#pragma once

#include "lice/LICE_Bitmap.h"

// Source rectangle of LICE_CopyRect: left, top, right, bottom (right and bottom exclusive).
struct LICE_SourceRect
{
  int left;
  int top;
  int right;
  int bottom;
};

// Copies `sourceRect` of `source` (the whole source when null) to x, y of `destination`,
// combined by `mode` at weight `alpha`. Clipped to both bitmaps; a source that shares memory
// with the destination is read as it was before the call.
void LICE_CopyRect(LICE_IBitmap* destination, LICE_IBitmap* source, int x, int y, const LICE_SourceRect* sourceRect,
                   float alpha, BlendMode mode);

// Fills width x height at x, y with `colour`, combined by `mode` at weight `alpha`; with
// BlendUseSourceAlpha the weight is also scaled by the colour's alpha.
void LICE_PaintRect(LICE_IBitmap* bitmap, int x, int y, int width, int height, Pixel32 colour, float alpha,
                    BlendMode mode);

// Blurs the top-left width x height pixels of the shared glyph canvas in place.
void LICE_BlurCanvas(int width, int height);

// The blur of LICE_BlurCanvas on any bitmap.
void LICE_BlurRegion(LICE_IBitmap* bitmap, int width, int height);
