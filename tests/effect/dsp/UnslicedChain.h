// The oversampling chain computed a whole block at a time, each filter over all of the
// block's oversampled frames in one call: hold, interpolation filter, a fixed gain for the
// per-sample stage, decimation filter, every factor-th frame. The reference for a chain that
// works through long blocks in slices.
#pragma once

#include <cstddef>
#include <vector>

#include "effect/dsp/PoleFilter.h"

class UnslicedChain
{
public:
  explicit UnslicedChain(int factor) : mFactor(factor)
  {
    const Dsp::DesignParams design{6, 1.0, 0.5 / factor, 9.0};
    mInterpolation.Configure(design);
    mDecimation.Configure(design);
  }

  // Stereo interleaved host frames, in place.
  void Process(double* x, int frames, double gain = 1.0)
  {
    const size_t n = static_cast<size_t>(frames) * mFactor;
    std::vector<double> work(2 * n);
    for (size_t i = 0; i < n; ++i)
    {
      work[2 * i] = x[2 * (i / mFactor)];
      work[2 * i + 1] = x[2 * (i / mFactor) + 1];
    }
    mInterpolation.FilterFrames(n, work.data(), 0);
    for (double& v : work)
      v *= gain;
    mDecimation.FilterFrames(n, work.data(), 0);
    for (int i = 0; i < frames; ++i)
    {
      x[2 * i] = work[2 * i * mFactor];
      x[2 * i + 1] = work[2 * i * mFactor + 1];
    }
  }

private:
  int mFactor;
  Dsp::ChebyIILowPass<6, 2> mInterpolation;
  Dsp::ChebyIILowPass<6, 2> mDecimation;
};
