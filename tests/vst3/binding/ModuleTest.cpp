// The built module, loaded as hosts load it (dlopen natively, LoadLibrary under Wine): played
// through a host's sequence and through the conformance checks of the standard validator.
#include "hosts/vst3/ConformanceSuite.h"
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/ModuleLoader.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vst3host;

namespace {
const char* const kBundle = TQ_VST3_BUNDLE_PATH;

std::string Describe(const std::vector<CheckResult>& results)
{
  std::string text;
  for (const CheckResult& r : results)
    if (!r.passed)
      for (const std::string& m : r.messages)
        text += r.name + ": " + m + "\n";
  return text;
}
}  // namespace

TEST(Module, RendersPassesTheConformanceChecksAndUnloadsWithEveryReferenceReturned)
{
  std::string error;
  std::unique_ptr<Module> module = Module::load(kBundle, error);
  ASSERT_TRUE(module) << error;
  {
    HostDriver host(module->factory());
    const std::vector<ClassEntry> classes = host.classes();
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0].name, "TarvexQuoxel");
    ASSERT_EQ(host.load(), vst3::kResultOk);
    ASSERT_EQ(host.arrange({vst3::arrangement::kStereo}, {vst3::arrangement::kStereo}), vst3::kResultOk);
    ProcessSettings settings;
    settings.maxBlock = 256;
    ASSERT_EQ(host.start(settings), vst3::kResultOk);
    host.setParameter(0, 1.0);  // amount +100%
    double changed = 0.0;
    for (int block = 0; block < 16; ++block)
    {
      for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 256; ++i)
          host.inputs().setSample(0, ch, i, 0.5 * std::exp(-i / 40.0) * std::sin(i * 0.2));
      ASSERT_EQ(host.process(256), vst3::kResultOk);
      for (int i = 0; i < 256; ++i)
        changed += std::fabs(host.outputs().sample(0, 0, i) - host.inputs().sample(0, 0, i));
    }
    EXPECT_GT(changed, 1.0);
    EXPECT_EQ(host.unload(), vst3::kResultOk);
    for (const std::string& p : host.problems())
      ADD_FAILURE() << p;

    ConformanceSuite::Options quick;
    quick.threadBlocks = 200;
    quick.silenceBlocks = 300;
    const std::vector<CheckResult> results = ConformanceSuite(module->factory(), classes[0].cid, quick).run();
    EXPECT_TRUE(failedChecks(results).empty()) << Describe(results);
    EXPECT_GE(results.size(), 30u);
  }
  EXPECT_EQ(module->releaseFactory(), 0u) << "the host held the factory's last reference";
  EXPECT_TRUE(module->unload());
}
