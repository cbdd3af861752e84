// The process-wide glyph canvas: one LICE_SysBitmap into which every cached font renders its
// glyphs, and which LICE_BlurCanvas blurs. Null until the first font needs it; the cached
// fonts create, grow and delete it, and serialise every use of it.
#pragma once

#include "lice/LICE_Bitmap.h"

// A plain pointer, constant-initialised, so it is valid during static initialisation and
// destruction alike.
extern LICE_SysBitmap* GlyphCanvas;

// Creates the glyph canvas, or grows it to at least width x height (a side never shrinks), and
// readies it for the active rasteriser. Null when it cannot be made.
LICE_SysBitmap* LICE_EnsureGlyphCanvas(int width, int height);
