#include "lice/win32/LICE_GdiRasteriser.h"

#include <windows.h>

#include "lice/LICE_Bitmap.h"
#if defined(_WIN64)
#include "lice/win32/LICE_NativeText.h"
#endif

namespace {
HFONT AsFont(LICE_FontHandle font)
{
  return reinterpret_cast<HFONT>(font);
}

// The canvas's device context with the font selected for the scope (no font: the context's
// current one), or a temporary memory context when the canvas has none.
class SelectedFont
{
public:
  SelectedFont(LICE_IBitmap* canvas, LICE_FontHandle font)
  {
    mDc = canvas ? static_cast<HDC>(canvas->DrawingContext()) : nullptr;
    if (!mDc)
      mDc = mOwnDc = CreateCompatibleDC(nullptr);
    if (mDc && font)
      mPrevious = SelectObject(mDc, AsFont(font));
  }
  ~SelectedFont()
  {
    if (mPrevious)
      SelectObject(mDc, mPrevious);
    if (mOwnDc)
      DeleteDC(mOwnDc);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;
  HDC Dc() const { return mDc; }

private:
  HDC mDc = nullptr;
  HDC mOwnDc = nullptr;
  HGDIOBJ mPrevious = nullptr;
};
}  // namespace

LICE_FontHandle LICE_GdiRasteriser::CreateFontHandle(const char* face, int height, int weight, bool italic,
                                                     int orientationTenths, int quality)
{
  HFONT font = CreateFontA(height, 0, orientationTenths, orientationTenths, weight, italic ? TRUE : FALSE, FALSE, FALSE,
                           0, 0, 0, static_cast<DWORD>(quality), 0, face);
  return reinterpret_cast<LICE_FontHandle>(font);
}

void LICE_GdiRasteriser::DeleteFontHandle(LICE_FontHandle font)
{
  if (font)
    DeleteObject(AsFont(font));
}

void LICE_GdiRasteriser::PrepareCanvas(LICE_IBitmap* canvas)
{
  HDC dc = canvas ? static_cast<HDC>(canvas->DrawingContext()) : nullptr;
  if (!dc)
    return;
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 0));
}

int LICE_GdiRasteriser::LineHeight(LICE_FontHandle font, LICE_IBitmap* canvas)
{
  SelectedFont selected(canvas, font);
  TEXTMETRICA metrics = {};
  if (!selected.Dc() || !GetTextMetricsA(selected.Dc(), &metrics))
    return 0;
  return metrics.tmHeight;
}

void LICE_GdiRasteriser::MeasureGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int* advance,
                                      int* cellHeight)
{
  *advance = *cellHeight = 0;
  SelectedFont selected(canvas, font);
  if (!selected.Dc())
    return;
  const wchar_t text = static_cast<wchar_t>(ch);
  RECT rect = {0, 0, 0, 0};
  DrawTextW(selected.Dc(), &text, 1, &rect, DT_NOPREFIX | DT_CALCRECT | DT_SINGLELINE);
  *advance = rect.right;
  *cellHeight = rect.bottom;
}

void LICE_GdiRasteriser::RenderGlyph(LICE_FontHandle font, LICE_IBitmap* canvas, unsigned short ch, int cellWidth,
                                     int cellHeight)
{
  if (!canvas || !canvas->DrawingContext())
    return;
  // Pixels written directly (the black cell) must reach the section before GDI draws on it.
  GdiFlush();
  SelectedFont selected(canvas, font);
  const wchar_t text = static_cast<wchar_t>(ch);
  RECT rect = {0, 0, cellWidth, cellHeight};
  DrawTextW(selected.Dc(), &text, 1, &rect, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
  // And GDI's drawing must be finished before the pixels are read.
  GdiFlush();
}

bool LICE_GdiRasteriser::DrawWholeText(const LICE_NativeTextFont& font, LICE_IBitmap* bitmap, const char* text,
                                       int length, LICE_TextRect* rect, int flags, int* result)
{
#if defined(_WIN64)
  return LICE_NativeTextDraw(font, bitmap, text, length, rect, flags, result);
#else
  (void)font, (void)bitmap, (void)text, (void)length, (void)rect, (void)flags, (void)result;
  return false;
#endif
}

LICE_GlyphRasteriser* LICE_PlatformGlyphRasteriser()
{
  static LICE_GdiRasteriser* rasteriser = new LICE_GdiRasteriser;
  return rasteriser;
}
