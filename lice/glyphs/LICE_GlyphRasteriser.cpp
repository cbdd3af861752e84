#include "lice/glyphs/LICE_GlyphRasteriser.h"

namespace {
LICE_GlyphRasteriser* g_installed = nullptr;
}

std::recursive_mutex& LICE_FontLock()
{
  // Deliberately leaked: font objects held by other static caches may be released after
  // this unit's statics would have been destroyed.
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

LICE_GlyphRasteriser* LICE_SetGlyphRasteriser(LICE_GlyphRasteriser* rasteriser)
{
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  LICE_GlyphRasteriser* previous = LICE_ActiveGlyphRasteriser();
  g_installed = rasteriser;
  return previous;
}

LICE_GlyphRasteriser* LICE_ActiveGlyphRasteriser()
{
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  return g_installed ? g_installed : LICE_PlatformGlyphRasteriser();
}

LICE_FontHandle LICE_CreateFont(const char* face, int height, int weight, bool italic, int orientationTenths,
                                int quality)
{
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  return LICE_ActiveGlyphRasteriser()->CreateFontHandle(face ? face : "", height, weight, italic, orientationTenths,
                                                        quality);
}

void LICE_DeleteFont(LICE_FontHandle font)
{
  if (!font)
    return;
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  LICE_ActiveGlyphRasteriser()->DeleteFontHandle(font);
}
