#pragma once
// Level figures printed for the input and the output of a render.

#include "tools/plughost/AudioBuffer.h"

#include <cstdint>
#include <string>

namespace plughost {

struct SignalStats
{
  double peak = 0.0;   // largest absolute sample over all channels
  double rms = 0.0;    // root mean square over all samples of all channels
  double crest = 0.0;  // peak / rms; 0 for silence

  static SignalStats measure(const AudioBuffer& audio);
};

// Level figures gathered a chunk at a time. The sum of squares is kept relative to the
// largest magnitude so far, so it overflows for no level and no length. Samples that are
// not finite are left out.
class SignalMeter
{
public:
  void add(const AudioBuffer& chunk);
  SignalStats stats() const;

private:
  double mPeak = 0.0;
  double mScale = 0.0;      // the largest magnitude so far
  double mScaledSum = 0.0;  // the sum of squares over mScale squared
  std::uint64_t mCount = 0;
};

// A digest of every sample's exact value, frame after frame and within a frame channel after
// channel (64-bit FNV-1a over the samples' bytes), so that two renders can be shown equal
// sample for sample. Taken a chunk at a time.
class SampleDigest
{
public:
  void add(const AudioBuffer& chunk);
  std::uint64_t value() const { return mHash; }

private:
  std::uint64_t mHash = 14695981039346656037ull;
};

std::uint64_t sampleDigest(const AudioBuffer& audio);

// Linear level in dBFS; -inf for 0.
double toDecibels(double linear);

// "peak -3.01 dBFS, RMS -12.00 dBFS, crest 8.99 dB" (crest factor also as a ratio).
std::string formatStats(const SignalStats& stats);

}  // namespace plughost
