#include "lice/glyphs/LICE_GlyphRasteriser.h"

#include <type_traits>

namespace {
LICE_GlyphRasteriser* g_installed = nullptr;
}

std::recursive_mutex& LICE_FontLock()
{
  // Never destroyed, so font objects held by other static caches can be released after
  // this unit's statics: the mutex has no destructor to run. Nor is it on the heap, so a
  // module that is unloaded leaves nothing behind.
  static_assert(std::is_trivially_destructible_v<std::recursive_mutex>, "the font lock must outlive every font");
  static std::recursive_mutex lock;
  return lock;
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
