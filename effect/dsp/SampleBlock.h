#pragma once

#include <complex>
#include <cstddef>
#include <limits>

// Routines on blocks of double samples: moving between one array per channel and
// interleaved frames (each frame the channel values in order, optionally followed by a
// number of skipped values), mixing and scaling. None allocates.
//
// Each routine returns the pointer just past the last value it wrote (for the split,
// just past the last interleaved value it read); the final skip is not included. With
// zero frames the destination pointer comes back unchanged.

namespace Dsp {

// Marks a pole or zero at infinity in an analog layout.
inline const std::complex<double> kRootAtInfinity{std::numeric_limits<double>::infinity(), 0.0};

inline bool IsRootAtInfinity(const std::complex<double>& root)
{
  return root.real() == kRootAtInfinity.real() && root.imag() == 0.0;
}

double* CopyWithStride(size_t count, size_t frames, double* dst, const double* src, size_t dstSkip, size_t srcSkip);
double* AccumulateWithStride(size_t count, size_t frames, double* dst, const double* src, size_t dstSkip,
                             size_t srcSkip);
double* ScaleWithStride(size_t count, size_t frames, double* buf, double factor, size_t skip);

const double* SplitInterleaved(size_t channels, size_t frames, double* const* dst, const double* src);
double* JoinInterleaved(size_t channels, size_t frames, double* dst, const double* const* src);

}  // namespace Dsp
