#include "tools/plughost/SignalStats.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace plughost {

SignalStats SignalStats::measure(const AudioBuffer& audio)
{
  SignalStats s;
  double sumSquares = 0.0;
  std::size_t count = 0;
  for (const auto& channel : audio.channels)
  {
    for (double x : channel)
    {
      const double a = std::fabs(x);
      if (a > s.peak)
        s.peak = a;
      sumSquares += x * x;
    }
    count += channel.size();
  }
  if (count > 0)
    s.rms = std::sqrt(sumSquares / static_cast<double>(count));
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

std::uint64_t sampleDigest(const AudioBuffer& audio)
{
  std::uint64_t hash = 14695981039346656037ull;
  for (const auto& channel : audio.channels)
  {
    for (double sample : channel)
    {
      unsigned char bytes[sizeof(double)];
      std::memcpy(bytes, &sample, sizeof bytes);
      for (unsigned char b : bytes)
        hash = (hash ^ b) * 1099511628211ull;
    }
  }
  return hash;
}

}  // namespace plughost
