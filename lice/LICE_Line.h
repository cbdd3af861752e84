// Straight segments of one colour, clipped to the bitmap.
#pragma once

#include "lice/LICE_Bitmap.h"

// Draws x1,y1 - x2,y2 (both end points included) in `colour` combined by the low byte of
// `mode` at weight `alpha`; diagonal and sloped segments may be anti-aliased. Any coordinates.
void LICE_DrawSegment(LICE_IBitmap* bitmap, int x1, int y1, int x2, int y2, Pixel32 colour, float alpha, BlendMode mode,
                      bool antiAlias);

// Clips the segment in place to columns 0..width-1 and rows 0..height-1; false when nothing
// of it is inside.
bool LICE_ClipSegment(int& x1, int& y1, int& x2, int& y2, int width, int height);
