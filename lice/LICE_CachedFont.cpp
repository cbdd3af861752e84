// The cached font: its settings, its life and the text entry point. The glyph cache, the
// layout and the drawing are in the LICE_CachedFont*.cpp files beside it.
#include "lice/LICE_CachedFont.h"

#include <cstring>

#include "lice/LICE_GlyphCanvas.h"

namespace {
// Constant-initialised, so fonts destroyed by static destructors still find it.
int g_liveFonts = 0;
}  // namespace

LICE_CachedFont::LICE_CachedFont()
{
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  ++g_liveFonts;
}

LICE_CachedFont::~LICE_CachedFont()
{
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  ReleaseHandle();
  if (--g_liveFonts == 0)
  {
    delete GlyphCanvas;
    GlyphCanvas = nullptr;
  }
}

int LICE_CachedFont::LiveFontCount()
{
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
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
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
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

int LICE_CachedFont::PaintText(LICE_IBitmap* bitmap, const char* text, int length, LICE_TextRect* rect, int flags)
{
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  return LayoutText(bitmap, text, length, rect, flags, false);
}
