// The conformance checks: a well-behaved plug-in passes all of them, and each way of
// breaking the host contract fails the check that is about it.
#include "hosts/vst3/ConformanceSuite.h"
#include "tests/vst3/host/FakeGainEffect.h"
#include "tests/vst3/host/FakeGainFactory.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vst3host;
using fakegain::FakeGainEffect;

namespace {

std::vector<CheckResult> runSuite(const fakegain::Faults& faults)
{
  FakeGainEffect::setFaultsForNewInstances(faults);
  vst3::IPluginFactory* factory = fakegain::obtainFactory();
  ConformanceSuite::Options quick;
  quick.threadBlocks = 50;
  quick.silenceBlocks = 50;
  std::vector<CheckResult> results;
  {
    ConformanceSuite suite(factory, fakegain::kClassId, quick);
    results = suite.run();
  }
  factory->release();
  FakeGainEffect::setFaultsForNewInstances({});
  return results;
}

std::string describe(const std::vector<CheckResult>& results)
{
  std::string text;
  for (const auto& r : results)
    if (!r.passed)
      for (const auto& m : r.messages)
        text += r.name + ": " + m + "\n";
  return text;
}

bool failed(const std::vector<CheckResult>& results, const std::string& prefix)
{
  return std::any_of(results.begin(), results.end(),
                     [&](const CheckResult& r) { return !r.passed && r.name.rfind(prefix, 0) == 0; });
}

}  // namespace

TEST(ConformanceSuite, AWellBehavedPlugInPassesEveryCheck)
{
  const auto results = runSuite({});
  EXPECT_TRUE(failedChecks(results).empty()) << describe(results);
  EXPECT_GE(results.size(), 30u) << "general checks plus the processing checks in both widths";
  EXPECT_EQ(FakeGainEffect::liveInstances(), 0);
  // The plug-in maps only the volume controller, to the gain: a valid mapping.
  const auto midi =
    std::find_if(results.begin(), results.end(), [](const CheckResult& r) { return r.name == "MIDI mapping"; });
  ASSERT_NE(midi, results.end());
  EXPECT_TRUE(midi->messages.empty());
}

TEST(ConformanceSuite, EachBreachFailsItsCheck)
{
  struct Case
  {
    const char* name;
    bool fakegain::Faults::*fault;
    const char* check;
  };
  const Case cases[] = {
    {"flush refused", &fakegain::Faults::refuseFlush, "Flush parameters"},
    {"MIDI mapped to nothing", &fakegain::Faults::brokenMidiMapping, "MIDI mapping"},
    {"bypass forgotten", &fakegain::Faults::forgetBypass, "Bypass persistence"},
    {"activation refused", &fakegain::Faults::refuseActivation, "Suspend and resume"},
    {"NaN output", &fakegain::Faults::writeNaN, "Process formats"},
    {"handler kept", &fakegain::Faults::keepHandler, "Terminate and release"},
    {"untitled parameter", &fakegain::Faults::untitledParameter, "Scan parameters"},
    {"writes past the block", &fakegain::Faults::writePastBlock, "Variable block sizes"},
    {"flush writes into the buses", &fakegain::Faults::touchFlushBuffers, "Flush parameters"},
    {"parameter in no unit", &fakegain::Faults::parameterWithoutUnit, "Scan parameters"},
    {"new SDK without context requirements", &fakegain::Faults::claimsNewSdk, "Process context requirements"},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    fakegain::Faults faults;
    faults.*c.fault = true;
    const auto results = runSuite(faults);
    EXPECT_TRUE(failed(results, c.check)) << describe(results);
  }
}
