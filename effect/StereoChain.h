#pragma once

#include "effect/EnvelopeFollower.h"
#include "effect/dsp/Cascade.h"

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

// Runs frames host stereo frames in place through hold, interpolation filter, transient
// engine and decimation filter at factor (2 or more) times the rate, in one pass. Uses
// AVX2 and FMA: call only when the processor has them.
void RunStereoChainAvx(StereoChain& chain, double* x, int frames, int factor);
