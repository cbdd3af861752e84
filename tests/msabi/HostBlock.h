#pragma once
// What the tests of the Microsoft-ABI hosts share: the test signal, and blocks of it through
// such a host in guarded host buffers, compared with our own host's output of the same run.

#include "hosts/common/GuardedBuffers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace msabitest {

constexpr int kChannels = 2;
constexpr int kBlock = 256;
constexpr int kBlocks = 4;
constexpr double kRate = 44100.0;
// Not the effect's assumed 120 BPM, so a transport that does not arrive shows in the output.
constexpr double kTempo = 90.0;

using Channels = std::vector<std::vector<double>>;

// Decaying bursts, different per channel: transients for the effect to work on. Rounded to
// floats unless `doubles`.
inline Channels Signal(bool doubles)
{
  Channels signal(kChannels, std::vector<double>(kBlock * kBlocks));
  for (int ch = 0; ch < kChannels; ++ch)
    for (int i = 0; i < kBlock * kBlocks; ++i)
    {
      const int t = i % 700;
      const double s = (ch ? 0.6 : 0.45) * std::exp(-t / 60.0) * std::sin(t * (ch ? 0.23 : 0.17));
      signal[ch][i] = doubles ? s : float(s);
    }
  return signal;
}

// The signal block by block through `process(inputs, outputs)`, the Microsoft-ABI host's call
// (0: done): every output sample equal to `expected`, the effect at work, no write out of bounds.
template <class Sample, class Process>
void ExpectBlocksOf(const Channels& expected, Process process)
{
  ASSERT_EQ(expected.size(), size_t(kChannels));
  const Channels input = Signal(sizeof(Sample) == sizeof(double));
  hostcommon::GuardedBuffers<Sample> in(kChannels, kBlock), out(kChannels, kBlock);
  void* ins[kChannels] = {in.Channel(0), in.Channel(1)};
  void* outs[kChannels] = {out.Channel(0), out.Channel(1)};
  double changed = 0.0;
  for (int n = 0; n < kBlocks; ++n)
  {
    for (int ch = 0; ch < kChannels; ++ch)
      for (int i = 0; i < kBlock; ++i)
        in.Channel(ch)[i] = Sample(input[ch][n * kBlock + i]);
    ASSERT_EQ(process(ins, outs), 0) << "block " << n;
    for (int ch = 0; ch < kChannels; ++ch)
      for (int i = 0; i < kBlock; ++i)
      {
        ASSERT_EQ(out.Channel(ch)[i], expected[ch][n * kBlock + i])
          << "block " << n << " channel " << ch << " frame " << i;
        changed += std::fabs(out.Channel(ch)[i] - in.Channel(ch)[i]);
      }
  }
  EXPECT_GT(changed, 0.1) << "the effect was at work";
  EXPECT_TRUE(in.GuardsIntact() && out.GuardsIntact());
}

template <class Process>
void ExpectBlocks(bool doubles, const Channels& expected, Process process)
{
  doubles ? ExpectBlocksOf<double>(expected, process) : ExpectBlocksOf<float>(expected, process);
}

}  // namespace msabitest
