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

// A digest of every sample's exact value, channel after channel (64-bit FNV-1a over the
// samples' bytes), so that two renders can be shown equal sample for sample.
std::uint64_t sampleDigest(const AudioBuffer& audio);

// Linear level in dBFS; -inf for 0.
double toDecibels(double linear);

// "peak -3.01 dBFS, RMS -12.00 dBFS, crest 8.99 dB" (crest factor also as a ratio).
std::string formatStats(const SignalStats& stats);

}  // namespace plughost
