// The Windows glyph source and the x64 direct-GDI text path, against the real GDI.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "lice/LICE_AreaBitmap.h"
#include "lice/LICE_CachedFont.h"
#include "lice/LICE_GlyphCanvas.h"
#include "tests/lice/TestBitmaps.h"
#include "tests/lice/TextInk.h"
#if defined(_WIN64)
#include "lice/win32/LICE_NativeText.h"
#endif

namespace {
class GdiFontTest : public ::testing::TestWithParam<int>
{
protected:
  void SetUp() override
  {
    LICE_FontHandle handle = LICE_CreateFont("Arial", GetParam(), 400, false, 0, 0);
    ASSERT_NE(handle, nullptr);
    font.AssignFont(handle, LICE_FontOwnsHandle | LICE_FontNativeDraw);
    font.ChangeTextColour(0xFFFFC83F);
  }
  LICE_CachedFont font;
};

TEST_P(GdiFontTest, LineHeightAndDigitAdvances)
{
  EXPECT_EQ(font.LineHeight(), GetParam());
  int digit = 0;
  for (char c = '0'; c <= '9'; ++c)
  {
    const char text[2] = {c, 0};
    LICE_TextRect rect{0, 0, 0, 0};
    EXPECT_EQ(font.PaintText(nullptr, text, -1, &rect, LICE_DT_CALCRECT), GetParam()) << c;
    const GlyphRecord* record = font.LookupGlyph(c);
    ASSERT_GT(record->maskPosition, 0) << c;
    if (!digit)
      digit = record->advance;
    EXPECT_EQ(record->advance, digit) << c;
    EXPECT_EQ(record->height, GetParam()) << c;
  }
  EXPECT_GT(digit, GetParam() / 4);
}

// Into plain memory and into a section with a device context.
TEST_P(GdiFontTest, KnobTextIsCentredInsideItsRectangle)
{
  LICE_MemBitmap memory(100, 40);
  LICE_SysBitmap section(100, 40);
  ExpectKnobTextCentred(font, memory, GetParam(), 5);
  ExpectKnobTextCentred(font, section, GetParam(), 5);
}

INSTANTIATE_TEST_SUITE_P(EditorSizes, GdiFontTest, ::testing::Values(16, 14));

// 'H' at quality 3 (no anti-aliasing): two stems from the cap line to the baseline.
TEST(GdiRasteriser, GlyphCellsAreWhiteOnBlackFromTheTopLeft)
{
  LICE_CachedFont font;
  font.AssignFont(LICE_CreateFont("Arial", 16, 400, false, 0, 3), LICE_FontOwnsHandle | LICE_FontMono);
  ASSERT_TRUE(font.CacheGlyph('H'));
  ASSERT_GT(font.LookupGlyph('H')->maskPosition, 0);
  GuardedBitmap bitmap(24, 16);
  bitmap.Fill(0xFF000000);
  LICE_TextRect rect{0, 0, 24, 16};
  font.ChangeTextColour(0xFFFFFFFF);
  font.PaintText(&bitmap, "H", -1, &rect, 0);
  EXPECT_GT(FindInk(bitmap, 0xFFFFFFFF).full, 2 * 8);
  EXPECT_TRUE(bitmap.GuardsIntact());
}

#if defined(_WIN64)
TEST(NativeText, UnderWineOnlyHugeFontsAreDrawnByGdi)
{
  ASSERT_TRUE(LICE_RunningUnderWine());
  LICE_CachedFont small, huge;
  small.AssignFont(LICE_CreateFont("Arial", 16, 400, false, 0, 0), LICE_FontOwnsHandle | LICE_FontNativeDraw);
  huge.AssignFont(LICE_CreateFont("Arial", 300, 400, false, 0, 0), LICE_FontOwnsHandle | LICE_FontNativeDraw);
  small.ChangeTextColour(0xFFFFC83F);
  huge.ChangeTextColour(0xFF00FF00);  // no red: were the canvas left in this colour, cached glyphs would read empty

  LICE_MemBitmap memory(400, 340);
  LICE_SysBitmap section(400, 340);  // has a device context: drawn into directly
  LICE_TextRect rect{0, 0, 400, 340};
  ClearToBlack(memory);
  ClearToBlack(section);
  EXPECT_GE(huge.PaintText(&memory, "8", -1, &rect, LICE_DT_CENTER), 290);
  EXPECT_GE(huge.PaintText(&section, "8", -1, &rect, LICE_DT_CENTER), 290);
  EXPECT_EQ(huge.LookupGlyph('8')->maskPosition, 0);  // never went through the glyph cache
  const TextInk memoryInk = FindInk(memory, 0xFF00FF00), sectionInk = FindInk(section, 0xFF00FF00);
  EXPECT_GT(memoryInk.full, 1000);
  EXPECT_LE(std::abs(memoryInk.minX + memoryInk.maxX - 400), 8);
  EXPECT_GT(sectionInk.full, 1000);
  EXPECT_EQ(sectionInk.minX, memoryInk.minX);

  // The shared canvas is white on black again for the cache.
  LICE_MemBitmap target(60, 20);
  ClearToBlack(target);
  LICE_TextRect line{0, 0, 60, 20};
  EXPECT_EQ(small.PaintText(&target, "88", -1, &line, 0), 16);
  EXPECT_GT(small.LookupGlyph('8')->maskPosition, 0);
  EXPECT_GT(FindInk(target, 0xFFFFC83F).full, 5);

  LICE_TextRect measure{5, 5, 5, 5};
  EXPECT_GE(huge.PaintText(nullptr, "88", -1, &measure, LICE_DT_CALCRECT), 290);
  EXPECT_GT(measure.right - 5, 200);
}

// GDI text through a view of part of a section is the text drawn into the whole section cut to
// the area, and leaves the section's context as it was. The area starts on an odd row and
// column, where centring rounded from the area's own corner would move the text by one.
TEST(NativeText, DrawnThroughAViewItIsTheWholeDrawingCutToTheArea)
{
  LICE_CachedFont huge;
  huge.AssignFont(LICE_CreateFont("Arial", 300, 400, false, 0, 0), LICE_FontOwnsHandle | LICE_FontNativeDraw);
  huge.ChangeTextColour(0xFF00FF00);
  constexpr int kFlags = LICE_DT_CENTER | LICE_DT_VCENTER | LICE_DT_NOCLIP;
  const int l = 151, t = 101, r = 261, b = 241;  // through the middle of the glyph
  LICE_SysBitmap whole(400, 340), viewed(400, 340);
  LICE_AreaBitmap area(viewed, l, t, r, b);
  LICE_TextRect rect{0, 0, 400, 340}, place{-l, -t, 400 - l, 340 - t};
  ClearToBlack(whole);
  ClearToBlack(viewed);
  huge.PaintText(&whole, "8", -1, &rect, kFlags);
  huge.PaintText(&area, "8", -1, &place, kFlags);
  int inkInside = 0;
  for (int y = 0; y < 340; ++y)
    for (int x = 0; x < 400; ++x)
    {
      const Pixel32 drawn = viewed.PixelData()[y * viewed.RowPitch() + x];
      const bool inside = x >= l && x < r && y >= t && y < b;
      ASSERT_EQ(drawn, inside ? whole.PixelData()[y * whole.RowPitch() + x] : 0xFF000000u) << x << "," << y;
      inkInside += inside && (drawn | 0xFF000000u) != 0xFF000000u;
    }
  EXPECT_GT(inkInside, 1000);
  const HDC dc = static_cast<HDC>(viewed.DrawingContext());
  POINT origin{1, 1};
  RECT clip{};
  GetViewportOrgEx(dc, &origin);
  GetClipBox(dc, &clip);
  EXPECT_EQ(origin.x | origin.y | clip.left | clip.top, 0);
  EXPECT_EQ(clip.right * 1000 + clip.bottom, 400 * 1000 + 340);
}

// Text whose NUL comes before the given length ends at the NUL, as on the glyph-cache path:
// here the NUL is the last readable byte, so reading on faults. And a rectangle spanning the
// whole int range centres the text on its middle, column 0, without wrapping around.
TEST(NativeText, DirectGdiTextStopsAtTheNulAndTakesAnyRectangle)
{
  LICE_CachedFont huge;
  huge.AssignFont(LICE_CreateFont("Arial", 300, 400, false, 0, 0), LICE_FontOwnsHandle | LICE_FontNativeDraw);
  huge.ChangeTextColour(0xFF00FF00);
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const SIZE_T page = system.dwPageSize;
  char* pages = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &old));
  LICE_MemBitmap memory(400, 340);
  for (const char* text : {"8", "\xC3\xA9"})
  {
    char* at = pages + page - std::strlen(text) - 1;
    std::strcpy(at, text);
    ClearToBlack(memory);
    LICE_TextRect rect{0, 0, 400, 340};
    EXPECT_GE(huge.PaintText(&memory, at, 64, &rect, LICE_DT_CENTER), 290) << text;
    EXPECT_GT(FindInk(memory, 0xFF00FF00).full, 500) << text;
    LICE_TextRect measure{0, 0, 0, 0};
    EXPECT_GE(huge.PaintText(nullptr, at, 64, &measure, LICE_DT_CALCRECT), 290) << text;
  }
  VirtualFree(pages, 0, MEM_RELEASE);

  ClearToBlack(memory);
  LICE_TextRect whole{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  huge.PaintText(&memory, "8", -1, &whole, LICE_DT_CENTER | LICE_DT_VCENTER);
  const TextInk ink = FindInk(memory, 0xFF00FF00);
  EXPECT_GT(ink.full, 100);
  EXPECT_EQ(ink.minX, 0);
  EXPECT_EQ(ink.minY, 0);
  EXPECT_LT(ink.maxX, 200);
}
#endif

}  // namespace
