#include "hosts/vst3/AudioBuffers.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vst3host {

void AudioBuffers::configure(vst3::int32 symbolicSampleSize, const std::vector<vst3::int32>& channelsPerBus,
                             vst3::int32 capacity)
{
  if (capacity < 0)
    throw std::invalid_argument("negative buffer capacity");
  mSampleSize = symbolicSampleSize;
  mCapacity = capacity;
  mTailStart = capacity;
  const std::size_t total = static_cast<std::size_t>(capacity) + 2 * kGuard;
  const std::size_t busCount = channelsPerBus.size();
  mChannels.assign(busCount, {});
  mPointers32.assign(busCount, {});
  mPointers64.assign(busCount, {});
  mBuses.assign(busCount, vst3::AudioBusBuffers{});
  for (std::size_t b = 0; b < busCount; ++b)
  {
    const auto n = static_cast<std::size_t>(std::max(0, channelsPerBus[b]));
    mChannels[b].resize(n);
    // The pointer array exists even for a bus without channels: hosts always supply it.
    mPointers32[b].assign(std::max<std::size_t>(n, 1), nullptr);
    mPointers64[b].assign(std::max<std::size_t>(n, 1), nullptr);
    for (std::size_t c = 0; c < n; ++c)
    {
      Channel& ch = mChannels[b][c];
      if (mSampleSize == vst3::kSample64)
      {
        ch.d.assign(total, kGuardValue);
        std::fill(ch.d.begin() + kGuard, ch.d.end() - kGuard, 0.0);
        mPointers64[b][c] = ch.d.data() + kGuard;
      }
      else
      {
        ch.f.assign(total, static_cast<float>(kGuardValue));
        std::fill(ch.f.begin() + kGuard, ch.f.end() - kGuard, 0.0f);
        mPointers32[b][c] = ch.f.data() + kGuard;
      }
    }
    mBuses[b].numChannels = static_cast<vst3::int32>(n);
    mBuses[b].silenceFlags = 0;
    if (mSampleSize == vst3::kSample64)
      mBuses[b].channelBuffers64 = mPointers64[b].data();
    else
      mBuses[b].channelBuffers32 = mPointers32[b].data();
  }
}

vst3::int32 AudioBuffers::channelCount(vst3::int32 bus) const
{
  if (bus < 0 || bus >= busCount())
    return 0;
  return static_cast<vst3::int32>(mChannels[static_cast<std::size_t>(bus)].size());
}

const AudioBuffers::Channel& AudioBuffers::channel(vst3::int32 bus, vst3::int32 ch) const
{
  if (ch < 0 || ch >= channelCount(bus))
    throw std::out_of_range("no such channel");
  return mChannels[static_cast<std::size_t>(bus)][static_cast<std::size_t>(ch)];
}

double AudioBuffers::sample(vst3::int32 bus, vst3::int32 ch, vst3::int32 frame) const
{
  if (frame < 0 || frame >= mCapacity)
    throw std::out_of_range("frame outside the buffer");
  const Channel& c = channel(bus, ch);
  const auto i = static_cast<std::size_t>(frame + kGuard);
  return mSampleSize == vst3::kSample64 ? c.d[i] : static_cast<double>(c.f[i]);
}

void AudioBuffers::setSample(vst3::int32 bus, vst3::int32 ch, vst3::int32 frame, double value)
{
  if (frame < 0 || frame >= mCapacity)
    throw std::out_of_range("frame outside the buffer");
  Channel& c = const_cast<Channel&>(channel(bus, ch));
  const auto i = static_cast<std::size_t>(frame + kGuard);
  if (mSampleSize == vst3::kSample64)
    c.d[i] = value;
  else
    c.f[i] = static_cast<float>(value);
}

void AudioBuffers::fill(double value)
{
  for (auto& bus : mChannels)
  {
    for (auto& c : bus)
    {
      if (mSampleSize == vst3::kSample64)
        std::fill(c.d.begin() + kGuard, c.d.end() - kGuard, value);
      else
        std::fill(c.f.begin() + kGuard, c.f.end() - kGuard, static_cast<float>(value));
    }
  }
}

void AudioBuffers::clearPointer(vst3::int32 bus, vst3::int32 ch)
{
  channel(bus, ch);  // range check
  mPointers32[static_cast<std::size_t>(bus)][static_cast<std::size_t>(ch)] = nullptr;
  mPointers64[static_cast<std::size_t>(bus)][static_cast<std::size_t>(ch)] = nullptr;
}

void AudioBuffers::guardTail(vst3::int32 frames)
{
  mTailStart = std::min(std::max(frames, 0), mCapacity);
  for (auto& bus : mChannels)
  {
    for (auto& c : bus)
    {
      if (mSampleSize == vst3::kSample64)
        std::fill(c.d.begin() + kGuard + mTailStart, c.d.end() - kGuard, kGuardValue);
      else
        std::fill(c.f.begin() + kGuard + mTailStart, c.f.end() - kGuard, static_cast<float>(kGuardValue));
    }
  }
}

bool AudioBuffers::guardsIntact() const
{
  const auto guardF = static_cast<float>(kGuardValue);
  const std::size_t tail = static_cast<std::size_t>(kGuard + mTailStart);
  for (const auto& bus : mChannels)
  {
    for (const auto& c : bus)
    {
      const std::size_t n = mSampleSize == vst3::kSample64 ? c.d.size() : c.f.size();
      for (std::size_t i = 0; i < n; ++i)
      {
        if (i >= static_cast<std::size_t>(kGuard) && i < tail)
          continue;  // the block itself
        if (mSampleSize == vst3::kSample64 ? c.d[i] != kGuardValue : c.f[i] != guardF)
          return false;
      }
    }
  }
  return true;
}

bool AudioBuffers::allFinite(vst3::int32 frames) const
{
  const auto n = static_cast<std::size_t>(std::min(std::max(frames, 0), mCapacity));
  for (const auto& bus : mChannels)
  {
    for (const auto& c : bus)
    {
      for (std::size_t i = 0; i < n; ++i)
      {
        const double x = mSampleSize == vst3::kSample64 ? c.d[i + kGuard] : c.f[i + kGuard];
        if (!std::isfinite(x))
          return false;
      }
    }
  }
  return true;
}

}  // namespace vst3host
