#include "tools/plughost/SessionSteps.h"

#include "tools/plughost/AudioFile.h"
#include "tools/plughost/SignalStats.h"
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

}  // namespace plughost
