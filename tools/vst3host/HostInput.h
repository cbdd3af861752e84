#pragma once
// The audio a render starts from: the file the options name, or the generated test signal.

#include "tools/vst3host/AudioBuffer.h"
#include "tools/vst3host/CommandLine.h"

#include <string>

namespace vst3host {

bool loadInput(const HostOptions& options, AudioBuffer& audio, std::string& error);

}  // namespace vst3host
