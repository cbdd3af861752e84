// The built module, loaded as a host loads it and driven through its exports alone.
#include "hosts/aax/ModuleLoader.h"
#include "tests/aax/plug/PlugTestSupport.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {
using namespace aaxhost;
using namespace aaxtest;

TEST(AaxModule, LoadsRendersAndKeepsItsStateThroughItsExports)
{
  std::string error;
  auto module = Module::Load(TQ_AAX_BUNDLE, error);
  ASSERT_TRUE(module) << error;

  const Channels signal = Bursts(3000);
  std::vector<unsigned char> state;
  Channels first;
  {
    HostDriver driver(module->Entries());
    ASSERT_TRUE(driver.Register(error) && driver.Open(44100.0, 2, error)) << error;
    EXPECT_EQ(driver.EffectName(), "TarvexQuoxel");
    ASSERT_TRUE(driver.SetParamText(driver.FindParam("Quoxel Level"), "-60"));
    state = driver.SaveChunk();
    first = driver.Render(signal, 512);
    driver.Close();
    EXPECT_EQ(driver.LiveObjects(), 0);
  }
  EXPECT_EQ(state.size(), 72u);
  EXPECT_NE(first, signal);
  HostDriver driver(module->Entries());
  ASSERT_TRUE(driver.Register(error) && driver.Open(44100.0, 2, error)) << error;
  ASSERT_TRUE(driver.LoadChunk(state));
  EXPECT_EQ(driver.Render(signal, 512), first);
}

// A host that unloads the module without shutting it down may have destroyed its services
// object already, and the loader's lock is held: the module calls nothing on the host then.
TEST(AaxModule, UnloadedWithoutShutDownItCallsNothingOnTheHost)
{
  CallLog log;
  RegistrationHost host(log);
  std::string error;
  auto module = Module::Load(TQ_AAX_BUNDLE, error);
  ASSERT_TRUE(module) << error;
  {
#if defined(__SANITIZE_ADDRESS__)
    // The services wrapper is abandoned with the module, as such a host leaves it: no leak.
    __lsan::ScopedDisabler abandoned;
#endif
    ASSERT_EQ(module->Entries().startup(&host), kAAX_Success);
  }
  ASSERT_NE(host.Find("Services1"), nullptr);
  log.Clear();
  module.reset();
  // Loaded anew it holds no services; had the first load stayed, its shut-down would release them.
  module = Module::Load(TQ_AAX_BUNDLE, error);
  ASSERT_TRUE(module) << error;
  EXPECT_EQ(module->Entries().shutdown(&host), kAAX_Success);
  EXPECT_EQ(log.Calls(), Calls{});
  EXPECT_EQ(host.Find("Services1")->RefCount(), 1);
}
}  // namespace
