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

// Whether the session renders: a listing without an input or output file is all it does.
bool rendersAudio(const HostOptions& options);

// Streams the input through the plug-in (process, with its latency), then prints the input's
// and output's levels, the output's digest, how many samples the output file could not hold
// and the file written. The progress bar goes to terminal when the options ask for it. False
// with a reason when the render or the file fails.
bool renderAndReport(const HostOptions& options, AudioReader& input, std::uint64_t latency, const ChunkProcess& process,
                     std::ostream& out, std::ostream& terminal, std::string& error);

// A state file whose parts are all empty holds nothing to load: says so and answers true.
bool reportEmptyState(const HostOptions& options, const SavedState& state, std::ostream& out);

// For formats whose state is one chunk. When the options name a state file to load, its
// chunk goes to restore (false: the plug-in refused it; a file of another format is refused
// first); when they name one to save, the chunk save gives is written there, tagged with the
// format (an empty one: the plug-in could not save).
using ChunkIn = std::function<bool(const std::vector<std::uint8_t>& chunk)>;
using ChunkOut = std::function<std::vector<std::uint8_t>()>;
bool restoreChunkState(const HostOptions& options, StateFormat format, const ChunkIn& restore, std::ostream& out,
                       std::string& error);
bool saveChunkState(const HostOptions& options, StateFormat format, const ChunkOut& save, std::ostream& out,
                    std::string& error);

class EditorSession;

// A plug-in whose state is one chunk, as the steps of a session reach it.
struct ChunkPlugIn
{
  StateFormat format = StateFormat::Vst3;
  ChunkIn restore;
  ChunkOut save;
  // Sets a parameter from the command line; false with a reason.
  std::function<bool(const ParameterSetting& setting, std::string& error)> apply;
  std::function<void(std::ostream& out)> list;
  ChunkProcess process;
  std::uint64_t latency = 0;
  EditorSession* editor = nullptr;
};

// Everything between opening such a plug-in and closing it: restores the state, applies the
// settings, lists the parameters, renders, shows the editor and saves the state, as the
// options ask.
bool runChunkSession(const HostOptions& options, AudioReader& input, const ChunkPlugIn& plug, std::ostream& out,
                     std::ostream& terminal, std::string& error);

// Exit codes: the session failed; the plug-in broke the host contract (checked after a
// session that otherwise went well).
constexpr int kExitFailure = 1;
constexpr int kExitBreach = 2;

// Prints the session's error and each breach of the host contract; answers the exit code.
int reportOutcome(bool ok, const std::string& error, const std::vector<std::string>& problems, std::ostream& err);

}  // namespace plughost
