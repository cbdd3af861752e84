#include "tools/plughost/AudioFile.h"

namespace plughost {

bool readAudioFile(const std::string& path, AudioBuffer& out, std::string& error)
{
  return readWavFile(path, out, error);
}

bool writeAudioFile(const std::string& path, const AudioBuffer& in, WavFormat format, std::string& error)
{
  return writeWavFile(path, in, format, error);
}

}  // namespace plughost
