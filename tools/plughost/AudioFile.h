#pragma once
// Reading and writing the audio files of a render, a chunk at a time. Natively this goes
// through libsndfile (any format it reads; WAVE output); in the Windows build through our
// own WAVE code.

#include "tools/plughost/AudioBuffer.h"
#include "tools/plughost/AudioStream.h"
#include "tools/plughost/WavFile.h"

#include <memory>
#include <string>

namespace plughost {

// Null with a reason when the file cannot be opened or read as audio.
std::unique_ptr<AudioReader> openAudioFile(const std::string& path, std::string& error);
// A WAVE file of the format; null with a reason when it cannot be made.
std::unique_ptr<AudioWriter> createAudioFile(const std::string& path, int channels, double sampleRate, WavFormat format,
                                             std::string& error);

// Whole files, for callers that hold all of the audio anyway.
bool readAudioFile(const std::string& path, AudioBuffer& out, std::string& error);
bool writeAudioFile(const std::string& path, const AudioBuffer& in, WavFormat format, std::string& error);

}  // namespace plughost
