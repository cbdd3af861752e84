// The built module, loaded as a host loads it and driven through its exports alone.
#include "hosts/aax/ModuleLoader.h"
#include "tests/aax/plug/PlugTestSupport.h"

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
}  // namespace
