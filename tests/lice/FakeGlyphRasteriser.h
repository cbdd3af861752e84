#pragma once
// A deterministic glyph source for layout tests: every glyph is described by numbers, so
// masks, advances and drawn pixels are known exactly.

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>
#include <string>

#include "lice/glyphs/LICE_GlyphRasteriser.h"

struct FakeGlyph
{
  int advance = 8;
  // Coverage at cell column x, row y of a cell `height` rows tall.
  std::function<int(int x, int y, int height)> coverage;
};

class FakeGlyphRasteriser : public LICE_GlyphRasteriser
{
public:
  // Glyphs not listed: advance 8, a solid block over columns 1..6 and rows 2..height-3;
  // the space has advance 4 and no ink.
  std::map<int, FakeGlyph> glyphs;
  std::map<int, int> renders;       // render calls per character
  std::set<std::string> missingFaces = {"NoSuchFace"};
  int created = 0;
  int deleted = 0;
  int doubleDeletes = 0;

  LICE_FontHandle CreateFontHandle(const char* face, int height, int weight, bool italic, int orientationTenths,
                             int quality) override;
  void DeleteFontHandle(LICE_FontHandle font) override;
  void PrepareCanvas(LICE_IBitmap*) override {}
  int LineHeight(LICE_FontHandle font, LICE_IBitmap* canvas) override;
  void MeasureGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int* advance,
                    int* cellHeight) override;
  void RenderGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int cellWidth,
                   int cellHeight) override;

  FakeGlyph GlyphFor(int ch) const;
  int RenderCount() const;

  struct Font
  {
    int height;
  };

private:
  std::vector<std::unique_ptr<Font>> m_fonts;  // kept until the fake dies: handles are never reused
  std::set<LICE_FontHandle> m_live;
};

// Installs a fresh fake for the life of a test and restores the previous rasteriser.
class ScopedFakeRasteriser
{
public:
  ScopedFakeRasteriser() : m_previous(LICE_SetGlyphRasteriser(&fake)) {}
  ~ScopedFakeRasteriser() { LICE_SetGlyphRasteriser(m_previous); }
  FakeGlyphRasteriser fake;

private:
  LICE_GlyphRasteriser* m_previous;
};
