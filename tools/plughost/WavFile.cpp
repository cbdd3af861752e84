#include "tools/plughost/WavFile.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

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

void encodeSample(std::vector<std::uint8_t>& out, double x, WavFormat format)
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
    const float f = std::isnan(x) ? 0.0f : static_cast<float>(x);
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    put32(out, bits);
    break;
  }
  }
}

}  // namespace

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

bool decodeWav(const std::uint8_t* data, std::size_t size, AudioBuffer& out, std::string& error)
{
  if (data == nullptr || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
  {
    error = "not a RIFF/WAVE file";
    return false;
  }
  FmtInfo fmt;
  const std::uint8_t* samples = nullptr;
  std::uint64_t dataLength = 0;
  std::uint64_t pos = 12;
  while (pos + 8 <= size)
  {
    const std::uint64_t chunkSize = le32(data + pos + 4);
    const std::uint64_t body = pos + 8;
    const std::uint64_t available = std::min<std::uint64_t>(chunkSize, size - body);
    if (std::memcmp(data + pos, "fmt ", 4) == 0 && !fmt.found)
    {
      if (!parseFmt(data + body, available, fmt, error))
        return false;
    }
    else if (std::memcmp(data + pos, "data", 4) == 0 && samples == nullptr)
    {
      samples = data + body;
      dataLength = available;
    }
    pos = body + chunkSize + (chunkSize & 1);  // chunks are padded to even sizes
  }
  if (!fmt.found)
  {
    error = "no fmt chunk";
    return false;
  }
  if (samples == nullptr)
  {
    error = "no data chunk";
    return false;
  }
  if (!checkFmt(fmt, error))
    return false;

  const std::size_t frameBytes = fmt.blockAlign;
  const std::size_t frames = static_cast<std::size_t>(dataLength / frameBytes);
  const std::size_t sampleBytes = fmt.bits / 8;
  AudioBuffer decoded;
  decoded.sampleRate = fmt.sampleRate;
  decoded.resize(fmt.channels, frames);
  for (std::size_t f = 0; f < frames; ++f)
  {
    const std::uint8_t* frame = samples + f * frameBytes;
    for (int c = 0; c < fmt.channels; ++c)
      decoded.channels[static_cast<std::size_t>(c)][f] = decodeSample(frame + c * sampleBytes, fmt);
  }
  out = std::move(decoded);
  return true;
}

bool encodeWav(const AudioBuffer& in, WavFormat format, std::vector<std::uint8_t>& out, std::string& error)
{
  const int channels = in.numChannels();
  if (channels < 1 || channels > kMaxWavChannels)
  {
    error = "unsupported channel count " + std::to_string(channels);
    return false;
  }
  for (const auto& ch : in.channels)
  {
    if (ch.size() != in.numFrames())
    {
      error = "channels differ in length";
      return false;
    }
  }
  if (!(in.sampleRate >= 1.0 && in.sampleRate <= 4294967295.0))
  {
    error = "sample rate out of range";
    return false;
  }
  const std::uint64_t frameBytes = static_cast<std::uint64_t>(channels) * bytesPerSample(format);
  const std::uint64_t dataBytes = frameBytes * in.numFrames();
  if (dataBytes + 37 > 0xFFFFFFFFull)
  {
    error = "too long for a WAVE file";
    return false;
  }
  const auto rate = static_cast<std::uint32_t>(std::lround(in.sampleRate));
  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(dataBytes + 44));
  putTag(bytes, "RIFF");
  put32(bytes, static_cast<std::uint32_t>(dataBytes + 36 + (dataBytes & 1)));
  putTag(bytes, "WAVE");
  putTag(bytes, "fmt ");
  put32(bytes, 16);
  put16(bytes, format == WavFormat::Float32 ? kTagFloat : kTagPcm);
  put16(bytes, static_cast<std::uint32_t>(channels));
  put32(bytes, rate);
  put32(bytes, static_cast<std::uint32_t>(rate * frameBytes));
  put16(bytes, static_cast<std::uint32_t>(frameBytes));
  put16(bytes, static_cast<std::uint32_t>(bytesPerSample(format) * 8));
  putTag(bytes, "data");
  put32(bytes, static_cast<std::uint32_t>(dataBytes));
  for (std::size_t f = 0; f < in.numFrames(); ++f)
    for (const auto& ch : in.channels)
      encodeSample(bytes, ch[f], format);
  if (dataBytes & 1)
    bytes.push_back(0);
  out = std::move(bytes);
  return true;
}

bool readWavFile(const std::string& path, AudioBuffer& out, std::string& error)
{
  std::ifstream file(path, std::ios::binary);
  if (!file)
  {
    error = "cannot open " + path;
    return false;
  }
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!decodeWav(bytes.data(), bytes.size(), out, error))
  {
    error = path + ": " + error;
    return false;
  }
  return true;
}

bool writeWavFile(const std::string& path, const AudioBuffer& in, WavFormat format, std::string& error)
{
  std::vector<std::uint8_t> bytes;
  if (!encodeWav(in, format, bytes, error))
    return false;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
  {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace plughost
