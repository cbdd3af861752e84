#include "effect/AudioProcessor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "effect/dsp/SampleBlock.h"

namespace
{
// Beyond this the slices would hold less than a host frame and the oversampled rate
// could leave the int range.
constexpr int kMaxFactor = 64;

void ZeroNonFinite(double* x, size_t values)
{
  for (size_t i = 0; i < values; ++i)
    if (!std::isfinite(x[i]))
      x[i] = 0.0;
}
}  // namespace

AudioProcessor::AudioProcessor()
{
  std::memset(work_, 0, sizeof(work_));
  std::memset(dry_, 0, sizeof(dry_));
}

void AudioProcessor::SetOversampling(int factor)
{
  factor_ = std::clamp(factor, 1, kMaxFactor);
  DesignFilters();
  UpdateForRate();
}

bool AudioProcessor::SetMix(double mix)
{
  if (!std::isfinite(mix))
    return false;
  mix_ = mix;
  return true;
}

void AudioProcessor::RedesignFilters()
{
  interpolation_.SetPassThrough();
  decimation_.SetPassThrough();
  DesignFilters();
}

bool AudioProcessor::SetSampleRate(int hz)
{
  if (hz <= 0 || hz > kMaxSampleRate)
    return false;
  if (hz != sampleRate_)
  {
    sampleRate_ = hz;
    UpdateForRate();
  }
  return true;
}

bool AudioProcessor::SetChannelCount(int channels)
{
  if (channels < 1 || channels > kMaxChannels)
    return false;
  channels_ = channels;
  interpolation_.SetChannelCount(channels);
  decimation_.SetChannelCount(channels);
  return true;
}

void AudioProcessor::DesignFilters()
{
  // Without oversampling the filters do not run; the half-rate design would put its
  // poles on the unit circle, so it is not made.
  if (factor_ < 2)
    return;
  Dsp::DesignParams p;
  p.order = 6;
  p.sampleRate = 1.0;
  p.cutoff = 0.5 / factor_;
  p.stopBandDb = 9.0;
  interpolation_.Configure(p);
  decimation_.Configure(p);
}

void AudioProcessor::ProcessBlock(double* x, int frames)
{
  if (!x || frames <= 0)
    return;
  const int ch = ChannelCount();
  const size_t values = static_cast<size_t>(frames) * ch;
  ZeroNonFinite(x, values);

  const int sliceFrames = factor_ >= 2 ? kSliceFrames / factor_ : kSliceFrames;
  continuingBlock_ = false;
  for (int done = 0; done < frames;)
  {
    int n = std::min(sliceFrames, frames - done);
    ProcessSlice(x + static_cast<size_t>(done) * ch, n);
    done += n;
    continuingBlock_ = true;
  }
  continuingBlock_ = false;

  // An overflow inside the chain must not leave the filters ringing with inf or NaN.
  interpolation_.ClearIfNotFinite();
  decimation_.ClearIfNotFinite();
  ZeroNonFinite(x, values);
}

void AudioProcessor::ProcessSlice(double* x, int frames)
{
  const int ch = ChannelCount();
  const bool mixing = mix_ != 1.0;  // with the whole processed signal, dry adds exactly 0
  if (factor_ < 2)
  {
    const size_t values = static_cast<size_t>(frames) * ch;
    if (mixing)
      std::memcpy(dry_, x, values * sizeof(double));
    ProcessFrames(x, frames);
    if (mixing)
      MixWithDry(x, dry_, values);
    return;
  }
  if (!mixing && ch == 2 && ProcessSliceFused(x, frames))
    return;
  const int n = frames * factor_;
  const size_t values = static_cast<size_t>(n) * ch;
  UpsampleHold(x, work_, frames);
  interpolation_.FilterFrames(n, work_, 0);
  if (mixing)
    std::memcpy(dry_, work_, values * sizeof(double));
  ProcessFrames(work_, n);
  if (mixing)
    MixWithDry(work_, dry_, values);
  FilterAndDecimate(work_, x, n);
}

void AudioProcessor::UpsampleHold(const double* x, double* work, int frames) const
{
  const int f = factor_;
  if (ChannelCount() == 2)
  {
    for (int i = 0; i < frames; ++i, x += 2)
      for (int k = 0; k < f; ++k, work += 2)
      {
        work[0] = x[0];
        work[1] = x[1];
      }
    return;
  }
  for (int i = 0; i < frames; ++i, ++x)
    for (int k = 0; k < f; ++k)
      *work++ = *x;
}

void AudioProcessor::FilterAndDecimate(double* work, double* x, int n)
{
  decimation_.FilterFrames(n, work, 0);
  const int ch = ChannelCount();
  const size_t step = static_cast<size_t>(factor_) * ch;
  const int frames = n / factor_;
  for (int i = 0; i < frames; ++i, x += ch, work += step)
    for (int c = 0; c < ch; ++c)
      x[c] = work[c];
}

void AudioProcessor::MixWithDry(double* work, double* dry, size_t values) const
{
  Dsp::ScaleWithStride(values, 1, work, mix_, 0);
  Dsp::ScaleWithStride(values, 1, dry, 1.0 - mix_, 0);
  Dsp::AccumulateWithStride(values, 1, work, dry, 0, 0);
}
