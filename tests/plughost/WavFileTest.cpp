// The host tool's own WAVE reader and writer (the only one in the Windows build): exact
// round trips in every format, agreement with libsndfile where it exists, and damaged files
// that must be refused or cut, never read out of bounds.
#include "tools/plughost/AudioFile.h"
#include "tools/plughost/WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

using namespace plughost;

namespace {

// Values exactly representable at 16 bits, so every format must reproduce them bit for bit.
AudioBuffer exactSignal(int channels, std::size_t frames)
{
  AudioBuffer a;
  a.sampleRate = 48000;
  a.resize(channels, frames);
  for (int c = 0; c < channels; ++c)
    for (std::size_t i = 0; i < frames; ++i)
      a.channels[static_cast<std::size_t>(c)][i] =
        static_cast<double>(static_cast<int>((i * 977 + static_cast<std::size_t>(c) * 131) % 65536) - 32768) / 32768.0;
  return a;
}

const char kScratchFile[] = "wavfile-scratch.wav";

std::vector<std::uint8_t> fileBytes(const std::string& path)
{
  std::FILE* f = std::fopen(path.c_str(), "rb");
  std::vector<std::uint8_t> bytes;
  for (int c; f && (c = std::fgetc(f)) != EOF;)
    bytes.push_back(static_cast<std::uint8_t>(c));
  if (f)
    std::fclose(f);
  return bytes;
}

// The bytes of the file the writer makes of the buffer.
std::vector<std::uint8_t> encoded(const AudioBuffer& a, WavFormat f)
{
  std::string error;
  EXPECT_TRUE(writeWavFile(kScratchFile, a, f, error)) << error;
  return fileBytes(kScratchFile);
}

// The bytes as a file, read back by the reader.
bool decoded(const std::vector<std::uint8_t>& bytes, AudioBuffer& out, std::string& error)
{
  std::FILE* f = std::fopen(kScratchFile, "wb");
  const bool written = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f)
    std::fclose(f);
  EXPECT_TRUE(written);
  return readWavFile(kScratchFile, out, error);
}

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

// Exact round trips of representable values, clamped integers (full scale is one step below
// 1) and NaN written as silence, in every format.
TEST(WavFile, EveryFormatRoundTripsExactlyAndClamps)
{
  const AudioBuffer exact = exactSignal(3, 257);
  AudioBuffer in = exact;
  in.channels[1][0] = 2.0;
  in.channels[1][1] = -2.0;
  in.channels[1][2] = std::nan("");
  for (WavFormat f : {WavFormat::Pcm16, WavFormat::Pcm24, WavFormat::Pcm32, WavFormat::Float32})
  {
    const auto bytes = encoded(in, f);
    const std::size_t sampleBytes = f == WavFormat::Pcm16 ? 2 : f == WavFormat::Pcm24 ? 3 : 4;
    EXPECT_EQ(bytes.size(), 44 + 3 * 257 * sampleBytes + ((3 * 257 * sampleBytes) & 1));
    AudioBuffer out;
    std::string error;
    ASSERT_TRUE(decoded(bytes, out, error)) << error;
    EXPECT_EQ(out.sampleRate, 48000.0);
    const int bits = static_cast<int>(sampleBytes) * 8;
    const double top = f == WavFormat::Float32 ? 2.0 : 1.0 - std::ldexp(1.0, 1 - bits);
    EXPECT_EQ(out.channels[1][0], top);
    EXPECT_EQ(out.channels[1][1], f == WavFormat::Float32 ? -2.0 : -1.0);
    EXPECT_EQ(out.channels[1][2], 0.0);
    std::copy_n(exact.channels[1].begin(), 3, out.channels[1].begin());
    EXPECT_EQ(out.channels, exact.channels);
  }
  AudioBuffer ragged;
  ragged.sampleRate = 48000;
  ragged.channels = {{0.0, 0.0}, {0.0}};
  std::string error;
  EXPECT_FALSE(writeWavFile(kScratchFile, ragged, WavFormat::Pcm16, error));
}

TEST(WavFile, ReadsOddChunksExtensibleHeadersAndCutData)
{
  const AudioBuffer in = exactSignal(2, 10);
  auto bytes = encoded(in, WavFormat::Pcm24);
  // Insert an odd-sized chunk (padded to even) before the data chunk.
  const std::vector<std::uint8_t> junk = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  bytes.insert(bytes.begin() + 36, junk.begin(), junk.end());
  AudioBuffer out;
  std::string error;
  ASSERT_TRUE(decoded(bytes, out, error)) << error;
  EXPECT_EQ(out.channels, in.channels);

  // Cut inside the last frame: only whole frames survive.
  bytes.resize(bytes.size() - 4);
  ASSERT_TRUE(decoded(bytes, out, error)) << error;
  EXPECT_EQ(out.numFrames(), 9u);

  // The extensible form: tag 0xFFFE with the real format in the sub-format.
  auto ext = encoded(in, WavFormat::Float32);
  std::vector<std::uint8_t> fmt(ext.begin() + 20, ext.begin() + 36);
  fmt[0] = 0xFE;
  fmt[1] = 0xFF;
  std::vector<std::uint8_t> extra(24, 0);
  extra[0] = 22;  // cbSize
  extra[8] = 3;   // sub-format: float
  fmt.insert(fmt.end(), extra.begin(), extra.end());
  std::vector<std::uint8_t> file(ext.begin(), ext.begin() + 12);
  const std::uint8_t fmtHeader[8] = {'f', 'm', 't', ' ', 40, 0, 0, 0};
  file.insert(file.end(), fmtHeader, fmtHeader + 8);
  file.insert(file.end(), fmt.begin(), fmt.end());
  file.insert(file.end(), ext.begin() + 36, ext.end());
  ASSERT_TRUE(decoded(file, out, error)) << error;
  EXPECT_EQ(out.channels, in.channels);
}

TEST(WavFile, RefusesDamagedHeaders)
{
  const auto good = encoded(exactSignal(2, 4), WavFormat::Pcm16);
  struct Damage
  {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    int width;
  };
  const Damage damages[] = {
    {"not RIFF", 0, 0x46464952u + 1, 4}, {"channels 0", 22, 0, 2}, {"channels 65", 22, 65, 2}, {"rate 0", 24, 0, 4},
    {"block align", 32, 3, 2},           {"8-bit", 34, 8, 2},      {"format 2", 20, 2, 2},     {"float 16", 20, 3, 2},
  };
  for (const Damage& d : damages)
  {
    SCOPED_TRACE(d.what);
    auto bytes = good;
    for (int i = 0; i < d.width; ++i)
      bytes[d.at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(d.value >> (8 * i));
    AudioBuffer out = exactSignal(1, 1);
    std::string error;
    EXPECT_FALSE(decoded(bytes, out, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(out.numFrames(), 1u) << "a refused file leaves the buffer alone";
  }
  std::string error;
  AudioBuffer out;
  EXPECT_FALSE(decoded(std::vector<std::uint8_t>(good.begin(), good.begin() + 36), out, error)) << "no data chunk";
  auto hugeChunk = good;
  put32(hugeChunk, 16, 0xFFFFFFF0u);  // fmt chunk claims to run far past the end
  EXPECT_FALSE(decoded(hugeChunk, out, error));
}

TEST(WavFile, SurvivesRandomDamage)
{
  const auto good = encoded(exactSignal(2, 64), WavFormat::Pcm24);
  std::mt19937 rng(1234);
  for (int round = 0; round < 3000; ++round)
  {
    auto bytes = good;
    const int hits = 1 + static_cast<int>(rng() % 6);
    for (int h = 0; h < hits; ++h)
      bytes[rng() % 48] = static_cast<std::uint8_t>(rng());
    bytes.resize(rng() % (bytes.size() + 1));
    AudioBuffer out;
    std::string error;
    if (decoded(bytes, out, error))
    {
      ASSERT_GE(out.numChannels(), 1);
      for (const auto& ch : out.channels)
      {
        ASSERT_EQ(ch.size(), out.numFrames());
        for (double x : ch)
          ASSERT_TRUE(std::isfinite(x));
      }
    }
  }
}

TEST(AudioFile, FilesRoundTripThroughTheBuildsReaderAndWriter)
{
  const AudioBuffer in = exactSignal(2, 300);
  const std::string path = "audiofile-roundtrip.wav";
  for (WavFormat f : {WavFormat::Pcm16, WavFormat::Pcm24, WavFormat::Pcm32, WavFormat::Float32})
  {
    std::string error;
    ASSERT_TRUE(writeAudioFile(path, in, f, error)) << error;
    AudioBuffer viaBuild, viaOurs;
    ASSERT_TRUE(readAudioFile(path, viaBuild, error)) << error;
    ASSERT_TRUE(readWavFile(path, viaOurs, error)) << error;
    EXPECT_EQ(viaBuild.channels, in.channels);
    EXPECT_EQ(viaOurs.channels, in.channels) << "our reader agrees with the build's writer";
    ASSERT_TRUE(writeWavFile(path, in, f, error));
    ASSERT_TRUE(readAudioFile(path, viaBuild, error)) << error;
    EXPECT_EQ(viaBuild.channels, in.channels) << "the build's reader agrees with our writer";
    EXPECT_EQ(viaBuild.sampleRate, 48000.0);
  }
  std::remove(path.c_str());
}

namespace {
// The frames [from, from + count) of a buffer.
AudioBuffer framesOf(const AudioBuffer& a, std::size_t from, std::size_t count)
{
  AudioBuffer part;
  part.sampleRate = a.sampleRate;
  part.resize(a.numChannels(), count);
  for (std::size_t c = 0; c < part.channels.size(); ++c)
    std::copy_n(a.channels[c].begin() + static_cast<std::ptrdiff_t>(from), count, part.channels[c].begin());
  return part;
}

}  // namespace

// Written and read a chunk at a time (odd chunks, an odd data length with its pad byte), a
// file is byte for byte the one made in one piece, and reads back the same.
TEST(WavFile, ChunkedWritingAndReadingMatchWholeFiles)
{
  const AudioBuffer in = exactSignal(3, 1001);
  const std::string path = "wavfile-chunked.wav";
  for (WavFormat f : {WavFormat::Pcm16, WavFormat::Pcm24, WavFormat::Float32})
  {
    std::string error;
    auto writer = WavWriter::create(path, 3, in.sampleRate, f, error);
    ASSERT_TRUE(writer) << error;
    for (std::size_t at = 0, n = 1; at < in.numFrames(); at += n, n = n * 3 + 1)
      ASSERT_TRUE(writer->write(framesOf(in, at, std::min(n, in.numFrames() - at)), error)) << error;
    ASSERT_TRUE(writer->finish(error)) << error;
    EXPECT_EQ(fileBytes(path), encoded(in, f));

    auto reader = WavReader::open(path, error);
    ASSERT_TRUE(reader) << error;
    EXPECT_EQ(reader->numFrames(), 1001u);
    AudioBuffer back, chunk;
    back.resize(3, 0);
    while (reader->read(77, chunk, error) && chunk.numFrames() > 0)
      for (std::size_t c = 0; c < 3; ++c)
        back.channels[c].insert(back.channels[c].end(), chunk.channels[c].begin(), chunk.channels[c].end());
    EXPECT_EQ(back.channels, in.channels);
  }
  std::remove(path.c_str());
}

// Values beyond the float range reach a float file as the largest finite float of their
// sign, never as infinity, and are counted; the build's writer does the same.
TEST(AudioFile, FloatFilesHoldNoInfinityAndCountWhatWasClipped)
{
  AudioBuffer in;
  in.sampleRate = 44100;
  in.channels = {{1e300, -INFINITY, INFINITY, std::nan(""), 0.5, -3.5e38}};
  const float largest = std::numeric_limits<float>::max();
  const std::string path = "audiofile-clipped.wav";
  std::string error;
  for (int build = 0; build < 2; ++build)
  {
    auto writer = build ? createAudioFile(path, 1, 44100, WavFormat::Float32, error)
                        : std::unique_ptr<AudioWriter>(WavWriter::create(path, 1, 44100, WavFormat::Float32, error));
    ASSERT_TRUE(writer) << error;
    ASSERT_TRUE(writer->write(in, error) && writer->finish(error)) << error;
    EXPECT_EQ(writer->clippedSamples(), 4u) << build;
    AudioBuffer out;
    ASSERT_TRUE(readWavFile(path, out, error)) << error;
    EXPECT_EQ(out.channels[0], (std::vector<double>{largest, -largest, largest, 0.0, 0.5, -largest})) << build;
  }
  std::remove(path.c_str());
}
