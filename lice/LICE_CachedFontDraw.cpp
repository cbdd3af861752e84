// Drawing one cached glyph of LICE_CachedFont into a bitmap.
#include "lice/LICE_CachedFont.h"

#include <algorithm>

#include "lice/LICE_Blit.h"
#include "lice/glyphs/LICE_GlyphBlend.h"

bool LICE_CachedFont::BlendGlyph(LICE_IBitmap* bitmap, int character, int x, int y, const LICE_TextRect& clip)
{
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  const GlyphRecord* record = FindRecord(character);
  if (!record || !MaskInStore(*record) || !bitmap)
    return false;
  Pixel32* pixels = bitmap->PixelData();
  const int bitmapWidth = bitmap->PixelWidth(), bitmapHeight = bitmap->PixelHeight();
  if (!pixels || bitmapWidth <= 0 || bitmapHeight <= 0 || bitmap->RowPitch() < bitmapWidth)
    return false;

  // Clip in 64 bits: positions near INT_MAX plus a mask size must not wrap.
  const long long left = std::max<long long>({clip.left, 0, x});
  const long long top = std::max<long long>({clip.top, 0, y});
  const long long right = std::min<long long>({clip.right, bitmapWidth, static_cast<long long>(x) + record->width});
  const long long bottom = std::min<long long>({clip.bottom, bitmapHeight, static_cast<long long>(y) + record->height});
  if (right <= left || bottom <= top)
    return false;

  const int cellX = static_cast<int>(left), cellY = static_cast<int>(top);
  const int cellWidth = static_cast<int>(right - left), cellHeight = static_cast<int>(bottom - top);
  if (mBackMode == LICE_BackOpaque)
    LICE_PaintRect(bitmap, cellX, cellY, cellWidth, cellHeight, mBackColour, mAlpha, mBlendMode & ~BlendUseSourceAlpha);

  LICE_GlyphSpan span;
  span.mask =
    mMasks.data() + (record->maskPosition - 1) + (cellY - y) * static_cast<std::ptrdiff_t>(record->width) + (cellX - x);
  span.maskStride = record->width;
  span.width = cellWidth;
  span.height = cellHeight;
  const int pitch = bitmap->RowPitch();
  const std::ptrdiff_t memoryRow = bitmap->IsUpsideDown() ? bitmapHeight - 1 - cellY : cellY;
  span.pixels = pixels + memoryRow * pitch + cellX;
  span.rowStep = bitmap->IsUpsideDown() ? -pitch : pitch;

  const LICE_GlyphFamily family = (mFlags & LICE_FontMono)                          ? LICE_GlyphFamily::Mono
                                  : (mFlags & (LICE_FontShadow | LICE_FontOutline)) ? LICE_GlyphFamily::Effect
                                                                                    : LICE_GlyphFamily::Plain;
  LICE_BlendGlyphSpan(span, family, mBlendMode, mAlpha, mTextColour, mEffectColour);
  return true;
}
