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

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {
using namespace msabitest;

const char* const kModule = TQ_MSABI_VST2_MODULE;
constexpr int kLevel = 0;

// The module through the Microsoft-ABI host, and through our own for the expected answers.
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
    mModule = vst2host::Module::Load(kModule, error);
    ASSERT_TRUE(mModule) << error;
    mReference = std::make_unique<vst2host::HostDriver>(mModule->Entry());
    ASSERT_TRUE(mReference->Create());
  }
  void TearDown() override { EXPECT_EQ(mOpen ? tq_msvst2_close() : 0, 0); }
  // Both at the tempo, opened as our host's driver opens: effOpen, the rate, the block size
  // and resume.
  void Open()
  {
    tq_msvst2_set_tempo(kTempo);
    for (const auto& [opcode, value, opt] :
         {std::tuple{0, 0, 0.0f}, {10, 0, float(kRate)}, {11, kBlock, 0.0f}, {12, 1, 0.0f}})
      tq_msvst2_dispatch(opcode, 0, value, nullptr, opt);
    mReference->Host().timeInfo.tempo = kTempo;
    mReference->Open(kRate, kBlock);
  }
  void Set(int index, float value)
  {
    tq_msvst2_set_parameter(index, value);
    mReference->SetParameter(index, value);
  }
  // The dispatcher's answer and the text the plug-in wrote into the host's buffer.
  std::pair<MsVst2IntPtr, std::string> Text(bool ours, int opcode, int index)
  {
    char buffer[256] = {};
    const MsVst2IntPtr answer =
      ours ? mReference->Dispatch(opcode, index, 0, buffer) : tq_msvst2_dispatch(opcode, index, 0, buffer, 0.0f);
    return {answer, std::string(buffer, strnlen(buffer, sizeof buffer))};
  }
  MsVst2HostCalls HostCalls()
  {
    MsVst2HostCalls calls{};
    tq_msvst2_host_calls(&calls);
    return calls;
  }

  std::unique_ptr<hostcommon::SharedLibrary> mLibrary;
  MsVst2EffectFacts mFacts{};
  bool mOpen = false;
  std::unique_ptr<vst2host::Module> mModule;
  std::unique_ptr<vst2host::HostDriver> mReference;
};

}  // namespace

TEST_F(MsAbiVst2, EntryGivesTheRecordOurHostReads)
{
  const vst2::AEffect& e = *mReference->Effect();
  const MsVst2EffectFacts& f = mFacts;
  EXPECT_EQ(std::make_tuple(f.numPrograms, f.numParams, f.flags, f.initialDelay, f.uniqueID),
            std::make_tuple(e.numPrograms, e.numParams, e.flags, e.initialDelay, e.uniqueID));
  // Replacing, double replacing and mono among the flags.
  EXPECT_EQ(std::make_tuple(f.magic, f.numParams, f.numInputs, f.numOutputs, f.flags & 0x1018, f.ioRatio, f.version,
                            f.hasEntries),
            std::make_tuple(0x56737450, 9, kChannels, kChannels, 0x1018, 1.0f, 10004, 1));
}

TEST_F(MsAbiVst2, DispatcherAndParametersAnswerAsToOurHost)
{
  Open();
  // Effect, vendor and product names, preset 0's name; every parameter's name, label and display.
  std::vector<std::pair<int, int>> texts{{45, 0}, {47, 0}, {48, 0}, {29, 0}};
  for (int i = 0; i < mFacts.numParams; ++i)
    for (int opcode : {8, 6, 7})
      texts.push_back({opcode, i});
  for (const auto& [opcode, index] : texts)
    EXPECT_EQ(Text(false, opcode, index), Text(true, opcode, index)) << "opcode " << opcode << " index " << index;
  EXPECT_EQ(Text(false, 8, kLevel).second, "Quoxel Level");
  // Answers without texts: the VST version, the category, the vendor version, the identity.
  for (int opcode : {58, 35, 49, 22})
    EXPECT_EQ(tq_msvst2_dispatch(opcode, 0, 0, nullptr, 0.0f), mReference->Dispatch(opcode)) << opcode;
  EXPECT_EQ(tq_msvst2_dispatch(58, 0, 0, nullptr, 0.0f), 2400);
  char timeInfo[] = "receiveVstTimeInfo";
  EXPECT_EQ(tq_msvst2_dispatch(51, 0, 0, timeInfo, 0.0f), 1);

  // A parameter set through the record's entry reads back, shows and is told to the host as in ours.
  Set(kLevel, 0.25f);
  EXPECT_EQ(tq_msvst2_get_parameter(kLevel), 0.25f);
  EXPECT_EQ(Text(false, 7, kLevel), Text(true, 7, kLevel));
  EXPECT_EQ(HostCalls().automate, int(mReference->Host().CallsOf(0).size()));
}

// Blocks of either width through both hosts, with the same settings, time info and input.
class MsAbiVst2Process : public MsAbiVst2, public ::testing::WithParamInterface<bool>
{};

TEST_P(MsAbiVst2Process, BlocksEqualOurHosts)
{
  const bool doubles = GetParam();
  Open();
  Set(kLevel, 0.9f);
  ExpectBlocks(doubles, mReference->Render(Signal(doubles), kBlock, doubles),
               [doubles](void* const* in, void* const* out) { return tq_msvst2_process(doubles, in, out, kBlock); });
  EXPECT_TRUE(mReference->Problems().empty());
  EXPECT_EQ(HostCalls().wantMidi, kBlocks) << "a plug-in that takes MIDI says so on every block";
  EXPECT_GT(HostCalls().getTime, 0);
}

INSTANTIATE_TEST_SUITE_P(SampleWidths, MsAbiVst2Process, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? "Double" : "Float"; });
