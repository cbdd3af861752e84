#include "tools/plughost/SignalStats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace plughost {

SignalStats SignalStats::measure(const AudioBuffer& audio)
{
  SignalMeter meter;
  meter.add(audio);
  return meter.stats();
}

void SignalMeter::add(const AudioBuffer& chunk)
{
  for (const auto& channel : chunk.channels)
  {
    for (double x : channel)
    {
      const double a = std::fabs(x);
      if (!std::isfinite(a))
        continue;
      if (a > mScale)
      {
        const double r = mScale / a;
        mScaledSum = 1.0 + mScaledSum * r * r;
        mScale = a;
      }
      else if (a > 0.0)
      {
        const double r = a / mScale;
        mScaledSum += r * r;
      }
    }
    mCount += channel.size();
  }
  mPeak = std::max(mPeak, mScale);
}

SignalStats SignalMeter::stats() const
{
  SignalStats s;
  s.peak = mPeak;
  if (mCount > 0)
    s.rms = mScale * std::sqrt(mScaledSum / static_cast<double>(mCount));
  s.crest = s.rms > 0.0 ? s.peak / s.rms : 0.0;
  return s;
}

double toDecibels(double linear)
{
  if (linear <= 0.0)
    return -std::numeric_limits<double>::infinity();
  return 20.0 * std::log10(linear);
}

std::string formatStats(const SignalStats& stats)
{
  char text[160];
  if (stats.rms <= 0.0)
  {
    std::snprintf(text, sizeof text, "peak %.2f dBFS, RMS -inf dBFS, crest n/a (silence)", toDecibels(stats.peak));
  }
  else
  {
    std::snprintf(text, sizeof text, "peak %.2f dBFS, RMS %.2f dBFS, crest %.2f dB (%.3f)", toDecibels(stats.peak),
                  toDecibels(stats.rms), toDecibels(stats.crest), stats.crest);
  }
  return text;
}

void SampleDigest::add(const AudioBuffer& chunk)
{
  for (std::size_t f = 0; f < chunk.numFrames(); ++f)
  {
    for (const auto& channel : chunk.channels)
    {
      unsigned char bytes[sizeof(double)];
      std::memcpy(bytes, &channel[f], sizeof bytes);
      for (unsigned char b : bytes)
        mHash = (mHash ^ b) * 1099511628211ull;
    }
  }
}

std::uint64_t sampleDigest(const AudioBuffer& audio)
{
  SampleDigest digest;
  digest.add(audio);
  return digest.value();
}

}  // namespace plughost
