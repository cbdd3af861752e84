#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace hostcommon {

// Host-owned channel buffers with guard zones on both sides, filled with a value no
// plug-in writes, so that a write past either end of a block shows.
template <class Sample>
class GuardedBuffers
{
public:
  static constexpr int kGuard = 64;

  GuardedBuffers(int nChannels, int nFrames)
    : mFrames(nFrames),
      mStore(static_cast<size_t>(nChannels), std::vector<Sample>(static_cast<size_t>(nFrames + 2 * kGuard), kCanary))
  {
    for (auto& channel : mStore)
      mPointers.push_back(channel.data() + kGuard);
  }

  Sample** Pointers() { return mPointers.data(); }
  Sample* Channel(int idx) { return mPointers[static_cast<size_t>(idx)]; }
  int Frames() const { return mFrames; }
  int Channels() const { return static_cast<int>(mStore.size()); }

  void Fill(Sample value)
  {
    for (Sample* channel : mPointers)
      std::fill(channel, channel + mFrames, value);
  }

  // Whether every guard still holds the canary.
  bool GuardsIntact() const
  {
    for (const auto& channel : mStore)
    {
      for (int i = 0; i < kGuard; ++i)
      {
        if (channel[static_cast<size_t>(i)] != kCanary || channel[static_cast<size_t>(kGuard + mFrames + i)] != kCanary)
          return false;
      }
    }
    return true;
  }

  // Whether the first frames of the first channels hold finite samples only.
  bool AllFinite(int channels, int frames) const
  {
    for (int c = 0; c < std::min(channels, Channels()); ++c)
    {
      const Sample* samples = mPointers[static_cast<size_t>(c)];
      for (int i = 0; i < std::min(frames, mFrames); ++i)
      {
        if (!std::isfinite(samples[i]))
          return false;
      }
    }
    return true;
  }

private:
  static constexpr Sample kCanary = Sample(-12345.0);

  int mFrames;
  std::vector<std::vector<Sample>> mStore;
  std::vector<Sample*> mPointers;
};

}  // namespace hostcommon
