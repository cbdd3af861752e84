#pragma once

#include "effect/TarvexQuoxel.h"

#include <cmath>
#include <memory>
#include <vector>

constexpr double kPi = 3.14159265358979323846;

// A plug-in object set up as a host would leave it: rate, block size, all channels
// connected. Audio goes through the framework's block processing.
struct EffectUnderTest
{
  explicit EffectUnderTest(double sampleRate = 44100.0, int blockSize = 512) : plug(NewTarvexQuoxel(nullptr))
  {
    plug->ChangeSampleRate(sampleRate);
    plug->ChangeBlockSize(blockSize);
    plug->RestartProcessing();
    plug->ConnectHostInputs(2);
    plug->ConnectHostOutputs(2);
  }

  // Processes stereo (or, with an empty right channel, mono) 64-bit buffers in place.
  void Process(std::vector<double>& left, std::vector<double>& right)
  {
    const bool mono = right.empty();
    plug->ConnectHostInputs(mono ? 1 : 2);
    plug->ConnectHostOutputs(mono ? 1 : 2);
    double* io[] = {left.data(), mono ? nullptr : right.data()};
    plug->ProcessHostBlock(io, io, static_cast<int>(left.size()), IPlugBase::kBlockProcess);
  }

  void SetParam(int idx, double plain) { plug->SetParameterFromHost(idx, plug->ParamAt(idx)->NormalOf(plain)); }

  double Param(int idx) const { return plug->ParamAt(idx)->Value(); }

  std::unique_ptr<TarvexQuoxel> plug;
};

inline double Peak(const std::vector<double>& x, size_t from = 0)
{
  double p = 0.0;
  for (size_t i = from; i < x.size(); ++i)
    p = std::fmax(p, std::fabs(x[i]));
  return p;
}

inline double Rms(const std::vector<double>& x, size_t from = 0)
{
  double sum = 0.0;
  for (size_t i = from; i < x.size(); ++i)
    sum += x[i] * x[i];
  return std::sqrt(sum / static_cast<double>(x.size() - from));
}

// A drum-like signal: a decaying 180 Hz tone struck every beat at 120 bpm, with a little
// noise so the detector sees something between the hits.
inline std::vector<double> DrumLoop(int frames, double sampleRate, unsigned seed = 1)
{
  std::vector<double> x(frames);
  const int beat = static_cast<int>(sampleRate * 0.5);
  for (int i = 0; i < frames; ++i)
  {
    const double t = static_cast<double>(i % beat) / sampleRate;
    seed = seed * 1664525u + 1013904223u;
    const double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.002;
    x[i] = 0.8 * std::exp(-t * 30.0) * std::sin(2.0 * kPi * 180.0 * t) + noise;
  }
  return x;
}
