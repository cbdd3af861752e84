#include <algorithm>
#include <climits>
#include <string>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "lice/LICE_CachedFont.h"
#include "lice/LICE_GlyphCanvas.h"
#include "tests/lice/FakeGlyphRasteriser.h"
#include "tests/lice/TestBitmaps.h"

namespace
{
constexpr Pixel32 Black = 0xFF000000;
constexpr Pixel32 White = 0xFFFFFFFF;

// With the fake's default glyph at line height 16: advance 8, ink over columns 1..6 and rows
// 2..13, so the mask is 8 x 16.
class CachedFontTest : public ::testing::Test
{
protected:
  std::unique_ptr<LICE_CachedFont> MakeFont(int height, int flags = 0)
  {
    auto font = std::make_unique<LICE_CachedFont>();
    font->AssignFont(LICE_CreateFont("Arial", height, 400, false, 0, 0), flags | LICE_FontOwnsHandle);
    font->ChangeTextColour(White);
    return font;
  }

  static int Measure(LICE_CachedFont& font, const char* text, int length = -1, int flags = 0,
                     LICE_TextRect* out = nullptr)
  {
    LICE_TextRect rect{0, 0, 0, 0};
    const int result = font.PaintText(nullptr, text, length, &rect, flags | LICE_DT_CALCRECT);
    if (out) *out = rect;
    return result;
  }

  // Columns of row y that differ from the background.
  static std::vector<int> InkColumns(GuardedBitmap& bitmap, int y)
  {
    std::vector<int> columns;
    for (int x = 0; x < bitmap.PixelWidth(); ++x)
      if (bitmap.At(x, y) != Black) columns.push_back(x);
    return columns;
  }

  ScopedFakeRasteriser m_fake;
  FakeGlyphRasteriser& fake = m_fake.fake;
};

TEST(Utf8Decode, WellFormedBrokenAndTruncatedSequences)
{
  struct Case
  {
    std::vector<unsigned char> bytes;
    size_t available;
    int code, used;
  };
  const Case cases[] = {
      {{'A'}, 1, 'A', 1},
      {{0xC3, 0xA9}, 2, 0xE9, 2},
      {{0xE2, 0x82, 0xAC}, 3, 0x20AC, 3},
      {{0xF0, 0x9F, 0x98, 0x80}, 4, ' ', 4},        // beyond 16 bits: a space
      {{0xC3, 0xC0}, 2, 0xC3, 1},                    // 0xC0 is no continuation byte
      {{0xC0, 0x80}, 2, 0xC0, 1},                    // never a lead byte
      {{0xF5, 0x80, 0x80, 0x80}, 4, 0xF5, 1},
      {{0x80}, 1, 0x80, 1},                          // stray continuation byte
      {{0xE0, 0x80, 0x8A}, 3, '\n', 3},              // overlong forms are accepted
      {{0xC3, 0xA9}, 1, 0xC3, 1},                    // sequences cut by the byte budget
      {{0xE2, 0x82, 0xAC}, 2, 0xE2, 1},
      {{0xF0, 0x9F, 0x98, 0x80}, 3, 0xF0, 1},
  };
  for (const Case& c : cases)
  {
    // Exactly the allowed bytes on the heap, so a read past them is an ASan error.
    std::unique_ptr<unsigned char[]> heap(new unsigned char[c.available]);
    std::copy(c.bytes.begin(), c.bytes.begin() + c.available, heap.get());
    int code = -1;
    EXPECT_EQ(LICE_DecodeUtf8Char(heap.get(), c.available, &code), c.used) << int(c.bytes[0]);
    EXPECT_EQ(code, c.code) << int(c.bytes[0]);
  }
  int code = -1;
  EXPECT_EQ(LICE_DecodeUtf8Char(nullptr, 0, &code), 0);
}

TEST_F(CachedFontTest, TextLengthLineBreaksAndCharacterCounts)
{
  auto font = MakeFont(16);
  EXPECT_EQ(Measure(*font, "ABCDEF", 0), 0);
  LICE_TextRect rect;
  Measure(*font, "ABCDEF", -1, 0, &rect);
  EXPECT_EQ(rect.right, 48);
  Measure(*font, "ABCDEF", 3, 0, &rect);
  EXPECT_EQ(rect.right, 24);
  Measure(*font, "AB\0CD", 5, 0, &rect);  // a NUL ends the text whatever the length
  EXPECT_EQ(rect.right, 16);

  EXPECT_EQ(Measure(*font, "A\r\nB", -1, 0, &rect), 32);
  EXPECT_EQ(rect.right, 8);
  EXPECT_EQ(Measure(*font, "A\r\nB", -1, LICE_DT_SINGLELINE, &rect), 16);
  EXPECT_EQ(rect.right, 8 + 4 + 8);  // the line feed became a space

  Measure(*font, "A\xF0\x9F\x98\x80" "B", -1, 0, &rect);
  EXPECT_EQ(rect.right, 20);
  Measure(*font, "\xC3\xC0", -1, 0, &rect);
  EXPECT_EQ(rect.right, 16);
  EXPECT_EQ(fake.renders[0xC3], 1);
  EXPECT_EQ(fake.renders[0xC0], 1);

  // A lead byte as the last byte allowed, in a buffer without terminator.
  std::unique_ptr<char[]> exact(new char[3]{'A', 'B', '\xE2'});
  Measure(*font, exact.get(), 3, 0, &rect);
  EXPECT_EQ(rect.right, 24);
  EXPECT_EQ(fake.renders[0xE2], 1);

  // Drawn: B one line below A, at the line start.
  GuardedBitmap bitmap(40, 40);
  bitmap.Fill(Black);
  LICE_TextRect box{5, 3, 40, 40};
  EXPECT_EQ(font->PaintText(&bitmap, "A\r\nB", -1, &box, 0), 32);
  EXPECT_EQ(InkColumns(bitmap, 3 + 2), (std::vector<int>{6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(InkColumns(bitmap, 19 + 2), (std::vector<int>{6, 7, 8, 9, 10, 11}));
  EXPECT_TRUE(bitmap.GuardsIntact());
}

TEST_F(CachedFontTest, MeasuringCountsOverhangingInkAndTallestMask)
{
  fake.glyphs['W'] = FakeGlyph{5, [](int x, int, int) { return x <= 7 ? 200 : 0; }};
  fake.glyphs['.'] = FakeGlyph{3, [](int x, int y, int) { return x == 1 && y == 12 ? 255 : 0; }};
  auto font = MakeFont(16);
  LICE_TextRect rect{10, 20, 0, 0};
  EXPECT_EQ(font->PaintText(nullptr, "W", -1, &rect, LICE_DT_CALCRECT), 16);
  EXPECT_EQ(rect.right, 10 + 8);  // mask wider than the advance
  EXPECT_EQ(rect.bottom, 20 + 16);
  EXPECT_EQ(Measure(*font, "WW", -1, 0, &rect), 16);
  EXPECT_EQ(rect.right, 5 + 8);
  Measure(*font, "W.", -1, 0, &rect);
  EXPECT_EQ(rect.right, 8);  // the pen (5 + 3) and the first mask end at 8
  ASSERT_NE(font->LookupGlyph('.'), nullptr);
  EXPECT_EQ(font->LookupGlyph('.')->width, 3);  // packed to the advance
}

TEST_F(CachedFontTest, AlignmentPlacesThePenFromTheMeasuredText)
{
  auto font = MakeFont(16);
  struct Case
  {
    int flags;
    int firstInkX, firstInkY;
  };
  // Rectangle 10..110 x 5..45; "ABCDE" is 40 x 16; ink starts 1 column and 2 rows in.
  const Case cases[] = {
      {0, 10 + 1, 5 + 2},
      {LICE_DT_CENTER, 10 + 30 + 1, 5 + 2},
      {LICE_DT_RIGHT, 110 - 40 + 1, 5 + 2},
      {LICE_DT_VCENTER, 10 + 1, 5 + 12 + 2},
      {LICE_DT_BOTTOM, 10 + 1, 45 - 16 + 2},
      {LICE_DT_CENTER | LICE_DT_VCENTER, 10 + 30 + 1, 5 + 12 + 2},
  };
  for (const Case& c : cases)
  {
    GuardedBitmap bitmap(120, 50);
    bitmap.Fill(Black);
    LICE_TextRect rect{10, 5, 110, 45};
    EXPECT_EQ(font->PaintText(&bitmap, "ABCDE", -1, &rect, c.flags), 16) << c.flags;
    int minX = 1000, minY = 1000;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 120; ++x)
        if (bitmap.At(x, y) != Black) minX = std::min(minX, x), minY = std::min(minY, y);
    EXPECT_EQ(minX, c.firstInkX) << c.flags;
    EXPECT_EQ(minY, c.firstInkY) << c.flags;
  }
}

TEST_F(CachedFontTest, ClipsToTheRectangleOrTheBitmapWithoutTouchingOutside)
{
  auto font = MakeFont(16);
  {
    GuardedBitmap bitmap(60, 30);
    bitmap.Fill(Black);
    LICE_TextRect rect{4, 4, 14, 10};  // cuts the second glyph and the lower rows
    font->PaintText(&bitmap, "AB", -1, &rect, 0);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 60; ++x)
      {
        const bool inRect = x >= 4 && x < 14 && y >= 4 && y < 10;
        const bool ink = (x >= 5 && x <= 10) || (x >= 13 && x <= 18);
        EXPECT_EQ(bitmap.At(x, y) != Black, inRect && ink && y >= 6) << x << "," << y;
      }
    EXPECT_TRUE(bitmap.GuardsIntact());
  }
  {
    GuardedBitmap bitmap(60, 30);
    bitmap.Fill(Black);
    LICE_TextRect rect{4, 4, 14, 10};
    EXPECT_EQ(font->PaintText(&bitmap, "AB", -1, &rect, LICE_DT_NOCLIP), 16);
    EXPECT_NE(bitmap.At(18, 17), Black);  // outside the rectangle, inside the bitmap
    EXPECT_TRUE(bitmap.GuardsIntact());
  }
  {
    // Centred text far wider than its rectangle and the bitmap runs off both edges.
    GuardedBitmap bitmap(20, 12, true);
    bitmap.Fill(Black);
    LICE_TextRect rect{0, -6, 20, 10};
    font->PaintText(&bitmap, "ABCDEFGHIJ", -1, &rect, LICE_DT_CENTER | LICE_DT_NOCLIP);
    EXPECT_TRUE(bitmap.GuardsIntact());
    // Pen at -30: glyph 3 inks columns -5..0, glyph 4 columns 3..8.
    EXPECT_NE(bitmap.At(0, 0), Black);
    EXPECT_EQ(bitmap.At(1, 0), Black);
    EXPECT_EQ(bitmap.At(2, 0), Black);
    EXPECT_NE(bitmap.At(3, 7), Black);
    EXPECT_EQ(bitmap.At(3, 8), Black);
  }
  GuardedBitmap bitmap(20, 20);
  bitmap.Fill(Black);
  LICE_TextRect outside{30, 0, 50, 20};
  EXPECT_EQ(font->PaintText(&bitmap, "A", -1, &outside, 0), 0);
  LICE_TextRect rect{0, 0, 20, 20};
  EXPECT_EQ(font->PaintText(nullptr, "A", -1, &rect, 0), 0);
  EXPECT_EQ(font->PaintText(&bitmap, nullptr, -1, &rect, 0), 0);
}

TEST_F(CachedFontTest, TextAlphaFlagBackModeAndExactProductPixels)
{
  fake.glyphs['g'] = FakeGlyph{4, [](int x, int, int) { return x == 0 ? 255 : x == 1 ? 128 : x == 2 ? 1 : 0; }};
  auto font = MakeFont(4);
  font->ChangeTextColour(0xFFFFC83F);
  GuardedBitmap bitmap(8, 4);
  bitmap.Fill(0xFF000000);
  LICE_TextRect rect{0, 0, 8, 4};
  font->PaintText(&bitmap, "g", -1, &rect, 0);
  // Copy at full weight: c = s + (c - s) * (255 - v) / 256 per channel, alpha toward 255.
  EXPECT_EQ(bitmap.At(0, 0), 0xFFFFC83Fu);
  EXPECT_EQ(bitmap.At(1, 0), LICE_Rgba(255 - 255 * 127 / 256, 200 - 200 * 127 / 256, 63 - 63 * 127 / 256, 255));
  EXPECT_EQ(bitmap.At(2, 0), LICE_Rgba(255 - 255 * 254 / 256, 200 - 200 * 254 / 256, 63 - 63 * 254 / 256, 255));
  EXPECT_EQ(bitmap.At(3, 0), 0xFF000000u);

  // Text alpha 128 scales the font alpha to w = 128 for this call only.
  font->ChangeTextColour(0x80FF0000);
  GuardedBitmap half(8, 4);
  half.Fill(0xFF000000);
  font->PaintText(&half, "g", -1, &rect, LICE_DT_USE_TEXT_ALPHA);
  const int k = 128 * 255 / 256;
  EXPECT_EQ(half.At(0, 0), LICE_Rgba(255 - 255 * (256 - k) / 256, 0, 0, 255));
  font->PaintText(&half, "g", -1, &rect, 0);
  EXPECT_EQ(half.At(0, 0), 0xFFFF0000u);
  font->ChangeTextColour(0x00FF0000);
  GuardedBitmap none(8, 4);
  none.Fill(0xFF000000);
  EXPECT_EQ(font->PaintText(&none, "g", -1, &rect, LICE_DT_USE_TEXT_ALPHA), 0);
  EXPECT_EQ(none.At(0, 0), 0xFF000000u);

  // Back mode 2 fills the glyph's clipped cell before the glyph.
  font->ChangeTextColour(0xFFFFFFFF);
  font->ChangeBackColour(0xFF0000FF);
  EXPECT_EQ(font->ChangeBackMode(LICE_BackOpaque), LICE_BackTransparent);
  GuardedBitmap back(8, 4);
  back.Fill(0xFF000000);
  LICE_TextRect narrow{0, 0, 4, 4};
  font->PaintText(&back, "g", -1, &narrow, 0);
  EXPECT_EQ(back.At(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(back.At(2, 3), LICE_Rgba(255 - 255 * 254 / 256, 255 - 255 * 254 / 256, 255, 255));
  EXPECT_EQ(back.At(3, 0), 0xFF0000FFu);  // no coverage: the back colour
  LICE_TextRect clipped{0, 0, 3, 4};
  GuardedBitmap cut(8, 4);
  cut.Fill(0xFF000000);
  font->PaintText(&cut, "g", -1, &clipped, 0);
  EXPECT_EQ(cut.At(3, 0), 0xFF000000u);  // the fill is clipped with the glyph
}

TEST_F(CachedFontTest, EachGlyphRenderedOnceAndExtraRecordsStaySorted)
{
  auto font = MakeFont(16);
  LICE_TextRect rect;
  Measure(*font, "AAAA");
  Measure(*font, "ABBA");
  EXPECT_EQ(fake.renders['A'], 1);
  EXPECT_EQ(fake.renders['B'], 1);

  std::mt19937 random(7);
  std::vector<int> codes;
  for (int i = 0; i < 400; ++i) codes.push_back(0x100 + static_cast<int>(random() % 0xF000));
  codes.push_back(0xFFFF);
  codes.push_back(0x80);
  for (int code : codes)
  {
    char text[4] = {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (code & 0x3F)), 0};
    Measure(*font, text);
  }
  for (int code : codes)
  {
    const GlyphRecord* record = font->LookupGlyph(code);
    ASSERT_NE(record, nullptr) << code;
    EXPECT_EQ(record->character, code);
    EXPECT_EQ(fake.renders[code], 1) << code;
  }
  EXPECT_EQ(font->LookupGlyph(0x101 + 0xF000), nullptr);

  // A new font assignment empties every cache.
  font->AssignFont(LICE_CreateFont("Arial", 16, 400, false, 0, 0), LICE_FontOwnsHandle);
  EXPECT_EQ(font->LookupGlyph(codes[0]), nullptr);
  EXPECT_EQ(font->LookupGlyph('A')->maskPosition, 0);
  Measure(*font, "A", -1, 0, &rect);
  EXPECT_EQ(fake.renders['A'], 2);
}

TEST_F(CachedFontTest, PreRenderingCoversAsciiAndSkipsEverythingElse)
{
  auto font = MakeFont(16, LICE_FontPreRender);
  EXPECT_EQ(fake.RenderCount(), 128);
  LICE_TextRect rect;
  Measure(*font, "A\xC3\xA9" "B", -1, 0, &rect);
  EXPECT_EQ(rect.right, 16);
  EXPECT_EQ(fake.renders[0xE9], 0);
  EXPECT_EQ(font->LookupGlyph(0xE9), nullptr);
}

TEST_F(CachedFontTest, HandleOwnershipDeletesEachReplacedHandleOnce)
{
  {
    LICE_CachedFont font;
    LICE_FontHandle first = LICE_CreateFont("Arial", 16, 400, false, 0, 0);
    LICE_FontHandle second = LICE_CreateFont("Arial", 14, 400, false, 0, 0);
    font.AssignFont(first, LICE_FontOwnsHandle);
    font.AssignFont(first, LICE_FontOwnsHandle);
    EXPECT_EQ(fake.deleted, 0);
    font.AssignFont(second, LICE_FontOwnsHandle);
    EXPECT_EQ(fake.deleted, 1);
    EXPECT_EQ(font.LineHeight(), 14);
    EXPECT_EQ(font.FontHandle(), second);
  }
  EXPECT_EQ(fake.deleted, 2);
  EXPECT_EQ(fake.doubleDeletes, 0);
  LICE_FontHandle borrowed = LICE_CreateFont("Arial", 16, 400, false, 0, 0);
  {
    LICE_CachedFont font;
    font.AssignFont(borrowed, 0);
  }
  EXPECT_EQ(fake.deleted, 2);
  LICE_DeleteFont(borrowed);
  EXPECT_EQ(LICE_CreateFont("NoSuchFace", 16, 400, false, 0, 0), nullptr);
}

TEST_F(CachedFontTest, MaskPackingInversionAndMonoThreshold)
{
  fake.glyphs['t'] = FakeGlyph{3, [](int x, int y, int) { return y == 0 ? (x == 0 ? 130 : x == 1 ? 131 : 0) : 0; }};
  fake.glyphs['z'] = FakeGlyph{0, [](int, int, int) { return 255; }};
  fake.glyphs['e'] = FakeGlyph{2, [](int, int, int) { return 0; }};
  auto mono = MakeFont(4, LICE_FontMono);
  GuardedBitmap bitmap(8, 4);
  bitmap.Fill(Black);
  LICE_TextRect rect{0, 0, 8, 4};
  mono->PaintText(&bitmap, "t", -1, &rect, 0);
  EXPECT_EQ(bitmap.At(0, 0), Black);
  EXPECT_EQ(bitmap.At(1, 0), White);

  // Zero advance: an empty record that does not move the pen.
  EXPECT_EQ(Measure(*mono, "z"), 0);
  EXPECT_EQ(mono->LookupGlyph('z')->maskPosition, -1);
  LICE_TextRect measured;
  Measure(*mono, "tzt", -1, 0, &measured);
  EXPECT_EQ(measured.right, 6);
  EXPECT_EQ(mono->LookupGlyph('e')->maskPosition, 0);
  Measure(*mono, "e");
  EXPECT_EQ(mono->LookupGlyph('e')->width, 2);  // no ink: the advance

  auto inverted = MakeFont(4, LICE_FontMono | LICE_FontInvert);
  GuardedBitmap inv(8, 4);
  inv.Fill(Black);
  inverted->PaintText(&inv, "t", -1, &rect, 0);
  // 255 - 130 = 125 fails the threshold, 255 - 131 = 124 too; empty coverage becomes 255.
  EXPECT_EQ(inv.At(0, 0), Black);
  EXPECT_EQ(inv.At(1, 0), Black);
  EXPECT_EQ(inv.At(2, 0), White);
  EXPECT_EQ(inv.At(0, 1), White);
  EXPECT_EQ(inv.At(3, 0), Black);  // packed to the advance of 3
}

// Draws glyph `ch` of a mono/effect font at alpha 1.0 in copy mode, where text and effect
// colours are stored whole, and returns the mask as '#' (255), '+' (128) and '.'.
std::vector<std::string> ReadMask(LICE_CachedFont& font, int ch, int width, int height)
{
  font.ChangeTextColour(White);
  font.ChangeEffectColour(0xFF808080);
  GuardedBitmap bitmap(width, height);
  bitmap.Fill(Black);
  LICE_TextRect rect{0, 0, width, height};
  char text[2] = {static_cast<char>(ch), 0};
  font.PaintText(&bitmap, text, -1, &rect, 0);
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y)
  {
    std::string row;
    for (int x = 0; x < width; ++x)
      row += bitmap.At(x, y) == White ? '#' : bitmap.At(x, y) == 0xFF808080 ? '+' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST_F(CachedFontTest, ShadowOutlineAndRotationMasks)
{
  // An L: column 1 rows 0..2 and row 2 columns 1..2, in a 4 x 4 cell.
  auto ell = [](int x, int y, int) { return (x == 1 && y <= 2) || (y == 2 && x == 2) ? 255 : 0; };
  fake.glyphs['L'] = FakeGlyph{4, ell};
  auto shadow = MakeFont(4, LICE_FontShadow);
  EXPECT_EQ(ReadMask(*shadow, 'L', 4, 4), (std::vector<std::string>{".#+.", ".#+.", ".##+", ".+++"}));
  auto outline = MakeFont(4, LICE_FontOutline);
  EXPECT_EQ(ReadMask(*outline, 'L', 4, 4), (std::vector<std::string>{"+#+.", "+#+.", "+##+", ".++."}));
  auto both = MakeFont(4, LICE_FontShadow | LICE_FontOutline);
  EXPECT_EQ(ReadMask(*both, 'L', 4, 4), ReadMask(*shadow, 'L', 4, 4));

  auto clockwise = MakeFont(4, LICE_FontMono | LICE_FontVertical);
  EXPECT_EQ(ReadMask(*clockwise, 'L', 4, 4), (std::vector<std::string>{"....", ".###", ".#..", "...."}));
  auto upward = MakeFont(4, LICE_FontMono | LICE_FontVertical | LICE_FontUpward);
  // Upward text starts one measured height lower, so the mask ends at the rectangle's bottom.
  EXPECT_EQ(ReadMask(*upward, 'L', 4, 4), (std::vector<std::string>{"....", "..#.", "###.", "...."}));
}

TEST_F(CachedFontTest, VerticalTextAdvancesDownAndLinesMoveRight)
{
  auto font = MakeFont(16, LICE_FontVertical);
  LICE_TextRect rect;
  EXPECT_EQ(Measure(*font, "AB", -1, 0, &rect), 16);  // width: masks are 16 wide after rotation
  EXPECT_EQ(rect.bottom, 16);
  Measure(*font, "A\nB", -1, 0, &rect);
  EXPECT_EQ(rect.right, 32);
  EXPECT_EQ(rect.bottom, 8);
  GuardedBitmap bitmap(40, 40);
  bitmap.Fill(Black);
  LICE_TextRect box{0, 0, 40, 40};
  EXPECT_EQ(font->PaintText(&bitmap, "AB", -1, &box, 0), 16);
  EXPECT_NE(bitmap.At(8, 9), Black);  // the second glyph, one advance lower
  EXPECT_TRUE(bitmap.GuardsIntact());
}

TEST_F(CachedFontTest, HugeLineHeightsDrawNothingAndTheCanvasFollowsTheLastFont)
{
  {
    auto font = MakeFont(1024);
    EXPECT_EQ(Measure(*font, "AB"), 0);
    EXPECT_FALSE(font->CacheGlyph('A'));
  }
  EXPECT_EQ(LICE_CachedFont::LiveFontCount(), 0);
  EXPECT_EQ(GlyphCanvas, nullptr);
  auto first = MakeFont(16);
  auto second = MakeFont(40);
  Measure(*second, "A");
  ASSERT_NE(GlyphCanvas, nullptr);
  EXPECT_GE(GlyphCanvas->PixelWidth(), 2 * 40 + 8);
  second.reset();
  EXPECT_NE(GlyphCanvas, nullptr);
  first.reset();
  EXPECT_EQ(GlyphCanvas, nullptr);
  auto third = MakeFont(16);
  Measure(*third, "A");
  EXPECT_NE(GlyphCanvas, nullptr);
}

TEST_F(CachedFontTest, ExtremeRectanglesAndLongTextsNeverOverflow)
{
  // Pens and extents pass INT_MAX here; under UBSan any int overflow aborts.
  fake.glyphs['w'] = FakeGlyph{2000, [](int x, int, int) { return x == 0 ? 255 : 0; }};
  auto font = MakeFont(1000);
  const std::string text(1100000, 'w');
  LICE_TextRect rect{100, 0, 0, 0};
  EXPECT_EQ(font->PaintText(nullptr, text.c_str(), -1, &rect, LICE_DT_CALCRECT), 1000);
  EXPECT_EQ(rect.right, INT_MAX);
  GuardedBitmap bitmap(16, 16);
  bitmap.Fill(Black);
  for (int flags : {LICE_DT_CENTER | LICE_DT_VCENTER, LICE_DT_RIGHT | LICE_DT_BOTTOM, LICE_DT_NOCLIP})
  {
    LICE_TextRect huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    font->PaintText(&bitmap, text.c_str(), -1, &huge, flags);
    LICE_TextRect edge{INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX};
    EXPECT_EQ(font->PaintText(&bitmap, "ww", -1, &edge, flags | LICE_DT_NOCLIP), 0);
  }
  EXPECT_TRUE(bitmap.GuardsIntact());
}

TEST_F(CachedFontTest, RandomTextFlagsAndRectanglesStayInsideTheBitmap)
{
  std::mt19937 random(11);
  const int fontFlags[] = {0, LICE_FontMono, LICE_FontShadow | LICE_FontVertical,
                           LICE_FontVertical | LICE_FontUpward | LICE_FontOutline, LICE_FontInvert};
  for (int round = 0; round < 400; ++round)
  {
    auto font = MakeFont(1 + static_cast<int>(random() % 40), fontFlags[round % 5]);
    font->ChangeBlend(static_cast<int>(random() % 8), static_cast<float>(random() % 600) / 256.0f - 0.5f);
    font->ChangeBackMode(1 + static_cast<int>(random() % 2));
    std::vector<char> bytes(random() % 24);
    for (char& b : bytes) b = static_cast<char>(random());
    GuardedBitmap bitmap(1 + static_cast<int>(random() % 40), 1 + static_cast<int>(random() % 40), random() % 2);
    auto coordinate = [&random] { return static_cast<int>(random() % 120) - 60; };
    LICE_TextRect rect{coordinate(), coordinate(), coordinate(), coordinate()};
    font->PaintText(&bitmap, bytes.data(), static_cast<int>(bytes.size()), &rect, static_cast<int>(random() & 0x40000FFF));
    ASSERT_TRUE(bitmap.GuardsIntact()) << round;
  }
}

TEST_F(CachedFontTest, EditorsOnTwoThreadsShareOneFontSafely)
{
  // Each thread's new glyphs grow the shared mask store and record list while the other draws.
  auto font = MakeFont(16);
  auto paint = [&font](int first) {
    GuardedBitmap bitmap(64, 20);
    bitmap.Fill(Black);
    for (int code = first; code < first + 300; ++code)
    {
      char text[4] = {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                      static_cast<char>(0x80 | (code & 0x3F)), 0};
      LICE_TextRect rect{0, 0, 64, 20};
      font->PaintText(&bitmap, text, -1, &rect, LICE_DT_CENTER);
    }
  };
  std::thread a(paint, 0x1000), b(paint, 0x1100);
  a.join();
  b.join();
  for (int code = 0x1000; code < 0x1100 + 300; ++code) EXPECT_EQ(fake.renders[code], 1) << code;
}

} // namespace
