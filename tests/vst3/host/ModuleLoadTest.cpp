// The built gain module loaded as a host loads it (dlopen natively, LoadLibrary under Wine),
// driven through the host sequence and unloaded with every reference returned.
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/ModuleLoader.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vst3host;

namespace {

const char* const kModule = FAKE_GAIN_FILE;
const char* const kBundle = "bundle/FakeGain.vst3";

// Creates the plug-in from the factory, renders one block at +6 dB and unloads it.
void renderOneBlock(vst3::IPluginFactory* factory)
{
  HostDriver d(factory);
  ASSERT_EQ(d.load(), vst3::kResultOk);
  ASSERT_EQ(d.arrange({vst3::arrangement::kStereo}, {vst3::arrangement::kStereo}), vst3::kResultOk);
  ProcessSettings settings;
  settings.maxBlock = 32;
  ASSERT_EQ(d.start(settings), vst3::kResultOk);
  d.setParameter(0, 0.625);
  d.inputs().setSample(0, 1, 5, 0.25);
  ASSERT_EQ(d.process(32), vst3::kResultOk);
  EXPECT_NEAR(d.outputs().sample(0, 1, 5), 0.25 * std::pow(10.0, 6.0 / 20.0), 1e-6);
  EXPECT_EQ(d.unload(), vst3::kResultOk);
  for (const auto& p : d.problems())
    ADD_FAILURE() << p;
}

}  // namespace

TEST(ModuleLoad, LoadsSharesOneFactoryAndUnloadsWithEntriesPaired)
{
  std::string error;
  auto first = Module::load(kModule, error);
  ASSERT_TRUE(first) << error;
  auto second = Module::load(kModule, error);
  ASSERT_TRUE(second) << error;
  renderOneBlock(second->factory());
  EXPECT_EQ(first->factory(), second->factory()) << "one living factory per module";
  EXPECT_EQ(first->releaseFactory(), 1u);
  EXPECT_EQ(second->releaseFactory(), 0u) << "the host held the factory's last reference";
  EXPECT_TRUE(first->unload()) << "the exit function pairs with the entry";
  EXPECT_TRUE(second->unload());

  // After the last release a new load builds a new factory that works; a bundle folder
  // leads to the module inside it.
  for (const char* path : {kModule, kBundle})
  {
    auto again = Module::load(path, error);
    ASSERT_TRUE(again) << error;
    renderOneBlock(again->factory());
  }
  EXPECT_NE(Module::resolve(kBundle).find("Contents"), std::string::npos);
}

TEST(ModuleLoad, EntryFunctionsAreRequiredOnlyOnLinux)
{
  std::string error;
  auto module = Module::load(FAKE_GAIN_NO_ENTRY_FILE, error);
#if defined(_WIN32)
  ASSERT_TRUE(module) << error;
  renderOneBlock(module->factory());
  EXPECT_TRUE(module->unload());
#else
  EXPECT_FALSE(module);
  EXPECT_NE(error.find("ModuleEntry"), std::string::npos) << error;
#endif
}

TEST(ModuleLoad, ReportsWhatIsMissing)
{
  std::string error;
  EXPECT_FALSE(Module::load("no-such-module.vst3", error));
  EXPECT_FALSE(error.empty());
#if defined(_WIN32)
  const char* const noFactory = "kernel32.dll";
#else
  const char* const noFactory = "libz.so.1";
#endif
  error.clear();
  EXPECT_FALSE(Module::load(noFactory, error));
  EXPECT_NE(error.find("GetPluginFactory"), std::string::npos) << error;
}
