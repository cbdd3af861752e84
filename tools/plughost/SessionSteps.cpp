#include "tools/plughost/SessionSteps.h"

#include "tools/plughost/AudioFile.h"
#include "tools/plughost/SignalStats.h"
#include "tools/plughost/StateFile.h"
#include "tools/plughost/TestSignal.h"

#include <cstdio>

namespace plughost {

bool loadInput(const HostOptions& options, AudioBuffer& audio, std::string& error)
{
  if (!options.inputPath.empty())
    return readAudioFile(options.inputPath, audio, error);
  TestSignalShape shape;
  shape.sampleRate = options.sampleRate;
  shape.seconds = options.seconds;
  shape.channels = options.channels;
  if (!makeTestSignal(shape, audio))
  {
    error = "cannot generate the test signal";
    return false;
  }
  return true;
}

bool reportRender(const HostOptions& options, const AudioBuffer& input, const AudioBuffer& output, std::ostream& out,
                  std::string& error)
{
  out << "input:  " << formatStats(SignalStats::measure(input)) << "\n";
  out << "output: " << formatStats(SignalStats::measure(output)) << "\n";
  char digest[64];
  std::snprintf(digest, sizeof digest, "output digest: %016llx\n",
                static_cast<unsigned long long>(sampleDigest(output)));
  out << digest;
  if (options.outputPath.empty())
    return true;
  if (!writeAudioFile(options.outputPath, output, options.outputFormat, error))
    return false;
  out << "wrote " << options.outputPath << "\n";
  return true;
}

bool restoreChunkState(const HostOptions& options, const ChunkIn& restore, std::ostream& out, std::string& error)
{
  if (options.loadStatePath.empty())
    return true;
  SavedState state;
  if (!readStateFile(options.loadStatePath, state, error))
    return false;
  if (!restore(state.component))
  {
    error = "the plug-in refused the saved state";
    return false;
  }
  out << "state restored from " << options.loadStatePath << "\n";
  return true;
}

bool saveChunkState(const HostOptions& options, const ChunkOut& save, std::ostream& out, std::string& error)
{
  if (options.saveStatePath.empty())
    return true;
  SavedState state;
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

}  // namespace plughost
