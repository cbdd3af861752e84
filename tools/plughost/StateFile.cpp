#include "tools/plughost/StateFile.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace plughost {
namespace {

constexpr char kTag[8] = {'T', 'Q', 'V', '3', 'S', 'T', 'A', 'T'};

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

std::vector<std::uint8_t> encodeState(const SavedState& state)
{
  std::vector<std::uint8_t> out(kTag, kTag + sizeof kTag);
  putPart(out, state.component);
  putPart(out, state.controller);
  return out;
}

bool decodeState(const std::vector<std::uint8_t>& bytes, SavedState& state, std::string& error)
{
  if (bytes.size() < sizeof kTag || std::memcmp(bytes.data(), kTag, sizeof kTag) != 0)
  {
    error = "not a state file of this host";
    return false;
  }
  SavedState decoded;
  std::size_t pos = sizeof kTag;
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
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
  {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

bool readStateFile(const std::string& path, SavedState& state, std::string& error)
{
  std::ifstream file(path, std::ios::binary);
  if (!file)
  {
    error = "cannot open " + path;
    return false;
  }
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!decodeState(bytes, state, error))
  {
    error = path + ": " + error;
    return false;
  }
  return true;
}

}  // namespace plughost
