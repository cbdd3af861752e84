#include "tools/vst3host/SessionSteps.h"

#include "tools/vst3host/AudioFile.h"
#include "tools/vst3host/SignalStats.h"
#include "tools/vst3host/TestSignal.h"

#include <cstdio>

namespace vst3host {

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

}  // namespace vst3host
