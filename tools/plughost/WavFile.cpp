#include "tools/plughost/WavFile.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

namespace plughost {
namespace {

constexpr std::uint16_t kTagPcm = 1;
constexpr std::uint16_t kTagFloat = 3;
constexpr std::uint16_t kTagExtensible = 0xFFFE;

std::uint16_t le16(const std::uint8_t* p)
{
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t le32(const std::uint8_t* p)
{
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put24(std::vector<std::uint8_t>& out, std::uint32_t v)
{
  put16(out, v);
  out.push_back(static_cast<std::uint8_t>((v >> 16) & 0xFF));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
  put16(out, v);
  put16(out, v >> 16);
}
void putTag(std::vector<std::uint8_t>& out, const char* tag)
{
  out.insert(out.end(), tag, tag + 4);
}

struct FmtInfo
{
  bool found = false;
  std::uint16_t tag = 0;
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bits = 0;
};

bool parseFmt(const std::uint8_t* p, std::uint64_t length, FmtInfo& fmt, std::string& error)
{
  if (length < 16)
  {
    error = "fmt chunk too short";
    return false;
  }
  fmt.found = true;
  fmt.tag = le16(p);
  fmt.channels = le16(p + 2);
  fmt.sampleRate = le32(p + 4);
  fmt.blockAlign = le16(p + 12);
  fmt.bits = le16(p + 14);
  if (fmt.tag == kTagExtensible)
  {
    if (length < 40)
    {
      error = "extensible fmt chunk too short";
      return false;
    }
    fmt.tag = le16(p + 24);  // the sub-format GUID starts with the plain format tag
  }
  return true;
}

bool checkFmt(const FmtInfo& fmt, std::string& error)
{
  if (fmt.channels < 1 || fmt.channels > kMaxWavChannels)
  {
    error = "unsupported channel count " + std::to_string(fmt.channels);
    return false;
  }
  if (fmt.sampleRate == 0)
  {
    error = "sample rate 0";
    return false;
  }
  const bool pcmOk = fmt.tag == kTagPcm && (fmt.bits == 16 || fmt.bits == 24 || fmt.bits == 32);
  const bool floatOk = fmt.tag == kTagFloat && fmt.bits == 32;
  if (!pcmOk && !floatOk)
  {
    error = "unsupported sample format (tag " + std::to_string(fmt.tag) + ", " + std::to_string(fmt.bits) + " bits)";
    return false;
  }
  if (fmt.blockAlign != fmt.channels * (fmt.bits / 8))
  {
    error = "block alignment does not match the channel count and sample size";
    return false;
  }
  return true;
}

double decodeSample(const std::uint8_t* p, const FmtInfo& fmt)
{
  if (fmt.tag == kTagFloat)
  {
    float f;
    const std::uint32_t bits = le32(p);
    std::memcpy(&f, &bits, sizeof f);
    return std::isfinite(f) ? static_cast<double>(f) : 0.0;  // damaged data never reaches audio
  }
  switch (fmt.bits)
  {
  case 16:
    return static_cast<std::int16_t>(le16(p)) / 32768.0;
  case 24:
  {
    std::int32_t v = static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
    if (v & 0x800000)
      v -= 0x1000000;
    return v / 8388608.0;
  }
  default:
    return static_cast<std::int32_t>(le32(p)) / 2147483648.0;
  }
}

// Rounds x * scale to the nearest integer inside [-scale, scale - 1].
std::int64_t quantise(double x, double scale)
{
  if (std::isnan(x))
    return 0;
  const double v = std::nearbyint(x * scale);
  if (v >= scale - 1.0)
    return static_cast<std::int64_t>(scale) - 1;
  if (v <= -scale)
    return -static_cast<std::int64_t>(scale);
  return static_cast<std::int64_t>(v);
}

void encodeSample(std::vector<std::uint8_t>& out, double x, WavFormat format, std::uint64_t& clipped)
{
  switch (format)
  {
  case WavFormat::Pcm16:
    put16(out, static_cast<std::uint32_t>(quantiseSample(x, format)));
    break;
  case WavFormat::Pcm24:
    put24(out, static_cast<std::uint32_t>(quantiseSample(x, format)));
    break;
  case WavFormat::Pcm32:
    put32(out, static_cast<std::uint32_t>(quantiseSample(x, format)));
    break;
  case WavFormat::Float32:
  {
    const float f = floatSample(x, clipped);
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    put32(out, bits);
    break;
  }
  }
}

}  // namespace

float floatSample(double x, std::uint64_t& clipped)
{
  constexpr double kLargest = std::numeric_limits<float>::max();
  if (std::isnan(x))
    return 0.0f;
  if (std::fabs(x) > kLargest)
  {
    ++clipped;
    return static_cast<float>(x > 0.0 ? kLargest : -kLargest);
  }
  return static_cast<float>(x);
}

std::int32_t quantiseSample(double x, WavFormat format)
{
  switch (format)
  {
  case WavFormat::Pcm16:
    return static_cast<std::int32_t>(quantise(x, 32768.0));
  case WavFormat::Pcm24:
    return static_cast<std::int32_t>(quantise(x, 8388608.0));
  default:
    return static_cast<std::int32_t>(quantise(x, 2147483648.0));
  }
}

namespace {

int bytesPerSample(WavFormat format)
{
  switch (format)
  {
  case WavFormat::Pcm16:
    return 2;
  case WavFormat::Pcm24:
    return 3;
  default:
    return 4;
  }
}

}  // namespace

namespace {

// Where a file's format and samples are, found by walking its chunks.
struct WavLayout
{
  FmtInfo fmt;
  bool hasData = false;
  std::uint64_t dataOffset = 0;
  std::uint64_t dataLength = 0;  // cut to what the image holds
};

// readAt(offset, count, out) copies bytes that lie inside the image of the given size.
template <class ReadAt>
bool walkChunks(std::uint64_t size, ReadAt readAt, WavLayout& layout, std::string& error)
{
  std::uint8_t head[12];
  if (size < 12 || !readAt(0, 12, head) || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
  {
    error = "not a RIFF/WAVE file";
    return false;
  }
  for (std::uint64_t pos = 12; pos + 8 <= size;)
  {
    std::uint8_t chunk[8];
    if (!readAt(pos, 8, chunk))
      break;
    const std::uint64_t chunkSize = le32(chunk + 4);
    const std::uint64_t body = pos + 8;
    const std::uint64_t available = std::min<std::uint64_t>(chunkSize, size - body);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !layout.fmt.found)
    {
      std::uint8_t fmt[40] = {};
      if (!readAt(body, std::min<std::uint64_t>(available, sizeof fmt), fmt) ||
          !parseFmt(fmt, available, layout.fmt, error))
        return false;
    }
    else if (std::memcmp(chunk, "data", 4) == 0 && !layout.hasData)
    {
      layout.hasData = true;
      layout.dataOffset = body;
      layout.dataLength = available;
    }
    pos = body + chunkSize + (chunkSize & 1);  // chunks are padded to even sizes
  }
  if (!layout.fmt.found)
  {
    error = "no fmt chunk";
    return false;
  }
  if (!layout.hasData)
  {
    error = "no data chunk";
    return false;
  }
  return checkFmt(layout.fmt, error);
}

void decodeFrames(const std::uint8_t* bytes, std::size_t frames, const FmtInfo& fmt, AudioBuffer& out)
{
  const std::size_t sampleBytes = fmt.bits / 8;
  out.sampleRate = fmt.sampleRate;
  out.resize(fmt.channels, frames);
  for (std::size_t f = 0; f < frames; ++f, bytes += fmt.blockAlign)
    for (int c = 0; c < fmt.channels; ++c)
      out.channels[static_cast<std::size_t>(c)][f] = decodeSample(bytes + c * sampleBytes, fmt);
}

bool checkWritable(int channels, double sampleRate, std::string& error)
{
  if (channels < 1 || channels > kMaxWavChannels)
  {
    error = "unsupported channel count " + std::to_string(channels);
    return false;
  }
  if (!(sampleRate >= 1.0 && sampleRate <= 4294967295.0))
  {
    error = "sample rate out of range";
    return false;
  }
  return true;
}

// The 44-byte header of a plain WAVE file whose data chunk holds dataBytes.
void putHeader(std::vector<std::uint8_t>& bytes, int channels, std::uint32_t rate, WavFormat format,
               std::uint64_t dataBytes)
{
  const std::uint32_t frameBytes = static_cast<std::uint32_t>(channels * bytesPerSample(format));
  putTag(bytes, "RIFF");
  put32(bytes, static_cast<std::uint32_t>(dataBytes + 36 + (dataBytes & 1)));
  putTag(bytes, "WAVE");
  putTag(bytes, "fmt ");
  put32(bytes, 16);
  put16(bytes, format == WavFormat::Float32 ? kTagFloat : kTagPcm);
  put16(bytes, static_cast<std::uint32_t>(channels));
  put32(bytes, rate);
  put32(bytes, rate * frameBytes);
  put16(bytes, frameBytes);
  put16(bytes, static_cast<std::uint32_t>(bytesPerSample(format) * 8));
  putTag(bytes, "data");
  put32(bytes, static_cast<std::uint32_t>(dataBytes));
}

// A WAVE file's lengths are 32-bit.
bool fitsWave(std::uint64_t dataBytes)
{
  return dataBytes + 37 <= 0xFFFFFFFFull;
}

void encodeFrames(const AudioBuffer& in, WavFormat format, std::vector<std::uint8_t>& bytes, std::uint64_t& clipped)
{
  for (std::size_t f = 0; f < in.numFrames(); ++f)
    for (const auto& ch : in.channels)
      encodeSample(bytes, ch[f], format, clipped);
}

}  // namespace

std::unique_ptr<WavReader> WavReader::open(const std::string& path, std::string& error)
{
  std::unique_ptr<WavReader> reader(new WavReader);
  std::ifstream& file = reader->mFile;
  file.open(path, std::ios::binary);
  if (!file || !file.seekg(0, std::ios::end))
  {
    error = "cannot open " + path;
    return nullptr;
  }
  const auto size = static_cast<std::uint64_t>(file.tellg());
  const auto readAt = [&file](std::uint64_t at, std::uint64_t count, std::uint8_t* to) {
    file.clear();
    return static_cast<bool>(file.seekg(static_cast<std::streamoff>(at)) &&
                             file.read(reinterpret_cast<char*>(to), static_cast<std::streamsize>(count)));
  };
  WavLayout layout;
  if (!walkChunks(size, readAt, layout, error))
  {
    error = path + ": " + error;
    return nullptr;
  }
  file.clear();
  file.seekg(static_cast<std::streamoff>(layout.dataOffset));
  reader->mSampleRate = layout.fmt.sampleRate;
  reader->mChannels = layout.fmt.channels;
  reader->mTag = layout.fmt.tag;
  reader->mBits = layout.fmt.bits;
  reader->mFrames = layout.dataLength / layout.fmt.blockAlign;
  return reader;
}

bool WavReader::read(std::size_t maxFrames, AudioBuffer& chunk, std::string& error)
{
  const auto frames = static_cast<std::size_t>(std::min<std::uint64_t>(maxFrames, mFrames - mDone));
  FmtInfo fmt;
  fmt.tag = mTag;
  fmt.bits = mBits;
  fmt.channels = static_cast<std::uint16_t>(mChannels);
  fmt.sampleRate = static_cast<std::uint32_t>(mSampleRate);
  fmt.blockAlign = static_cast<std::uint16_t>(mChannels * (mBits / 8));
  mBytes.resize(frames * fmt.blockAlign);
  if (!mFile.read(reinterpret_cast<char*>(mBytes.data()), static_cast<std::streamsize>(mBytes.size())))
  {
    error = "the audio file could not be read";
    return false;
  }
  decodeFrames(mBytes.data(), frames, fmt, chunk);
  mDone += frames;
  return true;
}

std::unique_ptr<WavWriter> WavWriter::create(const std::string& path, int channels, double sampleRate, WavFormat format,
                                             std::string& error)
{
  if (!checkWritable(channels, sampleRate, error))
    return nullptr;
  std::unique_ptr<WavWriter> writer(new WavWriter);
  writer->mPath = path;
  writer->mChannels = channels;
  writer->mRate = static_cast<std::uint32_t>(std::lround(sampleRate));
  writer->mFormat = format;
  writer->mFile.open(path, std::ios::binary | std::ios::trunc);
  std::vector<std::uint8_t> header;
  putHeader(header, channels, writer->mRate, format, 0);
  if (!writer->mFile.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size())))
  {
    error = "cannot write " + path;
    return nullptr;
  }
  return writer;
}

bool WavWriter::write(const AudioBuffer& chunk, std::string& error)
{
  const std::uint64_t bytes = static_cast<std::uint64_t>(mChannels) * bytesPerSample(mFormat) * chunk.numFrames();
  if (chunk.numChannels() != mChannels)
  {
    error =
      "a chunk of " + std::to_string(chunk.numChannels()) + " channel(s) for a file of " + std::to_string(mChannels);
    return false;
  }
  for (const auto& ch : chunk.channels)
  {
    if (ch.size() != chunk.numFrames())
    {
      error = "channels differ in length";
      return false;
    }
  }
  if (!fitsWave(mDataBytes + bytes))
  {
    error = mPath + ": too long for a WAVE file";
    return false;
  }
  mBytes.clear();
  encodeFrames(chunk, mFormat, mBytes, mClipped);
  if (!mFile.write(reinterpret_cast<const char*>(mBytes.data()), static_cast<std::streamsize>(mBytes.size())))
  {
    error = "cannot write " + mPath;
    return false;
  }
  mDataBytes += bytes;
  return true;
}

bool WavWriter::finish(std::string& error)
{
  std::vector<std::uint8_t> header;
  putHeader(header, mChannels, mRate, mFormat, mDataBytes);
  if ((mDataBytes & 1) != 0)
    mFile.put(0);
  if (!mFile.seekp(0) ||
      !mFile.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size())))
  {
    error = "cannot write " + mPath;
    return false;
  }
  mFile.close();
  if (!mFile)
  {
    error = "cannot write " + mPath;
    return false;
  }
  return true;
}

bool readWavFile(const std::string& path, AudioBuffer& out, std::string& error)
{
  return readAll(WavReader::open(path, error).get(), out, error);
}

bool writeWavFile(const std::string& path, const AudioBuffer& in, WavFormat format, std::string& error)
{
  return writeAll(WavWriter::create(path, in.numChannels(), in.sampleRate, format, error).get(), in, error);
}

}  // namespace plughost
