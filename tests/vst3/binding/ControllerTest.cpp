// The controller side: the host's parameter list, values and texts, units and programs, MIDI
// controller mapping and the controller state stream.
#include "tests/vst3/binding/BindingTestSupport.h"

#include <cmath>
#include <limits>
#include <random>

using namespace vst3binding;
using T = TarvexQuoxel;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string Text(IEditController& c, ParamID id, double normalised)
{
  String128 text = {};
  EXPECT_EQ(c.getParamStringByValue(id, normalised, text), kResultOk);
  return vst3host::narrow(text);
}

std::vector<double> Values(const TarvexQuoxel& plug)
{
  std::vector<double> v;
  for (int i = 0; i < kNumParams; ++i)
    v.push_back(plug.ParamAt(i)->Value());
  return v;
}
}  // namespace

TEST(Parameters, ListedWithIdsTitlesUnitsStepsFlagsAndDefaults)
{
  Session s;
  const auto params = s.driver->parameters();
  ASSERT_EQ(params.size(), 2u + kNumParams + 128u);
  struct Expected
  {
    ParamID id;
    const char* title;
    const char* units;
    int32 steps;
    int32 flags;
    double def;
  };
  const Expected expected[] = {
    {kPreset, "Preset", "", 1, 0x8000, 0.0},
    {kBypass, "Bypass", "", 1, 0x10009, 0.0},
    {0, "Quoxel Level", "%", 0, 1, 100.0 / 200.0},
    {1, "Out gain", "dB", 0, 1, 12.0 / 24.0},
    {2, "Auto output gain", "", 1, 9, 1.0},
    {3, "Hi Pass", "Hz", 0, 1, 0.0},
    {4, "Quoxel length", "ms", 0, 1, 20.0 / 90.0},
    {5, "Detector release", "ms", 0, 1, 40.0 / 490.0},
    {6, "Auto release", "", 1, 9, 1.0},
    {7, "Gain upper limit", "dB", 0, 1, 1.0},
    {8, "Gain lower limit", "dB", 0, 1, 0.0},
  };
  for (size_t i = 0; i < std::size(expected); ++i)
  {
    SCOPED_TRACE(expected[i].title);
    EXPECT_EQ(params[i].id, expected[i].id);
    EXPECT_EQ(vst3host::narrow(params[i].title), expected[i].title);
    EXPECT_EQ(vst3host::narrow(params[i].units), expected[i].units);
    EXPECT_EQ(params[i].stepCount, expected[i].steps);
    EXPECT_EQ(params[i].flags, expected[i].flags);
    EXPECT_NEAR(params[i].defaultNormalizedValue, expected[i].def, 1e-12);
    EXPECT_EQ(params[i].unitId, kRootUnitId);
  }
  for (int cc = 0; cc < 128; ++cc)
  {
    const ParameterInfo& p = params[2 + kNumParams + cc];
    EXPECT_EQ(p.id, static_cast<ParamID>(kNumParams + cc));
    EXPECT_EQ(vst3host::narrow(p.title), "MIDI CC");
    EXPECT_EQ(p.flags, 1);
  }
  EXPECT_EQ(Text(s.Controller(), T::kAutoOutGain, 0.0), "off");
  EXPECT_EQ(Text(s.Controller(), T::kAutoOutGain, 1.0), "on");
}

TEST(Parameters, NormalisedPlainAndTextRoundTripForEveryParameter)
{
  Session s;
  IEditController& c = s.Controller();
  for (int i = 0; i < kNumParams; ++i)
  {
    const IPlugParameter* p = s.Plug().ParamAt(i);
    // Every whole value: the mapping leaves some a hair below the whole (13 % comes back
    // as 12.999999999999986), and the text must still show the value the host set.
    for (double plain = p->Min(); plain <= p->Max(); plain += 1.0)
    {
      SCOPED_TRACE(std::string(p->NameText()) + " at " + std::to_string(plain));
      const double n = c.plainParamToNormalized(i, plain);
      EXPECT_NEAR(c.normalizedParamToPlain(i, n), plain, 1e-9);
      ASSERT_EQ(c.setParamNormalized(i, n), kResultOk);
      EXPECT_NEAR(p->Value(), plain, 1e-9);
      EXPECT_NEAR(c.getParamNormalized(i), n, 1e-12);

      String128 text = {};
      ASSERT_EQ(c.getParamStringByValue(i, n, text), kResultOk);
      double back = -1.0;
      ASSERT_EQ(c.getParamValueByString(i, text, back), kResultOk) << vst3host::narrow(text);
      EXPECT_NEAR(back, n, 1e-9);
    }
  }
  EXPECT_EQ(Text(c, T::kLevel, 0.75), "50");
  EXPECT_EQ(Text(c, T::kLevel, kNaN), "-100");
  EXPECT_EQ(Text(c, T::kLevel, 1e300), "100");
  EXPECT_EQ(Text(c, T::kHiPass, -7.0), "20");
}

TEST(Parameters, HostValuesAreCheckedAndSetOnlyTheParameter)
{
  Session s;
  IEditController& c = s.Controller();
  ASSERT_EQ(c.setParamNormalized(T::kHiPass, 0.5), kResultOk);
  EXPECT_EQ(c.setParamNormalized(T::kHiPass, kNaN), kResultFalse);
  EXPECT_EQ(s.Plug().ParamAt(T::kHiPass)->Value(), 210.0);
  EXPECT_EQ(c.setParamNormalized(T::kHiPass, -4.0), kResultOk);
  EXPECT_EQ(s.Plug().ParamAt(T::kHiPass)->Value(), 20.0);

  // The effect follows the host through process only: no automatic output gain here.
  s.driver->handler().clear();
  ASSERT_EQ(c.setParamNormalized(T::kLevel, 1.0), kResultOk);
  EXPECT_EQ(s.Plug().ParamAt(T::kOutGain)->Value(), 0.0);
  EXPECT_TRUE(s.driver->handler().calls().empty());

  for (ParamID other : {kBypass, kPreset, ParamID(kNumParams), ParamID(kNumParams + 127), ParamID(0xFFFFFFFF)})
  {
    String128 text = {};
    EXPECT_EQ(c.setParamNormalized(other, 1.0), kResultFalse);
    EXPECT_EQ(c.getParamStringByValue(other, 1.0, text), kResultFalse);
    EXPECT_EQ(c.plainParamToNormalized(other, 64.0), 64.0);
  }
  EXPECT_EQ(c.getParamNormalized(kNumParams + 5), 0.0);
}

// Unit and mapping records themselves are checked by the conformance run against the module;
// here the values only this plug-in defines.
TEST(Units, ProgramListAndMidiControllers)
{
  Session s;
  IUnitInfo* units = s.Query<IUnitInfo>();
  IMidiMapping* midi = s.Query<IMidiMapping>();
  ASSERT_TRUE(units && midi);
  ProgramListInfo list{};
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(list.id, static_cast<ProgramListID>(kPreset));
  String128 name = {};
  ASSERT_EQ(units->getProgramName(kPreset, 5, name), kResultOk);
  EXPECT_EQ(vst3host::narrow(name), "");
  EXPECT_EQ(units->getProgramName(1, 0, name), kResultFalse);

  for (int cc : {-1, 0, 127, 128, 130})
  {
    ParamID id = 12345;
    const bool mapped = cc >= 0 && cc < 128;
    EXPECT_EQ(midi->getMidiControllerAssignment(0, 0, static_cast<CtrlNumber>(cc), id),
              mapped ? kResultOk : kResultFalse);
    EXPECT_EQ(id, mapped ? ParamID(kNumParams + cc) : 12345u) << cc;
  }
  units->release();
  midi->release();
}

TEST(State, StreamIsTheParametersAsDoublesThenTheBypassFlag)
{
  Session s;
  s.Controller().setParamNormalized(T::kLevel, 0.25);
  s.Controller().setParamNormalized(T::kLength, 1.0);
  const std::vector<uint8_t> bytes = s.SaveController();
  ASSERT_EQ(bytes.size(), 76u);
  for (int i = 0; i < kNumParams; ++i)
  {
    const std::vector<uint8_t> v = LittleEndian(s.Plug().ParamAt(i)->Value());
    EXPECT_TRUE(std::equal(v.begin(), v.end(), bytes.begin() + 8 * i)) << i;
  }
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 72, bytes.end()), (std::vector<uint8_t>{0, 0, 0, 0}));

  // A host stream that stops taking bytes fails the save; no stream at all as well.
  MemoryStream full;
  full.setWriteLimit(40);
  EXPECT_EQ(s.Controller().getState(&full), kResultFalse);
  EXPECT_EQ(s.Controller().setState(nullptr), kResultFalse);
}

TEST(State, RestoreAppliesWholeValuesClampsAndReportsShortStreams)
{
  Session s;
  s.Controller().setParamNormalized(T::kHiPass, 1.0);
  s.Controller().setParamNormalized(T::kAutoRelease, 0.0);
  const std::vector<uint8_t> saved = s.SaveController();
  const std::vector<double> before = Values(s.Plug());
  s.Controller().setParamNormalized(T::kHiPass, 0.0);
  s.Controller().setParamNormalized(T::kAutoRelease, 1.0);
  ASSERT_EQ(s.LoadController(saved), kResultOk);
  EXPECT_EQ(Values(s.Plug()), before);
  EXPECT_EQ(s.SaveController(), saved);

  // Without the bypass integer the parameters still come back, and the load says it failed.
  s.Controller().setParamNormalized(T::kHiPass, 0.0);
  EXPECT_EQ(s.LoadController(std::vector<uint8_t>(saved.begin(), saved.begin() + 72)), kResultFalse);
  EXPECT_EQ(Values(s.Plug()), before);

  // 44 bytes: five whole values; the half-read sixth (its low bytes arrived) and the rest keep
  // their settings.
  std::vector<uint8_t> other;
  for (double v : {50.0, 6.0, 0.0, 100.0, 60.0, 123.456789, 0.0, 3.0, -3.0})
  {
    const std::vector<uint8_t> b = LittleEndian(v);
    other.insert(other.end(), b.begin(), b.end());
  }
  EXPECT_EQ(s.LoadController(std::vector<uint8_t>(other.begin(), other.begin() + 44)), kResultFalse);
  std::vector<double> expected = {50.0, 6.0, 0.0, 100.0, 60.0};
  expected.insert(expected.end(), before.begin() + 5, before.end());
  EXPECT_EQ(Values(s.Plug()), expected);

  // Values out of range are clamped, NaN takes the default, and the bypass flag comes back.
  std::vector<uint8_t> wild;
  for (double v : {-500.0, 99.0, 1.0, 1e9, kNaN, 50.0, 1.0, 12.0, -12.0})
  {
    const std::vector<uint8_t> b = LittleEndian(v);
    wild.insert(wild.end(), b.begin(), b.end());
  }
  wild.insert(wild.end(), {1, 0, 0, 0});
  ASSERT_EQ(s.LoadController(wild), kResultOk);
  EXPECT_EQ(s.Plug().ParamAt(T::kLevel)->Value(), -100.0);
  EXPECT_EQ(s.Plug().ParamAt(T::kOutGain)->Value(), 12.0);
  EXPECT_EQ(s.Plug().ParamAt(T::kHiPass)->Value(), 400.0);
  EXPECT_EQ(s.Plug().ParamAt(T::kLength)->Value(), 30.0);
  EXPECT_EQ(s.Controller().getParamNormalized(kBypass), 1.0);

  // An empty stream changes nothing.
  const std::vector<double> now = Values(s.Plug());
  EXPECT_EQ(s.LoadController({}), kResultFalse);
  EXPECT_EQ(s.LoadController({1, 2, 3}), kResultFalse);
  EXPECT_EQ(Values(s.Plug()), now);
}

TEST(State, FuzzedStreamsNeverLeaveAValueOutOfRange)
{
  Session s;
  std::mt19937 rng(1234);
  for (int round = 0; round < 400; ++round)
  {
    std::vector<uint8_t> bytes(rng() % 90);
    for (uint8_t& b : bytes)
      b = static_cast<uint8_t>(rng());
    // Some rounds carry plausible doubles so that clamping, not only NaN, is exercised.
    for (size_t at = 0; round % 2 && at + 8 <= bytes.size(); at += 8)
    {
      const std::vector<uint8_t> v = LittleEndian(std::ldexp(double(rng()) - 2147483648.0, int(rng() % 40) - 30));
      std::copy(v.begin(), v.end(), bytes.begin() + at);
    }
    MemoryStream stream(bytes);
    stream.setShortReadResult(round % 3 ? kResultOk : kResultFalse);
    const tresult r = s.Controller().setState(&stream);
    EXPECT_EQ(r == kResultOk, bytes.size() >= 76u);
    for (int i = 0; i < kNumParams; ++i)
    {
      const IPlugParameter* p = s.Plug().ParamAt(i);
      ASSERT_TRUE(p->Value() >= p->Min() && p->Value() <= p->Max()) << p->NameText() << " " << p->Value();
    }
  }
}
