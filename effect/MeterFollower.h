#pragma once

#include <cmath>

// Peak-hold ballistics of one meter: the level rises towards |x| with the attack
// coefficient and falls with the release coefficient, one step per host sample.
struct MeterFollower
{
  // Below this the level is taken as silence, so a silent input does not leave the
  // level creeping through subnormal numbers.
  static constexpr double kFlushLevel = 1e-30;

  double level = 0.0;
  double attackCoefficient = 0.0;
  double releaseCoefficient = 0.0;

  void SetTimes(double attackMs, double releaseMs, int sampleRate)
  {
    attackCoefficient = std::pow(0.01, 1.0 / (sampleRate * attackMs * 0.001));
    releaseCoefficient = std::pow(0.01, 1.0 / (sampleRate * releaseMs * 0.001));
  }

  void Run(const double* samples, int count)
  {
    double l = level;
    for (int i = 0; i < count; ++i)
    {
      const double x = std::fabs(samples[i]);
      const double c = l < x ? attackCoefficient : releaseCoefficient;
      l = (l - x) * c + x;
    }
    Settle(l);
  }

  // Takes the level reached at the end of a block. A NaN or infinite sample must not
  // stick: the meter starts again from silence.
  void Settle(double l) { level = (std::isfinite(l) && l >= kFlushLevel) ? l : 0.0; }

  // The level in dB (20 log10); minus infinity for silence.
  double Decibels() const { return std::log(std::fabs(level)) * 8.685889638065037; }
};
