// The glyph cache of LICE_CachedFont: each character rendered once into the glyph canvas and
// kept as an 8-bit mask, rotated and given its effects as the font's flags say.
#include "lice/LICE_CachedFont.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "lice/LICE_Blit.h"
#include "lice/LICE_GlyphCanvas.h"

namespace {
bool ByCharacter(const GlyphRecord& record, int character)
{
  return record.character < character;
}
}  // namespace

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
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
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
