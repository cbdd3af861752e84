#include "effect/AudioProcessor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "effect/dsp/SampleBlock.h"

namespace {
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
  std::memset(mWork, 0, sizeof(mWork));
  std::memset(mDry, 0, sizeof(mDry));
}

void AudioProcessor::SetOversampling(int factor)
{
  mFactor = std::clamp(factor, 1, kMaxFactor);
  DesignFilters();
  UpdateForRate();
}

bool AudioProcessor::SetMix(double mix)
{
  if (!std::isfinite(mix))
    return false;
  mMix = mix;
  return true;
}

void AudioProcessor::RedesignFilters()
{
  mInterpolation.SetPassThrough();
  mDecimation.SetPassThrough();
  DesignFilters();
}

bool AudioProcessor::SetSampleRate(int hz)
{
  if (hz <= 0 || hz > kMaxSampleRate)
    return false;
  if (hz != mSampleRate)
  {
    mSampleRate = hz;
    UpdateForRate();
  }
  return true;
}

bool AudioProcessor::SetChannelCount(int channels)
{
  if (channels < 1 || channels > kMaxChannels)
    return false;
  mChannels = channels;
  mInterpolation.SetChannelCount(channels);
  mDecimation.SetChannelCount(channels);
  return true;
}

void AudioProcessor::DesignFilters()
{
  // Without oversampling the filters do not run; the half-rate design would put its
  // poles on the unit circle, so it is not made.
  if (mFactor < 2)
    return;
  Dsp::DesignParams p;
  p.order = 6;
  p.sampleRate = 1.0;
  p.cutoff = 0.5 / mFactor;
  p.stopBandDb = 9.0;
  mInterpolation.Configure(p);
  mDecimation.Configure(p);
}

void AudioProcessor::BeginHostBlock(int frames)
{
  mHostFramesLeft = std::max(frames, 0);
  mHostBlockUnderway = false;
  if (mFactor < 2)
    return;
  const size_t oversampled = static_cast<size_t>(mHostFramesLeft) * static_cast<size_t>(mFactor);
  mInterpolation.BeginGlide(oversampled);
  mDecimation.BeginGlide(oversampled);
}

void AudioProcessor::ProcessBlock(double* x, int frames)
{
  if (!x || frames <= 0)
    return;
  if (frames > mHostFramesLeft)
    BeginHostBlock(frames);
  mHostFramesLeft -= frames;
  const int ch = ChannelCount();
  const size_t values = static_cast<size_t>(frames) * ch;
  ZeroNonFinite(x, values);

  const int sliceFrames = mFactor >= 2 ? kSliceFrames / mFactor : kSliceFrames;
  // Per-block figures span every call of one announced host block.
  mContinuingBlock = mHostBlockUnderway;
  mHostBlockUnderway = true;
  for (int done = 0; done < frames;)
  {
    int n = std::min(sliceFrames, frames - done);
    ProcessSlice(x + static_cast<size_t>(done) * ch, n);
    done += n;
    mContinuingBlock = true;
  }
  mContinuingBlock = false;

  // An overflow inside the chain must not leave the filters ringing with inf or NaN.
  mInterpolation.ClearIfNotFinite();
  mDecimation.ClearIfNotFinite();
  ZeroNonFinite(x, values);
}

namespace {
// The pass reads frame j before it writes frame j: an output may share memory with an
// input only frame for frame.
bool Overlaps(const double* a, const double* b, int frames)
{
  const std::uintptr_t x = reinterpret_cast<std::uintptr_t>(a), y = reinterpret_cast<std::uintptr_t>(b);
  const std::uintptr_t bytes = static_cast<std::uintptr_t>(frames) * sizeof(double);
  return x != y && x < y + bytes && y < x + bytes;
}
}  // namespace

bool AudioProcessor::ProcessStereoBlock(const StereoFrames& io, int frames)
{
  if (frames <= 0 || mFactor < 2 || ChannelCount() != 2 || mMix != 1.0 || io.step != 1)
    return false;
  for (const double* in : io.in)
    for (const double* out : io.out)
      if (Overlaps(in, out, frames))
        return false;
  // A design that must glide in goes through the passes, which know the glide.
  BeginHostBlock(frames);
  if (mInterpolation.Ramping() || mDecimation.Ramping())
    return false;
  mContinuingBlock = false;
  if (!ProcessFused(io, frames))
    return false;
  mHostFramesLeft = 0;
  mInterpolation.ClearIfNotFinite();
  mDecimation.ClearIfNotFinite();
  return true;
}

void AudioProcessor::ProcessSlice(double* x, int frames)
{
  const int ch = ChannelCount();
  const bool mixing = mMix != 1.0;  // with the whole processed signal, dry adds exactly 0
  if (mFactor < 2)
  {
    const size_t values = static_cast<size_t>(frames) * ch;
    if (mixing)
      std::memcpy(mDry, x, values * sizeof(double));
    ProcessFrames(x, frames);
    if (mixing)
      MixWithDry(x, mDry, values);
    return;
  }
  if (!mixing && ch == 2 && ProcessFused(StereoFrames{{x, x + 1}, {x, x + 1}, 2, nullptr, nullptr}, frames))
    return;
  const int n = frames * mFactor;
  const size_t values = static_cast<size_t>(n) * ch;
  UpsampleHold(x, mWork, frames);
  mInterpolation.FilterFrames(n, mWork, 0);
  if (mixing)
    std::memcpy(mDry, mWork, values * sizeof(double));
  ProcessFrames(mWork, n);
  if (mixing)
    MixWithDry(mWork, mDry, values);
  FilterAndDecimate(mWork, x, n);
}

void AudioProcessor::UpsampleHold(const double* x, double* work, int frames) const
{
  const int f = mFactor;
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
  mDecimation.FilterFrames(n, work, 0);
  const int ch = ChannelCount();
  const size_t step = static_cast<size_t>(mFactor) * ch;
  const int frames = n / mFactor;
  for (int i = 0; i < frames; ++i, x += ch, work += step)
    for (int c = 0; c < ch; ++c)
      x[c] = work[c];
}

void AudioProcessor::MixWithDry(double* work, double* dry, size_t values) const
{
  Dsp::ScaleWithStride(values, 1, work, mMix, 0);
  Dsp::ScaleWithStride(values, 1, dry, 1.0 - mMix, 0);
  Dsp::AccumulateWithStride(values, 1, work, dry, 0, 0);
}
