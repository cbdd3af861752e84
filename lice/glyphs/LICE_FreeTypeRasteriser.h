#pragma once
// Native glyph source: fontconfig picks the face file ("Arial" resolves to its
// metric-compatible substitute), FreeType renders it with GDI's size semantics.

#include "lice/glyphs/LICE_GlyphRasteriser.h"

class LICE_FreeTypeRasteriser : public LICE_GlyphRasteriser
{
public:
  // Orientation is not supported: every font is upright (vertical text is the cached font's
  // own flag). Height 0 picks 12 pixels; |height| above 16384 fails.
  LICE_FontHandle CreateFontHandle(const char* face, int height, int weight, bool italic, int orientationTenths,
                                   int quality) override;
  void DeleteFontHandle(LICE_FontHandle font) override;
  void PrepareCanvas(LICE_IBitmap* canvas) override;
  int LineHeight(LICE_FontHandle font, LICE_IBitmap* canvas) override;
  void MeasureGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int* advance,
                    int* cellHeight) override;
  void RenderGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int cellWidth,
                   int cellHeight) override;

  // The font file fontconfig chose, for diagnostics and tests; empty for a null font.
  static const char* FontFile(LICE_FontHandle font);
  // The ascent in pixels (baseline position in the cell).
  static int Ascent(LICE_FontHandle font);
};
