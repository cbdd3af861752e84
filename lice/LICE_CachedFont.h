// Text drawing through per-font caches of 8-bit glyph masks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lice/LICE_Bitmap.h"
#include "lice/LICE_Utf8Cursor.h"
#include "lice/glyphs/LICE_GlyphRasteriser.h"

// A text rectangle: left, top, right, bottom (right and bottom exclusive).
struct LICE_TextRect
{
  int left;
  int top;
  int right;
  int bottom;
};

// Font flags (AssignFont).
constexpr int LICE_FontVertical = 0x1;
constexpr int LICE_FontUpward = 0x2;     // with LICE_FontVertical
constexpr int LICE_FontPreRender = 0x4;  // renders 0..127 at once, never anything above
constexpr int LICE_FontBlur = 0x10;
constexpr int LICE_FontInvert = 0x20;
constexpr int LICE_FontMono = 0x40;
constexpr int LICE_FontShadow = 0x80;
constexpr int LICE_FontOutline = 0x100;
constexpr int LICE_FontOwnsHandle = 0x200;
constexpr int LICE_FontNativeDraw = 0x400;  // x64 Windows modules only

// Draw flags (PaintText): GDI's DrawText bits, plus one of our own.
constexpr int LICE_DT_CENTER = 0x1;
constexpr int LICE_DT_RIGHT = 0x2;
constexpr int LICE_DT_VCENTER = 0x4;
constexpr int LICE_DT_BOTTOM = 0x8;
constexpr int LICE_DT_SINGLELINE = 0x20;
constexpr int LICE_DT_NOCLIP = 0x100;
constexpr int LICE_DT_CALCRECT = 0x400;
constexpr int LICE_DT_USE_TEXT_ALPHA = 0x40000000;  // font alpha times the text colour's alpha

// Back modes: 2 fills each glyph cell with the back colour first.
constexpr int LICE_BackTransparent = 1;
constexpr int LICE_BackOpaque = 2;

// One cached character. maskPosition is the mask's offset in the store + 1: 0 means not
// rendered yet, -1 rendered with nothing to draw.
struct GlyphRecord
{
  int maskPosition;
  int width;
  int height;
  int advance;
  int character;
};

class LICE_IFont
{
public:
  virtual ~LICE_IFont() = default;
  virtual void AssignFont(LICE_FontHandle font, int flags) = 0;
  virtual Pixel32 ChangeTextColour(Pixel32 colour) = 0;
  virtual Pixel32 ChangeBackColour(Pixel32 colour) = 0;
  virtual Pixel32 ChangeEffectColour(Pixel32 colour) = 0;
  virtual int ChangeBackMode(int mode) = 0;
  virtual void ChangeBlend(BlendMode mode, float alpha) = 0;
  // Draws (or with LICE_DT_CALCRECT measures) `length` bytes of UTF-8 (negative: up to the
  // NUL) into `rect`. Returns the drawn or measured height (width for a vertical font).
  virtual int PaintText(LICE_IBitmap* bitmap, const char* text, int length, LICE_TextRect* rect, int flags) = 0;
  virtual Pixel32 CurrentTextColour() const = 0;
  virtual LICE_FontHandle FontHandle() const = 0;
  virtual int LineHeight() const = 0;
};

class LICE_CachedFont : public LICE_IFont
{
public:
  LICE_CachedFont();
  ~LICE_CachedFont() override;
  LICE_CachedFont(const LICE_CachedFont&) = delete;
  LICE_CachedFont& operator=(const LICE_CachedFont&) = delete;

  void AssignFont(LICE_FontHandle font, int flags) override;
  Pixel32 ChangeTextColour(Pixel32 colour) override;
  Pixel32 ChangeBackColour(Pixel32 colour) override;
  Pixel32 ChangeEffectColour(Pixel32 colour) override;
  int ChangeBackMode(int mode) override;
  void ChangeBlend(BlendMode mode, float alpha) override;
  int PaintText(LICE_IBitmap* bitmap, const char* text, int length, LICE_TextRect* rect, int flags) override;
  Pixel32 CurrentTextColour() const override { return mTextColour; }
  LICE_FontHandle FontHandle() const override { return mFont; }
  int LineHeight() const override { return mLineHeight; }

  // Blends the mask of `character` at x, y, clipped to `clip` (and to the bitmap). False when
  // nothing of it lies inside.
  virtual bool BlendGlyph(LICE_IBitmap* bitmap, int character, int x, int y, const LICE_TextRect& clip);

  // The record of a character, or null. Valid until the next call that renders a glyph.
  const GlyphRecord* LookupGlyph(int character) const;
  // Renders one character into the cache; false when it cannot be rendered.
  bool CacheGlyph(int character);
  // The live-font count (fonts constructed and not yet destroyed).
  static int LiveFontCount();

private:
  struct Pen
  {
    long long x, y;          // where the next glyph goes
    long long lineX, lineY;  // where lines start
  };

  int LayoutText(LICE_IBitmap* bitmap, const char* text, int length, LICE_TextRect* rect, int flags,
                 bool internalMeasure);
  int MeasureLayout(const char* text, int length, LICE_TextRect* rect, int flags);
  int DrawLayout(LICE_IBitmap* bitmap, const char* text, int length, const LICE_TextRect& rect, int flags);
  void AlignPen(const char* text, int length, const LICE_TextRect& rect, int flags, Pen* pen);
  bool NextGlyph(LICE_Utf8Cursor& cursor, bool lineFeedIsSpace, Pen* pen, int* code, GlyphRecord* glyph);
  const GlyphRecord* DrawableGlyph(int character);
  GlyphRecord* FindRecord(int character);
  bool MaskInStore(const GlyphRecord& record) const;
  void BuildMask(GlyphRecord* record, int advance, int cellWidth, int cellHeight);
  void RotateMask(std::size_t start, int* width, int* height);
  void ApplyEffects(std::size_t start, int width, int height);
  void ReleaseHandle();

  Pixel32 mTextColour = 0;
  Pixel32 mBackColour = 0xFFFFFFFF;
  Pixel32 mEffectColour = 0xFFFFFFFF;
  int mBackMode = LICE_BackTransparent;
  BlendMode mBlendMode = BlendCopy;
  float mAlpha = 1.0f;
  int mFlags = 0;
  int mLineHeight = 0;
  GlyphRecord mDirect[128] = {};
  std::vector<GlyphRecord> mExtra;  // sorted by character at all times
  std::vector<unsigned char> mMasks;
  LICE_FontHandle mFont = nullptr;
};
