#include "lice/win32/LICE_NativeText.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "lice/LICE_AreaBitmap.h"
#include "lice/LICE_Blit.h"
#include "lice/LICE_GlyphCanvas.h"

namespace {
constexpr int AlignmentFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;

COLORREF ColourRef(Pixel32 p)
{
  return RGB(LICE_Red(p), LICE_Green(p), LICE_Blue(p));
}

bool GdiDraws(const LICE_NativeTextFont& font, int flags)
{
  if (font.lineHeight > 255)
    return true;
  return !LICE_RunningUnderWine() && !(flags & LICE_DT_USE_TEXT_ALPHA) &&
         !(font.fontFlags & (LICE_FontPreRender | 0x1F3));
}

// The text as GDI takes it: UTF-16 when it holds valid multi-byte UTF-8, else the bytes.
class GdiText
{
public:
  GdiText(const char* text, int length) : mBytes(text ? text : ""), mLength(0)
  {
    // The text ends at its NUL within the length, as on the glyph-cache path; nothing beyond
    // it is read.
    while ((length < 0 || mLength < length) && mBytes[mLength])
      ++mLength;
    const int byteCount = mLength;
    if (!std::any_of(mBytes, mBytes + byteCount, [](char c) { return (c & 0x80) != 0; }))
      return;
    const int needed = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, mBytes, byteCount, nullptr, 0);
    if (needed <= 0)
      return;
    mWide.assign(needed >= 1000 ? needed + 32 : 1024, L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, mBytes, byteCount, mWide.data(), needed) != needed)
      mWide.clear();
  }

  int Draw(HDC dc, RECT* rect, int flags) const
  {
    // Our own "times text alpha" bit is not GDI's to see.
    flags = (flags & ~LICE_DT_USE_TEXT_ALPHA) | DT_NOPREFIX;
    if (!mWide.empty())
      return DrawTextW(dc, mWide.data(), -1, rect, static_cast<UINT>(flags));
    return DrawTextA(dc, mBytes, mLength, rect, static_cast<UINT>(flags));
  }

private:
  const char* mBytes;
  int mLength;
  std::vector<wchar_t> mWide;  // NUL-terminated when used
};

// Selects the font and the font's colours into a context for the scope.
class TextState
{
public:
  TextState(HDC dc, const LICE_NativeTextFont& font) : mDc(dc)
  {
    mPrevious = SelectObject(dc, reinterpret_cast<HFONT>(font.font));
    SetTextColor(dc, ColourRef(font.textColour));
    SetBkMode(dc, font.backMode);
    if (font.backMode == OPAQUE)
      SetBkColor(dc, ColourRef(font.backColour));
  }
  ~TextState()
  {
    if (mPrevious)
      SelectObject(mDc, mPrevious);
  }
  TextState(const TextState&) = delete;
  TextState& operator=(const TextState&) = delete;

private:
  HDC mDc;
  HGDIOBJ mPrevious;
};

int DrawIntoContext(const LICE_NativeTextFont& font, HDC dc, const GdiText& text, LICE_TextRect* rect, int flags)
{
  RECT r = {rect->left, rect->top, rect->right, rect->bottom};
  int result = 0;
  {
    TextState state(dc, font);
    result = text.Draw(dc, &r, flags);
  }
  GdiFlush();
  if (flags & DT_CALCRECT)
    *rect = LICE_TextRect{r.left, r.top, r.right, r.bottom};
  return result;
}

// A view of part of a section: drawn into the section's own context with the coordinates of
// the whole, clipped to the area, so that inside it every pixel is the one the same text drawn
// whole gives. False (nothing drawn) when the section has no context or the rectangle moved to
// the whole's coordinates would not fit an int.
bool DrawIntoArea(const LICE_NativeTextFont& font, const LICE_AreaBitmap& area, const GdiText& text,
                  LICE_TextRect* rect, int flags, int* result)
{
  const HDC dc = static_cast<HDC>(area.Whole().DrawingContext());
  const int l = area.Left(), t = area.Top();
  if (!dc || std::max(rect->left, rect->right) > INT_MAX - l || std::max(rect->top, rect->bottom) > INT_MAX - t)
    return false;
  const int saved = SaveDC(dc);
  if (saved == 0)
    return false;
  LICE_TextRect whole{rect->left + l, rect->top + t, rect->right + l, rect->bottom + t};
  if (IntersectClipRect(dc, l, t, l + area.PixelWidth(), t + area.PixelHeight()) != ERROR)
    *result = DrawIntoContext(font, dc, text, &whole, flags);
  RestoreDC(dc, saved);
  *rect = LICE_TextRect{whole.left - l, whole.top - t, whole.right - l, whole.bottom - t};
  return true;
}

// A target without a context: draw in the glyph canvas over a copy of the target area, then
// copy the area back at the font's alpha.
int DrawThroughCanvas(const LICE_NativeTextFont& font, LICE_IBitmap* bitmap, const GdiText& text, LICE_TextRect* rect,
                      int flags, bool* handled)
{
  LICE_SysBitmap* canvas = LICE_EnsureGlyphCanvas(4, 4);
  HDC dc = canvas ? static_cast<HDC>(canvas->DrawingContext()) : nullptr;
  if (!dc)
  {
    *handled = false;
    return 0;
  }
  // The canvas's context goes back to white on opaque black for the glyph cache, however we leave.
  struct Restore
  {
    LICE_SysBitmap* canvas;
    ~Restore() { LICE_ActiveGlyphRasteriser()->PrepareCanvas(canvas); }
  } restore{canvas};
  // Placement in 64 bits: a rectangle may span the whole int range.
  const long long left = rect->left, top = rect->top, right = rect->right, bottom = rect->bottom;
  RECT size = {0, 0, static_cast<LONG>(std::min(right - left, 0x7FFFFFFFLL)),
               static_cast<LONG>(std::min(bottom - top, 0x7FFFFFFFLL))};
  int result = 0;
  {
    TextState state(dc, font);
    result = text.Draw(dc, &size, (flags & ~AlignmentFlags) | DT_CALCRECT);
  }
  const int width = size.right - size.left, height = size.bottom - size.top;
  if (flags & DT_CALCRECT)
  {
    rect->right = static_cast<int>(std::min(left + width, 0x7FFFFFFFLL));
    rect->bottom = static_cast<int>(std::min(top + height, 0x7FFFFFFFLL));
    return result;
  }
  long long x = left, y = top;
  if (flags & DT_CENTER)
    x = left + (right - left - width) / 2;
  if (flags & DT_RIGHT)
    x = right - width;
  if (flags & DT_VCENTER)
    y = top + (bottom - top - height) / 2;
  if (flags & DT_BOTTOM)
    y = bottom - height;

  long long areaLeft = std::max(x, 0LL), areaTop = std::max(y, 0LL);
  long long areaRight = std::min<long long>(x + width, bitmap->PixelWidth());
  long long areaBottom = std::min<long long>(y + height, bitmap->PixelHeight());
  if (!(flags & DT_NOCLIP))
  {
    areaLeft = std::max(areaLeft, left);
    areaTop = std::max(areaTop, top);
    areaRight = std::min(areaRight, right);
    areaBottom = std::min(areaBottom, bottom);
  }
  if (areaRight <= areaLeft || areaBottom <= areaTop)
    return result;
  // Inside the bitmap from here, so every coordinate fits an int.
  const LICE_SourceRect area = {static_cast<int>(areaLeft), static_cast<int>(areaTop), static_cast<int>(areaRight),
                                static_cast<int>(areaBottom)};
  const int areaWidth = area.right - area.left, areaHeight = area.bottom - area.top;
  if (!LICE_EnsureGlyphCanvas(areaWidth, areaHeight))
    return result;

  LICE_CopyRect(canvas, bitmap, 0, 0, &area, 1.0f, BlendCopy);
  GdiFlush();
  const LONG placeX = static_cast<LONG>(x - area.left), placeY = static_cast<LONG>(y - area.top);
  RECT place = {placeX, placeY, placeX + width, placeY + height};
  {
    TextState state(dc, font);
    result = text.Draw(dc, &place, flags & ~(AlignmentFlags | DT_NOCLIP));
  }
  GdiFlush();
  const LICE_SourceRect drawn = {0, 0, areaWidth, areaHeight};
  LICE_CopyRect(bitmap, canvas, area.left, area.top, &drawn, font.alpha, BlendCopy);
  return result;
}

}  // namespace

bool LICE_RunningUnderWine()
{
  static const bool underWine = [] {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }();
  return underWine;
}

bool LICE_NativeTextDraw(const LICE_NativeTextFont& font, LICE_IBitmap* bitmap, const char* text, int length,
                         LICE_TextRect* rect, int flags, int* result)
{
  if (!font.font || !rect || !GdiDraws(font, flags))
    return false;
  const GdiText gdiText(text, length);
  HDC target = bitmap ? static_cast<HDC>(bitmap->DrawingContext()) : nullptr;
  if (target)
  {
    *result = DrawIntoContext(font, target, gdiText, rect, flags);
    return true;
  }
  const auto* area = dynamic_cast<const LICE_AreaBitmap*>(bitmap);
  if (area && DrawIntoArea(font, *area, gdiText, rect, flags, result))
    return true;
  if (!bitmap && !(flags & DT_CALCRECT))
    return false;
  bool handled = true;
  *result = DrawThroughCanvas(font, bitmap, gdiText, rect, flags, &handled);
  return handled;
}
