#pragma once

#include <cmath>
#include <cstdint>

#include "effect/dsp/CpuFeatures.h"

// Forces one filter path for the life of the object.
class ScopedVectorPath
{
public:
  explicit ScopedVectorPath(bool on) : saved_(ProcessorFeatures().sse3)
  {
    ProcessorFeatures().sse3 = on && saved_;
  }
  ~ScopedVectorPath() { ProcessorFeatures().sse3 = saved_; }

private:
  bool saved_;
};

// Keeps the fused 256-bit chain out (on false) for the life of the object; the SSE2
// paths stay as the processor allows.
class ScopedWidePath
{
public:
  explicit ScopedWidePath(bool on) : saved_(ProcessorFeatures().avx2)
  {
    ProcessorFeatures().avx2 = on && saved_;
  }
  ~ScopedWidePath() { ProcessorFeatures().avx2 = saved_; }

private:
  bool saved_;
};

// Deterministic noise in [-1, 1).
class TestNoise
{
public:
  explicit TestNoise(uint64_t seed = 12345) : state_(seed) {}
  double Next()
  {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(state_ >> 11) / 4503599627370496.0 - 1.0;
  }

private:
  uint64_t state_;
};

constexpr double kPi = 3.141592653589793;

inline double ToDb(double linear) { return 20.0 * std::log10(linear); }
