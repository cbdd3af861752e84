#pragma once

#include <cfloat>

// A double narrowed to float without leaving the float range: beyond it the largest float of
// that sign, NaN 0. (A plain conversion of a double beyond the float range is undefined, and
// gives an infinity on x86, which the next plug-in in a chain turns into NaN.)
inline float SaturateToFloat(double value)
{
  constexpr double kLargest = FLT_MAX;
  const double clipped = value < -kLargest ? -kLargest : (value > kLargest ? kLargest : value);
  return clipped == clipped ? static_cast<float>(clipped) : 0.0f;
}
