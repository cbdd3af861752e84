// The process-wide caches of decoded bitmaps and of fonts. Every editor of the process
// shares them; what they hold lives until the module unloads.
#include "framework/gui/IGraphics.h"

#include "lice/LICE_Bitmap.h"
#include "lice/LICE_CachedFont.h"
#include "platform/PlugMutex.h"
#include "platform/ScopedLock.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

struct BitmapRecord
{
  int resourceId;
  std::unique_ptr<LICE_IBitmap> bitmap;
};

struct FontRecord
{
  int size;
  int orientation;
  int style;
  char face[ITextStyle::kFaceSize];
  std::unique_ptr<LICE_CachedFont> font;

  bool Matches(const ITextStyle& s) const
  {
    // Colour, alignment and quality are not part of the key; the face's letter case is.
    return size == s.size && orientation == s.orientation && style == s.style &&
           std::strncmp(face, s.face, sizeof face) == 0;
  }
};

// Records are looked up and appended under the lock, one step at a time. Two editors that
// miss at once both load and both append; the first record then wins every lookup.
template <class Record>
struct Cache
{
  PlugMutex lock;
  std::vector<Record> records;

  ~Cache()
  {
    // Objects first, in list order, then the records.
    for (Record& record : records)
      DeleteObject(record);
  }

  static void DeleteObject(BitmapRecord& record) { record.bitmap.reset(); }
  static void DeleteObject(FontRecord& record) { record.font.reset(); }
};

Cache<BitmapRecord>& Bitmaps()
{
  static Cache<BitmapRecord> cache;
  return cache;
}

Cache<FontRecord>& Fonts()
{
  static Cache<FontRecord> cache;
  return cache;
}

}  // namespace

LICE_IBitmap* IGraphics::FindCachedBitmap(int resourceId)
{
  Cache<BitmapRecord>& cache = Bitmaps();
  ScopedLock lock(&cache.lock);
  for (const BitmapRecord& record : cache.records)
    if (record.resourceId == resourceId)
      return record.bitmap.get();
  return nullptr;
}

void IGraphics::CacheBitmap(LICE_IBitmap* bitmap, int resourceId)
{
  std::unique_ptr<LICE_IBitmap> owned(bitmap);
  Cache<BitmapRecord>& cache = Bitmaps();
  ScopedLock lock(&cache.lock);
  try
  {
    cache.records.push_back({resourceId, std::move(owned)});
  }
  catch (const std::bad_alloc&)
  {
    // Not cached: the bitmap is freed and the caller finds no image.
  }
}

LICE_CachedFont* IGraphics::FindCachedFont(const ITextStyle& style)
{
  Cache<FontRecord>& cache = Fonts();
  ScopedLock lock(&cache.lock);
  for (const FontRecord& record : cache.records)
    if (record.Matches(style))
      return record.font.get();
  return nullptr;
}

void IGraphics::CacheFont(LICE_CachedFont* font, const ITextStyle& style)
{
  FontRecord record{style.size, style.orientation, style.style, {}, std::unique_ptr<LICE_CachedFont>(font)};
  std::memcpy(record.face, style.face, sizeof record.face);
  record.face[sizeof record.face - 1] = '\0';
  Cache<FontRecord>& cache = Fonts();
  ScopedLock lock(&cache.lock);
  try
  {
    cache.records.push_back(std::move(record));
  }
  catch (const std::bad_alloc&)
  {
    // Not cached: the font is freed and the caller finds none.
  }
}

void IGraphics::ReleaseCachedFonts()
{
  Cache<FontRecord>& cache = Fonts();
  ScopedLock lock(&cache.lock);
  for (FontRecord& record : cache.records)
    record.font.reset();
  cache.records.clear();
}
