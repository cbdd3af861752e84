#include "tools/plughost/AudioFile.h"

#include <sndfile.h>

#include <cmath>
#include <memory>
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

}  // namespace

bool readAudioFile(const std::string& path, AudioBuffer& out, std::string& error)
{
  SF_INFO info{};
  FileHandle file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file)
  {
    error = path + ": " + sf_strerror(nullptr);
    return false;
  }
  if (info.channels < 1 || info.channels > kMaxWavChannels || info.samplerate <= 0 || info.frames < 0)
  {
    error = path + ": unsupported channel count or sample rate";
    return false;
  }
  // Integer files are read as full-scale 32-bit integers and scaled here, so every depth
  // reads exactly as our own reader does; float files are read as they are.
  const int subtype = info.format & SF_FORMAT_SUBMASK;
  const bool isFloat = subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
  const std::size_t count = static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels);
  std::vector<double> interleaved(count);
  sf_count_t got = 0;
  if (isFloat)
  {
    got = sf_readf_double(file.get(), interleaved.data(), info.frames);
  }
  else
  {
    std::vector<int> ints(count);
    got = sf_readf_int(file.get(), ints.data(), info.frames);
    for (std::size_t i = 0; i < count; ++i)
      interleaved[i] = ints[i] / 2147483648.0;
  }
  if (got < 0)
    got = 0;
  AudioBuffer decoded;
  decoded.sampleRate = info.samplerate;
  decoded.resize(info.channels, static_cast<std::size_t>(got));
  for (std::size_t f = 0; f < static_cast<std::size_t>(got); ++f)
  {
    for (int c = 0; c < info.channels; ++c)
    {
      const double x = interleaved[f * static_cast<std::size_t>(info.channels) + static_cast<std::size_t>(c)];
      decoded.channels[static_cast<std::size_t>(c)][f] = std::isfinite(x) ? x : 0.0;
    }
  }
  out = std::move(decoded);
  return true;
}

bool writeAudioFile(const std::string& path, const AudioBuffer& in, WavFormat format, std::string& error)
{
  if (in.numChannels() < 1 || in.numChannels() > kMaxWavChannels || !(in.sampleRate >= 1.0))
  {
    error = "unsupported channel count or sample rate";
    return false;
  }
  SF_INFO info{};
  info.channels = in.numChannels();
  info.samplerate = static_cast<int>(std::lround(in.sampleRate));
  info.format = SF_FORMAT_WAV | subtypeOf(format);
  FileHandle file(sf_open(path.c_str(), SFM_WRITE, &info));
  if (!file)
  {
    error = path + ": " + sf_strerror(nullptr);
    return false;
  }
  const std::size_t frames = in.numFrames();
  const std::size_t count = frames * static_cast<std::size_t>(info.channels);
  sf_count_t written = 0;
  if (format == WavFormat::Float32)
  {
    std::vector<float> interleaved(count);
    for (std::size_t f = 0; f < frames; ++f)
      for (int c = 0; c < info.channels; ++c)
      {
        const double x = in.channels[static_cast<std::size_t>(c)][f];
        interleaved[f * static_cast<std::size_t>(info.channels) + static_cast<std::size_t>(c)] =
          std::isnan(x) ? 0.0f : static_cast<float>(x);
      }
    written = sf_writef_float(file.get(), interleaved.data(), static_cast<sf_count_t>(frames));
  }
  else
  {
    // Quantised here exactly as our own writer does, then handed over at full 32-bit scale.
    const int shift = format == WavFormat::Pcm16 ? 16 : format == WavFormat::Pcm24 ? 8 : 0;
    std::vector<int> interleaved(count);
    for (std::size_t f = 0; f < frames; ++f)
      for (int c = 0; c < info.channels; ++c)
      {
        const auto v = static_cast<std::uint32_t>(quantiseSample(in.channels[static_cast<std::size_t>(c)][f], format));
        interleaved[f * static_cast<std::size_t>(info.channels) + static_cast<std::size_t>(c)] =
          static_cast<int>(v << shift);
      }
    written = sf_writef_int(file.get(), interleaved.data(), static_cast<sf_count_t>(frames));
  }
  if (written != static_cast<sf_count_t>(frames))
  {
    error = path + ": " + sf_strerror(file.get());
    return false;
  }
  return true;
}

}  // namespace plughost
