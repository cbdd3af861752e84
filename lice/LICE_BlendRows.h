// Row loops of the blends the editor draws most (plain copy at a partial weight, source-alpha
// copy), in a portable form and in 128- and 256-bit vector forms. Every form gives the same
// pixels; the drawing routines take the widest one the processor runs.
#pragma once

#include "lice/LICE_Pixel.h"

// Blends `width` pixels of `s` into `d` (rows that do not overlap) at integer weight `w`.
using LICE_BlendRowFn = void (*)(Pixel32* d, const Pixel32* s, int width, int w);

struct LICE_BlendRowSet
{
  LICE_BlendRowFn copy;       // BlendCopy
  LICE_BlendRowFn alphaFull;  // BlendUseSourceAlpha at w = 256 (w is not read)
  LICE_BlendRowFn alpha;      // BlendUseSourceAlpha at any other weight
};

enum class LICE_BlendPath
{
  Portable,
  Sse2,
  Avx2
};

// The loops of one path; a path this build has no code for gives the portable loops.
const LICE_BlendRowSet& LICE_BlendRowsFor(LICE_BlendPath path);

// The loops of the widest path the processor runs.
const LICE_BlendRowSet& LICE_BlendRows();

// The vector paths' loops, defined where the build has them.
extern const LICE_BlendRowSet LICE_BlendRowsSse2;
extern const LICE_BlendRowSet LICE_BlendRowsAvx2;

// The vector forms take weights 1..255, where every product fits 16 bits; they hand other
// weights to these.
void LICE_CopyRowPortable(Pixel32* d, const Pixel32* s, int width, int w);
void LICE_AlphaFullRowPortable(Pixel32* d, const Pixel32* s, int width, int w);
void LICE_AlphaRowPortable(Pixel32* d, const Pixel32* s, int width, int w);
