#include "tools/vst3host/AudioFile.h"

namespace vst3host {

bool readAudioFile(const std::string& path, AudioBuffer& out, std::string& error)
{
  return readWavFile(path, out, error);
}

bool writeAudioFile(const std::string& path, const AudioBuffer& in, WavFormat format, std::string& error)
{
  return writeWavFile(path, in, format, error);
}

}  // namespace vst3host
