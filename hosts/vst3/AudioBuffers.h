#pragma once
// Host-owned channel arrays for one direction (inputs or outputs), 32- or 64-bit, each
// channel surrounded by guard zones that show any write outside the block.

#include "sdk/vst3/IAudioProcessor.h"

#include <vector>

namespace vst3host {

class AudioBuffers
{
public:
  static constexpr int kGuard = 64;
  // Written into every guard sample; exact in both widths and never produced by audio code.
  static constexpr double kGuardValue = -1234567.0;

  // One bus per entry of channelsPerBus; every channel holds capacity frames, zeroed.
  void configure(vst3::int32 symbolicSampleSize, const std::vector<vst3::int32>& channelsPerBus, vst3::int32 capacity);

  vst3::AudioBusBuffers* buses() { return mBuses.empty() ? nullptr : mBuses.data(); }
  vst3::int32 busCount() const { return static_cast<vst3::int32>(mBuses.size()); }
  vst3::int32 channelCount(vst3::int32 bus) const;
  vst3::int32 capacity() const { return mCapacity; }
  vst3::int32 sampleSize() const { return mSampleSize; }

  double sample(vst3::int32 bus, vst3::int32 channel, vst3::int32 frame) const;
  void setSample(vst3::int32 bus, vst3::int32 channel, vst3::int32 frame, double value);
  // Every sample of every channel (guards excluded).
  void fill(double value);
  // Points one channel of the pointer array at null, as hosts may for inactive buses.
  void clearPointer(vst3::int32 bus, vst3::int32 channel);

  // Fills every channel from frame `frames` to the end of its capacity with the guard value,
  // so that a block of `frames` shows writes past its end even inside the host's buffer.
  void guardTail(vst3::int32 frames);
  bool guardsIntact() const;
  // True when the first frames samples of every channel are finite.
  bool allFinite(vst3::int32 frames) const;

private:
  struct Channel
  {
    std::vector<float> f;
    std::vector<double> d;
  };
  const Channel& channel(vst3::int32 bus, vst3::int32 ch) const;

  vst3::int32 mSampleSize = vst3::kSample32;
  vst3::int32 mCapacity = 0;
  vst3::int32 mTailStart = 0;  // first guarded frame inside the capacity
  std::vector<std::vector<Channel>> mChannels;
  std::vector<std::vector<float*>> mPointers32;
  std::vector<std::vector<double*>> mPointers64;
  std::vector<vst3::AudioBusBuffers> mBuses;
};

}  // namespace vst3host
