#pragma once
// The steps of a render that every plug-in format shares: where the audio comes from, how it
// streams through the plug-in, and what is shown and written on the way.

#include "tools/plughost/AudioStream.h"
#include "tools/plughost/CommandLine.h"
#include "tools/plughost/Render.h"
#include "tools/plughost/StateFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace plughost {

// The file the options name, or the generated test signal; null with a reason.
std::unique_ptr<AudioReader> openInput(const HostOptions& options, std::string& error);

// Streams the input through the plug-in (process, with its latency), then prints the input's
// and output's levels, the output's digest, how many samples the output file could not hold
// and the file written. The progress bar goes to terminal when the options ask for it. False
// with a reason when the render or the file fails.
bool renderAndReport(const HostOptions& options, AudioReader& input, std::uint64_t latency, const ChunkProcess& process,
                     std::ostream& out, std::ostream& terminal, std::string& error);

// A state file whose parts are all empty holds nothing to load: says so and answers true.
bool reportEmptyState(const HostOptions& options, const SavedState& state, std::ostream& out);

// For formats whose state is one chunk. When the options name a state file to load, its
// chunk goes to restore (false: the plug-in refused it); when they name one to save, the
// chunk save gives is written there (an empty one: the plug-in could not save).
using ChunkIn = std::function<bool(const std::vector<std::uint8_t>& chunk)>;
using ChunkOut = std::function<std::vector<std::uint8_t>()>;
bool restoreChunkState(const HostOptions& options, const ChunkIn& restore, std::ostream& out, std::string& error);
bool saveChunkState(const HostOptions& options, const ChunkOut& save, std::ostream& out, std::string& error);

// Exit codes: the session failed; the plug-in broke the host contract (checked after a
// session that otherwise went well).
constexpr int kExitFailure = 1;
constexpr int kExitBreach = 2;

// Prints the session's error and each breach of the host contract; answers the exit code.
int reportOutcome(bool ok, const std::string& error, const std::vector<std::string>& problems, std::ostream& err);

}  // namespace plughost
