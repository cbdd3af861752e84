#include "tools/plughost/StateFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace plughost {
namespace {

constexpr std::size_t kTagSize = 8;
// Files written before the tag named the format hold VST3 states under the first tag.
constexpr struct
{
  StateFormat format;
  char tag[kTagSize + 1];
  const char* name;
} kFormats[] = {{StateFormat::Vst3, "TQV3STAT", "VST3"},
                {StateFormat::Vst2, "TQV2STAT", "VST2"},
                {StateFormat::Aax, "TQAXSTAT", "AAX"}};
// A state of this host is a few kilobytes; anything far larger is not one.
constexpr std::size_t kMaxFileSize = 64u << 20;

const auto& entryOf(StateFormat format)
{
  for (const auto& entry : kFormats)
    if (entry.format == format)
      return entry;
  return kFormats[0];
}

const char* formatOfTag(const std::uint8_t* bytes, std::size_t size, StateFormat& format)
{
  for (const auto& entry : kFormats)
  {
    if (size >= kTagSize && std::memcmp(bytes, entry.tag, kTagSize) == 0)
    {
      format = entry.format;
      return entry.name;
    }
  }
  return nullptr;
}

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File openFile(const std::string& path, const char* mode)
{
  return File(std::fopen(path.c_str(), mode), std::fclose);
}

void putPart(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& part)
{
  const auto n = static_cast<std::uint32_t>(part.size());
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(n >> shift));
  out.insert(out.end(), part.begin(), part.end());
}

bool takePart(const std::vector<std::uint8_t>& in, std::size_t& pos, std::vector<std::uint8_t>& part)
{
  if (in.size() - pos < 4)
    return false;
  std::uint32_t n = 0;
  for (int i = 0; i < 4; ++i)
    n |= static_cast<std::uint32_t>(in[pos + static_cast<std::size_t>(i)]) << (8 * i);
  pos += 4;
  if (in.size() - pos < n)
    return false;
  part.assign(in.begin() + static_cast<std::ptrdiff_t>(pos), in.begin() + static_cast<std::ptrdiff_t>(pos + n));
  pos += n;
  return true;
}

}  // namespace

const char* formatName(StateFormat format)
{
  return entryOf(format).name;
}

std::vector<std::uint8_t> encodeState(const SavedState& state)
{
  const char* tag = entryOf(state.format).tag;
  std::vector<std::uint8_t> out(tag, tag + kTagSize);
  putPart(out, state.component);
  putPart(out, state.controller);
  return out;
}

bool decodeState(const std::vector<std::uint8_t>& bytes, SavedState& state, std::string& error)
{
  SavedState decoded;
  if (!formatOfTag(bytes.data(), bytes.size(), decoded.format))
  {
    error = "not a state file of this host";
    return false;
  }
  std::size_t pos = kTagSize;
  if (!takePart(bytes, pos, decoded.component) || !takePart(bytes, pos, decoded.controller))
  {
    error = "state file is truncated";
    return false;
  }
  if (pos != bytes.size())
  {
    error = "state file has trailing bytes";
    return false;
  }
  state = std::move(decoded);
  return true;
}

bool writeStateFile(const std::string& path, const SavedState& state, std::string& error)
{
  const auto bytes = encodeState(state);
  File file = openFile(path, "wb");
  // A full disk shows only when the buffered bytes are flushed at closing.
  const bool written =
    file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && std::fclose(file.release()) == 0;
  if (!written)
    error = "cannot write " + path;
  return written;
}

bool readStateFile(const std::string& path, StateFormat expected, SavedState& state, std::string& error)
{
  File file = openFile(path, "rb");
  if (!file)
  {
    error = "cannot open " + path;
    return false;
  }
  // Read in pieces, looking at the tag first and stopping at the bound, so a device or a
  // huge file of something else is refused early.
  std::vector<std::uint8_t> bytes;
  std::uint8_t piece[16384];
  StateFormat tagged{};
  for (std::size_t n; (n = std::fread(piece, 1, sizeof piece, file.get())) > 0;)
  {
    bytes.insert(bytes.end(), piece, piece + n);
    if (bytes.size() >= kTagSize && !formatOfTag(bytes.data(), bytes.size(), tagged))
      break;
    if (bytes.size() > kMaxFileSize)
    {
      error = path + ": too large for a state file";
      return false;
    }
  }
  if (std::ferror(file.get()))
  {
    error = "cannot read " + path;
    return false;
  }
  SavedState decoded;
  if (!decodeState(bytes, decoded, error))
  {
    error = path + ": " + error;
    return false;
  }
  if (decoded.format != expected)
  {
    error = path + " holds a " + std::string(formatName(decoded.format)) + " state; this is a " + formatName(expected) +
            " module";
    return false;
  }
  state = std::move(decoded);
  return true;
}

}  // namespace plughost
