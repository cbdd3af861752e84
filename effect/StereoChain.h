#pragma once

#include <cstddef>

#include "effect/EnvelopeFollower.h"
#include "effect/MeterFollower.h"
#include "effect/dsp/Cascade.h"

// Where a stereo pass reads its host frames and writes its results: per channel a pointer
// and the step from one frame to the next (1 for a channel buffer of its own, 2 within
// interleaved frames). Input and output may be the same memory, channel by channel.
// Values that are not finite enter as silence and leave as silence. With meters, the
// two input peak meters follow the raw input and the two output meters the output as
// written, each one step per host frame; their end-of-block rule is applied at the end.
struct StereoFrames
{
  const double* in[2];
  double* out[2];
  std::ptrdiff_t step;
  MeterFollower* inputMeters;   // two, or null
  MeterFollower* outputMeters;  // two, or null
};

// What the fused stereo chain reads and updates, lent by its owners for one slice.
struct StereoChain
{
  const Dsp::BiquadStage* interpolation;    // three settled stages
  Dsp::StageHistory* interpolationHistory;  // per stage its two channels
  const Dsp::BiquadStage* decimation;
  Dsp::StageHistory* decimationHistory;
  const Dsp::BiquadStage* detector[2];  // per channel
  Dsp::StageHistory* detectorHistory[2];
  EnvelopeFollower* followers;  // fast 0, slow 0, fast 1, slow 1
  double amount, upper, lower, outGain;
  double* peaks;  // per channel
};

// Runs frames host stereo frames through hold, interpolation filter, transient engine and
// decimation filter at factor (2 or more) times the rate, in one pass. Uses AVX2 and FMA:
// call only when the processor has them.
void RunStereoChainAvx(StereoChain& chain, const StereoFrames& io, int frames, int factor);
