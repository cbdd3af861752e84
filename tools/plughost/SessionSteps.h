#pragma once
// The steps of a render that every plug-in format shares: where the audio comes from, and
// what is shown and written once it has gone through the plug-in.

#include "tools/plughost/AudioBuffer.h"
#include "tools/plughost/CommandLine.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace plughost {

// The file the options name, or the generated test signal.
bool loadInput(const HostOptions& options, AudioBuffer& audio, std::string& error);

// Prints the input's and output's levels and the output's digest, and writes the output
// file when the options ask for one; false with a reason when it cannot be written.
bool reportRender(const HostOptions& options, const AudioBuffer& input, const AudioBuffer& output, std::ostream& out,
                  std::string& error);

// For formats whose state is one chunk. When the options name a state file to load, its
// chunk goes to restore (false: the plug-in refused it); when they name one to save, the
// chunk save gives is written there (an empty one: the plug-in could not save).
using ChunkIn = std::function<bool(const std::vector<std::uint8_t>& chunk)>;
using ChunkOut = std::function<std::vector<std::uint8_t>()>;
bool restoreChunkState(const HostOptions& options, const ChunkIn& restore, std::ostream& out, std::string& error);
bool saveChunkState(const HostOptions& options, const ChunkOut& save, std::ostream& out, std::string& error);

}  // namespace plughost
