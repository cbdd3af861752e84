// The built module, loaded from its bundle and driven by a host compiled for Microsoft's ABI
// (MsAbiVst3Host.cpp): the factory, an instance made, initialised and processed, its state
// saved and restored. What that host sees is compared with what our own host sees of the same
// module, so both declarations of the binary interface have to agree.
#include "hosts/msabi/vst3/MsAbiVst3Host.h"

#include "hosts/common/SharedLibrary.h"
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/ModuleLoader.h"
#include "tests/msabi/HostBlock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kBundle = TQ_MSABI_BUNDLE;
constexpr unsigned kBypassId = 0x62706173;  // 'bpas'
constexpr unsigned kPresetId = 0x70727374;  // 'prst'
constexpr unsigned kLevelId = 0;
constexpr unsigned kAutoOutGainId = 2;
constexpr int kBlock = 256;
constexpr int kBlocks = 4;
using msabitest::kChannels;
using msabitest::kRate;
using msabitest::kTempo;

// The module as our own host loads and drives it, for the expected answers.
struct ReferenceHost
{
  ReferenceHost()
  {
    std::string error;
    module = vst3host::Module::load(kBundle, error);
    if (!module)
      ADD_FAILURE() << error;
    else
      driver = std::make_unique<vst3host::HostDriver>(module->factory());
  }
  ~ReferenceHost()
  {
    if (!driver)
      return;
    EXPECT_EQ(driver->unload(), vst3::kResultOk);
    for (const std::string& p : driver->problems())
      ADD_FAILURE() << p;
    driver.reset();
    module->releaseFactory();
    module->unload();
  }
  bool loaded() { return driver && driver->load() == vst3::kResultOk; }

  std::unique_ptr<vst3host::Module> module;
  std::unique_ptr<vst3host::HostDriver> driver;
};

class MsAbiVst3 : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    mLibrary = hostcommon::SharedLibrary::Open(vst3host::Module::resolve(kBundle), error);
    ASSERT_TRUE(mLibrary) << error;
    ASSERT_EQ(tq_msvst3_open(mLibrary->Symbol("GetPluginFactory")), 0) << tq_msvst3_last_call();
    mOpen = true;
  }
  void TearDown() override
  {
    if (mOpen)
      close();
  }
  MsVst3Counts close()
  {
    MsVst3Counts counts{};
    mOpen = false;
    EXPECT_EQ(tq_msvst3_close(&counts), 0) << tq_msvst3_last_call();
    return counts;
  }
  void create() { ASSERT_EQ(tq_msvst3_create(), 0) << tq_msvst3_last_call(); }

  std::unique_ptr<hostcommon::SharedLibrary> mLibrary;
  bool mOpen = false;
};

#define EXPECT_OK(call) EXPECT_EQ((call), 0) << tq_msvst3_last_call()
#define ASSERT_OK(call) ASSERT_EQ((call), 0) << tq_msvst3_last_call()

}  // namespace

TEST_F(MsAbiVst3, FactoryAnswersTheClassAndHandsOutOneObject)
{
  MsVst3FactoryFacts facts{};
  ASSERT_OK(tq_msvst3_factory(&facts));
  EXPECT_STREQ(facts.vendor, "Tarvex");
  EXPECT_EQ(facts.factoryFlags, 16);
  EXPECT_EQ(facts.classCount, 1);
  EXPECT_EQ(facts.classInfoResult, 0);
  const unsigned char cid[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                 'T',  'v',  'x',  'r',  'Q',  'x',  'l',  's'};
  EXPECT_EQ(std::memcmp(facts.cid, cid, 16), 0);
  EXPECT_EQ(facts.cardinality, 0x7FFFFFFF);
  EXPECT_STREQ(facts.category, "Audio Module Class");
  EXPECT_STREQ(facts.name, "TarvexQuoxel");
  EXPECT_EQ(facts.classFlags, 2u);
  EXPECT_STREQ(facts.subCategories, "Fx|Dynamics");
  EXPECT_STREQ(facts.version, "1.0.4");
  EXPECT_STREQ(facts.sdkVersion, "VST 3.5.2");
  EXPECT_TRUE(facts.sameFactoryAgain);
  EXPECT_EQ(facts.countAfterSecondRelease, 1u);
  EXPECT_EQ(close().factoryLeft, 0u);
}

TEST_F(MsAbiVst3, InstanceListsWhatOurHostSeesAndGivesBackEveryReference)
{
  create();
  {
    ReferenceHost reference;
    ASSERT_TRUE(reference.loaded());
    const std::vector<vst3::ParameterInfo> expected = reference.driver->parameters();
    ASSERT_EQ(tq_msvst3_parameter_count(), static_cast<int>(expected.size()));
    for (int i = 0; i < static_cast<int>(expected.size()); ++i)
    {
      SCOPED_TRACE(i);
      const vst3::ParameterInfo& e = expected[static_cast<size_t>(i)];
      MsVst3ParameterFacts p{};
      ASSERT_OK(tq_msvst3_parameter(i, &p));
      EXPECT_EQ(p.id, e.id);
      EXPECT_EQ(p.title, vst3host::narrow(e.title));
      EXPECT_EQ(p.units, vst3host::narrow(e.units));
      EXPECT_EQ(p.stepCount, e.stepCount);
      EXPECT_EQ(p.defaultNormalized, e.defaultNormalizedValue);
      EXPECT_EQ(p.unitId, e.unitId);
      EXPECT_EQ(p.flags, e.flags);
      vst3::String128 text{};
      EXPECT_EQ(p.displayResult,
                reference.driver->controller()->getParamStringByValue(e.id, e.defaultNormalizedValue, text));
      EXPECT_EQ(p.display, vst3host::narrow(text));
    }
  }
  MsVst3ParameterFacts first{}, second{}, level{};
  ASSERT_OK(tq_msvst3_parameter(0, &first));
  ASSERT_OK(tq_msvst3_parameter(1, &second));
  ASSERT_OK(tq_msvst3_parameter(2, &level));
  EXPECT_EQ(first.id, kPresetId);
  EXPECT_EQ(second.id, kBypassId);
  EXPECT_EQ(second.flags, 0x10009);
  EXPECT_STREQ(level.title, "Quoxel Level");
  EXPECT_STREQ(level.units, "%");

  struct BusCase
  {
    int type, direction, channels;
    const char* name;
  };
  for (const BusCase& b : {BusCase{0, 0, 2, "Main Input"}, BusCase{0, 1, 2, "Output"}, BusCase{1, 0, 1, "MIDI Input"}})
  {
    SCOPED_TRACE(b.name);
    MsVst3BusFacts bus{};
    ASSERT_OK(tq_msvst3_bus(b.type, b.direction, 0, &bus));
    EXPECT_EQ(bus.mediaType, b.type);
    EXPECT_EQ(bus.direction, b.direction);
    EXPECT_EQ(bus.channelCount, b.channels);
    EXPECT_STREQ(bus.name, b.name);
    EXPECT_EQ(bus.busType, 0);
    EXPECT_EQ(bus.flags, 1u);
  }

  EXPECT_OK(tq_msvst3_set_parameter(kLevelId, 0.75));
  EXPECT_EQ(tq_msvst3_get_parameter(kLevelId), 0.75);
  const MsVst3Counts counts = close();
  EXPECT_EQ(counts.componentLeft, 0u);
  EXPECT_EQ(counts.factoryLeft, 0u);
  EXPECT_EQ(counts.applicationReferences, 1);
  EXPECT_EQ(counts.handlerReferences, 1);
  EXPECT_EQ(counts.applicationNameCalls, 1) << "initialize reads the host's name";
  EXPECT_EQ(counts.handlerPerformEdits, 0) << "a host's own change is not reported back to it";
}

// Blocks of either sample width through both hosts, with the same settings and input.
class MsAbiVst3Process : public MsAbiVst3, public ::testing::WithParamInterface<int>
{};

TEST_P(MsAbiVst3Process, BlocksEqualOurHosts)
{
  const int size = GetParam();
  create();
  ASSERT_OK(tq_msvst3_start(kChannels, size, kRate, kBlock, kTempo));
  ASSERT_OK(tq_msvst3_set_parameter(kLevelId, 0.9));

  ReferenceHost reference;
  ASSERT_TRUE(reference.loaded());
  vst3host::HostDriver& driver = *reference.driver;
  ASSERT_EQ(driver.arrange({vst3::arrangement::kStereo}, {vst3::arrangement::kStereo}), vst3::kResultOk);
  driver.transport().tempo(kTempo);
  vst3host::ProcessSettings settings;
  settings.sampleRate = kRate;
  settings.maxBlock = kBlock;
  settings.sampleSize = size;
  ASSERT_EQ(driver.start(settings), vst3::kResultOk);
  driver.setParameter(kLevelId, 0.9);

  msabitest::HostBlock block(kBlock, size == 1);
  double changed = 0.0;
  for (int n = 0; n < kBlocks; ++n)
  {
    block.FillInput(n * kBlock);
    for (int ch = 0; ch < kChannels; ++ch)
      for (int i = 0; i < kBlock; ++i)
        driver.inputs().setSample(0, ch, i, block.Input(ch, i));
    ASSERT_OK(tq_msvst3_process(block.Inputs(), block.Outputs(), kChannels, kBlock));
    ASSERT_EQ(driver.process(kBlock), vst3::kResultOk);
    for (int ch = 0; ch < kChannels; ++ch)
      for (int i = 0; i < kBlock; ++i)
      {
        ASSERT_EQ(block.Output(ch, i), driver.outputs().sample(0, ch, i))
          << "block " << n << " channel " << ch << " frame " << i;
        changed += std::fabs(block.Output(ch, i) - block.Input(ch, i));
      }
  }
  EXPECT_GT(changed, 0.1) << "the effect was at work";
  EXPECT_TRUE(block.GuardsIntact());
  ASSERT_OK(tq_msvst3_stop());
  const MsVst3Counts counts = close();
  EXPECT_EQ(counts.changesReferences, 1);
  EXPECT_EQ(counts.queueReferences, 1);
  EXPECT_EQ(counts.componentLeft, 0u);
}

INSTANTIATE_TEST_SUITE_P(SampleSizes, MsAbiVst3Process, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& p) { return p.param ? "Double" : "Float"; });

TEST_F(MsAbiVst3, StateSavedByOneHostRestoresInIt)
{
  create();
  ASSERT_OK(tq_msvst3_start(kChannels, 0, kRate, kBlock, kTempo));
  float silence[kChannels][1] = {};
  void* channels[kChannels] = {silence[0], silence[1]};
  // The bypass travels in a block only; the rest is set on the controller too.
  ASSERT_OK(tq_msvst3_set_parameter(kLevelId, 0.75));
  ASSERT_OK(tq_msvst3_set_parameter(kAutoOutGainId, 0.0));
  tq_msvst3_set_parameter(kBypassId, 1.0);
  ASSERT_OK(tq_msvst3_process(channels, channels, kChannels, 0));

  MsVst3StateResults saved{};
  unsigned char bytes[kMsVst3StateCapacity];
  int size = 0;
  ASSERT_OK(tq_msvst3_save_state(&saved, bytes, kMsVst3StateCapacity, &size));
  EXPECT_EQ(saved.componentGetState, static_cast<int>(vst3::kNotImplemented));
  EXPECT_EQ(saved.controllerGetState, 0);
  ASSERT_EQ(size, 9 * 8 + 4);

  {
    // Our host, set alike, saves the same bytes.
    ReferenceHost reference;
    ASSERT_TRUE(reference.loaded());
    vst3host::HostDriver& driver = *reference.driver;
    vst3host::ProcessSettings settings;
    settings.maxBlock = kBlock;
    ASSERT_EQ(driver.start(settings), vst3::kResultOk);
    driver.setParameter(kLevelId, 0.75);
    driver.setParameter(kAutoOutGainId, 0.0);
    driver.setParameter(kBypassId, 1.0);
    ASSERT_EQ(driver.process(0), vst3::kResultOk);
    std::vector<std::uint8_t> component, controller;
    ASSERT_EQ(driver.saveState(component, controller), vst3::kResultOk);
    EXPECT_EQ(controller, std::vector<std::uint8_t>(bytes, bytes + size));
  }

  ASSERT_OK(tq_msvst3_set_parameter(kLevelId, 0.1));
  ASSERT_OK(tq_msvst3_set_parameter(kAutoOutGainId, 1.0));
  tq_msvst3_set_parameter(kBypassId, 0.0);
  ASSERT_OK(tq_msvst3_process(channels, channels, kChannels, 0));
  ASSERT_EQ(tq_msvst3_get_parameter(kBypassId), 0.0);

  MsVst3StateResults loaded{};
  ASSERT_OK(tq_msvst3_load_state(&loaded, bytes, size));
  EXPECT_EQ(loaded.controllerSetState, 0);
  EXPECT_EQ(tq_msvst3_get_parameter(kLevelId), 0.75);
  EXPECT_EQ(tq_msvst3_get_parameter(kAutoOutGainId), 0.0);
  EXPECT_EQ(tq_msvst3_get_parameter(kBypassId), 1.0);

  const MsVst3Counts counts = close();
  EXPECT_EQ(counts.streamReferences, 1) << "streams are borrowed for the call only";
  EXPECT_EQ(counts.componentLeft, 0u);
  EXPECT_EQ(counts.factoryLeft, 0u);
}
