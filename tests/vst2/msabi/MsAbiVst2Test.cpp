// The built VST2 module driven by a host compiled for Microsoft's ABI (MsAbiVst2Host.cpp): the
// entry and its record, dispatcher calls, parameters and processed blocks, each compared
// with what our own host gets from the same module, so both declarations of the binary
// interface have to agree.
#include "hosts/msabi/vst2/MsAbiVst2Host.h"

#include "hosts/common/SharedLibrary.h"
#include "hosts/vst2/HostDriver.h"
#include "hosts/vst2/ModuleLoader.h"
#include "tests/msabi/HostBlock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace {

const char* const kModule = TQ_MSABI_VST2_MODULE;
constexpr int kBlock = 256;
constexpr int kBlocks = 4;
constexpr int kLevel = 0;
using msabitest::kChannels;
using msabitest::kRate;
using msabitest::kTempo;

// The module as our own host loads and drives it, for the expected answers.
struct ReferenceHost
{
  ReferenceHost()
  {
    std::string error;
    module = vst2host::Module::Load(kModule, error);
    if (!module)
      ADD_FAILURE() << error;
    else
      driver = std::make_unique<vst2host::HostDriver>(module->Entry());
  }
  bool created() { return driver && driver->Create(); }

  std::unique_ptr<vst2host::Module> module;
  std::unique_ptr<vst2host::HostDriver> driver;
};

class MsAbiVst2 : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    mLibrary = hostcommon::SharedLibrary::Open(kModule, error);
    ASSERT_TRUE(mLibrary) << error;
    ASSERT_EQ(tq_msvst2_open(mLibrary->Symbol("VSTPluginMain"), &mFacts), 1);
    mOpen = true;
  }
  void TearDown() override
  {
    if (mOpen)
    {
      EXPECT_EQ(tq_msvst2_close(), 0);
    }
  }
  // effOpen, the rate, the block size and resume, as our host's driver opens.
  void openForProcessing()
  {
    tq_msvst2_dispatch(0, 0, 0, nullptr, 0.0f);
    tq_msvst2_dispatch(10, 0, 0, nullptr, static_cast<float>(kRate));
    tq_msvst2_dispatch(11, 0, kBlock, nullptr, 0.0f);
    tq_msvst2_dispatch(12, 0, 1, nullptr, 0.0f);
  }

  std::unique_ptr<hostcommon::SharedLibrary> mLibrary;
  MsVst2EffectFacts mFacts{};
  bool mOpen = false;
};

// A text the plug-in writes into a host buffer, and the dispatcher's answer.
struct TextAnswer
{
  MsVst2IntPtr answer;
  std::string text;
  bool operator==(const TextAnswer& o) const { return answer == o.answer && text == o.text; }
};

std::ostream& operator<<(std::ostream& os, const TextAnswer& t)
{
  return os << t.answer << " \"" << t.text << "\"";
}

template <class Dispatch>
TextAnswer textOf(Dispatch dispatch, int opcode, int index)
{
  char buffer[256];
  std::memset(buffer, 0, sizeof buffer);
  const MsVst2IntPtr answer = dispatch(opcode, index, buffer);
  return {answer, std::string(buffer, strnlen(buffer, sizeof buffer))};
}

}  // namespace

TEST_F(MsAbiVst2, EntryGivesTheRecordOurHostReads)
{
  ReferenceHost reference;
  ASSERT_TRUE(reference.created());
  const vst2::AEffect& e = *reference.driver->Effect();
  EXPECT_EQ(mFacts.magic, 0x56737450);
  EXPECT_EQ(mFacts.numPrograms, e.numPrograms);
  EXPECT_EQ(mFacts.numParams, e.numParams);
  EXPECT_EQ(mFacts.numParams, 9);
  EXPECT_EQ(mFacts.numInputs, kChannels);
  EXPECT_EQ(mFacts.numOutputs, kChannels);
  EXPECT_EQ(mFacts.flags, e.flags);
  EXPECT_EQ(mFacts.flags & 0x1018, 0x1018) << "replacing, double replacing, mono";
  EXPECT_EQ(mFacts.initialDelay, e.initialDelay);
  EXPECT_EQ(mFacts.ioRatio, 1.0f);
  EXPECT_EQ(mFacts.uniqueID, e.uniqueID);
  EXPECT_EQ(mFacts.version, 10004);
  EXPECT_TRUE(mFacts.hasEntries);
}

TEST_F(MsAbiVst2, DispatcherAndParametersAnswerAsToOurHost)
{
  openForProcessing();
  ReferenceHost reference;
  ASSERT_TRUE(reference.created());
  vst2host::HostDriver& driver = *reference.driver;
  driver.Open(kRate, kBlock);
  auto ours = [&](int opcode, int index, void* ptr) { return driver.Dispatch(opcode, index, 0, ptr); };
  auto theirs = [](int opcode, int index, void* ptr) { return tq_msvst2_dispatch(opcode, index, 0, ptr, 0.0f); };

  // Effect, vendor and product names, preset 0's name; every parameter's name, label and display.
  struct TextCase
  {
    int opcode;
    int index;
  };
  std::vector<TextCase> cases{{45, 0}, {47, 0}, {48, 0}, {29, 0}};
  for (int i = 0; i < mFacts.numParams; ++i)
    for (int opcode : {8, 6, 7})
      cases.push_back({opcode, i});
  for (const TextCase& c : cases)
  {
    SCOPED_TRACE(::testing::Message() << "opcode " << c.opcode << " index " << c.index);
    EXPECT_EQ(textOf(theirs, c.opcode, c.index), textOf(ours, c.opcode, c.index));
  }
  EXPECT_EQ(textOf(theirs, 8, kLevel).text, "Quoxel Level");

  // Answers without texts: the VST version, the category, the vendor version, the identity.
  for (int opcode : {58, 35, 49, 22})
  {
    SCOPED_TRACE(opcode);
    EXPECT_EQ(tq_msvst2_dispatch(opcode, 0, 0, nullptr, 0.0f), driver.Dispatch(opcode));
  }
  EXPECT_EQ(tq_msvst2_dispatch(58, 0, 0, nullptr, 0.0f), 2400);
  char timeInfo[] = "receiveVstTimeInfo";
  EXPECT_EQ(tq_msvst2_dispatch(51, 0, 0, timeInfo, 0.0f), 1);

  // A parameter set through the record's entry reads back and shows as in our host.
  tq_msvst2_set_parameter(kLevel, 0.25f);
  driver.SetParameter(kLevel, 0.25f);
  EXPECT_EQ(tq_msvst2_get_parameter(kLevel), 0.25f);
  EXPECT_EQ(textOf(theirs, 7, kLevel), textOf(ours, 7, kLevel));
  MsVst2HostCalls calls{};
  tq_msvst2_host_calls(&calls);
  EXPECT_EQ(calls.automate, static_cast<int>(driver.Host().CallsOf(0).size())) << "automation told to the host";
}

// Blocks of either width through both hosts, with the same settings, time info and input.
class MsAbiVst2Process : public MsAbiVst2, public ::testing::WithParamInterface<bool>
{};

TEST_P(MsAbiVst2Process, BlocksEqualOurHosts)
{
  const bool doubles = GetParam();
  tq_msvst2_set_tempo(kTempo);
  openForProcessing();
  tq_msvst2_set_parameter(kLevel, 0.9f);

  ReferenceHost reference;
  ASSERT_TRUE(reference.created());
  vst2host::HostDriver& driver = *reference.driver;
  driver.Host().timeInfo.tempo = kTempo;
  driver.Open(kRate, kBlock);
  driver.SetParameter(kLevel, 0.9f);
  vst2host::HostDriver::Channels input(kChannels, std::vector<double>(kBlock * kBlocks));
  for (int ch = 0; ch < kChannels; ++ch)
    for (int i = 0; i < kBlock * kBlocks; ++i)
      input[static_cast<size_t>(ch)][static_cast<size_t>(i)] =
        doubles ? msabitest::SignalAt(ch, i) : static_cast<float>(msabitest::SignalAt(ch, i));
  const vst2host::HostDriver::Channels expected = driver.Render(input, kBlock, doubles);
  ASSERT_EQ(expected.size(), static_cast<size_t>(kChannels));

  msabitest::HostBlock block(kBlock, doubles);
  double changed = 0.0;
  for (int n = 0; n < kBlocks; ++n)
  {
    block.FillInput(n * kBlock);
    ASSERT_EQ(tq_msvst2_process(doubles, block.Inputs(), block.Outputs(), kBlock), 0);
    for (int ch = 0; ch < kChannels; ++ch)
      for (int i = 0; i < kBlock; ++i)
      {
        const double want = expected[static_cast<size_t>(ch)][static_cast<size_t>(n * kBlock + i)];
        ASSERT_EQ(block.Output(ch, i), want) << "block " << n << " channel " << ch << " frame " << i;
        changed += std::fabs(block.Output(ch, i) - block.Input(ch, i));
      }
  }
  EXPECT_GT(changed, 0.1) << "the effect was at work";
  EXPECT_TRUE(block.GuardsIntact());
  EXPECT_TRUE(driver.Problems().empty());

  MsVst2HostCalls calls{};
  tq_msvst2_host_calls(&calls);
  EXPECT_EQ(calls.wantMidi, kBlocks) << "a plug-in that takes MIDI says so on every block";
  EXPECT_GT(calls.getTime, 0);
}

INSTANTIATE_TEST_SUITE_P(SampleWidths, MsAbiVst2Process, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "Double" : "Float"; });
