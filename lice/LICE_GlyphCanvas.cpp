#include "lice/LICE_GlyphCanvas.h"

#include <algorithm>
#include <new>

#include "lice/glyphs/LICE_GlyphRasteriser.h"

LICE_SysBitmap* GlyphCanvas = nullptr;

LICE_SysBitmap* LICE_EnsureGlyphCanvas(int width, int height)
{
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  if (!GlyphCanvas)
    GlyphCanvas = new (std::nothrow) LICE_SysBitmap(0, 0);
  if (!GlyphCanvas)
    return nullptr;
  const int currentWidth = GlyphCanvas->PixelWidth();
  const int currentHeight = GlyphCanvas->PixelHeight();
  if (currentWidth < width || currentHeight < height || !GlyphCanvas->PixelData())
  {
    // Each side only grows, so a canvas widened for one use is never narrowed for another.
    GlyphCanvas->Reallocate(std::max(currentWidth, width), std::max(currentHeight, height));
    if (GlyphCanvas->PixelData())
      LICE_ActiveGlyphRasteriser()->PrepareCanvas(GlyphCanvas);
  }
  return GlyphCanvas->PixelData() ? GlyphCanvas : nullptr;
}
