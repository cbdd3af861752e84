#include "lice/LICE_GlyphCanvas.h"

LICE_SysBitmap* GlyphCanvas = nullptr;
