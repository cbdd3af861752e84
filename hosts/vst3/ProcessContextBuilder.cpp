#include "hosts/vst3/ProcessContextBuilder.h"

#include <cmath>

namespace vst3host {

using PC = vst3::ProcessContext;

ProcessContextBuilder::ProcessContextBuilder(double sampleRate)
{
  mContext.sampleRate = sampleRate;
  mContext.state = PC::kPlaying | PC::kTempoValid | PC::kTimeSigValid | PC::kProjectTimeMusicValid |
                   PC::kBarPositionValid | PC::kContTimeValid | PC::kSystemTimeValid;
  mContext.tempo = 120.0;
  mContext.timeSigNumerator = 4;
  mContext.timeSigDenominator = 4;
}

ProcessContextBuilder& ProcessContextBuilder::tempo(double bpm)
{
  mContext.tempo = bpm;
  updateMusicalPosition();
  return *this;
}

ProcessContextBuilder& ProcessContextBuilder::timeSignature(vst3::int32 numerator, vst3::int32 denominator)
{
  mContext.timeSigNumerator = numerator;
  mContext.timeSigDenominator = denominator;
  updateMusicalPosition();
  return *this;
}

ProcessContextBuilder& ProcessContextBuilder::playing(bool on)
{
  mContext.state = on ? (mContext.state | PC::kPlaying) : (mContext.state & ~static_cast<vst3::uint32>(PC::kPlaying));
  return *this;
}

ProcessContextBuilder& ProcessContextBuilder::cycle(double startQuarters, double endQuarters, bool active)
{
  mContext.cycleStartMusic = startQuarters;
  mContext.cycleEndMusic = endQuarters;
  mContext.state |= PC::kCycleValid;
  mContext.state =
    active ? (mContext.state | PC::kCycleActive) : (mContext.state & ~static_cast<vst3::uint32>(PC::kCycleActive));
  return *this;
}

ProcessContextBuilder& ProcessContextBuilder::position(vst3::int64 samples)
{
  mContext.projectTimeSamples = samples;
  updateMusicalPosition();
  return *this;
}

void ProcessContextBuilder::advance(vst3::int32 frames)
{
  if (frames <= 0)
    return;
  if (mContext.state & PC::kPlaying)
    mContext.projectTimeSamples += frames;
  mContext.continuousTimeSamples += frames;
  if (mContext.sampleRate > 0.0)
    mContext.systemTime += static_cast<vst3::int64>(frames * 1e9 / mContext.sampleRate);
  updateMusicalPosition();
}

void ProcessContextBuilder::updateMusicalPosition()
{
  if (!(mContext.sampleRate > 0.0) || !(mContext.tempo > 0.0) || mContext.timeSigDenominator <= 0)
    return;
  const double seconds = static_cast<double>(mContext.projectTimeSamples) / mContext.sampleRate;
  mContext.projectTimeMusic = seconds * mContext.tempo / 60.0;
  const double quartersPerBar = mContext.timeSigNumerator * 4.0 / mContext.timeSigDenominator;
  if (quartersPerBar > 0.0)
    mContext.barPositionMusic = std::floor(mContext.projectTimeMusic / quartersPerBar) * quartersPerBar;
}

}  // namespace vst3host
