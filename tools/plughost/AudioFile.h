#pragma once
// Reading and writing the audio files of a render. Natively this goes through libsndfile
// (any format it reads; WAVE output); in the Windows build through our own WAVE code.

#include "tools/plughost/AudioBuffer.h"
#include "tools/plughost/WavFile.h"

#include <string>

namespace plughost {

bool readAudioFile(const std::string& path, AudioBuffer& out, std::string& error);
bool writeAudioFile(const std::string& path, const AudioBuffer& in, WavFormat format, std::string& error);

}  // namespace plughost
