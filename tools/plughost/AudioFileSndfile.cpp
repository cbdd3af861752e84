#include "tools/plughost/AudioFile.h"

#include <sndfile.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace plughost {
namespace {

struct CloseFile
{
  void operator()(SNDFILE* f) const { sf_close(f); }
};
using FileHandle = std::unique_ptr<SNDFILE, CloseFile>;

int subtypeOf(WavFormat format)
{
  switch (format)
  {
  case WavFormat::Pcm16:
    return SF_FORMAT_PCM_16;
  case WavFormat::Pcm24:
    return SF_FORMAT_PCM_24;
  case WavFormat::Pcm32:
    return SF_FORMAT_PCM_32;
  default:
    return SF_FORMAT_FLOAT;
  }
}

class SndfileReader : public AudioReader
{
public:
  SndfileReader(FileHandle file, const SF_INFO& info) : mFile(std::move(file)), mInfo(info)
  {
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    mIsFloat = subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
  }
  double sampleRate() const override { return mInfo.samplerate; }
  int numChannels() const override { return mInfo.channels; }
  std::uint64_t numFrames() const override { return static_cast<std::uint64_t>(mInfo.frames); }

  // Integer files are read as full-scale 32-bit integers and scaled here, so every depth
  // reads exactly as our own reader does; float files are read as they are.
  bool read(std::size_t maxFrames, AudioBuffer& chunk, std::string& error) override
  {
    const auto channels = static_cast<std::size_t>(mInfo.channels);
    mInterleaved.resize(maxFrames * channels);
    sf_count_t got = 0;
    if (mIsFloat)
    {
      got = sf_readf_double(mFile.get(), mInterleaved.data(), static_cast<sf_count_t>(maxFrames));
    }
    else
    {
      mInts.resize(maxFrames * channels);
      got = sf_readf_int(mFile.get(), mInts.data(), static_cast<sf_count_t>(maxFrames));
      for (std::size_t i = 0; i < static_cast<std::size_t>(std::max<sf_count_t>(got, 0)) * channels; ++i)
        mInterleaved[i] = mInts[i] / 2147483648.0;
    }
    // The library sizes the audio by the file, so fewer frames before the end is a read error.
    const auto frames = static_cast<std::size_t>(std::max<sf_count_t>(got, 0));
    mFramesRead += frames;
    if (frames < maxFrames && mFramesRead < numFrames())
    {
      error = "the audio file could not be read past frame " + std::to_string(mFramesRead);
      return false;
    }
    chunk.sampleRate = mInfo.samplerate;
    chunk.resize(mInfo.channels, frames);
    for (std::size_t f = 0; f < frames; ++f)
      for (std::size_t c = 0; c < channels; ++c)
      {
        const double x = mInterleaved[f * channels + c];
        chunk.channels[c][f] = std::isfinite(x) ? x : 0.0;
      }
    return true;
  }

private:
  FileHandle mFile;
  SF_INFO mInfo;
  bool mIsFloat = false;
  std::uint64_t mFramesRead = 0;
  std::vector<double> mInterleaved;
  std::vector<int> mInts;
};

class SndfileWriter : public AudioWriter
{
public:
  SndfileWriter(FileHandle file, const std::string& path, int channels, WavFormat format)
    : mFile(std::move(file)), mPath(path), mChannels(channels), mFormat(format)
  {}

  bool write(const AudioBuffer& chunk, std::string& error) override
  {
    if (chunk.numChannels() != mChannels)
    {
      error =
        "a chunk of " + std::to_string(chunk.numChannels()) + " channel(s) for a file of " + std::to_string(mChannels);
      return false;
    }
    const std::size_t frames = chunk.numFrames();
    const auto channels = static_cast<std::size_t>(mChannels);
    sf_count_t written = 0;
    if (mFormat == WavFormat::Float32)
    {
      mFloats.resize(frames * channels);
      for (std::size_t f = 0; f < frames; ++f)
        for (std::size_t c = 0; c < channels; ++c)
          mFloats[f * channels + c] = floatSample(chunk.channels[c][f], mClipped);
      written = sf_writef_float(mFile.get(), mFloats.data(), static_cast<sf_count_t>(frames));
    }
    else
    {
      // Quantised here exactly as our own writer does, then handed over at full 32-bit scale.
      const int shift = mFormat == WavFormat::Pcm16 ? 16 : mFormat == WavFormat::Pcm24 ? 8 : 0;
      mInts.resize(frames * channels);
      for (std::size_t f = 0; f < frames; ++f)
        for (std::size_t c = 0; c < channels; ++c)
          mInts[f * channels + c] =
            static_cast<int>(static_cast<std::uint32_t>(quantiseSample(chunk.channels[c][f], mFormat)) << shift);
      written = sf_writef_int(mFile.get(), mInts.data(), static_cast<sf_count_t>(frames));
    }
    if (written != static_cast<sf_count_t>(frames))
    {
      error = mPath + ": " + sf_strerror(mFile.get());
      return false;
    }
    return true;
  }

  bool finish(std::string& error) override
  {
    if (sf_close(mFile.release()) != 0)
    {
      error = "cannot write " + mPath;
      return false;
    }
    return true;
  }

  std::uint64_t clippedSamples() const override { return mClipped; }

private:
  FileHandle mFile;
  std::string mPath;
  int mChannels;
  WavFormat mFormat;
  std::uint64_t mClipped = 0;
  std::vector<float> mFloats;
  std::vector<int> mInts;
};

}  // namespace

std::unique_ptr<AudioReader> openAudioFile(const std::string& path, std::string& error)
{
  SF_INFO info{};
  FileHandle file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file)
  {
    error = path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  if (info.channels < 1 || info.channels > kMaxWavChannels || info.samplerate <= 0 || info.frames < 0)
  {
    error = path + ": unsupported channel count or sample rate";
    return nullptr;
  }
  return std::make_unique<SndfileReader>(std::move(file), info);
}

std::unique_ptr<AudioWriter> createAudioFile(const std::string& path, int channels, double sampleRate, WavFormat format,
                                             std::string& error)
{
  if (channels < 1 || channels > kMaxWavChannels || !(sampleRate >= 1.0 && sampleRate <= 2147483647.0))
  {
    error = "unsupported channel count or sample rate";
    return nullptr;
  }
  SF_INFO info{};
  info.channels = channels;
  info.samplerate = static_cast<int>(std::lround(sampleRate));
  info.format = SF_FORMAT_WAV | subtypeOf(format);
  FileHandle file(sf_open(path.c_str(), SFM_WRITE, &info));
  if (!file)
  {
    error = path + ": " + sf_strerror(nullptr);
    return nullptr;
  }
  return std::make_unique<SndfileWriter>(std::move(file), path, channels, format);
}

}  // namespace plughost
