// The effect's whole editor: its pictures, the user's edits through it, what a change
// redraws, and editors drawn while other threads change them.
#include "framework/gui/IGraphics.h"
#include "framework/gui/IKnobControl.h"
#include "lice/LICE_Bitmap.h"
#include "tests/effect/EffectTestSupport.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/lice/FakeGlyphRasteriser.h"
#include "tests/lice/PngWriter.h"
#include "platform/ScopedLock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstdint>
#include <fstream>
#include <thread>

namespace {

using T = TarvexQuoxel;

constexpr PointerModifiers kNoKeys{};

// FNV-1a over the pixels of r, row by row.
std::uint64_t HashPixels(const LICE_IBitmap& bitmap, const IRectangle& r)
{
  std::uint64_t hash = 14695981039346656037ull;
  for (int y = r.T; y < r.B; ++y)
    for (int x = r.L; x < r.R; ++x)
    {
      const Pixel32 p = bitmap.PixelData()[y * bitmap.RowPitch() + x];
      for (int shift = 0; shift < 32; shift += 8)
        hash = (hash ^ ((p >> shift) & 0xFF)) * 1099511628211ull;
    }
  return hash;
}

bool Inside(const IRectangle& r, int x, int y)
{
  return x >= r.L && x < r.R && y >= r.T && y < r.B;
}

// Writes the editor as a PNG beside the test, for a person to look at.
void SavePicture(const LICE_IBitmap& bitmap, const std::string& name)
{
  PngImage image;
  image.width = bitmap.PixelWidth();
  image.height = bitmap.PixelHeight();
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
    {
      const Pixel32 p = bitmap.PixelData()[y * bitmap.RowPitch() + x];
      for (int c : {LICE_Red(p), LICE_Green(p), LICE_Blue(p), LICE_Alpha(p)})
        image.samples.push_back(static_cast<std::uint16_t>(c));
    }
  const std::vector<unsigned char> bytes = WritePng(image);
  std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A new plug-in as a host makes it; its editor drawn in full on demand.
struct Editor : EffectUnderTest
{
  IGraphics& graphics = *plug->Graphics();

  const LICE_IBitmap& DrawAll()
  {
    graphics.MarkAllChanged();
    graphics.RedrawRect(IRectangle(0, 0, T::kEditorWidth, T::kEditorHeight));
    return *graphics.DrawBitmap();
  }
  // The timer's work: what changed is drawn; the area it covered.
  IRectangle Tick()
  {
    IRectangle dirty;
    if (graphics.CollectDirtyRect(&dirty))
      graphics.RedrawRect(dirty);
    return dirty;
  }
  // As the user would set it: the plug-in reacts, then every control shows its parameter.
  void Set(int idx, double plain)
  {
    plug->SetParameterFromGUI(idx, plug->ParamAt(idx)->NormalOf(plain));
    plug->RefreshParamControls();
  }
  void Click(int x, int y)
  {
    graphics.DispatchPress(x, y, Left());
    graphics.DispatchRelease(x, y, Left());
  }
  const IControl* ControlOf(int paramIdx) const
  {
    for (int i = 0; i < graphics.NControls(); ++i)
      if (graphics.ControlAt(i)->ParamIdx() == paramIdx)
        return graphics.ControlAt(i);
    return nullptr;
  }
  std::string Gestures() const { return GestureWords(plug->events); }
};

// The fake glyphs make the pictures independent of the fonts installed.
class EffectEditorTest : public ::testing::Test
{
protected:
  ~EffectEditorTest() override
  {
    editor.reset();
    IGraphics::ReleaseCachedFonts();
  }
  ScopedFakeRasteriser rasteriser;
  std::unique_ptr<Editor> editor = std::make_unique<Editor>();
};

TEST_F(EffectEditorTest, SwitchesGreyTheirManualControlsWhichThenIgnoreTheUser)
{
  const auto greyed = [&] {
    return std::pair{editor->ControlOf(T::kOutGain)->IsGreyed(), editor->ControlOf(T::kRelease)->IsGreyed()};
  };
  EXPECT_EQ(greyed(), std::pair(true, true));  // the automatic modes start on
  editor->graphics.DispatchPress(350, 90, Left());
  editor->graphics.DispatchDrag(350, 40, Left());
  editor->graphics.DispatchRelease(350, 40, Left());
  editor->graphics.DispatchDoubleClick(350, 90, Left());
  editor->graphics.DispatchRelease(350, 90, Left());
  editor->graphics.DispatchWheel(350, 90, Left(), 3);
  EXPECT_EQ(editor->Gestures(), "");
  editor->Click(413, 155);
  EXPECT_EQ(greyed(), std::pair(false, true));
  editor->Click(404, 356);
  EXPECT_EQ(greyed(), std::pair(false, false));
  editor->Click(404, 356);
  EXPECT_EQ(greyed(), std::pair(false, true));
  EXPECT_EQ(editor->Gestures(), "b2 p2 e2 b6 p6 e6 b6 p6 e6");
}

TEST_F(EffectEditorTest, DraggingEachKnobAndFaderIsOneGestureGearedAsDrawn)
{
  editor->Click(413, 155);  // both automatic modes off: every knob takes the pointer
  editor->Click(404, 356);
  struct Case
  {
    int paramIdx, x, y, dragToY;
    double plain;  // after the drag
  };
  // Knobs: 40 px up on a 128 px knob adds 40 / 128 / 4, on a 100 px knob 40 / 100 / 4.
  // Faders: the handle's middle follows the pointer along 137 px of travel.
  for (const Case& c : {Case{T::kLevel, 159, 90, 50, 16.0},
                        {T::kOutGain, 351, 90, 50, 2.0},
                        {T::kHiPass, 130, 300, 260, 58.0},
                        {T::kLength, 242, 300, 260, 39.0},
                        {T::kRelease, 355, 300, 260, 99.0},
                        {T::kUpperLimit, 560, 100, 72 + 13 + 68, 7.0},
                        {T::kLowerLimit, 560, 380, 232 + 13 + 68, -6.0}})
  {
    editor->plug->events.clear();
    editor->graphics.DispatchPress(c.x, c.y, Left());
    editor->graphics.DispatchDrag(c.x, c.dragToY, Left());
    editor->graphics.DispatchRelease(c.x, c.dragToY, Left());
    const std::string p = std::to_string(c.paramIdx);
    EXPECT_EQ(editor->Gestures(), "b" + p + " p" + p + " p" + p + " e" + p) << "parameter " << c.paramIdx;
    EXPECT_EQ(editor->plug->ParamAt(c.paramIdx)->Value(), c.plain) << "parameter " << c.paramIdx;
  }
}

TEST_F(EffectEditorTest, DoubleClickWheelAndStrayClicks)
{
  editor->Set(T::kHiPass, 200.0);
  editor->plug->events.clear();
  editor->graphics.DispatchDoubleClick(130, 300, Left());
  EXPECT_EQ(editor->Gestures(), "b3 p3 e3") << "the reset ends its gesture without a release";
  editor->graphics.DispatchRelease(130, 300, Left());
  EXPECT_EQ(editor->plug->ParamAt(T::kHiPass)->Value(), 20.0);
  EXPECT_EQ(editor->Gestures(), "b3 p3 e3");

  editor->plug->events.clear();
  editor->graphics.DispatchWheel(242, 300, kNoKeys, 2);  // 30 ms + 2% of 90 ms
  EXPECT_EQ(editor->plug->ParamAt(T::kLength)->Value(), 32.0);
  EXPECT_EQ(editor->Gestures(), "b4 p4 e4");

  // The backdrop and the space outside the editor take clicks and keys without effect.
  editor->plug->events.clear();
  editor->Click(640, 400);
  editor->Click(700, 500);
  EXPECT_FALSE(editor->graphics.DispatchKey(640, 400, IGraphics::kKeyUp));
  EXPECT_FALSE(editor->graphics.DispatchKey(159, 90, IGraphics::kKeyUp));
  EXPECT_EQ(editor->Gestures(), "");
}

TEST_F(EffectEditorTest, AParameterChangeRedrawsOnlyItsControl)
{
  const LICE_IBitmap& bitmap = editor->DrawAll();
  const std::vector<Pixel32> before(bitmap.PixelData(), bitmap.PixelData() + bitmap.RowPitch() * bitmap.PixelHeight());
  editor->graphics.PushParamToControls(T::kHiPass, 300.0, false);
  editor->plug->ParamAt(T::kHiPass)->SetPlain(300.0);
  const IRectangle knob(80, 285, 180, 385);
  EXPECT_EQ(editor->Tick(), knob);
  int changed = 0;
  for (int y = 0; y < bitmap.PixelHeight(); ++y)
    for (int x = 0; x < bitmap.PixelWidth(); ++x)
    {
      const bool inside = Inside(knob, x, y);
      const bool same = bitmap.PixelData()[y * bitmap.RowPitch() + x] == before[y * bitmap.RowPitch() + x];
      ASSERT_TRUE(inside || same) << x << "," << y;
      changed += !same;
    }
  EXPECT_GT(changed, 100);
}

TEST_F(EffectEditorTest, AudioBlocksRedrawOnlyTheMeters)
{
  editor->Set(T::kLevel, 100.0);  // the gain moves
  editor->DrawAll();
  editor->Tick();  // a value from the plug-in is drawn on two frames
  editor->plug->transport.playing = true;
  std::vector<double> left = DrumLoop(4096, 44100.0), right = DrumLoop(4096, 44100.0, 7);
  editor->Process(left, right);
  std::vector<int> dirty;
  for (int i = 0; i < editor->graphics.NControls(); ++i)
    if (editor->graphics.ControlAt(i)->NeedsRedraw())
      dirty.push_back(i);
  EXPECT_EQ(dirty, (std::vector<int>{8, 9, 12, 13, 14, 15}));
}

// Reference pictures of the whole editor. On a difference the picture is written beside the
// test (editor-<name>.png) with the hash of each control's area, to find what moved.
struct Picture
{
  const char* name;
  std::function<void(Editor&)> setup;
  std::uint64_t hash;
};

TEST_F(EffectEditorTest, PicturesMatchTheirReferences)
{
  const Picture pictures[] = {
    {"defaults", [](Editor&) {}, 0x548a97fdbb26f028ull},
    {"manual",
     [](Editor& e) {
       e.Set(T::kAutoOutGain, 0.0);
       e.Set(T::kAutoRelease, 0.0);
       e.Set(T::kLevel, 60.0);
       e.Set(T::kOutGain, -5.0);
       e.Set(T::kHiPass, 120.0);
       e.Set(T::kUpperLimit, 6.0);
       e.Set(T::kLowerLimit, -9.0);
     },
     0x3111c1331b252e85ull},
    {"metering",
     [](Editor& e) {
       const double levels[] = {0.6, 0.4, 0.7, 0.55, 0.9, 0.2};
       for (int m = 0; m < T::kNumMeters; ++m)
         e.plug->ShowMeter(m, levels[m]);
     },
     0x07612da061af1e28ull},
  };
  for (const Picture& picture : pictures)
  {
    editor = std::make_unique<Editor>();
    picture.setup(*editor);
    const LICE_IBitmap& bitmap = editor->DrawAll();
    const std::uint64_t hash = HashPixels(bitmap, IRectangle(0, 0, T::kEditorWidth, T::kEditorHeight));
    if (hash == picture.hash)
      continue;
    const std::string file = std::string("editor-") + picture.name + ".png";
    SavePicture(bitmap, file);
    ADD_FAILURE() << picture.name << ": the picture differs from its reference (hash 0x" << std::hex << hash
                  << "), written to " << file;
    for (int i = 0; i < editor->graphics.NControls(); ++i)
      std::printf("  control %2d: 0x%016llx\n", i,
                  static_cast<unsigned long long>(HashPixels(bitmap, editor->graphics.ControlAt(i)->Rect())));
  }
}

// Draws a new editor in full with the rasteriser (null: the platform's own) and keeps the
// pixels and where each knob put its text.
struct Drawing
{
  std::vector<Pixel32> pixels;
  std::vector<IRectangle> textRects;  // of controls 1..5, the knobs
  int pitch = 0;

  explicit Drawing(LICE_GlyphRasteriser* rasteriser)
  {
    LICE_GlyphRasteriser* previous = LICE_SetGlyphRasteriser(rasteriser);
    {
      Editor editor;
      const LICE_IBitmap& bitmap = editor.DrawAll();
      pitch = bitmap.RowPitch();
      pixels.assign(bitmap.PixelData(), bitmap.PixelData() + pitch * bitmap.PixelHeight());
      for (int i = 1; i <= 5; ++i)
        textRects.push_back(static_cast<const IKnobMultiControlText*>(editor.graphics.ControlAt(i))->TextRect());
    }
    IGraphics::ReleaseCachedFonts();
    LICE_SetGlyphRasteriser(previous);
  }
};

TEST(EffectEditorText, RealGlyphsLandInsideTheirKnobsTextRectangles)
{
  FakeGlyphRasteriser blank;  // glyphs without ink: the picture without its text
  blank.glyphs[' '] = FakeGlyph{4, [](int, int, int) { return 0; }};
  for (int c = '!'; c <= '~'; ++c)
    blank.glyphs[c] = FakeGlyph{8, [](int, int, int) { return 0; }};
  const Drawing text(nullptr), bare(&blank);

  std::vector<IRectangle> ink(5);
  for (int y = 0; y < T::kEditorHeight; ++y)
    for (int x = 0; x < T::kEditorWidth; ++x)
    {
      if (text.pixels[y * text.pitch + x] == bare.pixels[y * bare.pitch + x])
        continue;
      int knob = 0;
      while (knob < 5 && !Inside(text.textRects[knob], x, y))
        ++knob;
      ASSERT_LT(knob, 5) << "ink outside every text rectangle at " << x << "," << y;
      ink[knob] = ink[knob].UnionWith(IRectangle(x, y, x + 1, y + 1));
    }
  for (int knob = 0; knob < 5; ++knob)
  {
    const IRectangle& box = ink[knob];
    const IRectangle& rect = text.textRects[knob];
    EXPECT_FALSE(box.Empty()) << "knob " << knob + 1 << " shows no text";
    // Centred on the knob within a pixel or two, and no wider than measured.
    EXPECT_LE(std::abs((box.L + box.R) - (rect.L + rect.R)), 4) << "knob " << knob + 1;
    EXPECT_LE(std::abs((box.T + box.B) - (rect.T + rect.B)), 6) << "knob " << knob + 1;
  }
}

// The timer of an editor that other threads keep changing, and the whole picture of the
// state they left: the same pixels, so no change got lost or drawn half.
TEST_F(EffectEditorTest, ChangesFromTheAudioThreadWhileTheEditorDraws)
{
  editor->DrawAll();
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    std::vector<double> left = DrumLoop(512, 44100.0), right = DrumLoop(512, 44100.0, 3);
    editor->plug->transport.playing = true;
    for (int block = 0; !stop.load() || block < 50; ++block)
    {
      // A block and the host automation delivered with it, under the plug-in lock as a
      // binding runs them.
      ScopedLock lock(editor->plug->Mutex());
      editor->Process(left, right);
      const int idx = block % T::kNumParams;
      IPlugParameter* param = editor->plug->ParamAt(idx);
      param->SetFromNormal((block * 37 % 101) / 100.0);
      editor->graphics.PushParamToControls(idx, param->Normal(), true);
      editor->plug->HandleParameterChange(idx, 0);
    }
  });
  for (int frame = 0; frame < 200; ++frame)
    editor->Tick();
  stop.store(true);
  audio.join();
  for (int frame = 0; frame < 3; ++frame)
    editor->Tick();
  const LICE_IBitmap& bitmap = *editor->graphics.DrawBitmap();
  const std::vector<Pixel32> ticked(bitmap.PixelData(), bitmap.PixelData() + bitmap.RowPitch() * bitmap.PixelHeight());
  editor->DrawAll();
  EXPECT_TRUE(std::equal(ticked.begin(), ticked.end(), bitmap.PixelData()));
}

TEST_F(EffectEditorTest, TwoEditorsDrawnOnTwoThreadsAtOnce)
{
  const auto draw = [](std::uint64_t* hash) {
    Editor own;
    own.Set(T::kAutoOutGain, 0.0);
    own.Set(T::kLevel, -30.0);
    for (int i = 0; i < 20; ++i)
      *hash = HashPixels(own.DrawAll(), IRectangle(0, 0, T::kEditorWidth, T::kEditorHeight));
  };
  std::uint64_t first = 0, second = 0, alone = 0;
  std::thread a(draw, &first), b(draw, &second);
  a.join();
  b.join();
  draw(&alone);
  EXPECT_EQ(first, alone);
  EXPECT_EQ(second, alone);
}

}  // namespace
