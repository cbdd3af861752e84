#include "framework/gui/IBitmapControl.h"
#include "lice/LICE_Blit.h"
#include "lice/LICE_CachedFont.h"
#include "tests/gui/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Counts how often it is drawn; draws nothing.
class CountingControl : public IControl
{
public:
  CountingControl(IPlugBase* plug, const IRectangle& rect, int paramIdx = -1) : IControl(plug, rect, paramIdx) {}
  bool Render(IGraphics*) override
  {
    ++renders;
    return true;
  }
  int renders = 0;
};

class GraphicsTest : public ::testing::Test, public EditorFixture
{};

TEST_F(GraphicsTest, FrameRateDefaultsToTwentyFive)
{
  for (const auto& [asked, got] : {std::pair{0, 25}, std::pair{-5, 25}, std::pair{60, 60}})
    EXPECT_EQ(TestGraphics(nullptr, 10, 10, asked).FPS(), got);
}

TEST_F(GraphicsTest, BackdropIsAlwaysControlZero)
{
  EXPECT_EQ(graphics->AddControl(new CountingControl(nullptr, {1, 1, 5, 5})), 0);
  EXPECT_EQ(graphics->AddControl(new CountingControl(nullptr, {2, 2, 6, 6})), 1);
  graphics->images[1100] = [] { return FrameStrip(200, 200, 1); };
  graphics->SetBackdrop(1100, "backdrop.png");
  ASSERT_EQ(graphics->NControls(), 3);
  EXPECT_EQ(graphics->ControlAt(0)->Rect(), IRectangle(0, 0, 200, 200));
  EXPECT_EQ(graphics->ControlAt(1)->Rect(), IRectangle(1, 1, 5, 5));
  // A backdrop that cannot be loaded still takes index 0, so later indices stay right.
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
  EXPECT_EQ(first.height, 8);
  EXPECT_EQ(first.frames, 2);
  EXPECT_EQ(second.frames, 1);
  // A missing image is asked for again next time.
  graphics->FetchBitmap(1103, "gone.png");
  graphics->FetchBitmap(1103, "gone.png");
  EXPECT_EQ(graphics->loads[1103], 2);
}

TEST_F(GraphicsTest, FontsAreSharedByKeyNotByColour)
{
  ITextStyle red(14, IColour(255, 255, 0, 0));
  ITextStyle blue(14, IColour(255, 0, 0, 255));
  ITextStyle lower(14, IColour(255, 255, 0, 0), "arial");
  ITextStyle bigger(15, IColour(255, 255, 0, 0));
  LICE_CachedFont* font = graphics->ObtainFont(red);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(red.font, font);
  EXPECT_EQ(graphics->ObtainFont(blue), font);
  EXPECT_NE(graphics->ObtainFont(lower), font);
  EXPECT_NE(graphics->ObtainFont(bigger), font);

  ITextStyle unknown(14, ColourBlack, "NoSuchFace");
  EXPECT_EQ(graphics->ObtainFont(unknown), nullptr);
  EXPECT_EQ(unknown.font, nullptr);
  IRectangle rect(0, 0, 50, 20);
  EXPECT_FALSE(graphics->RenderText(unknown, "x", &rect, false));
}

TEST_F(GraphicsTest, MeasuringFitsTheRectangleToTheTextByAlignment)
{
  rasteriser.fake.glyphs['w'] = FakeGlyph{30, [](int x, int, int) { return x >= 1 && x < 29 ? 255 : 0; }};
  struct Case
  {
    int align;
    IRectangle fitted;
  };
  for (const Case& c : {Case{ITextStyle::kAlignCenter, {45, 0, 75, 12}}, Case{ITextStyle::kAlignNear, {10, 0, 40, 12}},
                        Case{ITextStyle::kAlignFar, {80, 0, 110, 12}}})
  {
    ITextStyle style(12, ColourBlack, "Arial", ITextStyle::kStyleNormal, c.align);
    IRectangle rect(10, 0, 110, 20);
    EXPECT_TRUE(graphics->MeasureTextRect(style, "w", &rect));
    EXPECT_EQ(rect, c.fitted);
  }
}

// The pixels of the draw bitmap inside r.
std::vector<Pixel32> PixelsIn(const TestGraphics& g, const IRectangle& r)
{
  std::vector<Pixel32> out;
  for (int y = r.T; y < r.B; ++y)
    for (int x = r.L; x < r.R; ++x)
      out.push_back(g.PixelAt(x, y));
  return out;
}

TEST_F(GraphicsTest, BlitsAreClippedToTheAreaBeingDrawn)
{
  graphics->images[1104] = [] { return FrameStrip(40, 40, 1, 7); };
  graphics->SetBackdrop(1104, "backdrop.png");
  auto* control = Add(new IBitmapControl(plug.get(), 10, 10, Strip(20, 10, 3, 9)));
  Attach();
  control->ApplyPlugValue(0.0);
  control->ApplyPlugValue(1.0);
  graphics->RedrawRect({0, 0, 40, 40});
  const std::vector<Pixel32> before = PixelsIn(*graphics, {0, 0, 40, 40});

  // Half of the control lies in the area: only that half is copied, from frame 2's matching
  // columns; nothing else changes.
  control->ApplyPlugValue(0.5);
  graphics->RedrawRect({20, 0, 40, 40});
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
    {
      const bool inside = x >= 20 && x < 30 && y >= 10 && y < 20;
      const Pixel32 expected = inside ? LICE_Rgba(1, 254, 9, 255) : before[y * 40 + x];
      ASSERT_EQ(graphics->PixelAt(x, y), expected) << x << "," << y;
    }
}

TEST_F(GraphicsTest, PlainCopyTakesAlphaWhileAlphaCopyKeepsWhatLiesBelow)
{
  graphics->images[1105] = [] { return FrameStrip(30, 30, 1, 5); };
  graphics->SetBackdrop(1105, "backdrop.png");
  auto* plain = Add(new IBitmapControl(plug.get(), 10, 10, Strip(5, 5, 1, 1), IBlendSpec::kPlainCopy));
  auto* alpha = Add(new IBitmapControl(plug.get(), 20, 10, Strip(5, 5, 1, 1)));
  Attach();
  graphics->Tick();
  // The strips' top-left pixels are transparent black.
  EXPECT_EQ(graphics->PixelAt(10, 10), 0u);
  EXPECT_EQ(graphics->PixelAt(20, 10), LICE_Rgba(0, 255, 5, 255));
  // The backdrop's own transparent corner is copied as it is.
  EXPECT_EQ(graphics->PixelAt(0, 0), 0u);
  (void)plain, (void)alpha;
}

TEST_F(GraphicsTest, GreyedControlIsBlendedAtAQuarter)
{
  graphics->images[1106] = [] { return FrameStrip(30, 30, 1, 200); };
  graphics->SetBackdrop(1106, "backdrop.png");
  const IBitmapRef strip = Strip(10, 10, 1, 40);
  auto* control = Add(new IBitmapControl(plug.get(), 10, 10, strip));
  Attach();
  control->SetGreyed(true);
  graphics->RedrawRect({0, 0, 30, 30});

  // The same two blits made directly.
  LICE_MemBitmap expected(30, 30);
  const LICE_SourceRect all{0, 0, 30, 30};
  const LICE_SourceRect frame{0, 0, 10, 10};
  LICE_CopyRect(
    &expected, graphics->ControlAt(0) ? static_cast<IBitmapControl*>(graphics->ControlAt(0))->Bitmap().bitmap : nullptr,
    0, 0, &all, 1.0f, BlendCopy);
  LICE_CopyRect(&expected, strip.bitmap, 10, 10, &frame, 0.25f, BlendCopy | BlendUseSourceAlpha);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(graphics->PixelAt(x, y), expected.PixelData()[y * expected.RowPitch() + x]) << x << "," << y;
  EXPECT_NE(graphics->PixelAt(15, 15), LICE_Rgba(0, 255, 40, 255));
}

TEST_F(GraphicsTest, OnlyWhatChangedIsCollectedAndDrawn)
{
  auto* first = Add(new CountingControl(plug.get(), {0, 0, 20, 20}, GuiTestPlug::kLevel));
  auto* second = Add(new CountingControl(plug.get(), {30, 0, 50, 20}, GuiTestPlug::kGain));
  auto* overlapping = Add(new CountingControl(plug.get(), {40, 10, 60, 30}));
  Attach();
  graphics->Tick();  // the first values from the plug-in mark nothing: one frame draws all
  IRectangle dirty;
  EXPECT_FALSE(graphics->CollectDirtyRect(&dirty));

  const int before[] = {first->renders, second->renders, overlapping->renders};
  graphics->PushParamToControls(GuiTestPlug::kGain, 6.0, false);
  EXPECT_EQ(graphics->Tick(), IRectangle(30, 0, 50, 20));
  EXPECT_EQ(graphics->presented.back(), IRectangle(30, 0, 50, 20));
  // What overlaps the area is drawn too, and stays clean; what does not is left alone.
  EXPECT_EQ(first->renders, before[0]);
  EXPECT_EQ(second->renders, before[1] + 1);
  EXPECT_EQ(overlapping->renders, before[2] + 1);
  EXPECT_FALSE(overlapping->NeedsRedraw());
}

TEST_F(GraphicsTest, APaintOfAnotherAreaKeepsChangesItDidNotDrawInFull)
{
  auto* half = Add(new CountingControl(plug.get(), {0, 0, 20, 20}));
  auto* outside = Add(new CountingControl(plug.get(), {50, 50, 60, 60}));
  auto* hidden = Add(new CountingControl(plug.get(), {2, 2, 8, 8}));
  Attach();
  hidden->SetHidden(true);
  graphics->RedrawRect({0, 0, 10, 10});
  EXPECT_EQ(half->renders, 1);
  EXPECT_EQ(hidden->renders, 0);
  EXPECT_TRUE(half->NeedsRedraw());
  EXPECT_TRUE(outside->NeedsRedraw());
  // A hidden control wholly inside is done with (its pending change included).
  hidden->ClearChanged();
  EXPECT_FALSE(hidden->NeedsRedraw());
}

TEST_F(GraphicsTest, AnEditorWithoutControlsPresentsNothing)
{
  Attach();
  EXPECT_FALSE(graphics->RedrawRect({0, 0, 10, 10}));
  EXPECT_TRUE(graphics->presented.empty());
}

}  // namespace
