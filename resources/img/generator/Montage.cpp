#include "Montage.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "Image.h"
#include "Layout.h"
#include "lice/LICE_Blit.h"
#include "lice/LICE_CachedFont.h"
#include "lice/LICE_Png.h"

namespace {
using Bitmap = std::unique_ptr<LICE_IBitmap>;

Bitmap Load(const std::string& folder, const char* name)
{
  Bitmap bitmap(LICE_DecodePngFile((folder + "/" + name).c_str(), nullptr));
  if (!bitmap)
    throw std::runtime_error(std::string("cannot read back ") + name);
  return bitmap;
}

struct Strips
{
  Bitmap backdrop, bigKnob, smallKnob, gainMeter, peakMeter, button, upperHandle, lowerHandle;
};

constexpr BlendMode kAlphaBlend = BlendCopy | BlendUseSourceAlpha;

// Frame `index` of a strip of `frames` to x, y, blended by the image's alpha at `weight`.
void BlitFrame(LICE_IBitmap* to, LICE_IBitmap* strip, int frames, int index, int x, int y, float weight = 1.0f)
{
  const int h = strip->PixelHeight() / frames;
  const LICE_SourceRect source = {0, index * h, strip->PixelWidth(), (index + 1) * h};
  LICE_CopyRect(to, strip, x, y, &source, weight, kAlphaBlend);
}

// The frame the editor shows for a normalised value.
int FrameOf(double value, int frames)
{
  return std::clamp(int((frames - 1) * value + 0.5), 0, frames - 1);
}

struct KnobSetting
{
  double value;
  const char* text;
  bool greyed;
};

// One state of the editor's sixteen controls.
struct EditorSetting
{
  KnobSetting big[2];
  KnobSetting small[3];
  bool switches[2];
  double gainDb[2];
  int upperLimitDb, lowerLimitDb;
  double inputDb[2], outputDb[2];
};

// The knobs' value text as the editor's two text styles draw it: Arial in amber, centred on
// the knob's middle.
class ValueText
{
public:
  explicit ValueText(int size) : mSize(size)
  {
    mFont.AssignFont(LICE_CreateFont("Arial", size, 400, false, 0, 0), LICE_FontOwnsHandle);
    mFont.ChangeTextColour(LICE_Rgba(255, 200, 63, 255));
    mFont.ChangeBackMode(LICE_BackTransparent);
  }

  void Draw(LICE_IBitmap* to, const Rect& knob, int x, int y, const char* text)
  {
    const int lineHeight = mSize + 4;
    const int mid = y + knob.top + knob.Height() / 2 - lineHeight / 2 + 2;
    LICE_TextRect rect = {x + knob.left, mid, x + knob.right, mid + lineHeight};
    mFont.PaintText(to, text, -1, &rect, LICE_DT_CENTER | LICE_DT_VCENTER | LICE_DT_SINGLELINE | LICE_DT_NOCLIP);
  }

private:
  int mSize;
  LICE_CachedFont mFont;
};

void DrawEditor(LICE_IBitmap* to, const Strips& s, const EditorSetting& e, int x, int y)
{
  ValueText bigText(16), smallText(14);
  LICE_CopyRect(to, s.backdrop.get(), x, y, nullptr, 1.0f, BlendCopy);
  const auto knob = [&](LICE_IBitmap* strip, const KnobPlace& place, const KnobSetting& k, ValueText& text) {
    BlitFrame(to, strip, kKnobFrames, FrameOf(k.value, kKnobFrames), x + place.rect.left, y + place.rect.top,
              k.greyed ? 0.25f : 1.0f);
    text.Draw(to, place.rect, x, y, k.text);
  };
  for (int i = 0; i < 2; ++i)
    knob(s.bigKnob.get(), kBigKnobs[i], e.big[i], bigText);
  for (int i = 0; i < 3; ++i)
    knob(s.smallKnob.get(), kSmallKnobs[i], e.small[i], smallText);
  for (int i = 0; i < 2; ++i)
    BlitFrame(to, s.button.get(), 2, e.switches[i] ? 1 : 0, x + kSwitches[i].left, y + kSwitches[i].top);
  for (int i = 0; i < 2; ++i)
    BlitFrame(to, s.gainMeter.get(), kGainMeterFrames, FrameOf((e.gainDb[i] + 12) / 24, kGainMeterFrames),
              x + kGainMeters[i].left, y + kGainMeters[i].top);
  BlitFrame(to, s.upperHandle.get(), 1, 0, x + kUpperFader.left, y + HandleTop(kUpperLimit, e.upperLimitDb));
  BlitFrame(to, s.lowerHandle.get(), 1, 0, x + kLowerFader.left, y + HandleTop(kLowerLimit, e.lowerLimitDb));
  const auto peak = [&](const Rect& meter, double db) {
    BlitFrame(to, s.peakMeter.get(), kPeakMeterFrames, FrameOf((db + 48) / 48, kPeakMeterFrames), x + meter.left,
              y + meter.top);
  };
  for (int i = 0; i < 2; ++i)
    peak(kInputMeters[i], e.inputDb[i]), peak(kOutputMeters[i], e.outputDb[i]);
}

// Every `step`th frame of a strip side by side, from x, y, `gap` pixels apart; returns the x after.
int DrawFrames(LICE_IBitmap* to, LICE_IBitmap* strip, int frames, int step, int x, int y, int gap)
{
  for (int i = 0; i < frames; i += step)
  {
    BlitFrame(to, strip, frames, i, x, y);
    x += strip->PixelWidth() + gap;
  }
  return x;
}

Image ToImage(const LICE_IBitmap& bitmap)
{
  Image out(bitmap.PixelWidth(), bitmap.PixelHeight());
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
    {
      const Pixel32 p = bitmap.PixelData()[y * bitmap.RowPitch() + x];
      std::uint8_t* px = out.At(x, y);
      px[0] = std::uint8_t(LICE_Red(p)), px[1] = std::uint8_t(LICE_Green(p)), px[2] = std::uint8_t(LICE_Blue(p));
      px[3] = 255;
    }
  return out;
}
}  // namespace

void WriteMontage(const std::string& folder, const std::string& path)
{
  const Strips s = {Load(folder, "bkg.png"),
                    Load(folder, "big-knob.png"),
                    Load(folder, "small-knob.png"),
                    Load(folder, "gain-meter.png"),
                    Load(folder, "peak-meter.png"),
                    Load(folder, "button.png"),
                    Load(folder, "up-limit-fader.png"),
                    Load(folder, "low-limit-fader.png")};
  const int margin = 10;
  const int metersWidth = kGainMeterFrames * (kMeterWidth + 4) + kPeakMeterFrames * (kMeterWidth + 2) + 4 * margin;
  LICE_MemBitmap picture(std::max(2 * kEditorWidth + 3 * margin, metersWidth),
                         kEditorHeight + kBigKnobSize + kSmallKnobSize + kPeakMeterHeight + 5 * margin);
  LICE_PaintRect(&picture, 0, 0, picture.PixelWidth(), picture.PixelHeight(), LICE_Rgba(58, 60, 64, 255), 1.0f,
                 BlendCopy);

  // At the defaults with both automatic switches on (their knobs greyed), playing.
  const EditorSetting defaults = {{{0.5, "0 %", false}, {0.5, "0 dB", true}},
                                  {{0.0, "20 Hz", false}, {20.0 / 90, "30 ms", false}, {40.0 / 490, "50 ms", true}},
                                  {true, true},
                                  {3, -5},
                                  12,
                                  -12,
                                  {-10, -14},
                                  {-6, -9}};
  // Switches off, other values, loud.
  const EditorSetting other = {
    {{0.8, "60 %", false}, {5.0 / 24, "-7 dB", false}},
    {{100.0 / 380, "120 Hz", false}, {45.0 / 90, "55 ms", false}, {190.0 / 490, "200 ms", false}},
    {false, false},
    {6, -4},
    6,
    -4,
    {-2, -0.4},
    {-20, -24}};
  DrawEditor(&picture, s, defaults, margin, margin);
  DrawEditor(&picture, s, other, 2 * margin + kEditorWidth, margin);

  int y = kEditorHeight + 2 * margin;
  DrawFrames(&picture, s.bigKnob.get(), kKnobFrames, 11, margin, y, 2);
  y += kBigKnobSize + margin;
  int x = DrawFrames(&picture, s.smallKnob.get(), kKnobFrames, 11, margin, y, 2);
  x = DrawFrames(&picture, s.button.get(), 2, 1, x + margin, y + 38, 4);
  BlitFrame(&picture, s.upperHandle.get(), 1, 0, x + margin, y + 10);
  BlitFrame(&picture, s.lowerHandle.get(), 1, 0, x + margin, y + 60);
  y += kSmallKnobSize + margin;
  x = DrawFrames(&picture, s.gainMeter.get(), kGainMeterFrames, 1, margin, y, 4);
  DrawFrames(&picture, s.peakMeter.get(), kPeakMeterFrames, 1, x + 2 * margin, y, 2);
  WritePng(path, ToImage(picture));
}
