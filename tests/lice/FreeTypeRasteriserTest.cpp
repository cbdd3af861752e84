#include <string>

#include <gtest/gtest.h>

#include "lice/LICE_CachedFont.h"
#include "lice/glyphs/LICE_FreeTypeRasteriser.h"
#include "tests/lice/TestBitmaps.h"
#include "tests/lice/TextInk.h"

namespace {
// The editor's fonts: "Arial" at 16 and 14, as the GDI font height (the cell).
class FreeTypeFontTest : public ::testing::TestWithParam<int>
{
protected:
  void SetUp() override
  {
    ASSERT_EQ(LICE_ActiveGlyphRasteriser(), LICE_PlatformGlyphRasteriser());
    mHandle = LICE_CreateFont("Arial", GetParam(), 400, false, 0, 0);
    ASSERT_NE(mHandle, nullptr);
    if (std::string(LICE_FreeTypeRasteriser::FontFile(mHandle)).find("Liberation") == std::string::npos)
    {
      LICE_DeleteFont(mHandle);
      GTEST_SKIP() << "the metric-compatible face is not installed";
    }
    font.AssignFont(mHandle, LICE_FontOwnsHandle | LICE_FontNativeDraw);
    font.ChangeTextColour(0xFFFFC83F);
  }

  LICE_CachedFont font;
  LICE_FontHandle mHandle = nullptr;
};

TEST_P(FreeTypeFontTest, DigitsMeasureAlikeAndTheLineHeightIsTheRequest)
{
  const int size = GetParam(), digit = size == 16 ? 8 : 7;
  EXPECT_EQ(font.LineHeight(), size);
  EXPECT_EQ(LICE_FreeTypeRasteriser::Ascent(mHandle), size == 16 ? 13 : 11);
  for (char c = '0'; c <= '9'; ++c)
  {
    const char text[2] = {c, 0};
    LICE_TextRect rect{0, 0, 0, 0};
    EXPECT_EQ(font.PaintText(nullptr, text, -1, &rect, LICE_DT_CALCRECT), size) << c;
    EXPECT_EQ(font.LookupGlyph(c)->advance, digit) << c;
    EXPECT_LE(rect.right, digit + 1) << c;
  }
  LICE_TextRect wide{0, 0, 0, 0}, narrow{0, 0, 0, 0};
  font.PaintText(nullptr, "WWW", -1, &wide, LICE_DT_CALCRECT);
  font.PaintText(nullptr, "iii", -1, &narrow, LICE_DT_CALCRECT);
  EXPECT_GT(wide.right, narrow.right);
}

TEST_P(FreeTypeFontTest, KnobTextIsCentredInsideItsRectangle)
{
  GuardedBitmap bitmap(100, 40);
  ExpectKnobTextCentred(font, bitmap, GetParam(), 10);
  EXPECT_TRUE(bitmap.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(EditorSizes, FreeTypeFontTest, ::testing::Values(16, 14));

TEST(FreeTypeRasteriser, OddRequestsFailOrDrawSafely)
{
  LICE_FreeTypeRasteriser rasteriser;
  EXPECT_EQ(rasteriser.CreateFontHandle("Arial", 100000, 400, false, 0, 0), nullptr);
  LICE_FontHandle mono = rasteriser.CreateFontHandle("Arial", 12, 700, true, 900, 3);
  ASSERT_NE(mono, nullptr);
  // A glyph bigger than its cell and a missing code point on a tiny canvas: clipped, and mono
  // quality gives coverage 0 or 255 only.
  GuardedBitmap canvas(6, 5);
  canvas.Fill(0xFF000000);
  for (unsigned short ch : {static_cast<unsigned short>('W'), static_cast<unsigned short>(0xE000)})
  {
    int advance = 0, height = 0;
    rasteriser.MeasureGlyph(mono, &canvas, ch, &advance, &height);
    EXPECT_EQ(height, 12);
    rasteriser.RenderGlyph(mono, &canvas, ch, 40, 40);
    EXPECT_TRUE(canvas.GuardsIntact());
  }
  canvas.ForEach([](Pixel32& p) { EXPECT_EQ(LICE_Red(p) % 255, 0); });
  rasteriser.DeleteFontHandle(mono);
  LICE_FontHandle em = rasteriser.CreateFontHandle("Arial", -16, 400, false, 0, 0);
  ASSERT_NE(em, nullptr);
  EXPECT_GT(rasteriser.LineHeight(em, nullptr), 16);  // a negative height is the em, not the cell
  rasteriser.DeleteFontHandle(em);
}

}  // namespace
