#include "tools/plughost/AudioFile.h"

namespace plughost {

bool readAudioFile(const std::string& path, AudioBuffer& out, std::string& error)
{
  return readAll(openAudioFile(path, error).get(), out, error);
}

bool writeAudioFile(const std::string& path, const AudioBuffer& in, WavFormat format, std::string& error)
{
  return writeAll(createAudioFile(path, in.numChannels(), in.sampleRate, format, error).get(), in, error);
}

}  // namespace plughost
