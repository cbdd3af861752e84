#pragma once
// Runs audio through a plug-in that a host driver has started, block by block, as a host
// renders a track: input channel c of the plug-in's main input takes channel c of the audio
// (repeating the audio's channels when the plug-in has more), and the result has the
// channels of the plug-in's main output, aligned with the input (the plug-in's reported
// latency is compensated).

#include "hosts/vst3/HostDriver.h"
#include "tools/plughost/AudioBuffer.h"

#include <string>

namespace plughost {

// The driver must be started (HostDriver::start). False with a reason when a block fails.
bool render(vst3host::HostDriver& driver, const AudioBuffer& in, AudioBuffer& out, std::string& error);

// The speaker arrangement a host offers for an audio file's channel count (mono, stereo,
// otherwise empty so that the plug-in keeps its own).
vst3::SpeakerArrangement arrangementFor(int channels);

}  // namespace plughost
