#include "framework/gui/IBitmapControl.h"
#include "lice/LICE_CachedFont.h"
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Counts how often it is drawn; draws nothing.
class CountingControl : public IControl
{
public:
  CountingControl(const IRectangle& rect) : IControl(nullptr, rect) {}
  bool Render(IGraphics*) override { return ++renders > 0; }
  int renders = 0;
};

class GraphicsTest : public ::testing::Test, public EditorFixture
{};

TEST_F(GraphicsTest, BackdropIsControlZeroEvenWhenItsImageIsMissing)
{
  EXPECT_EQ(graphics->AddControl(new CountingControl({1, 1, 5, 5})), 0);
  EXPECT_EQ(graphics->AddControl(new CountingControl({2, 2, 6, 6})), 1);
  graphics->images[1100] = [] { return FrameStrip(200, 200, 1); };
  graphics->SetBackdrop(1100, "backdrop.png");
  EXPECT_EQ(graphics->ControlAt(0)->Rect(), IRectangle(0, 0, 200, 200));
  EXPECT_EQ(graphics->ControlAt(1)->Rect(), IRectangle(1, 1, 5, 5));
  // An inert backdrop still takes index 0, so the indices handed out stay right.
  graphics->SetBackdrop(1101, "missing.png");
  EXPECT_EQ(graphics->NControls(), 4);
  EXPECT_TRUE(graphics->ControlAt(0)->Rect().Empty());
}

TEST_F(GraphicsTest, AnImageIsDecodedOncePerProcess)
{
  graphics->images[1102] = [] { return FrameStrip(4, 4, 2); };
  const IBitmapRef first = graphics->FetchBitmap(1102, "a.png", 2);
  TestGraphics other(nullptr, 10, 10);
  other.images = graphics->images;
  const IBitmapRef second = other.FetchBitmap(1102, "another-name.png", 1);
  EXPECT_EQ(graphics->loads[1102] + other.loads[1102], 1);
  EXPECT_EQ(first.bitmap, second.bitmap);
  EXPECT_EQ(first.frames * 10 + second.frames, 21);
}

TEST_F(GraphicsTest, FontsAreSharedByKeyNotByColour)
{
  ITextStyle red(14, IColour(255, 255, 0, 0)), blue(14, IColour(255, 0, 0, 255));
  ITextStyle lower(14, IColour(255, 255, 0, 0), "arial"), bigger(15, IColour(255, 255, 0, 0));
  LICE_CachedFont* font = graphics->ObtainFont(red);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(red.font, font);
  EXPECT_EQ(graphics->ObtainFont(blue), font);
  EXPECT_NE(graphics->ObtainFont(lower), font);
  EXPECT_NE(graphics->ObtainFont(bigger), font);

  const ITextStyle named(16, IColour(255, 255, 200, 63), "A face name longer than thirty-one characters");
  EXPECT_EQ(std::string(named.face).size(), 31u) << "the face name is cut to its field";
  ITextStyle unknown(14, ColourBlack, "NoSuchFace");
  EXPECT_EQ(graphics->ObtainFont(unknown), nullptr);
  EXPECT_EQ(unknown.font, nullptr);
  IRectangle rect(0, 0, 50, 20);
  EXPECT_FALSE(graphics->RenderText(unknown, "x", &rect, false));
}

TEST_F(GraphicsTest, MeasuringFitsTheRectangleToTheTextByAlignment)
{
  rasteriser.fake.glyphs['w'] = FakeGlyph{30, [](int x, int, int) { return x >= 1 && x < 29 ? 255 : 0; }};
  for (const auto& [align, fitted] : {std::pair{ITextStyle::kAlignCenter, IRectangle(45, 0, 75, 12)},
                                      std::pair{ITextStyle::kAlignNear, IRectangle(10, 0, 40, 12)},
                                      std::pair{ITextStyle::kAlignFar, IRectangle(80, 0, 110, 12)}})
  {
    ITextStyle style(12, ColourBlack, "Arial", ITextStyle::kStyleNormal, align);
    IRectangle rect(10, 0, 110, 20);
    EXPECT_TRUE(graphics->MeasureTextRect(style, "w", &rect));
    EXPECT_EQ(rect, fitted);
  }
}

TEST_F(GraphicsTest, APaintOfAnotherAreaKeepsChangesItDidNotDrawInFull)
{
  auto* half = Add(new CountingControl({0, 0, 20, 20}));
  auto* outside = Add(new CountingControl({50, 50, 60, 60}));
  auto* hidden = Add(new CountingControl({2, 2, 8, 8}));
  Attach();
  hidden->SetHidden(true);
  graphics->RedrawRect({0, 0, 10, 10});
  EXPECT_EQ(graphics->presented.back(), IRectangle(0, 0, 10, 10));
  EXPECT_EQ(half->renders + hidden->renders + outside->renders, 1);
  EXPECT_TRUE(half->NeedsRedraw());
  EXPECT_TRUE(outside->NeedsRedraw());
  // A hidden control wholly inside is done with, its pending change included.
  EXPECT_FALSE(hidden->NeedsRedraw());
  // A paint draws its whole area again, each control in it once.
  graphics->Tick();
  const int renders = half->renders + outside->renders;
  EXPECT_EQ(renders, 3);
  graphics->RedrawRect({0, 0, 10, 10});
  EXPECT_EQ(half->renders + outside->renders, renders + 1);
  EXPECT_EQ(graphics->presented.back(), IRectangle(0, 0, 10, 10));
}

TEST_F(GraphicsTest, AnEditorWithoutControlsPresentsNothing)
{
  Attach();
  EXPECT_FALSE(graphics->RedrawRect({0, 0, 10, 10}));
  EXPECT_TRUE(graphics->presented.empty());
}

}  // namespace
