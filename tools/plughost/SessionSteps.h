#pragma once
// The steps of a render that every plug-in format shares: where the audio comes from, and
// what is shown and written once it has gone through the plug-in.

#include "tools/plughost/AudioBuffer.h"
#include "tools/plughost/CommandLine.h"

#include <ostream>
#include <string>

namespace plughost {

// The file the options name, or the generated test signal.
bool loadInput(const HostOptions& options, AudioBuffer& audio, std::string& error);

// Prints the input's and output's levels and the output's digest, and writes the output
// file when the options ask for one; false with a reason when it cannot be written.
bool reportRender(const HostOptions& options, const AudioBuffer& input, const AudioBuffer& output, std::ostream& out,
                  std::string& error);

}  // namespace plughost
