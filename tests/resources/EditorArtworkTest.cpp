// What the editor relies on in its images beyond their sizes: which parts are transparent,
// and that the frames of knobs, meters and the button really change.
#include <gtest/gtest.h>

#include <map>

#include "tests/resources/EditorImages.h"

namespace {
class EditorArtwork : public testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    for (const EditorImage& image : EditorImages())
      sBitmaps[image.id] = DecodeModuleImage(image.id);
  }
  static void TearDownTestSuite() { sBitmaps.clear(); }

  void SetUp() override
  {
    for (const EditorImage& image : EditorImages())
      ASSERT_NE(sBitmaps[image.id], nullptr) << image.name;
  }

  static const EditorImage& Info(int id)
  {
    for (const EditorImage& image : EditorImages())
      if (image.id == id)
        return image;
    throw std::logic_error("no such image");
  }

  // Pixel x, y of frame `frame` of image `id`.
  static Pixel32 At(int id, int frame, int x, int y)
  {
    const LICE_IBitmap& b = *sBitmaps[id];
    return b.PixelData()[(frame * FrameHeight(id) + y) * b.RowPitch() + x];
  }
  static int FrameHeight(int id) { return Info(id).height / Info(id).frames; }

  static std::vector<Pixel32> Frame(int id, int frame)
  {
    const LICE_IBitmap& b = *sBitmaps[id];
    const int w = b.PixelWidth(), h = FrameHeight(id);
    std::vector<Pixel32> out;
    for (int y = 0; y < h; ++y)
    {
      const Pixel32* row = b.PixelData() + (frame * h + y) * b.RowPitch();
      out.insert(out.end(), row, row + w);
    }
    return out;
  }

  // Alpha-weighted brightness of a frame: grows with every lit meter segment.
  static long long Brightness(int id, int frame)
  {
    long long sum = 0;
    for (Pixel32 p : Frame(id, frame))
      sum += (LICE_Red(p) + LICE_Green(p) + LICE_Blue(p)) * LICE_Alpha(p);
    return sum;
  }

  static std::map<int, std::unique_ptr<LICE_MemBitmap>> sBitmaps;
};

std::map<int, std::unique_ptr<LICE_MemBitmap>> EditorArtwork::sBitmaps;

enum
{
  kBackdrop = 100,
  kBigKnob,
  kSmallKnob,
  kGainMeter,
  kPeakMeter,
  kButton,
  kUpperHandle,
  kLowerHandle
};

// The backdrop is copied without blending, alpha and all.
TEST_F(EditorArtwork, BackdropIsOpaque)
{
  for (Pixel32 p : Frame(kBackdrop, 0))
    ASSERT_EQ(LICE_Alpha(p), 255);
}

// Knobs and buttons are blended over the backdrop: only their round part may cover it.
TEST_F(EditorArtwork, KnobAndButtonCornersAreTransparentInEveryFrame)
{
  for (int id : {kBigKnob, kSmallKnob, kButton})
  {
    const int w = Info(id).width, h = FrameHeight(id), corner = w / 8;
    for (int frame = 0; frame < Info(id).frames; ++frame)
      for (int y = 0; y < corner; ++y)
        for (int x = 0; x < corner; ++x)
          for (auto [cx, cy] : {std::pair{x, y}, {w - 1 - x, y}, {x, h - 1 - y}, {w - 1 - x, h - 1 - y}})
            ASSERT_EQ(LICE_Alpha(At(id, frame, cx, cy)), 0) << Info(id).name << " frame " << frame;
  }
}

TEST_F(EditorArtwork, EveryKnobMeterAndButtonFrameDiffersFromTheNext)
{
  for (int id : {kBigKnob, kSmallKnob, kGainMeter, kPeakMeter, kButton})
    for (int frame = 0; frame + 1 < Info(id).frames; ++frame)
      EXPECT_NE(Frame(id, frame), Frame(id, frame + 1)) << Info(id).name << " frame " << frame;
}

// Frame k of a peak meter is k - 48 dB: the bar only grows. The gain meter's frame 12 is 0 dB:
// its bar grows away from there in both directions.
TEST_F(EditorArtwork, MeterBarsGrowAwayFromTheirZeroFrame)
{
  for (int frame = 1; frame < Info(kPeakMeter).frames; ++frame)
    EXPECT_GT(Brightness(kPeakMeter, frame), Brightness(kPeakMeter, frame - 1)) << frame;
  for (int frame = 1; frame < Info(kGainMeter).frames; ++frame)
  {
    const long long before = Brightness(kGainMeter, frame - 1), now = Brightness(kGainMeter, frame);
    EXPECT_TRUE(frame <= 12 ? now < before : now > before) << frame;
  }
}

// The big knobs hold bipolar values whose middle is their default: frame k must mirror frame
// 99 - k, or the pointer would not stand at twelve o'clock in the middle of the sweep.
TEST_F(EditorArtwork, BigKnobSweepIsSymmetricAboutTwelveOClock)
{
  const int w = Info(kBigKnob).width, last = Info(kBigKnob).frames - 1;
  for (int frame = 0; frame <= last; frame += 11)
    for (int y = 0; y < FrameHeight(kBigKnob); ++y)
      for (int x = 0; x < w; ++x)
      {
        const Pixel32 p = At(kBigKnob, frame, x, y), q = At(kBigKnob, last - frame, w - 1 - x, y);
        ASSERT_NEAR(LICE_Alpha(p), LICE_Alpha(q), 2) << "frame " << frame << " at " << x << ", " << y;
        if (LICE_Alpha(p) > 32)
        {
          ASSERT_NEAR(LICE_Green(p), LICE_Green(q), 3) << "frame " << frame << " at " << x << ", " << y;
        }
      }
}

TEST_F(EditorArtwork, FaderHandlesAreDistinctAndPartlyTransparent)
{
  EXPECT_NE(Frame(kUpperHandle, 0), Frame(kLowerHandle, 0));
  for (int id : {kUpperHandle, kLowerHandle})
  {
    int clear = 0, solid = 0;
    for (Pixel32 p : Frame(id, 0))
      clear += LICE_Alpha(p) == 0, solid += LICE_Alpha(p) == 255;
    EXPECT_GT(clear, 0) << Info(id).name;
    EXPECT_GT(solid, 0) << Info(id).name;
  }
}
}  // namespace
