#pragma once
// The glyph source behind LICE_CachedFont: one character at a time, white on black into the
// shared glyph canvas. GDI on Windows, FreeType natively, a deterministic fake in the tests.

#include <mutex>

#include "lice/LICE_Pixel.h"

class LICE_IBitmap;
struct LICE_TextRect;

// An opaque font handle. In the Windows modules it is the HFONT itself; elsewhere it is an
// object owned by the rasteriser that made it.
struct LICE_FontObject;
using LICE_FontHandle = LICE_FontObject*;

// What a cached font hands a rasteriser that draws whole texts itself.
struct LICE_NativeTextFont
{
  LICE_FontHandle font;
  Pixel32 textColour;
  Pixel32 backColour;
  int backMode;
  float alpha;
  int fontFlags;
  int lineHeight;
};

class LICE_GlyphRasteriser
{
public:
  virtual ~LICE_GlyphRasteriser() = default;

  // height > 0 is the cell height (ascent + descent), as a GDI font height; weight 400 normal,
  // 700 bold; orientation in tenths of a degree; quality is a GDI font quality (0 default,
  // 3 non-anti-aliased, 4 anti-aliased, 5 subpixel). Null on failure.
  virtual LICE_FontHandle CreateFontHandle(const char* face, int height, int weight, bool italic, int orientationTenths,
                                           int quality) = 0;
  virtual void DeleteFontHandle(LICE_FontHandle font) = 0;

  // Called whenever the canvas was (re)allocated: text white, background opaque black.
  virtual void PrepareCanvas(LICE_IBitmap* canvas) = 0;
  // The font's line height (GDI's tmHeight).
  virtual int LineHeight(LICE_FontHandle font, LICE_IBitmap* canvas) = 0;
  // Advance and cell height of one UTF-16 code unit, measured alone.
  virtual void MeasureGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int* advance,
                            int* cellHeight) = 0;
  // Draws one code unit with its origin at the canvas's top-left (baseline at the ascent) into
  // the black cell [0, cellWidth) x [0, cellHeight); the coverage lands in the red byte.
  virtual void RenderGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int cellWidth,
                           int cellHeight) = 0;
  // For fonts made for native drawing: draws (or measures) a whole text the platform's way
  // instead of from the glyph cache. True when it took the call, with the drawn or measured
  // extent in *result; false leaves the text to the glyph cache (the base never takes it).
  virtual bool DrawWholeText(const LICE_NativeTextFont&, LICE_IBitmap*, const char*, int, LICE_TextRect*, int, int*)
  {
    return false;
  }
};

// The rasteriser every font uses. Starts as the platform's own; a test may install another
// (null restores the platform's). Returns the previous one. Fonts made by one rasteriser must
// be released before another is installed.
LICE_GlyphRasteriser* LICE_SetGlyphRasteriser(LICE_GlyphRasteriser* rasteriser);
LICE_GlyphRasteriser* LICE_ActiveGlyphRasteriser();
LICE_GlyphRasteriser* LICE_PlatformGlyphRasteriser();

// Font creation for the editor, through the active rasteriser.
LICE_FontHandle LICE_CreateFont(const char* face, int height, int weight, bool italic, int orientationTenths,
                                int quality);
void LICE_DeleteFont(LICE_FontHandle font);

// The one process-wide lock of font drawing, the glyph canvas and the rasterisers. Recursive,
// and never destroyed, so fonts released by static destructors at unload can still take it.
std::recursive_mutex& LICE_FontLock();
