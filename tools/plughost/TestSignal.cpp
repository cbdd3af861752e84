#include "tools/plughost/TestSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "effect/dsp/PortableMath.h"

namespace plughost {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMaxSeconds = 3600.0;

// Small deterministic noise source (a 32-bit linear congruential generator).
class Noise
{
public:
  double next()
  {
    mState = mState * 1664525u + 1013904223u;
    return static_cast<double>(mState >> 8) / 8388608.0 - 1.0;
  }

private:
  std::uint32_t mState = 0x2545F491u;
};

// The sine of a phase given in cycles. The tree's own sine gives the same bits in every build,
// so the x86 and x64 tools feed a module the same signal.
double sine(double cycles)
{
  return Dsp::Sin(2.0 * kPi * (cycles - std::floor(cycles)));
}

}  // namespace

bool makeTestSignal(const TestSignalShape& shape, AudioBuffer& out)
{
  const bool valid = std::isfinite(shape.sampleRate) && shape.sampleRate >= 1.0 && shape.sampleRate <= 10e6 &&
                     std::isfinite(shape.seconds) && shape.seconds > 0.0 && shape.seconds <= kMaxSeconds &&
                     std::isfinite(shape.hitsPerSecond) && shape.hitsPerSecond > 0.0 && shape.channels >= 1 &&
                     shape.channels <= 64 && std::isfinite(shape.hitLevel) && std::isfinite(shape.bedLevel);
  if (!valid)
    return false;

  const auto frames = static_cast<std::size_t>(shape.seconds * shape.sampleRate);
  const auto period = std::max<std::size_t>(1, static_cast<std::size_t>(shape.sampleRate / shape.hitsPerSecond));
  const double decay = std::exp(-1.0 / (0.060 * shape.sampleRate));  // 60 ms hit decay
  const double click = std::exp(-1.0 / (0.002 * shape.sampleRate));  // 2 ms click decay
  AudioBuffer signal;
  signal.sampleRate = shape.sampleRate;
  signal.resize(shape.channels, frames);
  Noise noise;
  double envelope = 0.0;
  double clickEnvelope = 0.0;
  for (std::size_t i = 0; i < frames; ++i)
  {
    if (i % period == 0)
    {
      envelope = 1.0;
      clickEnvelope = 1.0;
    }
    const double t = static_cast<double>(i) / shape.sampleRate;
    const double body = sine(110.0 * t) * 0.7 + noise.next() * 0.3;
    const double hit = shape.hitLevel * (envelope * body * 0.8 + clickEnvelope * 0.2);
    const double bed = shape.bedLevel * sine(220.0 * t);
    for (int c = 0; c < shape.channels; ++c)
      signal.channels[static_cast<std::size_t>(c)][i] = hit + bed;
    envelope *= decay;
    clickEnvelope *= click;
  }
  out = std::move(signal);
  return true;
}

}  // namespace plughost
