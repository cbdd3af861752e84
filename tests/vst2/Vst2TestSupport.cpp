#include "tests/vst2/Vst2TestSupport.h"

#include "hosts/common/GuardedBuffers.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace vst2test {

PlugShape gNextShape;

namespace {
const std::string kLong(300, 'x');

int NParamsOf(const PlugShape& shape)
{
  if (shape.throwInConstructor)
    throw std::runtime_error("construction fails");
  return shape.nParams;
}
}  // namespace

TestVstPlug::TestVstPlug(vst2::AudioMasterCallback host, const PlugShape& shape)
  : IPlugVST(host, NParamsOf(shape), shape.channelIO, shape.nPresets,
             shape.longTexts ? kLong.c_str() : shape.effectName, shape.longTexts ? kLong.c_str() : shape.productName,
             shape.longTexts ? kLong.c_str() : shape.makerName, 0x00010004, 0x54737432, 0x4D6B7232, 0, shape.doesMidi,
             false, false)
{
  const char* name = shape.longTexts ? "A parameter name of 31 chars..." : "Amount";
  const char* unit = shape.longTexts ? "A unit label of 31 characters.." : "%";
  for (int i = 0; i < NParams(); ++i)
  {
    if (i == 0)
    {
      ParamAt(i)->DefineDouble(name, 0.0, 0.0, 1.0, 0.01, unit);
      ParamAt(i)->SetNegateDisplay(true);
    }
    else if (i == 1)
    {
      ParamAt(i)->DefineBool("Switch", false);
    }
    else
    {
      ParamAt(i)->DefineDouble("Level", 0.0, -10.0, 10.0, 0.1, "dB");
    }
  }
  if (NPresets() > 0)
    FillFreePresets(shape.longTexts ? kLong.c_str() : "First", 1);
  mWhileFillingPresets = shape.whileFillingPresets;
}

bool TestVstPlug::WriteState(StateChunk* chunk)
{
  if (mWhileFillingPresets)
    mWhileFillingPresets();
  return IPlugVST::WriteState(chunk);
}

void TestVstPlug::HandleParameterChange(int paramIdx, int cause)
{
  changes.push_back(paramIdx);
  IPlugVST::HandleParameterChange(paramIdx, cause);
}

bool TestVstPlug::NoteNameFor(int noteNumber, char* out, int capacity)
{
  if (noteNumber != 60)
    return false;
  std::snprintf(out, static_cast<size_t>(capacity), "Middle C");
  return true;
}

vst2::AEffect* VST2_CALLBACK TestEntry(vst2::AudioMasterCallback host)
{
  return IPlugVST::Create([host] { return new TestVstPlug(host, gNextShape); });
}

TestHost::TestHost(const PlugShape& shape)
{
  gNextShape = shape;
  EXPECT_TRUE(driver.Create());
  driver.Open(44100.0, 256);
}

namespace {

template <class Sample>
void ProcessOddBlocks(vst2host::HostDriver& driver, bool replacing)
{
  vst2::AEffect* effect = driver.Effect();
  // Odd sizes, one larger than the announced block size.
  for (int frames : {1, 77, 255, 1000})
  {
    hostcommon::GuardedBuffers<Sample> in(effect->numInputs, frames), out(effect->numOutputs, frames);
    in.Fill(Sample(0.25));
    out.Fill(Sample(0.5));
    if constexpr (std::is_same_v<Sample, double>)
      effect->processDoubleReplacing(effect, in.Pointers(), out.Pointers(), frames);
    else if (replacing)
      effect->processReplacing(effect, in.Pointers(), out.Pointers(), frames);
    else
      effect->process(effect, in.Pointers(), out.Pointers(), frames);
    EXPECT_TRUE(in.GuardsIntact() && out.GuardsIntact()) << frames << " frames";
    for (int ch = 0; ch < out.Channels(); ++ch)
    {
      for (int i = 0; i < frames; ++i)
        ASSERT_TRUE(std::isfinite(out.Channel(ch)[i])) << ch << ":" << i;
    }
  }
}

void AutomateEveryParameter(vst2host::HostDriver& driver)
{
  for (int i = 0; i < driver.NumParams(); ++i)
  {
    const float before = driver.GetParameter(i);
    driver.SetParameter(i, 1.0f);
    EXPECT_FLOAT_EQ(driver.GetParameter(i), 1.0f) << driver.ParamName(i);
    driver.SetParameter(i, std::nanf(""));
    EXPECT_FLOAT_EQ(driver.GetParameter(i), 1.0f) << "NaN is refused";
    driver.SetParameter(i, -3.0f);
    EXPECT_FLOAT_EQ(driver.GetParameter(i), 0.0f) << "clamped";
    driver.SetParameter(i, before);
    EXPECT_FALSE(driver.ParamName(i).empty());
    EXPECT_LT(driver.ParamName(i).size(), size_t(vst2::kParamTextSize));
    EXPECT_LT(driver.ParamDisplay(i).size(), size_t(vst2::kParamTextSize));
  }
}

}  // namespace

void PlayWholeLife(vst2::PluginEntryProc entry)
{
  vst2host::HostDriver driver(entry);
  ASSERT_TRUE(driver.Create());
  vst2::AEffect* effect = driver.Effect();
  EXPECT_EQ(effect->magic, vst2::kEffectMagic);
  EXPECT_GE(effect->numPrograms, 1);
  driver.Open(48000.0, 256);
  EXPECT_EQ(driver.Host().CallsOf(vst2::audioMasterGetProductString).size(), 1u);

  ProcessOddBlocks<float>(driver, true);
  ProcessOddBlocks<float>(driver, false);
  ProcessOddBlocks<double>(driver, true);
  AutomateEveryParameter(driver);

  char name[256] = {};
  driver.Dispatch(vst2::effSetProgramName, 0, 0, const_cast<char*>("Renamed"));
  driver.Dispatch(vst2::effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "Renamed");
  driver.Dispatch(vst2::effSetProgram, 0, 0);
  EXPECT_EQ(driver.Dispatch(vst2::effGetProgram), 0);

  // A state saved and handed back restores what was saved.
  driver.SetParameter(0, 0.75f);
  const std::vector<unsigned char> state = driver.GetChunk(false);
  ASSERT_FALSE(state.empty());
  driver.SetParameter(0, 0.25f);
  EXPECT_TRUE(driver.SetChunk(false, state));
  EXPECT_NEAR(driver.GetParameter(0), 0.75f, 0.01f);
  const std::vector<unsigned char> bank = driver.GetChunk(true);
  EXPECT_TRUE(driver.SetChunk(true, bank));

  driver.Suspend();
  driver.Resume();
  ProcessOddBlocks<float>(driver, true);
  driver.Close();
  EXPECT_EQ(driver.Effect(), nullptr);
}

}  // namespace vst2test
