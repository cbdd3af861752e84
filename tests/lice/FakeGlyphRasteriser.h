#pragma once
// A deterministic glyph source for layout tests: every glyph is described by numbers, so masks,
// advances and drawn pixels are known exactly.

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "lice/LICE_Bitmap.h"
#include "lice/glyphs/LICE_GlyphRasteriser.h"

struct FakeGlyph
{
  int advance = 8;
  std::function<int(int x, int y, int height)> coverage;  // at cell column x, row y
};

class FakeGlyphRasteriser : public LICE_GlyphRasteriser
{
public:
  // Glyphs not listed: advance 8, a solid block over columns 1..6 and rows 2..height-3; the
  // space has advance 4 and no ink. The face "NoSuchFace" cannot be made.
  std::map<int, FakeGlyph> glyphs;
  std::map<int, int> renders;  // render calls per character
  int deleted = 0;
  int doubleDeletes = 0;
  int wholeTextResult = -1;  // 0 or more: every whole text is taken, with this result
  std::vector<std::string> wholeTexts;

  LICE_FontHandle CreateFontHandle(const char* face, int height, int, bool, int, int) override
  {
    if (std::string(face) == "NoSuchFace" || height < 0)
      return nullptr;
    mFonts.push_back(std::make_unique<int>(height));  // kept, so handles are never reused
    mLive.insert(mFonts.back().get());
    return reinterpret_cast<LICE_FontHandle>(mFonts.back().get());
  }
  void DeleteFontHandle(LICE_FontHandle font) override
  {
    ++(mLive.erase(reinterpret_cast<int*>(font)) ? deleted : doubleDeletes);
  }
  void PrepareCanvas(LICE_IBitmap*) override {}
  int LineHeight(LICE_FontHandle font, LICE_IBitmap*) override { return font ? Height(font) : 0; }
  void MeasureGlyph(LICE_FontHandle font, LICE_IBitmap*, unsigned short ch, int* advance, int* cellHeight) override
  {
    *advance = font ? GlyphFor(ch).advance : 0;
    *cellHeight = font ? Height(font) : 0;
  }
  void RenderGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int cellWidth,
                   int cellHeight) override
  {
    ++renders[ch];
    const FakeGlyph glyph = GlyphFor(ch);
    for (int y = 0; font && y < cellHeight && y < canvas->PixelHeight(); ++y)
      for (int x = 0; x < cellWidth && x < canvas->PixelWidth(); ++x)
      {
        const int v = glyph.coverage(x, y, Height(font));
        canvas->PixelData()[y * canvas->RowPitch() + x] = LICE_Rgba(v, v, v, 255);
      }
  }

  bool DrawWholeText(const LICE_NativeTextFont&, LICE_IBitmap*, const char* text, int length, LICE_TextRect*, int,
                     int* result) override
  {
    if (wholeTextResult < 0)
      return false;
    wholeTexts.emplace_back(text, length < 0 ? std::strlen(text) : static_cast<size_t>(length));
    *result = wholeTextResult;
    return true;
  }

  FakeGlyph GlyphFor(int ch) const
  {
    auto found = glyphs.find(ch);
    if (found != glyphs.end())
      return found->second;
    if (ch == ' ')
      return FakeGlyph{4, [](int, int, int) { return 0; }};
    return FakeGlyph{8, [](int x, int y, int h) { return x >= 1 && x <= 6 && y >= 2 && y < h - 2 ? 255 : 0; }};
  }

private:
  static int Height(LICE_FontHandle font) { return *reinterpret_cast<int*>(font); }
  std::vector<std::unique_ptr<int>> mFonts;
  std::set<int*> mLive;
};

// Installs a fresh fake for the life of a test and restores the previous rasteriser.
class ScopedFakeRasteriser
{
public:
  ScopedFakeRasteriser() : mPrevious(LICE_SetGlyphRasteriser(&fake)) {}
  ~ScopedFakeRasteriser() { LICE_SetGlyphRasteriser(mPrevious); }
  FakeGlyphRasteriser fake;

private:
  LICE_GlyphRasteriser* mPrevious;
};
