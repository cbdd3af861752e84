#pragma once
// Builds the record handed to process, including the calls well-behaved hosts make only
// sometimes: no buses at all, buses without channels, no changes, no events, no transport.

#include "sdk/vst3/IAudioProcessor.h"
#include "hosts/vst3/AudioBuffers.h"

namespace vst3host {

class ProcessDataBuilder
{
public:
  // A block of frames at the given sample size, with nothing attached yet.
  ProcessDataBuilder(vst3::int32 symbolicSampleSize, vst3::int32 frames);

  ProcessDataBuilder& mode(vst3::int32 processMode);
  // Every bus of the buffers, as hosts pass them.
  ProcessDataBuilder& inputs(AudioBuffers& buffers);
  ProcessDataBuilder& outputs(AudioBuffers& buffers);
  // The first bus of the buffers with its channel count set to 0, and bus counts of 0: the
  // parameter flush some hosts send with their arrays still attached.
  ProcessDataBuilder& emptyBuses(AudioBuffers& inputs, AudioBuffers& outputs);
  ProcessDataBuilder& changes(vst3::IParameterChanges* in, vst3::IParameterChanges* out = nullptr);
  ProcessDataBuilder& events(vst3::IEventList* in, vst3::IEventList* out = nullptr);
  ProcessDataBuilder& context(vst3::ProcessContext* transport);

  vst3::ProcessData& data() { return mData; }

private:
  vst3::ProcessData mData;
  vst3::AudioBusBuffers mEmptyIn{};
  vst3::AudioBusBuffers mEmptyOut{};
};

}  // namespace vst3host
