// The host driver against the gain plug-in in this process: the whole host sequence with
// balanced references, audio in both widths, arrangements, state, and the breaches of the
// host contract the driver must notice.
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/MemoryStream.h"
#include "tests/vst3/host/FakeGainEffect.h"
#include "tests/vst3/host/FakeGainFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace vst3host;
using fakegain::FakeGainEffect;

namespace {

class HostDriverTest : public ::testing::Test
{
protected:
  void SetUp() override { FakeGainEffect::setFaultsForNewInstances({}); }
  void TearDown() override
  {
    FakeGainEffect::setFaultsForNewInstances({});
    EXPECT_EQ(FakeGainEffect::liveInstances(), 0) << "an instance outlived the host's last release";
  }

  // A driver on a fresh factory reference; the factory goes when the driver does.
  struct Session
  {
    Session() : factory(fakegain::obtainFactory()), driver(factory) { factory->release(); }
    vst3::IPluginFactory* factory;
    HostDriver driver;
  };

  static double gainFor(double normalized) { return std::pow(10.0, (-24.0 + 48.0 * normalized) / 20.0); }
};

}  // namespace

TEST_F(HostDriverTest, PlaysTheWholeSequenceWithBalancedReferences)
{
  Session s;
  HostDriver& d = s.driver;
  ASSERT_EQ(d.classes().size(), 1u);
  ASSERT_EQ(d.load(), vst3::kResultOk);
  EXPECT_EQ(FakeGainEffect::liveInstances(), 1);
  EXPECT_GE(d.application().heldByPlugin(), 1) << "the plug-in keeps its context while initialised";
  EXPECT_EQ(d.handler().heldByPlugin(), 1);
  ASSERT_EQ(d.parameters().size(), 2u);

  ASSERT_EQ(d.arrange({vst3::arrangement::kStereo}, {vst3::arrangement::kStereo}), vst3::kResultOk);
  ProcessSettings settings;
  settings.maxBlock = 64;
  ASSERT_EQ(d.start(settings), vst3::kResultOk);
  EXPECT_TRUE(static_cast<FakeGainEffect*>(d.processor())->processing());

  const double normalized = 0.625;  // +6 dB
  d.setParameter(fakegain::kGainId, normalized);
  for (int i = 0; i < 64; ++i)
  {
    d.inputs().setSample(0, 0, i, (i - 32) / 64.0);
    d.inputs().setSample(0, 1, i, -(i - 32) / 128.0);
  }
  ASSERT_EQ(d.process(64), vst3::kResultOk);
  for (int i = 0; i < 64; ++i)
  {
    EXPECT_NEAR(d.outputs().sample(0, 0, i), (i - 32) / 64.0 * gainFor(normalized), 1e-6);
    EXPECT_NEAR(d.outputs().sample(0, 1, i), -(i - 32) / 128.0 * gainFor(normalized), 1e-6);
  }
  EXPECT_EQ(d.inputChanges().getParameterCount(), 0) << "changes belong to one block";

  ASSERT_EQ(d.unload(), vst3::kResultOk);
  EXPECT_EQ(FakeGainEffect::liveInstances(), 0);
  EXPECT_EQ(d.application().heldByPlugin(), 0);
  EXPECT_EQ(d.handler().heldByPlugin(), 0);
  EXPECT_TRUE(d.problems().empty()) << d.problems().front();
}

TEST_F(HostDriverTest, ProcessesDoublesAndMonoAndAnswersALatencyChange)
{
  Session s;
  HostDriver& d = s.driver;
  ASSERT_EQ(d.load(), vst3::kResultOk);
  EXPECT_EQ(d.arrange({vst3::arrangement::kMono}, {vst3::arrangement::kStereo}), vst3::kResultFalse);
  EXPECT_EQ(d.buses(vst3::kAudio, vst3::kOutput)[0].channelCount, 2) << "a refused arrangement changes nothing";
  ASSERT_EQ(d.arrange({vst3::arrangement::kMono}, {vst3::arrangement::kMono}), vst3::kResultOk);

  ProcessSettings settings;
  settings.sampleSize = vst3::kSample64;
  settings.maxBlock = 8;
  ASSERT_EQ(d.start(settings), vst3::kResultOk);
  d.setParameter(fakegain::kGainId, 0.0);  // -24 dB
  const double x = 0.1234567890123;
  d.inputs().setSample(0, 0, 3, x);
  ASSERT_EQ(d.process(8), vst3::kResultOk);
  EXPECT_NEAR(d.outputs().sample(0, 0, 3), x * gainFor(0.0), 1e-15) << "64-bit samples keep their precision";
  EXPECT_EQ(d.process(9), vst3::kInvalidArgument) << "never more than the maximum block";

  auto* plugin = static_cast<FakeGainEffect*>(d.processor());
  EXPECT_EQ(plugin->activations(), 1);
  plugin->changeLatency(64);  // as from the audio thread, during a block
  ASSERT_EQ(d.process(8), vst3::kResultOk);
  EXPECT_EQ(d.latency(), 64u);
  EXPECT_EQ(plugin->activations(), 2) << "deactivated and activated again";
  ASSERT_EQ(d.process(8), vst3::kResultOk);
  EXPECT_EQ(plugin->activations(), 2) << "one restart answered once";
  EXPECT_EQ(d.unload(), vst3::kResultOk);
  EXPECT_TRUE(d.problems().empty()) << d.problems().front();
}

TEST_F(HostDriverTest, StateSavedFromOneInstanceRestoresAnother)
{
  std::vector<std::uint8_t> component, controller;
  {
    Session s;
    ASSERT_EQ(s.driver.load(), vst3::kResultOk);
    s.driver.setParameter(fakegain::kGainId, 0.75);
    s.driver.setParameter(fakegain::kBypassId, 1.0);
    ASSERT_EQ(s.driver.saveState(component, controller), vst3::kResultOk);
    EXPECT_TRUE(component.empty()) << "the component's own state calls are not implemented";
    EXPECT_EQ(controller.size(), 12u);
  }
  Session s;
  HostDriver& d = s.driver;
  ASSERT_EQ(d.load(), vst3::kResultOk);
  ASSERT_EQ(d.loadState(component, controller), vst3::kResultOk);
  EXPECT_EQ(d.controller()->getParamNormalized(fakegain::kGainId), 0.75);
  EXPECT_EQ(d.controller()->getParamNormalized(fakegain::kBypassId), 1.0);

  std::vector<std::uint8_t> cut(controller.begin(), controller.begin() + 10);
  EXPECT_EQ(d.loadState(component, cut), vst3::kResultFalse) << "a damaged state is reported";
  EXPECT_TRUE(d.problems().empty());
}

TEST_F(HostDriverTest, NoticesPlugInsThatBreakTheHostContract)
{
  struct Case
  {
    const char* name;
    bool fakegain::Faults::*fault;
    const char* expected;
  };
  const Case cases[] = {
    {"write past the block", &fakegain::Faults::writePastBlock, "outside the host's buffers"},
    {"keep the handler", &fakegain::Faults::keepHandler, "still holds host objects"},
    {"refuse activation", &fakegain::Faults::refuseActivation, "setActive(true)"},
    {"write NaN", &fakegain::Faults::writeNaN, "non-finite"},
    {"keep the stream", &fakegain::Faults::keepStream, "stream"},
    {"stale arrangement", &fakegain::Faults::staleArrangement, "disagree"},
    {"sloppy query", &fakegain::Faults::sloppyQuery, "out-pointer"},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    fakegain::Faults faults;
    faults.*c.fault = true;
    FakeGainEffect::setFaultsForNewInstances(faults);
    Session s;
    HostDriver& d = s.driver;
    ASSERT_EQ(d.load(), vst3::kResultOk);
    d.arrange({vst3::arrangement::kMono}, {vst3::arrangement::kMono});
    ProcessSettings settings;
    settings.maxBlock = 32;
    if (d.start(settings) == vst3::kResultOk)
      d.process(16);
    std::vector<std::uint8_t> a, b;
    d.saveState(a, b);
    d.unload();
    bool found = false;
    for (const auto& p : d.problems())
      found = found || p.find(c.expected) != std::string::npos;
    EXPECT_TRUE(found) << "no problem mentioning \"" << c.expected << "\"";
  }
}

TEST(AudioThread, RunsEveryTaskOnOneThreadAndWaitsForIt)
{
  AudioThread audio;
  std::vector<std::thread::id> seen;
  int sum = 0;
  for (int i = 1; i <= 100; ++i)
    audio.run([&] {
      sum += i;
      seen.push_back(std::this_thread::get_id());
    });
  EXPECT_EQ(sum, 5050) << "each task finished before run returned";
  EXPECT_EQ(std::count(seen.begin(), seen.end(), audio.id()), 100);
  // Two callers at once are served one after the other.
  std::thread other([&] {
    for (int i = 0; i < 100; ++i)
      audio.run([&] { ++sum; });
  });
  for (int i = 0; i < 100; ++i)
    audio.run([&] { ++sum; });
  other.join();
  EXPECT_EQ(sum, 5250);
}
