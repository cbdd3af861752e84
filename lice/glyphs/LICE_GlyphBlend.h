#pragma once
// The glyph mask loops: three families (plain coverage, mono, shadow/outline effect) times
// six combine modes.

#include <cstddef>

#include "lice/LICE_Pixel.h"

enum class LICE_GlyphFamily
{
  Plain,
  Mono,
  Effect
};

// An already clipped run of mask rows and the destination pixels they land on.
struct LICE_GlyphSpan
{
  const unsigned char* mask;
  std::ptrdiff_t maskStride;
  Pixel32* pixels;
  std::ptrdiff_t rowStep;  // pixels from one destination row to the next (negative upside down)
  int width;
  int height;
};

// Blends the span in the font's colours. Mask byte 0 leaves a pixel alone; in the effect
// family 255 takes the text colour and other values the effect colour. The text colour's
// alpha counts as 255, except that mono and effect masks at alpha exactly 1.0 in copy mode
// store the colour words whole.
void LICE_BlendGlyphSpan(const LICE_GlyphSpan& span, LICE_GlyphFamily family, BlendMode mode, float alpha,
                         Pixel32 textColour, Pixel32 effectColour);
