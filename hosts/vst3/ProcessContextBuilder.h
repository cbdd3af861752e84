#pragma once
// Builds the transport record a host hands to every process call and moves it on block by
// block, as a playing host does.

#include "sdk/vst3/IAudioProcessor.h"

namespace vst3host {

class ProcessContextBuilder
{
public:
  // Playing at 120 BPM in 4/4 from the start of the project.
  explicit ProcessContextBuilder(double sampleRate);

  ProcessContextBuilder& tempo(double bpm);
  ProcessContextBuilder& timeSignature(vst3::int32 numerator, vst3::int32 denominator);
  ProcessContextBuilder& playing(bool on);
  ProcessContextBuilder& cycle(double startQuarters, double endQuarters, bool active);
  ProcessContextBuilder& position(vst3::int64 samples);

  vst3::ProcessContext* context() { return &mContext; }
  // Moves the song position by frames when playing; the continuous time always moves.
  void advance(vst3::int32 frames);

private:
  void updateMusicalPosition();

  vst3::ProcessContext mContext{};
};

}  // namespace vst3host
