#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "lice/LICE_CachedFont.h"
#include "lice/LICE_GlyphCanvas.h"
#include "tests/lice/FakeGlyphRasteriser.h"
#include "tests/lice/TestBitmaps.h"

namespace {
constexpr Pixel32 Black = 0xFF000000;
constexpr Pixel32 White = 0xFFFFFFFF;

std::string Utf8(int code)  // three bytes, for codes 0x800..0xFFFF and overlong below
{
  return {char(0xE0 | (code >> 12)), char(0x80 | ((code >> 6) & 0x3F)), char(0x80 | (code & 0x3F))};
}

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

  struct Extent
  {
    int height, right, bottom;
  };
  static Extent Measure(LICE_CachedFont& font, const char* text, int length = -1, int flags = 0)
  {
    LICE_TextRect rect{0, 0, 0, 0};
    const int height = font.PaintText(nullptr, text, length, &rect, flags | LICE_DT_CALCRECT);
    return {height, rect.right, rect.bottom};
  }

  // Paints onto a black bitmap of the given size.
  static GuardedBitmap Paint(LICE_CachedFont& font, const char* text, LICE_TextRect rect, int flags, int width,
                             int height, bool upsideDown = false)
  {
    GuardedBitmap bitmap(width, height, upsideDown);
    bitmap.Fill(Black);
    font.PaintText(&bitmap, text, -1, &rect, flags);
    EXPECT_TRUE(bitmap.GuardsIntact());
    return bitmap;
  }

  ScopedFakeRasteriser mFake;
  FakeGlyphRasteriser& fake = mFake.fake;
};

// Exactly the allowed bytes lie on the heap, so any read past them is an AddressSanitizer error.
TEST(Utf8Decode, WellFormedBrokenAndTruncatedSequences)
{
  struct Case
  {
    std::vector<unsigned char> bytes;
    int code, used;
  };
  const Case cases[] = {
    {{'A'}, 'A', 1},
    {{0xC3, 0xA9}, 0xE9, 2},
    {{0xE2, 0x82, 0xAC}, 0x20AC, 3},
    {{0xF0, 0x9F, 0x98, 0x80}, ' ', 4},  // beyond 16 bits: a space
    {{0xC3, 0xC0}, 0xC3, 1},             // 0xC0 is no continuation byte
    {{0xC0, 0x80}, 0xC0, 1},             // never a lead byte
    {{0xF5, 0x80, 0x80, 0x80}, 0xF5, 1},
    {{0x80}, 0x80, 1},              // stray continuation byte
    {{0xE0, 0x80, 0x8A}, '\n', 3},  // overlong forms are accepted
    {{0xC3}, 0xC3, 1},              // sequences cut by the byte budget
    {{0xE2, 0x82}, 0xE2, 1},
    {{0xF0, 0x9F, 0x98}, 0xF0, 1},
  };
  for (const Case& c : cases)
  {
    std::unique_ptr<unsigned char[]> heap(new unsigned char[c.bytes.size()]);
    std::copy(c.bytes.begin(), c.bytes.end(), heap.get());
    int code = -1;
    EXPECT_EQ(LICE_DecodeUtf8Char(heap.get(), c.bytes.size(), &code), c.used) << int(c.bytes[0]);
    EXPECT_EQ(code, c.code) << int(c.bytes[0]);
  }
  int code = -1;
  EXPECT_EQ(LICE_DecodeUtf8Char(nullptr, 0, &code), 0);
}

TEST_F(CachedFontTest, OnlyFontsMadeForNativeDrawingOfferTheRasteriserWholeTexts)
{
  fake.wholeTextResult = 21;
  auto native = MakeFont(16, LICE_FontNativeDraw);
  auto cached = MakeFont(16);
  EXPECT_EQ(Measure(*native, "ab").height, 21);
  GuardedBitmap drawn = Paint(*native, "ab", {0, 0, 40, 20}, 0, 40, 20);
  drawn.ForEach([](Pixel32& p) { ASSERT_EQ(p, Black); });  // the rasteriser drew it, not the glyph cache
  EXPECT_EQ(fake.wholeTexts, (std::vector<std::string>{"ab", "ab"}));
  EXPECT_TRUE(fake.renders.empty());

  EXPECT_EQ(Measure(*cached, "ab").height, 16);
  fake.wholeTextResult = -1;  // a rasteriser that declines leaves the text to the cache
  EXPECT_EQ(Measure(*native, "ab").right, 16);
  EXPECT_EQ(fake.wholeTexts.size(), 2u);
}

TEST_F(CachedFontTest, TextLengthLineBreaksAndCharacterCounts)
{
  fake.glyphs['W'] = FakeGlyph{5, [](int x, int, int) { return x <= 7 ? 200 : 0; }};
  fake.glyphs['.'] = FakeGlyph{3, [](int x, int y, int) { return x == 1 && y == 12 ? 255 : 0; }};
  auto font = MakeFont(16);
  struct Case
  {
    const char* text;
    int length, flags, height, right;
  };
  const Case cases[] = {
    {"ABCDEF", 0, 0, 0, 0},
    {"ABCDEF", -1, 0, 16, 48},
    {"ABCDEF", 3, 0, 16, 24},
    {"AB\0CD", 5, 0, 16, 16},  // a NUL ends the text whatever the length
    {"A\r\nB", -1, 0, 32, 8},
    {"A\r\nB", -1, LICE_DT_SINGLELINE, 16, 8 + 4 + 8},  // the line feed became a space
    {"A\xF0\x9F\x98\x80"
     "B",
     -1, 0, 16, 20},
    {"\xC3\xC0", -1, 0, 16, 16},
    {"W", -1, 0, 16, 8},  // ink wider than the advance counts
    {"WW", -1, 0, 16, 5 + 8},
    {"W.", -1, 0, 16, 8},
  };
  for (const Case& c : cases)
  {
    const Extent e = Measure(*font, c.text, c.length, c.flags);
    EXPECT_EQ(std::make_pair(e.height, e.right), std::make_pair(c.height, c.right)) << c.text << " " << c.flags;
  }
  EXPECT_EQ(fake.renders[0xC3] + fake.renders[0xC0], 2);
  EXPECT_EQ(font->LookupGlyph('.')->width, 3);  // the mask is packed to the advance
  // A lead byte as the last byte allowed, in a buffer without terminator.
  std::unique_ptr<char[]> exact(new char[3]{'A', 'B', '\xE2'});
  EXPECT_EQ(Measure(*font, exact.get(), 3).right, 24);
  EXPECT_EQ(fake.renders[0xE2], 1);

  // Drawn: B one line below A, at the line start.
  GuardedBitmap bitmap = Paint(*font, "A\r\nB", {5, 3, 40, 40}, 0, 40, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      EXPECT_EQ(bitmap.At(x, y) != Black, x >= 6 && x <= 11 && ((y >= 5 && y <= 16) || (y >= 21 && y <= 32)));
}

// Rectangle 10..110 x 5..45; "ABCDE" is 40 x 16; its ink starts 1 column and 2 rows in.
TEST_F(CachedFontTest, AlignmentPlacesThePenFromTheMeasuredText)
{
  auto font = MakeFont(16);
  const int cases[][3] = {{0, 11, 7},
                          {LICE_DT_CENTER, 41, 7},
                          {LICE_DT_RIGHT, 71, 7},
                          {LICE_DT_VCENTER, 11, 19},
                          {LICE_DT_BOTTOM, 11, 31},
                          {LICE_DT_CENTER | LICE_DT_VCENTER, 41, 19}};
  for (const auto& c : cases)
  {
    GuardedBitmap bitmap = Paint(*font, "ABCDE", {10, 5, 110, 45}, c[0], 120, 50);
    int minX = 1000, minY = 1000;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 120; ++x)
        if (bitmap.At(x, y) != Black)
          minX = std::min(minX, x), minY = std::min(minY, y);
    EXPECT_EQ(minX, c[1]) << c[0];
    EXPECT_EQ(minY, c[2]) << c[0];
  }
}

TEST_F(CachedFontTest, ClipsToTheRectangleOrTheBitmapWithoutTouchingOutside)
{
  auto font = MakeFont(16);
  GuardedBitmap clipped = Paint(*font, "AB", {4, 4, 14, 10}, 0, 60, 30);  // cuts glyph B and the lower rows
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x)
    {
      const bool ink = (x >= 5 && x <= 10) || (x >= 13 && x <= 18);
      EXPECT_EQ(clipped.At(x, y) != Black, x >= 4 && x < 14 && y >= 6 && y < 10 && ink) << x << "," << y;
    }
  EXPECT_NE(Paint(*font, "AB", {4, 4, 14, 10}, LICE_DT_NOCLIP, 60, 30).At(18, 17), Black);

  // Centred text far wider than its rectangle and the bitmap runs off both edges. The pen
  // starts at -30: glyph 3 inks columns -5..0, glyph 4 columns 3..8.
  GuardedBitmap wide = Paint(*font, "ABCDEFGHIJ", {0, -6, 20, 10}, LICE_DT_CENTER | LICE_DT_NOCLIP, 20, 12, true);
  EXPECT_NE(wide.At(0, 0), Black);
  EXPECT_EQ(wide.At(1, 0), Black);
  EXPECT_EQ(wide.At(2, 0), Black);
  EXPECT_NE(wide.At(3, 7), Black);
  EXPECT_EQ(wide.At(3, 8), Black);

  GuardedBitmap bitmap(20, 20);
  LICE_TextRect outside{30, 0, 50, 20}, rect{0, 0, 20, 20};
  EXPECT_EQ(font->PaintText(&bitmap, "A", -1, &outside, 0), 0);
  EXPECT_EQ(font->PaintText(nullptr, "A", -1, &rect, 0), 0);
  EXPECT_EQ(font->PaintText(&bitmap, nullptr, -1, &rect, 0), 0);
}

TEST_F(CachedFontTest, TextAlphaFlagBackModeAndExactProductPixels)
{
  fake.glyphs['g'] = FakeGlyph{4, [](int x, int, int) { return x == 0 ? 255 : x == 1 ? 128 : x == 2 ? 1 : 0; }};
  auto font = MakeFont(4);
  const LICE_TextRect rect{0, 0, 8, 4};
  // Copy at full weight: c = s + (c - s) * (255 - v) / 256 per channel, alpha toward 255.
  font->ChangeTextColour(0xFFFFC83F);
  GuardedBitmap plain = Paint(*font, "g", rect, 0, 8, 4);
  EXPECT_EQ(plain.At(0, 0), 0xFFFFC83Fu);
  EXPECT_EQ(plain.At(1, 0), LICE_Rgba(255 - 255 * 127 / 256, 200 - 200 * 127 / 256, 63 - 63 * 127 / 256, 255));
  EXPECT_EQ(plain.At(2, 0), LICE_Rgba(255 - 255 * 254 / 256, 200 - 200 * 254 / 256, 63 - 63 * 254 / 256, 255));
  EXPECT_EQ(plain.At(3, 0), Black);

  // Text alpha 128 scales the weight to 128 (k = 127 at coverage 255) for that call only;
  // alpha 0 draws nothing.
  font->ChangeTextColour(0x80FF0000);
  EXPECT_EQ(Paint(*font, "g", rect, LICE_DT_USE_TEXT_ALPHA, 8, 4).At(0, 0),
            LICE_Rgba(255 - 255 * 129 / 256, 0, 0, 255));
  EXPECT_EQ(Paint(*font, "g", rect, 0, 8, 4).At(0, 0), 0xFFFF0000u);
  font->ChangeTextColour(0x00FF0000);
  EXPECT_EQ(Paint(*font, "g", rect, LICE_DT_USE_TEXT_ALPHA, 8, 4).At(0, 0), Black);

  // Back mode 2 fills the glyph's clipped cell before the glyph.
  font->ChangeTextColour(White);
  font->ChangeBackColour(0xFF0000FF);
  EXPECT_EQ(font->ChangeBackMode(LICE_BackOpaque), LICE_BackTransparent);
  GuardedBitmap back = Paint(*font, "g", {0, 0, 4, 4}, 0, 8, 4);
  EXPECT_EQ(back.At(0, 0), White);
  EXPECT_EQ(back.At(2, 3), LICE_Rgba(255 - 255 * 254 / 256, 255 - 255 * 254 / 256, 255, 255));
  EXPECT_EQ(back.At(3, 0), 0xFF0000FFu);  // no coverage: the back colour
  EXPECT_EQ(Paint(*font, "g", {0, 0, 3, 4}, 0, 8, 4).At(3, 0), Black);
}

// Records beyond ASCII are found by binary search: they must stay sorted however they arrive.
TEST_F(CachedFontTest, EachGlyphRenderedOnceAndExtraRecordsStaySorted)
{
  auto font = MakeFont(16);
  Measure(*font, "AAAA");
  Measure(*font, "ABBA");
  EXPECT_EQ(fake.renders['A'] + fake.renders['B'], 2);

  std::mt19937 random(7);
  std::vector<int> codes = {0xFFFF, 0x80};
  for (int i = 0; i < 400; ++i)
    codes.push_back(0x100 + static_cast<int>(random() % 0xF000));
  for (int code : codes)
    Measure(*font, Utf8(code).c_str());
  for (int code : codes)
  {
    ASSERT_NE(font->LookupGlyph(code), nullptr) << code;
    EXPECT_EQ(font->LookupGlyph(code)->character, code);
    EXPECT_EQ(fake.renders[code], 1) << code;
  }
  EXPECT_EQ(font->LookupGlyph(0x101 + 0xF000), nullptr);

  // A new font assignment empties every cache.
  font->AssignFont(LICE_CreateFont("Arial", 16, 400, false, 0, 0), LICE_FontOwnsHandle);
  EXPECT_EQ(font->LookupGlyph(codes[2]), nullptr);
  Measure(*font, "A");
  EXPECT_EQ(fake.renders['A'], 2);

  // Pre-rendering covers ASCII at once and never caches anything above it.
  fake.renders.clear();
  auto pre = MakeFont(16, LICE_FontPreRender);
  EXPECT_EQ(fake.renders.size(), 128u);
  EXPECT_EQ(Measure(*pre, "A\xC3\xA9"
                          "B")
              .right,
            16);
  EXPECT_EQ(fake.renders.count(0xE9), 0u);
  EXPECT_EQ(pre->LookupGlyph(0xE9), nullptr);
}

TEST_F(CachedFontTest, HandleOwnershipDeletesEachReplacedHandleOnce)
{
  LICE_FontHandle first = LICE_CreateFont("Arial", 16, 400, false, 0, 0);
  LICE_FontHandle borrowed = LICE_CreateFont("Arial", 16, 400, false, 0, 0);
  {
    LICE_CachedFont font, borrower;
    borrower.AssignFont(borrowed, 0);
    font.AssignFont(first, LICE_FontOwnsHandle);
    font.AssignFont(first, LICE_FontOwnsHandle);
    EXPECT_EQ(fake.deleted, 0);
    font.AssignFont(LICE_CreateFont("Arial", 14, 400, false, 0, 0), LICE_FontOwnsHandle);
    EXPECT_EQ(fake.deleted, 1);
    EXPECT_EQ(font.LineHeight(), 14);
  }
  EXPECT_EQ(fake.deleted, 2);
  LICE_DeleteFont(borrowed);
  EXPECT_EQ(fake.doubleDeletes, 0);
}

// Reads a 4 x 4 mask drawn in copy mode at alpha 1.0, where mono and effect fonts store text
// and effect colours whole: '#' text, '+' effect, '.' untouched.
std::vector<std::string> ReadMask(LICE_CachedFont& font, const char* text)
{
  font.ChangeTextColour(White);
  font.ChangeEffectColour(0xFF808080);
  GuardedBitmap bitmap(4, 4);
  bitmap.Fill(Black);
  LICE_TextRect rect{0, 0, 4, 4};
  font.PaintText(&bitmap, text, -1, &rect, 0);
  std::vector<std::string> rows(4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      rows[y] += bitmap.At(x, y) == White ? '#' : bitmap.At(x, y) == 0xFF808080 ? '+' : '.';
  return rows;
}

TEST_F(CachedFontTest, MonoThresholdInversionEffectsAndRotation)
{
  using Mask = std::vector<std::string>;
  fake.glyphs['t'] = FakeGlyph{3, [](int x, int y, int) { return y == 0 ? (x == 0 ? 130 : x == 1 ? 131 : 0) : 0; }};
  fake.glyphs['z'] = FakeGlyph{0, [](int, int, int) { return 255; }};
  fake.glyphs['e'] = FakeGlyph{2, [](int, int, int) { return 0; }};
  // 130 is below the threshold, 131 above; inverted, 125 and 124 both fail and empty becomes
  // full, up to the advance of 3.
  auto mono = MakeFont(4, LICE_FontMono);
  EXPECT_EQ(ReadMask(*mono, "t"), (Mask{".#..", "....", "....", "...."}));
  EXPECT_EQ(ReadMask(*MakeFont(4, LICE_FontMono | LICE_FontInvert), "t"), (Mask{"..#.", "###.", "###.", "###."}));
  // Zero advance: an empty record that does not move the pen. No ink: packed to the advance.
  EXPECT_EQ(Measure(*mono, "z").height, 0);
  EXPECT_EQ(mono->LookupGlyph('z')->maskPosition, -1);
  EXPECT_EQ(Measure(*mono, "tzt").right, 6);
  Measure(*mono, "e");
  EXPECT_EQ(mono->LookupGlyph('e')->width, 2);

  // An L: column 1 rows 0..2 and row 2 columns 1..2.
  fake.glyphs['L'] = FakeGlyph{4, [](int x, int y, int) { return (x == 1 && y <= 2) || (y == 2 && x == 2) ? 255 : 0; }};
  const Mask shadow = {".#+.", ".#+.", ".##+", ".+++"};
  EXPECT_EQ(ReadMask(*MakeFont(4, LICE_FontShadow), "L"), shadow);
  EXPECT_EQ(ReadMask(*MakeFont(4, LICE_FontOutline), "L"), (Mask{"+#+.", "+#+.", "+##+", ".++."}));
  EXPECT_EQ(ReadMask(*MakeFont(4, LICE_FontShadow | LICE_FontOutline), "L"), shadow);
  // Mono draws with the mono loops: the shadow's marks take the text colour too.
  EXPECT_EQ(ReadMask(*MakeFont(4, LICE_FontMono | LICE_FontShadow), "L"), (Mask{".##.", ".##.", ".###", ".###"}));
  EXPECT_EQ(ReadMask(*MakeFont(4, LICE_FontMono | LICE_FontVertical), "L"), (Mask{"....", ".###", ".#..", "...."}));
  // Upward text starts one measured height lower, so the mask ends at the rectangle's bottom.
  EXPECT_EQ(ReadMask(*MakeFont(4, LICE_FontMono | LICE_FontVertical | LICE_FontUpward), "L"),
            (Mask{"....", "..#.", "###.", "...."}));

  // Vertical text advances down and lines move right; masks are 16 wide after rotation.
  auto vertical = MakeFont(16, LICE_FontVertical);
  const Extent one = Measure(*vertical, "AB"), two = Measure(*vertical, "A\nB");
  EXPECT_EQ((std::vector<int>{one.height, one.right, one.bottom, two.right, two.bottom}),
            (std::vector<int>{16, 16, 16, 32, 8}));
  EXPECT_NE(Paint(*vertical, "AB", {0, 0, 40, 40}, 0, 40, 40).At(8, 9), Black);  // B, one advance lower
}

TEST_F(CachedFontTest, HugeLineHeightsDrawNothingAndTheCanvasFollowsTheLastFont)
{
  EXPECT_EQ(Measure(*MakeFont(1024), "AB").height, 0);
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
}

// Pens and extents pass INT_MAX (under UBSan any int overflow aborts); random bytes, flags,
// blends and rectangles never write outside the bitmap.
TEST_F(CachedFontTest, ExtremeAndRandomTextStaysInsideTheBitmap)
{
  fake.glyphs['w'] = FakeGlyph{2000, [](int x, int, int) { return x == 0 ? 255 : 0; }};
  auto font = MakeFont(1000);
  const std::string text(1100000, 'w');
  EXPECT_EQ(Measure(*font, text.c_str()).right, INT_MAX);
  GuardedBitmap bitmap(16, 16);
  for (int flags : {LICE_DT_CENTER | LICE_DT_VCENTER, LICE_DT_RIGHT | LICE_DT_BOTTOM, LICE_DT_NOCLIP})
  {
    LICE_TextRect huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, edge{INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX};
    font->PaintText(&bitmap, text.c_str(), -1, &huge, flags);
    EXPECT_EQ(font->PaintText(&bitmap, "ww", -1, &edge, flags | LICE_DT_NOCLIP), 0);
  }
  EXPECT_TRUE(bitmap.GuardsIntact());

  std::mt19937 random(11);
  const int fontFlags[] = {0, LICE_FontMono, LICE_FontShadow | LICE_FontVertical,
                           LICE_FontVertical | LICE_FontUpward | LICE_FontOutline, LICE_FontInvert};
  for (int round = 0; round < 400; ++round)
  {
    auto font = MakeFont(1 + static_cast<int>(random() % 40), fontFlags[round % 5]);
    font->ChangeBlend(static_cast<int>(random() % 8), static_cast<float>(random() % 600) / 256.0f - 0.5f);
    font->ChangeBackMode(1 + static_cast<int>(random() % 2));
    std::vector<char> bytes(random() % 24);
    for (char& b : bytes)
      b = static_cast<char>(random());
    GuardedBitmap bitmap(1 + static_cast<int>(random() % 40), 1 + static_cast<int>(random() % 40), random() % 2);
    auto coordinate = [&random] { return static_cast<int>(random() % 120) - 60; };
    LICE_TextRect rect{coordinate(), coordinate(), coordinate(), coordinate()};
    font->PaintText(&bitmap, bytes.data(), static_cast<int>(bytes.size()), &rect,
                    static_cast<int>(random() & 0x40000FFF));
    ASSERT_TRUE(bitmap.GuardsIntact()) << round;
  }
}

// Each thread's new glyphs grow the shared mask store and record list while the other draws.
TEST_F(CachedFontTest, EditorsOnTwoThreadsShareOneFontSafely)
{
  auto font = MakeFont(16);
  auto paint = [&font](int first) {
    GuardedBitmap bitmap(64, 20);
    for (int code = first; code < first + 300; ++code)
    {
      LICE_TextRect rect{0, 0, 64, 20};
      font->PaintText(&bitmap, Utf8(code).c_str(), -1, &rect, LICE_DT_CENTER);
    }
  };
  std::thread a(paint, 0x1000), b(paint, 0x1100);
  a.join();
  b.join();
  for (int code = 0x1000; code < 0x1100 + 300; ++code)
    EXPECT_EQ(fake.renders[code], 1) << code;
}

}  // namespace
