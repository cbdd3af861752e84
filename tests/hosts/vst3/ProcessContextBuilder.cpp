#include "tests/hosts/vst3/ProcessContextBuilder.h"

#include <cmath>

namespace fakehost {

using PC = vst3::ProcessContext;

ProcessContextBuilder::ProcessContextBuilder(double sampleRate)
{
  context_.sampleRate = sampleRate;
  context_.state = PC::kPlaying | PC::kTempoValid | PC::kTimeSigValid | PC::kProjectTimeMusicValid |
                   PC::kBarPositionValid | PC::kContTimeValid | PC::kSystemTimeValid;
  context_.tempo = 120.0;
  context_.timeSigNumerator = 4;
  context_.timeSigDenominator = 4;
}

ProcessContextBuilder& ProcessContextBuilder::tempo(double bpm)
{
  context_.tempo = bpm;
  updateMusicalPosition();
  return *this;
}

ProcessContextBuilder& ProcessContextBuilder::timeSignature(vst3::int32 numerator, vst3::int32 denominator)
{
  context_.timeSigNumerator = numerator;
  context_.timeSigDenominator = denominator;
  updateMusicalPosition();
  return *this;
}

ProcessContextBuilder& ProcessContextBuilder::playing(bool on)
{
  context_.state = on ? (context_.state | PC::kPlaying) : (context_.state & ~static_cast<vst3::uint32>(PC::kPlaying));
  return *this;
}

ProcessContextBuilder& ProcessContextBuilder::cycle(double startQuarters, double endQuarters, bool active)
{
  context_.cycleStartMusic = startQuarters;
  context_.cycleEndMusic = endQuarters;
  context_.state |= PC::kCycleValid;
  context_.state = active ? (context_.state | PC::kCycleActive) : (context_.state & ~static_cast<vst3::uint32>(PC::kCycleActive));
  return *this;
}

ProcessContextBuilder& ProcessContextBuilder::position(vst3::int64 samples)
{
  context_.projectTimeSamples = samples;
  updateMusicalPosition();
  return *this;
}

void ProcessContextBuilder::advance(vst3::int32 frames)
{
  if (frames <= 0) return;
  if (context_.state & PC::kPlaying) context_.projectTimeSamples += frames;
  context_.continuousTimeSamples += frames;
  if (context_.sampleRate > 0.0)
    context_.systemTime += static_cast<vst3::int64>(frames * 1e9 / context_.sampleRate);
  updateMusicalPosition();
}

void ProcessContextBuilder::updateMusicalPosition()
{
  if (!(context_.sampleRate > 0.0) || !(context_.tempo > 0.0) || context_.timeSigDenominator <= 0) return;
  const double seconds = static_cast<double>(context_.projectTimeSamples) / context_.sampleRate;
  context_.projectTimeMusic = seconds * context_.tempo / 60.0;
  const double quartersPerBar = context_.timeSigNumerator * 4.0 / context_.timeSigDenominator;
  if (quartersPerBar > 0.0)
    context_.barPositionMusic = std::floor(context_.projectTimeMusic / quartersPerBar) * quartersPerBar;
}

}  // namespace fakehost
