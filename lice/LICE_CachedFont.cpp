#include "lice/LICE_CachedFont.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "lice/LICE_Blit.h"
#include "lice/LICE_GlyphCanvas.h"
#include "lice/glyphs/LICE_GlyphBlend.h"

#if defined(_WIN64)
#include "lice/win32/LICE_NativeText.h"
#endif

namespace {
// Constant-initialised, so fonts destroyed by static destructors still find it.
int g_liveFonts = 0;

using Lock = std::lock_guard<std::recursive_mutex>;

bool IsContinuation(unsigned char b)
{
  return b >= 0x80 && b <= 0xBF;
}

bool ByCharacter(const GlyphRecord& record, int character)
{
  return record.character < character;
}

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

int LICE_DecodeUtf8Char(const unsigned char* b, std::size_t available, int* code)
{
  if (available == 0)
  {
    *code = 0;
    return 0;
  }
  const unsigned char a = b[0];
  // Each continuation byte is checked before the next one is read, so NUL-terminated text
  // never reads past its terminator.
  if (a >= 0xC2 && a <= 0xDF && available >= 2 && IsContinuation(b[1]))
  {
    *code = ((a << 6) & 0x7FF) | (b[1] & 0x3F);
    return 2;
  }
  if (a >= 0xE0 && a <= 0xEF && available >= 3 && IsContinuation(b[1]) && IsContinuation(b[2]))
  {
    *code = ((a & 0x0F) << 12) | ((b[1] & 0x3F) << 6) | (b[2] & 0x3F);
    return 3;
  }
  if (a >= 0xF0 && a <= 0xF4 && available >= 4 && IsContinuation(b[1]) && IsContinuation(b[2]) && IsContinuation(b[3]))
  {
    *code = ' ';
    return 4;
  }
  *code = a;
  return 1;
}

LICE_Utf8Cursor::LICE_Utf8Cursor(const char* text, int length)
  : mNext(reinterpret_cast<const unsigned char*>(text ? text : "")), mRemaining(length)
{}

bool LICE_Utf8Cursor::Next(int* code)
{
  if (mRemaining == 0 || *mNext == 0)
    return false;
  const std::size_t available = mRemaining < 0 ? SIZE_MAX : static_cast<std::size_t>(mRemaining);
  const int used = LICE_DecodeUtf8Char(mNext, available, code);
  mNext += used;
  if (mRemaining > 0)
    mRemaining = std::max(0, mRemaining - used);
  return true;
}

LICE_SysBitmap* LICE_EnsureGlyphCanvas(int width, int height)
{
  Lock hold(LICE_FontLock());
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

LICE_CachedFont::LICE_CachedFont()
{
  Lock hold(LICE_FontLock());
  ++g_liveFonts;
}

LICE_CachedFont::~LICE_CachedFont()
{
  Lock hold(LICE_FontLock());
  ReleaseHandle();
  if (--g_liveFonts == 0)
  {
    delete GlyphCanvas;
    GlyphCanvas = nullptr;
  }
}

int LICE_CachedFont::LiveFontCount()
{
  Lock hold(LICE_FontLock());
  return g_liveFonts;
}

void LICE_CachedFont::ReleaseHandle()
{
  if ((mFlags & LICE_FontOwnsHandle) && mFont)
    LICE_DeleteFont(mFont);
  mFont = nullptr;
}

void LICE_CachedFont::AssignFont(LICE_FontHandle font, int flags)
{
  Lock hold(LICE_FontLock());
  if ((mFlags & LICE_FontOwnsHandle) && mFont && mFont != font)
    LICE_DeleteFont(mFont);
  mFlags = flags;
  mFont = font;
  if (font)
  {
    LICE_SysBitmap* canvas = LICE_EnsureGlyphCanvas(256, 256);
    mLineHeight = LICE_ActiveGlyphRasteriser()->LineHeight(font, canvas);
  }
  std::memset(mDirect, 0, sizeof(mDirect));
  mExtra.clear();
  mMasks.clear();
  if (flags & LICE_FontPreRender)
  {
    for (int c = 0; c < 128; ++c)
      CacheGlyph(c);
  }
}

Pixel32 LICE_CachedFont::ChangeTextColour(Pixel32 colour)
{
  const Pixel32 previous = mTextColour;
  mTextColour = colour;
  return previous;
}

Pixel32 LICE_CachedFont::ChangeBackColour(Pixel32 colour)
{
  const Pixel32 previous = mBackColour;
  mBackColour = colour;
  return previous;
}

Pixel32 LICE_CachedFont::ChangeEffectColour(Pixel32 colour)
{
  const Pixel32 previous = mEffectColour;
  mEffectColour = colour;
  return previous;
}

int LICE_CachedFont::ChangeBackMode(int mode)
{
  const int previous = mBackMode;
  mBackMode = mode;
  return previous;
}

void LICE_CachedFont::ChangeBlend(BlendMode mode, float alpha)
{
  mBlendMode = mode;
  mAlpha = alpha;
}

GlyphRecord* LICE_CachedFont::FindRecord(int character)
{
  if (character >= 0 && character < 128)
    return &mDirect[character];
  auto at = std::lower_bound(mExtra.begin(), mExtra.end(), character, ByCharacter);
  return at != mExtra.end() && at->character == character ? &*at : nullptr;
}

const GlyphRecord* LICE_CachedFont::LookupGlyph(int character) const
{
  return const_cast<LICE_CachedFont*>(this)->FindRecord(character);
}

bool LICE_CachedFont::MaskInStore(const GlyphRecord& record) const
{
  if (record.maskPosition <= 0 || record.width < 0 || record.height < 0)
    return false;
  const long long end =
    static_cast<long long>(record.maskPosition) - 1 + static_cast<long long>(record.width) * record.height;
  return end <= static_cast<long long>(mMasks.size());
}

bool LICE_CachedFont::CacheGlyph(int character)
{
  Lock hold(LICE_FontLock());
  if (mLineHeight > 1023 || character < 0 || character > 0xFFFF)
    return false;

  GlyphRecord* record = FindRecord(character);
  if (!record)
  {
    if (mFlags & LICE_FontPreRender)
      return false;
    // Inserted at its sorted place at once, so an early return below cannot leave the list
    // unsorted for the binary search.
    auto at = std::lower_bound(mExtra.begin(), mExtra.end(), character, ByCharacter);
    try
    {
      record = &*mExtra.insert(at, GlyphRecord{0, 0, 0, 0, character});
    }
    catch (const std::bad_alloc&)
    {
      return false;
    }
  }

  LICE_GlyphRasteriser* rasteriser = LICE_ActiveGlyphRasteriser();
  const int side = 2 * std::max(mLineHeight, 1) + 8;
  LICE_SysBitmap* canvas = LICE_EnsureGlyphCanvas(side, side);
  if (!canvas)
    return false;

  const int margin = mLineHeight < 16 ? 0 : mLineHeight / 16;
  int advance = 0, cellHeight = 0;
  rasteriser->MeasureGlyph(mFont, canvas, static_cast<unsigned short>(character), &advance, &cellHeight);
  advance = std::min(advance, canvas->PixelWidth());
  cellHeight = std::min(cellHeight, canvas->PixelHeight());
  if (advance < 1 || cellHeight < 1)
  {
    *record = GlyphRecord{-1, 0, 0, 0, character};
    return true;
  }
  const int cellWidth = std::min(advance + margin + 2, canvas->PixelWidth());
  LICE_PaintRect(canvas, 0, 0, cellWidth, cellHeight, 0, 1.0f, BlendCopy);
  rasteriser->RenderGlyph(mFont, canvas, static_cast<unsigned short>(character), cellWidth, cellHeight);
  if (mFlags & LICE_FontBlur)
    LICE_BlurCanvas(cellWidth, cellHeight);

  record->character = character;
  BuildMask(record, advance, cellWidth, cellHeight);
  return true;
}

void LICE_CachedFont::BuildMask(GlyphRecord* record, int advance, int cellWidth, int cellHeight)
{
  const std::size_t start = mMasks.size();
  const long long cellBytes = static_cast<long long>(cellWidth) * cellHeight;
  // Positions are ints (offset + 1), so the store may never pass INT_MAX - 1 bytes.
  if (static_cast<long long>(start) + cellBytes > INT_MAX - 1)
  {
    *record = GlyphRecord{-1, 0, 0, 0, record->character};
    return;
  }
  try
  {
    mMasks.resize(start + static_cast<std::size_t>(cellBytes));
  }
  catch (const std::bad_alloc&)
  {
    *record = GlyphRecord{-1, 0, 0, 0, record->character};
    return;
  }

  const Pixel32* pixels = GlyphCanvas->PixelData();
  const int pitch = GlyphCanvas->RowPitch();
  const bool invert = (mFlags & LICE_FontInvert) != 0;
  int inkRight = 0;
  unsigned char* mask = mMasks.data() + start;
  for (int y = 0; y < cellHeight; ++y)
  {
    const Pixel32* row = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
    for (int x = 0; x < cellWidth; ++x)
    {
      const int red = LICE_Red(row[x]);
      if (red && x + 1 > inkRight)
        inkRight = x + 1;
      mask[y * cellWidth + x] = static_cast<unsigned char>(invert ? 255 - red : red);
    }
  }
  int width = std::min(std::max(advance, inkRight), cellWidth);
  if (width < cellWidth)
  {
    for (int y = 1; y < cellHeight; ++y)
      std::memmove(mask + y * width, mask + y * cellWidth, width);
    mMasks.resize(start + static_cast<std::size_t>(width) * cellHeight);
  }
  int height = cellHeight;
  if (mFlags & LICE_FontVertical)
    RotateMask(start, &width, &height);
  if (mFlags & (LICE_FontMono | LICE_FontShadow | LICE_FontOutline))
    ApplyEffects(start, width, height);

  record->maskPosition = static_cast<int>(start) + 1;
  record->width = width;
  record->height = height;
  record->advance = advance;
}

void LICE_CachedFont::RotateMask(std::size_t start, int* width, int* height)
{
  const int w = *width, h = *height;
  unsigned char* mask = mMasks.data() + start;
  // The canvas, whose cell is already read, holds the unrotated copy: at least w x h pixels,
  // so there is room for w x h bytes, and nothing is allocated while drawing.
  unsigned char* old = reinterpret_cast<unsigned char*>(GlyphCanvas->PixelData());
  std::memcpy(old, mask, static_cast<std::size_t>(w) * h);
  const bool upward = (mFlags & LICE_FontUpward) != 0;
  // New row i, column j: clockwise takes old row h-1-j, column i; upward old row j, column w-1-i.
  for (int i = 0; i < w; ++i)
  {
    for (int j = 0; j < h; ++j)
      mask[i * h + j] = upward ? old[j * w + (w - 1 - i)] : old[(h - 1 - j) * w + i];
  }
  *width = h;
  *height = w;
}

void LICE_CachedFont::ApplyEffects(std::size_t start, int width, int height)
{
  unsigned char* mask = mMasks.data() + start;
  const std::size_t count = static_cast<std::size_t>(width) * height;
  for (std::size_t i = 0; i < count; ++i)
    mask[i] = mask[i] > 130 ? 255 : 0;
  const bool shadow = (mFlags & LICE_FontShadow) != 0;
  if (!shadow && !(mFlags & LICE_FontOutline))
    return;
  // One pass from the top-left: marks are 128, never 255, so they do not spread.
  auto full = [&](int x, int y) { return x >= 0 && y >= 0 && x < width && y < height && mask[y * width + x] == 255; };
  for (int y = 0; y < height; ++y)
  {
    for (int x = 0; x < width; ++x)
    {
      if (mask[y * width + x])
        continue;
      const bool mark = shadow ? full(x - 1, y) || full(x - 1, y - 1) || full(x, y - 1)
                               : full(x, y - 1) || full(x, y + 1) || full(x - 1, y) || full(x + 1, y);
      if (mark)
        mask[y * width + x] = 128;
    }
  }
}

int LICE_CachedFont::PaintText(LICE_IBitmap* bitmap, const char* text, int length, LICE_TextRect* rect, int flags)
{
  Lock hold(LICE_FontLock());
  return LayoutText(bitmap, text, length, rect, flags, false);
}

const GlyphRecord* LICE_CachedFont::DrawableGlyph(int character)
{
  const GlyphRecord* record = FindRecord(character);
  if (!record || record->maskPosition == 0)
  {
    if (!CacheGlyph(character))
      return nullptr;
    record = FindRecord(character);
  }
  return record && record->maskPosition > 0 ? record : nullptr;
}

int LICE_CachedFont::LayoutText(LICE_IBitmap* bitmap, const char* text, int length, LICE_TextRect* rect, int flags,
                                bool internalMeasure)
{
  const bool measuring = (flags & LICE_DT_CALCRECT) != 0;
  if ((!bitmap && !measuring) || !rect)
    return 0;
#if defined(_WIN64)
  if (!internalMeasure && (mFlags & LICE_FontNativeDraw) && mFont)
  {
    const LICE_NativeTextFont font{mFont, mTextColour, mBackColour, mBackMode, mAlpha, mFlags, mLineHeight};
    int result = 0;
    if (LICE_NativeTextDraw(font, bitmap, text, length, rect, flags, &result))
      return result;
  }
#else
  (void)internalMeasure;
#endif
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

bool LICE_CachedFont::BlendGlyph(LICE_IBitmap* bitmap, int character, int x, int y, const LICE_TextRect& clip)
{
  Lock hold(LICE_FontLock());
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
