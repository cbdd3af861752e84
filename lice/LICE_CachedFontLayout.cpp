// Text layout of LICE_CachedFont: lines, alignment, measuring, and the walk that places
// each glyph of a text.
#include "lice/LICE_CachedFont.h"

#include <algorithm>
#include <climits>

namespace {
// Pens run in 64 bits (a long text of wide glyphs passes INT_MAX); results are limited to int.
int ToInt(long long v)
{
  return static_cast<int>(std::min<long long>(std::max<long long>(v, INT_MIN), INT_MAX));
}

// Far outside any bitmap: nothing there can be drawn, and the int arithmetic of a glyph's
// placement cannot overflow.
bool Reachable(long long x, long long y)
{
  return x > INT_MIN / 2 && x < INT_MAX / 2 && y > INT_MIN / 2 && y < INT_MAX / 2;
}
}  // namespace

int LICE_CachedFont::LayoutText(LICE_IBitmap* bitmap, const char* text, int length, LICE_TextRect* rect, int flags,
                                bool internalMeasure)
{
  const bool measuring = (flags & LICE_DT_CALCRECT) != 0;
  if ((!bitmap && !measuring) || !rect)
    return 0;
  if (!internalMeasure && (mFlags & LICE_FontNativeDraw) && mFont)
  {
    const LICE_NativeTextFont font{mFont, mTextColour, mBackColour, mBackMode, mAlpha, mFlags, mLineHeight};
    int result = 0;
    if (LICE_ActiveGlyphRasteriser()->DrawWholeText(font, bitmap, text, length, rect, flags, &result))
      return result;
  }
  if (measuring)
    return MeasureLayout(text, length, rect, flags);

  const float savedAlpha = mAlpha;
  if (flags & LICE_DT_USE_TEXT_ALPHA)
    mAlpha *= static_cast<float>(LICE_Alpha(mTextColour)) / 255.0f;
  const int result = mAlpha == 0.0f ? 0 : DrawLayout(bitmap, text, length, *rect, flags);
  mAlpha = savedAlpha;
  return result;
}

bool LICE_CachedFont::NextGlyph(LICE_Utf8Cursor& cursor, bool lineFeedIsSpace, Pen* pen, int* code, GlyphRecord* glyph)
{
  const bool vertical = (mFlags & LICE_FontVertical) != 0;
  while (cursor.Next(code))
  {
    if (*code == '\r')
      continue;
    if (*code == '\n' && !lineFeedIsSpace)
    {
      // A new line: across for vertical text, down otherwise.
      if (vertical)
        pen->x += mLineHeight, pen->y = pen->lineY;
      else
        pen->y += mLineHeight, pen->x = pen->lineX;
      continue;
    }
    if (*code == '\n')
      *code = ' ';
    // Copied: rendering a later glyph may move the records.
    const GlyphRecord* found = DrawableGlyph(*code);
    if (!found)
      continue;
    *glyph = *found;
    return true;
  }
  return false;
}

int LICE_CachedFont::MeasureLayout(const char* text, int length, LICE_TextRect* rect, int flags)
{
  const bool vertical = (mFlags & LICE_FontVertical) != 0;
  Pen pen{0, 0, 0, 0};
  long long width = 0, height = 0;
  int code = 0;
  GlyphRecord glyph;
  LICE_Utf8Cursor cursor(text, length);
  while (NextGlyph(cursor, (flags & LICE_DT_SINGLELINE) != 0, &pen, &code, &glyph))
  {
    if (vertical)
    {
      width = std::max(width, pen.x + glyph.width);
      height = std::max({height, pen.y + glyph.advance, pen.y + static_cast<long long>(glyph.height)});
      pen.y += glyph.advance;
    }
    else
    {
      width = std::max({width, pen.x + glyph.advance, pen.x + static_cast<long long>(glyph.width)});
      height = std::max(height, pen.y + glyph.height);
      pen.x += glyph.advance;
    }
  }
  rect->right = ToInt(rect->left + width);
  rect->bottom = ToInt(rect->top + height);
  return ToInt(vertical ? width : height);
}

void LICE_CachedFont::AlignPen(const char* text, int length, const LICE_TextRect& rect, int flags, Pen* pen)
{
  const bool upward = (mFlags & LICE_FontVertical) && (mFlags & LICE_FontUpward);
  if (!(flags & (LICE_DT_CENTER | LICE_DT_RIGHT | LICE_DT_VCENTER | LICE_DT_BOTTOM)) && !upward)
    return;
  // Multi-line text is placed by its single-line extent.
  LICE_TextRect measured{0, 0, 0, 0};
  LayoutText(nullptr, text, length, &measured, LICE_DT_SINGLELINE | LICE_DT_CALCRECT, true);
  const long long left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  if (flags & LICE_DT_CENTER)
    pen->x = left + (right - left - measured.right) / 2;
  if (flags & LICE_DT_RIGHT)
    pen->x = right - measured.right;
  if (flags & LICE_DT_VCENTER)
    pen->y = top + (bottom - top - measured.bottom) / 2;
  if (flags & LICE_DT_BOTTOM)
    pen->y = bottom - measured.bottom;
  if (upward)
    pen->y += measured.bottom;
}

int LICE_CachedFont::DrawLayout(LICE_IBitmap* bitmap, const char* text, int length, const LICE_TextRect& rect,
                                int flags)
{
  LICE_TextRect clip{0, 0, bitmap->PixelWidth(), bitmap->PixelHeight()};
  if (!(flags & LICE_DT_NOCLIP))
    clip = LICE_TextRect{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, clip.right),
                         std::min(rect.bottom, clip.bottom)};
  if (clip.right <= clip.left || clip.bottom <= clip.top)
    return 0;

  Pen pen{rect.left, rect.top, 0, 0};
  AlignPen(text, length, rect, flags, &pen);
  pen.lineX = pen.x;
  pen.lineY = pen.y;
  const bool vertical = (mFlags & LICE_FontVertical) != 0;
  const bool upward = vertical && (mFlags & LICE_FontUpward);
  int code = 0;
  long long lowest = pen.y, farthest = pen.x;
  bool drewAny = false;
  GlyphRecord glyph;
  LICE_Utf8Cursor cursor(text, length);
  while (NextGlyph(cursor, (flags & LICE_DT_SINGLELINE) != 0, &pen, &code, &glyph))
  {
    if (!MaskInStore(glyph))
      continue;
    if (upward)
      pen.y -= glyph.height;
    if (Reachable(pen.x, pen.y) && BlendGlyph(bitmap, code, static_cast<int>(pen.x), static_cast<int>(pen.y), clip))
    {
      drewAny = true;
      lowest = std::max(lowest, pen.y + glyph.height);
      farthest = std::max(farthest, pen.x + glyph.width);
    }
    if (!vertical)
      pen.x += glyph.advance;
    else if (upward)
      pen.y -= glyph.advance - glyph.height;
    else
      pen.y += glyph.advance;
  }
  if (!drewAny)
    return 0;
  return ToInt(vertical ? farthest - pen.lineX : lowest - pen.lineY);
}
