#pragma once

#include <cmath>
#include <cstdint>

#include "platform/cpu/CpuFeatures.h"

// Forces one filter path for the life of the object.
class ScopedVectorPath
{
public:
  explicit ScopedVectorPath(bool on) : mSaved(ProcessorFeatures().sse3) { ProcessorFeatures().sse3 = on && mSaved; }
  ~ScopedVectorPath() { ProcessorFeatures().sse3 = mSaved; }

private:
  bool mSaved;
};

// Keeps the fused 256-bit chain out (on false) for the life of the object; the SSE2
// paths stay as the processor allows.
class ScopedWidePath
{
public:
  explicit ScopedWidePath(bool on) : mSaved(ProcessorFeatures().avx2) { ProcessorFeatures().avx2 = on && mSaved; }
  ~ScopedWidePath() { ProcessorFeatures().avx2 = mSaved; }

private:
  bool mSaved;
};

// Deterministic noise in [-1, 1).
class TestNoise
{
public:
  explicit TestNoise(uint64_t seed = 12345) : mState(seed) {}
  double Next()
  {
    mState = mState * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(mState >> 11) / 4503599627370496.0 - 1.0;
  }

private:
  uint64_t mState;
};

constexpr double kPi = 3.141592653589793;

inline double ToDb(double linear)
{
  return 20.0 * std::log10(linear);
}
