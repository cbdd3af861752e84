#include "tests/lice/FakeGlyphRasteriser.h"

#include "lice/LICE_Bitmap.h"

namespace
{
FakeGlyphRasteriser::Font* AsFont(LICE_FontHandle handle) { return reinterpret_cast<FakeGlyphRasteriser::Font*>(handle); }
} // namespace

LICE_FontHandle FakeGlyphRasteriser::CreateFontHandle(const char* face, int height, int, bool, int, int)
{
  if (missingFaces.count(face) || height < 0) return nullptr;
  m_fonts.push_back(std::make_unique<Font>(Font{height}));
  auto handle = reinterpret_cast<LICE_FontHandle>(m_fonts.back().get());
  m_live.insert(handle);
  ++created;
  return handle;
}

void FakeGlyphRasteriser::DeleteFontHandle(LICE_FontHandle handle)
{
  if (!m_live.erase(handle))
  {
    ++doubleDeletes;
    return;
  }
  ++deleted;
}

int FakeGlyphRasteriser::LineHeight(LICE_FontHandle font, LICE_IBitmap*) { return font ? AsFont(font)->height : 0; }

FakeGlyph FakeGlyphRasteriser::GlyphFor(int ch) const
{
  auto found = glyphs.find(ch);
  if (found != glyphs.end()) return found->second;
  FakeGlyph glyph;
  if (ch == ' ')
  {
    glyph.advance = 4;
    glyph.coverage = [](int, int, int) { return 0; };
  }
  else
  {
    glyph.coverage = [](int x, int y, int height) { return x >= 1 && x <= 6 && y >= 2 && y < height - 2 ? 255 : 0; };
  }
  return glyph;
}

void FakeGlyphRasteriser::MeasureGlyph(LICE_FontHandle font, LICE_IBitmap*, unsigned short ch, int* advance,
                                       int* cellHeight)
{
  *advance = font ? GlyphFor(ch).advance : 0;
  *cellHeight = font ? AsFont(font)->height : 0;
}

void FakeGlyphRasteriser::RenderGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int cellWidth,
                                      int cellHeight)
{
  ++renders[ch];
  if (!font) return;
  const FakeGlyph glyph = GlyphFor(ch);
  const int height = AsFont(font)->height;
  Pixel32* pixels = canvas->PixelData();
  for (int y = 0; y < cellHeight && y < canvas->PixelHeight(); ++y)
  {
    for (int x = 0; x < cellWidth && x < canvas->PixelWidth(); ++x)
    {
      const int v = glyph.coverage(x, y, height);
      pixels[y * canvas->RowPitch() + x] = LICE_Rgba(v, v, v, 255);
    }
  }
}

int FakeGlyphRasteriser::RenderCount() const
{
  int total = 0;
  for (const auto& entry : renders) total += entry.second;
  return total;
}
