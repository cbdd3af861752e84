#include "tests/effect/EffectTestSupport.h"
#include "tests/core/FailingAllocator.h"
#include "tests/core/RecordingEditor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

namespace {

struct ParamRow
{
  const char* name;
  bool isBool;
  double def, min, max;
  const char* label;
};

const ParamRow kParams[TarvexQuoxel::kNumParams] = {
  {"Quoxel Level", false, 0, -100, 100, "%"},
  {"Out gain", false, 0, -12, 12, "dB"},
  {"Auto output gain", true, 1, 0, 1, ""},
  {"Hi Pass", false, 20, 20, 400, "Hz"},
  {"Quoxel length", false, 30, 10, 100, "ms"},
  {"Detector release", false, 50, 10, 500, "ms"},
  {"Auto release", true, 1, 0, 1, ""},
  {"Gain upper limit", false, 12, 1, 12, "dB"},
  {"Gain lower limit", false, -12, -12, -1, "dB"},
};

std::string Display(const IPlugParameter* param, double plain)
{
  char text[64];
  param->DisplayText(plain, false, text, sizeof(text));
  return text;
}

TEST(EffectParameters, NineParametersAsDeclared)
{
  EffectUnderTest fx;
  ASSERT_EQ(fx.plug->NParams(), 9);
  for (int i = 0; i < TarvexQuoxel::kNumParams; ++i)
  {
    SCOPED_TRACE(kParams[i].name);
    const IPlugParameter* p = fx.plug->ParamAt(i);
    EXPECT_STREQ(p->NameText(), kParams[i].name);
    EXPECT_STREQ(p->UnitLabel(), kParams[i].label);
    EXPECT_STREQ(p->GroupText(), "");
    EXPECT_EQ(p->Type(), kParams[i].isBool ? IPlugParameter::kTypeBool : IPlugParameter::kTypeDouble);
    EXPECT_EQ(p->Value(), kParams[i].def);
    EXPECT_EQ(p->Default(), kParams[i].def);
    EXPECT_EQ(p->Min(), kParams[i].min);
    EXPECT_EQ(p->Max(), kParams[i].max);
    EXPECT_EQ(p->Step(), kParams[i].isBool ? 0.1 : 1.0);
    EXPECT_EQ(p->Shape(), 1.0);
  }
  EXPECT_EQ(Display(fx.plug->ParamAt(TarvexQuoxel::kAutoOutGain), 1.0), "on");
  EXPECT_EQ(Display(fx.plug->ParamAt(TarvexQuoxel::kAutoRelease), 0.0), "off");
  EXPECT_EQ(Display(fx.plug->ParamAt(TarvexQuoxel::kLevel), 50.0), "50");
  EXPECT_EQ(Display(fx.plug->ParamAt(TarvexQuoxel::kLowerLimit), -7.0), "-7");

  EXPECT_STREQ(fx.plug->EffectName(), "TarvexQuoxel");
  EXPECT_STREQ(fx.plug->MakerName(), "Tarvex");
  EXPECT_EQ(fx.plug->VersionNumber(true), 10004);
  EXPECT_TRUE(fx.plug->LegalIO(1, 1));
  EXPECT_TRUE(fx.plug->LegalIO(2, 2));
  EXPECT_FALSE(fx.plug->LegalIO(1, 2));
}

TEST(EffectParameters, DefaultPresetHoldsTheDefaults)
{
  EffectUnderTest fx;
  ASSERT_EQ(fx.plug->NPresets(), 1);
  EXPECT_STREQ(fx.plug->PresetNameAt(0), "-");
  fx.SetParam(TarvexQuoxel::kHiPass, 300);
  fx.SetParam(TarvexQuoxel::kLevel, 40);
  ASSERT_TRUE(fx.plug->LoadPreset(0));
  for (int i = 0; i < TarvexQuoxel::kNumParams; ++i)
    EXPECT_EQ(fx.Param(i), kParams[i].def) << kParams[i].name;
  EXPECT_EQ(fx.plug->Engine().HighPassFrequency(), 20.0);
}

struct AutoGainCase
{
  double level, upper, lower, expectedOutGain;
};

TEST(AutoOutputGain, FollowsTheLevelWithinTheLimits)
{
  const AutoGainCase cases[] = {
    {100, 12, -12, -12}, {100, 6, -12, -6}, {-100, 12, -12, 12}, {-100, 12, -4, 4},
    {0, 12, -12, 0},     {37, 12, -12, -4}, {-50, 12, -12, 6},   {60, 3, -3, -3},
  };
  for (const AutoGainCase& c : cases)
  {
    SCOPED_TRACE(testing::Message() << "level " << c.level << " limits " << c.upper << "/" << c.lower);
    EffectUnderTest fx;
    fx.SetParam(TarvexQuoxel::kUpperLimit, c.upper);
    fx.SetParam(TarvexQuoxel::kLowerLimit, c.lower);
    fx.plug->events.clear();
    fx.SetParam(TarvexQuoxel::kLevel, c.level);
    EXPECT_EQ(fx.Param(TarvexQuoxel::kOutGain), c.expectedOutGain);
    EXPECT_NEAR(fx.plug->Engine().OutputGain(), std::pow(10.0, c.expectedOutGain / 20.0), 1e-9);
    EXPECT_DOUBLE_EQ(fx.plug->Engine().Amount(), c.level / 100.0);
    // The host hears of the new gain once, as a normalised value.
    const auto edits = fx.plug->EventsOf(IPlugTestBinding::HostEvent::kPerformEdit);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].index, TarvexQuoxel::kOutGain);
    EXPECT_DOUBLE_EQ(edits[0].value, fx.plug->ParamAt(TarvexQuoxel::kOutGain)->Normal());
  }
}

TEST(AutoOutputGain, SwitchAndLimitChainsReapplyIt)
{
  EffectUnderTest fx;
  fx.SetParam(TarvexQuoxel::kAutoOutGain, 0);
  fx.SetParam(TarvexQuoxel::kOutGain, 5);
  fx.plug->events.clear();
  fx.SetParam(TarvexQuoxel::kLevel, 100);
  EXPECT_EQ(fx.Param(TarvexQuoxel::kOutGain), 5.0) << "manual gain kept while automatic gain is off";
  EXPECT_TRUE(fx.plug->events.empty());

  // Switching it on applies it at once, with no editor attached.
  fx.SetParam(TarvexQuoxel::kAutoOutGain, 1);
  EXPECT_EQ(fx.Param(TarvexQuoxel::kOutGain), -12.0);
  EXPECT_NEAR(fx.plug->Engine().OutputGain(), std::pow(10.0, -12.0 / 20.0), 1e-9);

  // Moving a limit re-runs the chain.
  fx.SetParam(TarvexQuoxel::kUpperLimit, 5);
  EXPECT_EQ(fx.Param(TarvexQuoxel::kOutGain), -5.0);
  EXPECT_NEAR(fx.plug->Engine().GainUpperLimit(), std::pow(10.0, 5.0 / 20.0), 1e-9);
  fx.SetParam(TarvexQuoxel::kLevel, -100);
  fx.SetParam(TarvexQuoxel::kLowerLimit, -2);
  EXPECT_EQ(fx.Param(TarvexQuoxel::kOutGain), 2.0);
  EXPECT_NEAR(fx.plug->Engine().GainLowerLimit(), std::pow(10.0, -2.0 / 20.0), 1e-9);
}

TEST(AutoOutputGain, ManualGainReachesTheAudio)
{
  EffectUnderTest fx;
  fx.SetParam(TarvexQuoxel::kAutoOutGain, 0);
  fx.SetParam(TarvexQuoxel::kOutGain, -6);
  const int n = 44100 / 2;
  std::vector<double> left(n), right(n);
  for (int i = 0; i < n; ++i)
    left[i] = right[i] = 0.5 * std::sin(2.0 * kPi * 220.0 * i / 44100.0);
  const double inRms = Rms(left, n / 2);
  fx.Process(left, right);
  EXPECT_NEAR(20.0 * std::log10(Rms(left, n / 2) / inRms), -6.0, 0.05);
}

TEST(EngineSettings, EveryParameterReachesTheEngine)
{
  EffectUnderTest fx;
  fx.SetParam(TarvexQuoxel::kHiPass, 250);
  fx.SetParam(TarvexQuoxel::kLength, 70);
  fx.SetParam(TarvexQuoxel::kAutoRelease, 0);
  fx.SetParam(TarvexQuoxel::kRelease, 333);
  const TransientControl& engine = fx.plug->Engine();
  EXPECT_EQ(engine.HighPassFrequency(), 250.0);
  EXPECT_EQ(engine.SlowAttack(), 70.0);
  EXPECT_FALSE(engine.TempoRelease());
  EXPECT_EQ(engine.EffectiveReleaseTime(), 333.0);
  fx.SetParam(TarvexQuoxel::kAutoRelease, 1);
  EXPECT_EQ(engine.EffectiveReleaseTime(), 250.0);  // half a beat at 120 bpm
}

TEST(Reset, OversamplingFollowsTheSampleRate)
{
  const struct
  {
    double rate;
    int factor;
  } cases[] = {{22050, 8}, {44100, 8},  {48000, 8},  {88099.9, 8}, {88100, 4}, {88200, 4},
               {96000, 4}, {176400, 4}, {191999, 4}, {192000, 2},  {384000, 2}};
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.rate);
    EffectUnderTest fx(c.rate);
    EXPECT_EQ(fx.plug->Engine().Oversampling(), c.factor);
    EXPECT_EQ(fx.plug->Engine().SampleRate(), static_cast<int>(c.rate));
    EXPECT_EQ(TarvexQuoxel::OversamplingFor(c.rate), c.factor);
  }
}

TEST(Reset, UnusableRatesKeepThePreviousSetUp)
{
  EffectUnderTest fx(96000);
  for (double rate : {0.0, -1.0, std::nan(""), 1e12, double(INFINITY)})
  {
    fx.plug->ChangeSampleRate(rate);
    fx.plug->RestartProcessing();
    EXPECT_EQ(fx.plug->Engine().SampleRate(), 96000);
    EXPECT_EQ(fx.plug->Engine().Oversampling(), 4);
  }
  std::vector<double> left = DrumLoop(4096, 96000), right = left;
  fx.Process(left, right);
  for (double v : left)
    ASSERT_TRUE(std::isfinite(v));
}

// Settings applied before the first reset (as hosts do) must sound the same as settings
// applied after it: times are times at every rate.
TEST(Reset, SettingsBeforeAndAfterTheResetSoundTheSame)
{
  auto configure = [](EffectUnderTest& fx) {
    fx.SetParam(TarvexQuoxel::kLevel, 80);
    fx.SetParam(TarvexQuoxel::kLength, 60);
    fx.SetParam(TarvexQuoxel::kAutoRelease, 0);
    fx.SetParam(TarvexQuoxel::kRelease, 200);
  };
  EffectUnderTest before(44100), after(44100);
  configure(before);
  before.plug->ChangeSampleRate(96000);
  before.plug->RestartProcessing();
  after.plug->ChangeSampleRate(96000);
  after.plug->RestartProcessing();
  configure(after);

  std::vector<double> a = DrumLoop(48000, 96000), b = a, ar = a, br = a;
  before.Process(a, ar);
  after.Process(b, br);
  EXPECT_EQ(a, b);
}

TEST(Creation, ConcurrentCreationsGiveIndependentObjects)
{
  std::vector<std::unique_ptr<TarvexQuoxel>> plugs(8);
  std::vector<std::thread> threads;
  for (auto& slot : plugs)
    threads.emplace_back([&slot] { slot.reset(NewTarvexQuoxel(nullptr)); });
  for (auto& t : threads)
    t.join();
  for (size_t i = 0; i < plugs.size(); ++i)
  {
    ASSERT_NE(plugs[i], nullptr);
    for (size_t j = 0; j < i; ++j)
      EXPECT_NE(plugs[i].get(), plugs[j].get());
    EXPECT_EQ(plugs[i]->ParamAt(TarvexQuoxel::kHiPass)->Value(), 20.0);
  }
}

// An editor that lets go of a dragged control when it is destroyed, which tells the host.
class EditorEndingAGesture : public RecordingEditor
{
public:
  EditorEndingAGesture(IPlugTestBinding* plug, size_t* hostEvents) : mPlug(plug), mHostEvents(hostEvents) {}
  ~EditorEndingAGesture() override
  {
    mPlug->EndInformHostOfParamChange(TarvexQuoxel::kLevel);
    *mHostEvents = mPlug->events.size();
  }

private:
  IPlugTestBinding* mPlug;
  size_t* mHostEvents;
};

TEST(Creation, EditorIsDestroyedWhileTheWholePlugInStillExists)
{
  size_t hostEvents = 0;
  {
    std::unique_ptr<TarvexQuoxel> plug(NewTarvexQuoxel(nullptr));
    plug->AttachEditor(new EditorEndingAGesture(plug.get(), &hostEvents));
  }
  EXPECT_EQ(hostEvents, 1u);
}

// Memory running out at any point of creation gives either no object or a whole one.
TEST(Creation, RunningOutOfMemoryGivesNoObjectOrAWholeOne)
{
  bool madeOne = false;
  for (int allowed = 0; allowed < 200 && !madeOne; ++allowed)
  {
    SCOPED_TRACE(allowed);
    std::unique_ptr<TarvexQuoxel> plug;
    {
      FailingAllocator failing(allowed);
      plug.reset(NewTarvexQuoxel(nullptr));
    }
    if (!plug)
      continue;
    madeOne = true;
    ASSERT_EQ(plug->NParams(), TarvexQuoxel::kNumParams);
    EXPECT_STREQ(plug->ParamAt(TarvexQuoxel::kLowerLimit)->NameText(), "Gain lower limit");
    EXPECT_EQ(plug->ParamAt(TarvexQuoxel::kAutoRelease)->TextCount(), 2);
    EXPECT_EQ(plug->NInChannels(), 2);
    EXPECT_EQ(plug->NOutChannels(), 2);
    EXPECT_TRUE(plug->LegalIO(1, 1) && plug->LegalIO(2, 2));
    ASSERT_NE(plug->PresetAt(0), nullptr);
    EXPECT_TRUE(plug->PresetAt(0)->initialised);
    EXPECT_EQ(plug->PresetAt(0)->state.Size(), 72);
  }
  EXPECT_TRUE(madeOne);
}

}  // namespace
