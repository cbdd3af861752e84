#include "framework/core/StateChunk.h"

#include <cstring>
#include <functional>

StateChunk::StateChunk() : mBuffer(GrowBuffer::kPageGranularity) {}

bool StateChunk::Resize(int newSize, bool allowShrink)
{
  mBuffer.SetSize(newSize, allowShrink);
  return mBuffer.Size() == (newSize < 0 ? 0 : newSize);
}

bool StateChunk::Has(int position, int count) const
{
  return position >= 0 && count >= 0 && int64_t(position) + count <= mBuffer.Size();
}

bool StateChunk::PutBytes(const void* bytes, int count)
{
  if (count < 0 || (count > 0 && !bytes))
    return false;
  const int old = mBuffer.Size();
  if (int64_t(old) + count > INT32_MAX)
    return false;
  // A source inside this chunk moves with the buffer when it grows: it is found again by its
  // offset.
  const char* data = static_cast<const char*>(mBuffer.Data());
  const char* source = static_cast<const char*>(bytes);
  const bool inside =
    data && std::less_equal<const char*>()(data, source) && std::less<const char*>()(source, data + old);
  const int64_t offset = inside ? source - data : 0;
  if (inside && offset + count > old)
    return false;
  mBuffer.SetSize(old + count, false);
  if (mBuffer.Size() != old + count)
    return false;
  if (inside)
    source = static_cast<const char*>(mBuffer.Data()) + offset;
  if (count > 0)
    std::memcpy(static_cast<char*>(mBuffer.Data()) + old, source, static_cast<size_t>(count));
  return true;
}

bool StateChunk::PutInt32(int32_t value)
{
  const uint32_t bits = static_cast<uint32_t>(value);
  const unsigned char bytes[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                                  static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
  return PutBytes(bytes, 4);
}

bool StateChunk::PutDouble(double value)
{
  unsigned char bytes[8];
  EncodeDouble(value, bytes);
  return PutBytes(bytes, 8);
}

bool StateChunk::PutChunk(const StateChunk& other)
{
  return PutBytes(other.Data(), other.Size());
}

int StateChunk::GetBytes(void* out, int count, int position) const
{
  if (!Has(position, count))
    return -1;
  if (count > 0)
    std::memcpy(out, Data() + position, static_cast<size_t>(count));
  return position + count;
}

int StateChunk::GetInt32(int32_t* out, int position) const
{
  unsigned char bytes[4];
  const int next = GetBytes(bytes, 4, position);
  if (next < 0)
    return -1;
  *out = static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                              uint32_t(bytes[3]) << 24);
  return next;
}

int StateChunk::GetDouble(double* out, int position) const
{
  unsigned char bytes[8];
  const int next = GetBytes(bytes, 8, position);
  if (next < 0)
    return -1;
  *out = DecodeDouble(bytes);
  return next;
}

void EncodeDouble(double value, unsigned char out[8])
{
  uint64_t bits;
  std::memcpy(&bits, &value, 8);
  for (int i = 0; i < 8; ++i)
    out[i] = static_cast<unsigned char>(bits >> (8 * i));
}

double DecodeDouble(const unsigned char in[8])
{
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i)
    bits |= uint64_t(in[i]) << (8 * i);
  double value;
  std::memcpy(&value, &bits, 8);
  return value;
}
