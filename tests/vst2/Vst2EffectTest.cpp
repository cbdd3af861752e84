// The effect behind the VST2 binding, in-process and through the built module.
#include "tests/vst2/Vst2TestSupport.h"

#include "effect/TarvexQuoxel.h"
#include "hosts/vst2/ModuleLoader.h"
#include "modules/TarvexQuoxelVst2Entry.h"

#include <cmath>

using namespace vst2;
using namespace vst2test;

namespace {

vst2host::HostDriver::Channels Drums(int frames)
{
  vst2host::HostDriver::Channels x(2, std::vector<double>(static_cast<size_t>(frames)));
  for (int i = 0; i < frames; ++i)
  {
    const double beat = std::exp(-double(i % 11025) / 400.0);
    x[0][static_cast<size_t>(i)] = 0.5 * beat * std::sin(i * 0.05);
    x[1][static_cast<size_t>(i)] = 0.4 * beat * std::sin(i * 0.031);
  }
  return x;
}

TEST(Vst2Effect, RecordOfTheEffect)
{
  vst2host::HostDriver driver(&VSTPluginMain);
  ASSERT_TRUE(driver.Create());
  AEffect* e = driver.Effect();
  EXPECT_EQ(e->uniqueID, TarvexQuoxel::kUniqueId);
  EXPECT_EQ(e->numParams, 9);
  EXPECT_EQ(e->numPrograms, 1);
  // The editor flag only where the editor opens a window.
#if defined(_WIN32)
  EXPECT_EQ(e->flags, 0x1019);
#else
  EXPECT_EQ(e->flags, 0x1018);
#endif
  EXPECT_EQ(e->version, 10004);
  EXPECT_EQ(driver.EffectName(), "TarvexQuoxel");
  EXPECT_EQ(driver.ParamName(0), "Quoxel Level");
  // One preset named "-": the bank is 8 + 4 + 1 + 1 + 72 bytes, the state 8 + 72.
  EXPECT_EQ(driver.GetChunk(false).size(), 80u);
  EXPECT_EQ(driver.GetChunk(true).size(), 86u);
}

TEST(Vst2Effect, WholeLifeInProcess)
{
  PlayWholeLife(&VSTPluginMain);
}

TEST(Vst2Effect, RestoredStateSoundsTheSame)
{
  const auto input = Drums(20000);
  vst2host::HostDriver first(&VSTPluginMain);
  ASSERT_TRUE(first.Create());
  first.Open(44100.0, 512);
  ASSERT_TRUE(first.SetParamText(first.FindParam("Quoxel Level"), "80"));
  ASSERT_TRUE(first.SetParamText(first.FindParam("Hi Pass"), "120"));
  const auto state = first.GetChunk(false);
  const auto expected = first.Render(input, 512, false);

  vst2host::HostDriver second(&VSTPluginMain);
  ASSERT_TRUE(second.Create());
  second.Open(44100.0, 512);
  ASSERT_TRUE(second.SetChunk(false, state));
  EXPECT_EQ(second.Render(input, 512, false), expected);
  EXPECT_NE(expected[0], input[0]) << "the settings change the sound";
}

std::unique_ptr<vst2host::Module> LoadBuiltModule()
{
  std::string error;
  auto module = vst2host::Module::Load(TQ_VST2_MODULE, error);
  EXPECT_TRUE(module) << error;
  return module;
}

TEST(Vst2Module, BothEntriesMakeTheirOwnObjects)
{
  auto module = LoadBuiltModule();
  ASSERT_TRUE(module);
  vst2host::HostCallback a, b;
  AEffect* one = a.Create(module->EntryNamed("VSTPluginMain"));
  AEffect* two = b.Create(module->EntryNamed("main"));
  ASSERT_TRUE(one && two);
  EXPECT_NE(one, two);
  EXPECT_EQ(two->uniqueID, TarvexQuoxel::kUniqueId);
  one->dispatcher(one, effClose, 0, 0, nullptr, 0.0f);
  two->dispatcher(two, effClose, 0, 0, nullptr, 0.0f);
}

TEST(Vst2Module, WholeLifeThroughTheModule)
{
  auto module = LoadBuiltModule();
  ASSERT_TRUE(module);
  PlayWholeLife(module->Entry());
}

TEST(Vst2Module, SoundsLikeTheInProcessPlugIn)
{
  auto module = LoadBuiltModule();
  ASSERT_TRUE(module);
  const auto input = Drums(6000);
  vst2host::HostDriver inProcess(&VSTPluginMain), loaded(module->Entry());
  for (vst2host::HostDriver* d : {&inProcess, &loaded})
  {
    ASSERT_TRUE(d->Create());
    d->Open(48000.0, 333);
    d->SetParameter(0, 0.9f);
  }
  EXPECT_EQ(inProcess.Render(input, 333, true), loaded.Render(input, 333, true));
}

}  // namespace
