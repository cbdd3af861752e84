#pragma once
// A small RIFF/WAVE reader and writer: 16-, 24- and 32-bit integer PCM and 32-bit float,
// plain or in the extensible format. Used where libsndfile is not available (the Windows
// build) and as a cross-check of it natively.

#include "tools/plughost/AudioBuffer.h"
#include "tools/plughost/AudioStream.h"

#include <cstdint>
#include <fstream>
#include <memory>
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

// An integer sample of an integer format at its own depth (16, 24 or 32 bits): rounded,
// clamped to the format's range, NaN as 0.
std::int32_t quantiseSample(double x, WavFormat format);
// A 32-bit float sample: never infinite (values beyond the float range become the largest
// finite float of their sign, counted in clipped), NaN as 0.
float floatSample(double x, std::uint64_t& clipped);

// A WAVE file read a chunk at a time. A damaged header is refused with a reason; a data
// chunk that runs past the end of the file is cut to whole frames.
class WavReader : public AudioReader
{
public:
  static std::unique_ptr<WavReader> open(const std::string& path, std::string& error);
  double sampleRate() const override { return mSampleRate; }
  int numChannels() const override { return mChannels; }
  std::uint64_t numFrames() const override { return mFrames; }
  bool read(std::size_t maxFrames, AudioBuffer& chunk, std::string& error) override;

private:
  WavReader() = default;
  std::ifstream mFile;
  double mSampleRate = 0.0;
  int mChannels = 0;
  std::uint16_t mTag = 0;
  std::uint16_t mBits = 0;
  std::uint64_t mFrames = 0;
  std::uint64_t mDone = 0;
  std::vector<std::uint8_t> mBytes;
};

// A WAVE file written a chunk at a time; the header's lengths are filled in by finish.
class WavWriter : public AudioWriter
{
public:
  static std::unique_ptr<WavWriter> create(const std::string& path, int channels, double sampleRate, WavFormat format,
                                           std::string& error);
  bool write(const AudioBuffer& chunk, std::string& error) override;
  bool finish(std::string& error) override;
  std::uint64_t clippedSamples() const override { return mClipped; }

private:
  WavWriter() = default;
  std::string mPath;
  std::ofstream mFile;
  int mChannels = 0;
  std::uint32_t mRate = 0;
  WavFormat mFormat = WavFormat::Float32;
  std::uint64_t mDataBytes = 0;
  std::uint64_t mClipped = 0;
  std::vector<std::uint8_t> mBytes;
};

bool readWavFile(const std::string& path, AudioBuffer& out, std::string& error);
bool writeWavFile(const std::string& path, const AudioBuffer& in, WavFormat format, std::string& error);

}  // namespace plughost
