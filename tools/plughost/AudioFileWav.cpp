#include "tools/plughost/AudioFile.h"

namespace plughost {

std::unique_ptr<AudioReader> openAudioFile(const std::string& path, std::string& error)
{
  return WavReader::open(path, error);
}

std::unique_ptr<AudioWriter> createAudioFile(const std::string& path, int channels, double sampleRate, WavFormat format,
                                             std::string& error)
{
  return WavWriter::create(path, channels, sampleRate, format, error);
}

}  // namespace plughost
