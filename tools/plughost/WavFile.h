#pragma once
// A small RIFF/WAVE reader and writer: 16-, 24- and 32-bit integer PCM and 32-bit float,
// plain or in the extensible format. Used where libsndfile is not available (the Windows
// build) and as a cross-check of it natively.

#include "tools/plughost/AudioBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plughost {

enum class WavFormat
{
  Pcm16,
  Pcm24,
  Pcm32,
  Float32
};

// The largest channel count accepted; larger counts in a header are treated as damage.
constexpr int kMaxWavChannels = 64;

// Decodes a whole file image. On failure returns false with a reason in error and leaves
// out unchanged. A data chunk that runs past the end of the image is cut to whole frames.
bool decodeWav(const std::uint8_t* data, std::size_t size, AudioBuffer& out, std::string& error);

// Encodes a buffer. Integer formats clamp to [-1, 1] and round; NaN becomes 0 in every format.
bool encodeWav(const AudioBuffer& in, WavFormat format, std::vector<std::uint8_t>& out, std::string& error);

// An integer sample of an integer format at its own depth (16, 24 or 32 bits): rounded,
// clamped to the format's range, NaN as 0.
std::int32_t quantiseSample(double x, WavFormat format);

bool readWavFile(const std::string& path, AudioBuffer& out, std::string& error);
bool writeWavFile(const std::string& path, const AudioBuffer& in, WavFormat format, std::string& error);

}  // namespace plughost
