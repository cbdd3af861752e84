#pragma once
// What the tests of the Microsoft-ABI hosts share: the test signal, and one block's guarded
// host buffers of the chosen sample width with the channel arrays handed to a plug-in.

#include "hosts/common/GuardedBuffers.h"

#include <cmath>

namespace msabitest {

constexpr int kChannels = 2;
constexpr double kRate = 44100.0;
// Not the effect's assumed 120 BPM, so a transport that does not arrive shows in the output.
constexpr double kTempo = 90.0;

// Decaying bursts, different per channel: transients for the effect to work on.
inline double SignalAt(int channel, int frame)
{
  const int t = frame % 700;
  return (channel ? 0.6 : 0.45) * std::exp(-t / 60.0) * std::sin(t * (channel ? 0.23 : 0.17));
}

class HostBlock
{
public:
  HostBlock(int frames, bool doubles)
    : mFrames(frames),
      mDoubles(doubles),
      mIn32(kChannels, frames),
      mOut32(kChannels, frames),
      mIn64(kChannels, frames),
      mOut64(kChannels, frames)
  {
    for (int ch = 0; ch < kChannels; ++ch)
    {
      mIns[ch] = doubles ? static_cast<void*>(mIn64.Channel(ch)) : static_cast<void*>(mIn32.Channel(ch));
      mOuts[ch] = doubles ? static_cast<void*>(mOut64.Channel(ch)) : static_cast<void*>(mOut32.Channel(ch));
    }
  }

  // The signal from frame `start` on, in the block's width.
  void FillInput(int start)
  {
    for (int ch = 0; ch < kChannels; ++ch)
      for (int i = 0; i < mFrames; ++i)
      {
        mIn32.Channel(ch)[i] = static_cast<float>(SignalAt(ch, start + i));
        mIn64.Channel(ch)[i] = SignalAt(ch, start + i);
      }
  }
  double Input(int channel, int frame)
  {
    return mDoubles ? mIn64.Channel(channel)[frame] : mIn32.Channel(channel)[frame];
  }
  double Output(int channel, int frame)
  {
    return mDoubles ? mOut64.Channel(channel)[frame] : mOut32.Channel(channel)[frame];
  }
  void* const* Inputs() const { return mIns; }
  void* const* Outputs() const { return mOuts; }
  bool GuardsIntact() const
  {
    return mIn32.GuardsIntact() && mOut32.GuardsIntact() && mIn64.GuardsIntact() && mOut64.GuardsIntact();
  }

private:
  int mFrames;
  bool mDoubles;
  hostcommon::GuardedBuffers<float> mIn32, mOut32;
  hostcommon::GuardedBuffers<double> mIn64, mOut64;
  void* mIns[kChannels];
  void* mOuts[kChannels];
};

}  // namespace msabitest
