// The host side's checks of what a VST2 plug-in does to the buffers it is handed.
#include "hosts/vst2/HostDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// How the faulty plug-in below misbehaves in its replacing entry.
enum class Fault
{
  None,
  NonFinite,
  PastTheEnd
};
Fault gFault = Fault::None;
vst2::AEffect gEffect{};

intptr_t VST2_CALLBACK Dispatcher(vst2::AEffect*, int32_t, int32_t, intptr_t, void*, float)
{
  return 0;
}

void VST2_CALLBACK ProcessReplacing(vst2::AEffect* effect, float** in, float** out, int32_t frames)
{
  for (int c = 0; c < effect->numOutputs; ++c)
    for (int i = 0; i < frames; ++i)
      out[c][i] = in[c][i];
  if (gFault == Fault::NonFinite)
    out[1][frames - 1] = std::numeric_limits<float>::quiet_NaN();
  if (gFault == Fault::PastTheEnd)
    out[0][frames] = 0.0f;
}

vst2::AEffect* VST2_CALLBACK Entry(vst2::AudioMasterCallback)
{
  gEffect = vst2::AEffect{};
  gEffect.magic = vst2::kEffectMagic;
  gEffect.dispatcher = Dispatcher;
  gEffect.processReplacing = ProcessReplacing;
  gEffect.numInputs = gEffect.numOutputs = 2;
  return &gEffect;
}

TEST(Vst2HostDriver, BreachesOfTheBuffersAreReportedOnce)
{
  const struct
  {
    Fault fault;
    std::vector<std::string> problems;
  } cases[] = {
    {Fault::None, {}},
    {Fault::NonFinite, {"process wrote non-finite samples"}},
    {Fault::PastTheEnd, {"process wrote outside the host's buffers"}},
  };
  for (const auto& c : cases)
  {
    gFault = c.fault;
    vst2host::HostDriver driver(Entry);
    ASSERT_TRUE(driver.Create());
    driver.Open(44100.0, 64);
    // Finite input beyond the float range reaches the plug-in saturated, not as infinity.
    const vst2host::HostDriver::Channels out = driver.Render({std::vector<double>(200, 1e300)}, 64, false);
    EXPECT_EQ(driver.Problems(), c.problems);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0][0], double(std::numeric_limits<float>::max()));
  }
}

}  // namespace
