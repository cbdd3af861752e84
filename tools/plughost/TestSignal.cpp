#include "tools/plughost/TestSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "effect/dsp/PortableMath.h"

namespace plughost {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMaxSeconds = 3600.0;

// The sine of a phase given in cycles. The tree's own sine gives the same bits in every build,
// so the x86 and x64 tools feed a module the same signal.
double sine(double cycles)
{
  return Dsp::Sin(2.0 * kPi * (cycles - std::floor(cycles)));
}

}  // namespace

std::unique_ptr<TestSignalReader> TestSignalReader::open(const TestSignalShape& shape)
{
  const bool valid = std::isfinite(shape.sampleRate) && shape.sampleRate >= 1.0 && shape.sampleRate <= 10e6 &&
                     std::isfinite(shape.seconds) && shape.seconds > 0.0 && shape.seconds <= kMaxSeconds &&
                     std::isfinite(shape.hitsPerSecond) && shape.hitsPerSecond > 0.0 && shape.channels >= 1 &&
                     shape.channels <= 64 && std::isfinite(shape.hitLevel) && std::isfinite(shape.bedLevel);
  if (!valid)
    return nullptr;
  return std::unique_ptr<TestSignalReader>(new TestSignalReader(shape));
}

TestSignalReader::TestSignalReader(const TestSignalShape& shape)
  : mShape(shape),
    mFrames(static_cast<std::uint64_t>(shape.seconds * shape.sampleRate)),
    mPeriod(std::max<std::uint64_t>(1, static_cast<std::uint64_t>(shape.sampleRate / shape.hitsPerSecond))),
    mDecay(std::exp(-1.0 / (0.060 * shape.sampleRate))),  // 60 ms hit decay
    mClick(std::exp(-1.0 / (0.002 * shape.sampleRate)))   // 2 ms click decay
{}

// A 32-bit linear congruential generator.
double TestSignalReader::nextNoise()
{
  mNoise = mNoise * 1664525u + 1013904223u;
  return static_cast<double>(mNoise >> 8) / 8388608.0 - 1.0;
}

bool TestSignalReader::read(std::size_t maxFrames, AudioBuffer& chunk, std::string&)
{
  const auto frames = static_cast<std::size_t>(std::min<std::uint64_t>(maxFrames, mFrames - mDone));
  chunk.sampleRate = mShape.sampleRate;
  chunk.resize(mShape.channels, frames);
  for (std::size_t n = 0; n < frames; ++n, ++mDone)
  {
    if (mDone % mPeriod == 0)
    {
      mEnvelope = 1.0;
      mClickEnvelope = 1.0;
    }
    const double t = static_cast<double>(mDone) / mShape.sampleRate;
    const double body = sine(110.0 * t) * 0.7 + nextNoise() * 0.3;
    const double hit = mShape.hitLevel * (mEnvelope * body * 0.8 + mClickEnvelope * 0.2);
    const double bed = mShape.bedLevel * sine(220.0 * t);
    for (auto& channel : chunk.channels)
      channel[n] = hit + bed;
    mEnvelope *= mDecay;
    mClickEnvelope *= mClick;
  }
  return true;
}

bool makeTestSignal(const TestSignalShape& shape, AudioBuffer& out)
{
  std::string error;
  return readAll(TestSignalReader::open(shape).get(), out, error);
}

}  // namespace plughost
