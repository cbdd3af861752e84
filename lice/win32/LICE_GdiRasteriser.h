#pragma once
// The Windows glyph source: GDI fonts drawn with DrawTextW into the glyph canvas's memory
// device context, white on an opaque black background.

#include "lice/glyphs/LICE_GlyphRasteriser.h"

class LICE_GdiRasteriser : public LICE_GlyphRasteriser
{
public:
  LICE_FontHandle CreateFontHandle(const char* face, int height, int weight, bool italic, int orientationTenths,
                                   int quality) override;
  void DeleteFontHandle(LICE_FontHandle font) override;
  void PrepareCanvas(LICE_IBitmap* canvas) override;
  int LineHeight(LICE_FontHandle font, LICE_IBitmap* canvas) override;
  void MeasureGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int* advance,
                    int* cellHeight) override;
  void RenderGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int cellWidth,
                   int cellHeight) override;
  // Direct GDI text, in the x64 modules only.
  bool DrawWholeText(const LICE_NativeTextFont& font, LICE_IBitmap* bitmap, const char* text, int length,
                     LICE_TextRect* rect, int flags, int* result) override;
};
