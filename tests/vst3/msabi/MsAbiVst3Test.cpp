// The built module driven by a host compiled for Microsoft's ABI (MsAbiVst3Host.cpp): the
// factory, an instance made, processed, its state saved and restored, each compared with what
// our own host sees of the same module, so both declarations of the binary interface agree.
#include "hosts/msabi/vst3/MsAbiVst3Host.h"

#include "hosts/common/SharedLibrary.h"
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/ModuleLoader.h"
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

const char* const kBundle = TQ_MSABI_BUNDLE;
constexpr unsigned kBypassId = 0x62706173;  // 'bpas'
constexpr unsigned kLevelId = 0;
constexpr unsigned kAutoOutGainId = 2;

#define EXPECT_OK(call) EXPECT_EQ((call), 0) << tq_msvst3_last_call()
#define ASSERT_OK(call) ASSERT_EQ((call), 0) << tq_msvst3_last_call()

class MsAbiVst3 : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    mLibrary = hostcommon::SharedLibrary::Open(vst3host::Module::resolve(kBundle), error);
    ASSERT_TRUE(mLibrary) << error;
    ASSERT_OK(tq_msvst3_open(mLibrary->Symbol("GetPluginFactory")));
  }
  void TearDown() override
  {
    if (mLibrary)
      Close();
  }
  // An instance made and started in a sample size, and our own host's over the same module
  // started alike, for the expected answers.
  void Start(int sampleSize)
  {
    ASSERT_OK(tq_msvst3_create());
    ASSERT_OK(tq_msvst3_start(kChannels, sampleSize, kRate, kBlock, kTempo));
    std::string error;
    mModule = vst3host::Module::load(kBundle, error);
    ASSERT_TRUE(mModule) << error;
    mReference = std::make_unique<vst3host::HostDriver>(mModule->factory());
    ASSERT_EQ(mReference->load(), vst3::kResultOk);
    ASSERT_EQ(mReference->arrange({vst3::arrangement::kStereo}, {vst3::arrangement::kStereo}), vst3::kResultOk);
    mReference->transport().tempo(kTempo);
    vst3host::ProcessSettings settings;
    settings.maxBlock = kBlock;
    settings.sampleSize = sampleSize;
    ASSERT_EQ(mReference->start(settings), vst3::kResultOk);
  }
  void Set(unsigned id, double normalized)
  {
    tq_msvst3_set_parameter(id, normalized);
    mReference->setParameter(id, normalized);
  }
  // Our host lets go of the factory first; then the Microsoft-ABI host's session ends, every
  // reference given back to it.
  MsVst3Counts Close()
  {
    if (mReference)
    {
      EXPECT_EQ(mReference->unload(), vst3::kResultOk);
      EXPECT_EQ(mReference->problems(), std::vector<std::string>{});
    }
    mReference.reset();
    mModule.reset();
    MsVst3Counts c{};
    EXPECT_OK(tq_msvst3_close(&c));
    mLibrary.reset();
    EXPECT_EQ(std::tie(c.componentLeft, c.factoryLeft, c.applicationReferences, c.handlerReferences, c.streamReferences,
                       c.changesReferences, c.queueReferences),
              std::make_tuple(0u, 0u, 1, 1, 1, 1, 1));
    return c;
  }

  std::unique_ptr<hostcommon::SharedLibrary> mLibrary;
  std::unique_ptr<vst3host::Module> mModule;
  std::unique_ptr<vst3host::HostDriver> mReference;
};

}  // namespace

TEST_F(MsAbiVst3, FactoryAnswersTheClassAndHandsOutOneObject)
{
  MsVst3FactoryFacts f{};
  ASSERT_OK(tq_msvst3_factory(&f));
  const unsigned char cid[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                 'T',  'v',  'x',  'r',  'Q',  'x',  'l',  's'};
  EXPECT_EQ(std::memcmp(f.cid, cid, 16), 0);
  EXPECT_EQ(
    (std::vector<std::string>{f.vendor, f.category, f.name, f.subCategories, f.version, f.sdkVersion}),
    (std::vector<std::string>{"Tarvex", "Audio Module Class", "TarvexQuoxel", "Fx|Dynamics", "1.0.4", "VST 3.5.2"}));
  // A second GetPluginFactory gives the same object; releasing it leaves the first reference.
  EXPECT_EQ(std::make_tuple(f.factoryInfoResult, f.factoryFlags, f.classCount, f.classInfoResult, f.cardinality,
                            f.classFlags, f.sameFactoryAgain, f.countAfterSecondRelease),
            std::make_tuple(0, 16, 1, 0, 0x7FFFFFFF, 2u, 1, 1u));
}

TEST_F(MsAbiVst3, InstanceListsWhatOurHostSees)
{
  ASSERT_NO_FATAL_FAILURE(Start(0));
  const std::vector<vst3::ParameterInfo> expected = mReference->parameters();
  ASSERT_EQ(tq_msvst3_parameter_count(), int(expected.size()));
  for (int i = 0; i < int(expected.size()); ++i)
  {
    const vst3::ParameterInfo& e = expected[i];
    MsVst3ParameterFacts p{};
    ASSERT_OK(tq_msvst3_parameter(i, &p));
    vst3::String128 text{};
    const int shown = mReference->controller()->getParamStringByValue(e.id, e.defaultNormalizedValue, text);
    EXPECT_EQ(std::make_tuple(p.id, std::string(p.title), std::string(p.units), p.stepCount, p.defaultNormalized,
                              p.unitId, p.flags, p.displayResult, std::string(p.display)),
              std::make_tuple(e.id, vst3host::narrow(e.title), vst3host::narrow(e.units), e.stepCount,
                              e.defaultNormalizedValue, e.unitId, e.flags, shown, vst3host::narrow(text)))
      << i;
  }
  for (const auto& [type, direction] : {std::pair{0, 0}, {0, 1}, {1, 0}})
  {
    const vst3::BusInfo e = mReference->buses(type, direction).at(0);
    MsVst3BusFacts b{};
    ASSERT_OK(tq_msvst3_bus(type, direction, 0, &b));
    EXPECT_EQ(std::make_tuple(b.mediaType, b.direction, b.channelCount, std::string(b.name), b.busType, b.flags),
              std::make_tuple(e.mediaType, e.direction, e.channelCount, vst3host::narrow(e.name), e.busType, e.flags));
  }
  // Initialize reads the host's name; a host's own change is not reported back to it.
  Set(kLevelId, 0.75);
  const MsVst3Counts c = Close();
  EXPECT_EQ(std::tie(c.applicationNameCalls, c.handlerPerformEdits), std::make_tuple(1, 0));
}

// Blocks of either sample size through both hosts, with the same settings and input.
class MsAbiVst3Process : public MsAbiVst3, public ::testing::WithParamInterface<int>
{};

TEST_P(MsAbiVst3Process, BlocksEqualOurHosts)
{
  const int size = GetParam();
  ASSERT_NO_FATAL_FAILURE(Start(size));
  Set(kLevelId, 0.9);
  const Channels input = Signal(size == 1);
  Channels expected = input;
  for (int n = 0; n < kBlocks; ++n)
  {
    for (int ch = 0; ch < kChannels; ++ch)
      for (int i = 0; i < kBlock; ++i)
        mReference->inputs().setSample(0, ch, i, input[ch][n * kBlock + i]);
    ASSERT_EQ(mReference->process(kBlock), vst3::kResultOk);
    for (int ch = 0; ch < kChannels; ++ch)
      for (int i = 0; i < kBlock; ++i)
        expected[ch][n * kBlock + i] = mReference->outputs().sample(0, ch, i);
  }
  ExpectBlocks(size == 1, expected,
               [](void* const* in, void* const* out) { return tq_msvst3_process(in, out, kChannels, kBlock); });
  EXPECT_OK(tq_msvst3_stop());
}

INSTANTIATE_TEST_SUITE_P(SampleSizes, MsAbiVst3Process, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& p) { return p.param ? "Double" : "Float"; });

TEST_F(MsAbiVst3, ControllerStateEqualsOurHostsAndRestores)
{
  ASSERT_NO_FATAL_FAILURE(Start(0));
  float silence[kChannels][1] = {};
  void* channels[kChannels] = {silence[0], silence[1]};
  // The bypass travels in a block only; the rest is set on the controller too.
  const auto set = [&](double level, double autoOutGain, double bypass) {
    Set(kLevelId, level);
    Set(kAutoOutGainId, autoOutGain);
    Set(kBypassId, bypass);
    EXPECT_OK(tq_msvst3_process(channels, channels, kChannels, 0));
    EXPECT_EQ(mReference->process(0), vst3::kResultOk);
  };
  set(0.75, 0.0, 1.0);
  MsVst3StateResults results{};
  unsigned char bytes[kMsVst3StateCapacity];
  int size = 0;
  ASSERT_OK(tq_msvst3_save_state(&results, bytes, kMsVst3StateCapacity, &size));
  EXPECT_EQ(std::tie(results.componentGetState, results.controllerGetState),
            std::make_tuple(int(vst3::kNotImplemented), 0));
  std::vector<std::uint8_t> component, controller;
  ASSERT_EQ(mReference->saveState(component, controller), vst3::kResultOk);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + size), controller);
  ASSERT_EQ(size, 9 * 8 + 4);

  set(0.1, 1.0, 0.0);
  ASSERT_EQ(tq_msvst3_get_parameter(kBypassId), 0.0);
  ASSERT_OK(tq_msvst3_load_state(&results, bytes, size));
  EXPECT_EQ(results.controllerSetState, 0);
  EXPECT_EQ(std::make_tuple(tq_msvst3_get_parameter(kLevelId), tq_msvst3_get_parameter(kAutoOutGainId),
                            tq_msvst3_get_parameter(kBypassId)),
            std::make_tuple(0.75, 0.0, 1.0));
}
