#include "tools/plughost/SessionSteps.h"

#include "tools/plughost/AudioFile.h"
#include "tools/plughost/EditorMode.h"
#include "tools/plughost/SignalStats.h"
#include "tools/plughost/TestSignal.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace plughost {
namespace {

// Whole blocks per chunk, so blocks fall where a render of the whole file in one piece puts
// them; a few thousand frames, so a chunk costs little memory.
std::size_t chunkFramesFor(int blockSize)
{
  const auto block = static_cast<std::size_t>(std::max(blockSize, 1));
  return block * std::max<std::size_t>(1, 8192 / block);
}

bool sameFile(const std::string& a, const std::string& b)
{
  std::error_code failed;
  return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, failed) && !failed;
}

}  // namespace

std::unique_ptr<AudioReader> openInput(const HostOptions& options, std::string& error)
{
  if (!options.inputPath.empty())
    return openAudioFile(options.inputPath, error);
  TestSignalShape shape;
  shape.sampleRate = options.sampleRate;
  shape.seconds = options.seconds;
  shape.channels = options.channels;
  std::unique_ptr<AudioReader> signal = TestSignalReader::open(shape);
  if (!signal)
    error = "cannot generate the test signal";
  return signal;
}

bool rendersAudio(const HostOptions& options)
{
  return !options.listParameters || !options.inputPath.empty() || !options.outputPath.empty() || wantsEditor(options);
}

bool renderAndReport(const HostOptions& options, AudioReader& input, std::uint64_t latency, const ChunkProcess& process,
                     std::ostream& out, std::ostream& terminal, std::string& error)
{
  // The input is still being read while the output is written.
  if (sameFile(options.inputPath, options.outputPath))
  {
    error = "the output file is the input file";
    return false;
  }
  RenderSink sink(options.outputPath, options.outputFormat, input.sampleRate());
  SignalMeter inputMeter;
  ProgressBar progress(terminal, options.showProgress);
  if (!streamRender(input, chunkFramesFor(options.blockSize), latency, process, sink, inputMeter, progress, error))
    return false;
  out << "input:  " << formatStats(inputMeter.stats()) << "\n";
  out << "output: " << formatStats(sink.stats()) << "\n";
  char digest[64];
  std::snprintf(digest, sizeof digest, "output digest: %016llx\n", static_cast<unsigned long long>(sink.digest()));
  out << digest;
  if (options.outputPath.empty())
    return true;
  if (sink.clippedSamples() > 0)
    out << sink.clippedSamples() << " sample(s) beyond the range of 32-bit float clipped in the output file\n";
  out << "wrote " << options.outputPath << "\n";
  return true;
}

bool reportEmptyState(const HostOptions& options, const SavedState& state, std::ostream& out)
{
  if (!state.component.empty() || !state.controller.empty())
    return false;
  out << "the state file " << options.loadStatePath << " holds no state: nothing was loaded\n";
  return true;
}

bool restoreChunkState(const HostOptions& options, StateFormat format, const ChunkIn& restore, std::ostream& out,
                       std::string& error)
{
  if (options.loadStatePath.empty())
    return true;
  SavedState state;
  if (!readStateFile(options.loadStatePath, format, state, error))
    return false;
  if (reportEmptyState(options, state, out))
    return true;
  if (!restore(state.component))
  {
    error = "the plug-in refused the saved state";
    return false;
  }
  out << "state restored from " << options.loadStatePath << "\n";
  return true;
}

bool saveChunkState(const HostOptions& options, StateFormat format, const ChunkOut& save, std::ostream& out,
                    std::string& error)
{
  if (options.saveStatePath.empty())
    return true;
  SavedState state;
  state.format = format;
  state.component = save();
  if (state.component.empty())
  {
    error = "the plug-in could not save its state";
    return false;
  }
  if (!writeStateFile(options.saveStatePath, state, error))
    return false;
  out << "state saved to " << options.saveStatePath << " (" << state.component.size() << " bytes)\n";
  return true;
}

bool runChunkSession(const HostOptions& options, AudioReader& input, const ChunkPlugIn& plug, std::ostream& out,
                     std::ostream& terminal, std::string& error)
{
  if (!restoreChunkState(options, plug.format, plug.restore, out, error))
    return false;
  for (const auto& setting : options.settings)
    if (!plug.apply(setting, error))
      return false;
  if (options.listParameters)
    plug.list(out);
  if (rendersAudio(options) && !renderAndReport(options, input, plug.latency, plug.process, out, terminal, error))
    return false;
  if (wantsEditor(options) && !runEditor(options, *plug.editor, out, error))
    return false;
  return saveChunkState(options, plug.format, plug.save, out, error);
}

int reportOutcome(bool ok, const std::string& error, const std::vector<std::string>& problems, std::ostream& err)
{
  if (!ok)
    err << "plughost: " << error << "\n";
  for (const auto& p : problems)
    err << "plughost: host contract broken: " << p << "\n";
  if (!ok)
    return kExitFailure;
  return problems.empty() ? 0 : kExitBreach;
}

}  // namespace plughost
