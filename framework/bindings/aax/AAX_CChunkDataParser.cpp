#include "framework/bindings/aax/AAX_CChunkDataParser.h"

#include "framework/bindings/aax/AAX_VHostServices.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

namespace {
constexpr int32_t kTraceErrorPriority = 0x08000000;

int64_t Padded(int64_t bytes)
{
  return (bytes + 3) & ~int64_t(3);
}

char TagOf(int32_t type)
{
  switch (type)
  {
  case ChunkEntry::kFloat:
    return 'f';
  case ChunkEntry::kInt32:
    return 'l';
  case ChunkEntry::kDouble:
    return 'd';
  case ChunkEntry::kInt16:
    return 's';
  case ChunkEntry::kString:
    return 'r';
  default:
    return 'u';
  }
}

int64_t ValueBytes(const ChunkEntry& entry)
{
  switch (entry.type)
  {
  case ChunkEntry::kDouble:
    return 8;
  case ChunkEntry::kString:
    return Padded(int64_t(entry.text.CharCount()) + 1);
  case ChunkEntry::kUntyped:
    return 0;
  default:
    return 4;
  }
}

// Tag, name with its NUL and padding, then the value.
int64_t EntryBytes(const ChunkEntry& entry)
{
  return Padded(2 + int64_t(entry.name.CharCount()) + 1) + ValueBytes(entry);
}

void WriteValue(const ChunkEntry& entry, unsigned char* at)
{
  switch (entry.type)
  {
  case ChunkEntry::kDouble:
  {
    uint64_t bits = entry.value;
    SwapBytes64(&bits);
    std::memcpy(at, &bits, 8);
    break;
  }
  case ChunkEntry::kInt16:
  {
    uint16_t bits = uint16_t(entry.value);
    SwapBytes16(&bits);
    std::memcpy(at, &bits, 2);
    break;
  }
  case ChunkEntry::kString:
    std::memcpy(at, entry.text.Chars(), entry.text.CharCount() + 1);
    break;
  case ChunkEntry::kUntyped:
    break;
  default:
  {
    uint32_t bits = uint32_t(entry.value);
    SwapBytes32(&bits);
    std::memcpy(at, &bits, 4);
    break;
  }
  }
}

// Reads the value of `entry` (typed by its tag) from `data` at `pos`, bounded by `end`.
// False when the value runs past the end: the entry is then not kept.
bool ReadValue(const unsigned char* data, int64_t end, int64_t& pos, ChunkEntry& entry)
{
  const int64_t left = end - pos;
  switch (entry.type)
  {
  case ChunkEntry::kDouble:
  {
    if (left < 8)
      return false;
    std::memcpy(&entry.value, data + pos, 8);
    SwapBytes64(&entry.value);
    pos += 8;
    return true;
  }
  case ChunkEntry::kInt16:
  {
    if (left < 2)
      return false;
    uint16_t bits = 0;
    std::memcpy(&bits, data + pos, 2);
    SwapBytes16(&bits);
    entry.value = bits;
    pos += 4;
    return true;
  }
  case ChunkEntry::kString:
  {
    const void* nul = left > 0 ? std::memchr(data + pos, 0, size_t(left)) : nullptr;
    if (!nul)
      return false;
    const int64_t length = static_cast<const unsigned char*>(nul) - (data + pos);
    entry.text.AssignChars(reinterpret_cast<const char*>(data + pos));
    pos = Padded(pos + length + 1);
    return true;
  }
  case ChunkEntry::kUntyped:
    return true;
  default:
  {
    if (left < 4)
      return false;
    uint32_t bits = 0;
    std::memcpy(&bits, data + pos, 4);
    SwapBytes32(&bits);
    entry.value = bits;
    pos += 4;
    return true;
  }
  }
}

int32_t TypeOfTag(char tag)
{
  switch (tag)
  {
  case 'd':
    return ChunkEntry::kDouble;
  case 'f':
    return ChunkEntry::kFloat;
  case 'l':
    return ChunkEntry::kInt32;
  case 's':
    return ChunkEntry::kInt16;
  case 'r':
    return ChunkEntry::kString;
  default:
    return ChunkEntry::kUntyped;
  }
}
}  // namespace

void SwapBytes16(void* bytes)
{
  auto* b = static_cast<unsigned char*>(bytes);
  std::swap(b[0], b[1]);
}

void SwapBytes32(void* bytes)
{
  auto* b = static_cast<unsigned char*>(bytes);
  std::reverse(b, b + 4);
}

void SwapBytes64(void* bytes)
{
  auto* b = static_cast<unsigned char*>(bytes);
  std::reverse(b, b + 8);
}

void AAX_CChunkDataParser::Append(const char* name, int32_t type, uint64_t value, const AAX_CString& text)
{
  ChunkEntry entry;
  entry.type = type;
  entry.name.AssignChars(name);
  entry.value = value;
  entry.text = text;
  mValues.push_back(std::move(entry));
}

void AAX_CChunkDataParser::PutDouble(const char* name, double value)
{
  uint64_t bits = 0;
  std::memcpy(&bits, &value, 8);
  Append(name, ChunkEntry::kDouble, bits, AAX_CString());
}

void AAX_CChunkDataParser::PutInt32(const char* name, int32_t value)
{
  Append(name, ChunkEntry::kInt32, uint32_t(value), AAX_CString());
}

void AAX_CChunkDataParser::PutString(const char* name, const AAX_CString& value)
{
  Append(name, ChunkEntry::kString, 0, value);
}

void AAX_CChunkDataParser::Reset()
{
  mValues.clear();
  mLastFound = -1;
  mChunkVersion = -1;
}

bool AAX_CChunkDataParser::LookUpDouble(const char* name, double& out)
{
  const int32_t index = FindValueIndex(AAX_CString(name));
  if (index < 0 || mValues[size_t(index)].type != ChunkEntry::kDouble)
    return false;
  std::memcpy(&out, &mValues[size_t(index)].value, 8);
  return true;
}

bool AAX_CChunkDataParser::LookUpInt32(const char* name, int32_t& out)
{
  const int32_t index = FindValueIndex(AAX_CString(name));
  if (index < 0 || mValues[size_t(index)].type != ChunkEntry::kInt32)
    return false;
  out = int32_t(uint32_t(mValues[size_t(index)].value));
  return true;
}

bool AAX_CChunkDataParser::LookUpString(const char* name, AAX_IString& out)
{
  const int32_t index = FindValueIndex(AAX_CString(name));
  if (index < 0 || mValues[size_t(index)].type != ChunkEntry::kString)
    return false;
  out.AssignChars(mValues[size_t(index)].text.Chars());
  return true;
}

int32_t AAX_CChunkDataParser::FindValueIndex(const AAX_CString& name)
{
  const int32_t count = int32_t(mValues.size());
  if (mLastFound >= count - 1)
    mLastFound = -1;
  const auto search = [&](int32_t from, int32_t to) {
    for (int32_t i = from; i < to; ++i)
      if (mValues[size_t(i)].name.SameAs(name))
        return mLastFound = i;
    return -1;
  };
  const int32_t after = search(mLastFound + 1, count);
  if (after >= 0 || mLastFound < 0)
    return after;
  return search(0, mLastFound + 1);
}

int32_t AAX_CChunkDataParser::MeasureChunkData() const
{
  int64_t size = 4;
  for (const ChunkEntry& entry : mValues)
    size += EntryBytes(entry);
  return size <= std::numeric_limits<int32_t>::max() ? int32_t(size) : -1;
}

ACFResult AAX_CChunkDataParser::GetChunkData(AAX_ChunkHeader* record) const
{
  const int32_t size = MeasureChunkData();
  if (size < 0)
    return kAAX_ErrChunkOverflow;
  record->size = size;
  unsigned char* data = AAX_ChunkData(record);
  std::memset(data, 0, size_t(size));
  const uint32_t marker = kMarker;
  std::memcpy(data, &marker, 4);
  int64_t pos = 4;
  for (const ChunkEntry& entry : mValues)
  {
    if (pos + EntryBytes(entry) > size)
    {
      HostTrace(kTraceErrorPriority, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                "aborting: chunk data will overflow buffer");
      return kAAX_ErrChunkOverflow;
    }
    data[pos] = static_cast<unsigned char>(TagOf(entry.type));
    data[pos + 1] = '_';
    std::memcpy(data + pos + 2, entry.name.Chars(), entry.name.CharCount() + 1);
    pos = Padded(pos + 2 + entry.name.CharCount() + 1);
    WriteValue(entry, data + pos);
    pos += ValueBytes(entry);
  }
  return kAAX_Success;
}

void AAX_CChunkDataParser::ParseChunk(const AAX_ChunkHeader* record)
{
  Reset();
  mChunkVersion = record->version;
  const int64_t end = record->size;
  const unsigned char* data = AAX_ChunkData(record);
  if (end <= 4 || std::memcmp(data, &kMarker, 4) != 0)
    return;
  for (int64_t pos = 4; pos < end;)
  {
    const int64_t bound = std::min<int64_t>(end - pos, kMaxTagAndName);
    const void* nul = std::memchr(data + pos, 0, size_t(bound));
    if (!nul)
      break;
    const std::string tagAndName(reinterpret_cast<const char*>(data + pos));
    if (tagAndName.size() < 2)
      break;
    pos = Padded(pos + int64_t(tagAndName.size()) + 1);
    ChunkEntry entry;
    entry.type = TypeOfTag(tagAndName[0]);
    entry.name.AssignChars(tagAndName.c_str() + 2);
    if (!ReadValue(data, end, pos, entry))
      break;
    mValues.push_back(std::move(entry));
  }
}
