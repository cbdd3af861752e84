#include "sdk/vst3/FUID.h"

#include <cstdio>

namespace vst3 {

namespace {

uint32 readBE(const char* p)
{
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return uint32(b[0]) << 24 | uint32(b[1]) << 16 | uint32(b[2]) << 8 | uint32(b[3]);
}

void writeBE(char* p, uint32 w)
{
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<char>((w >> (24 - 8 * i)) & 0xFF);
}

int hexValue(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

}  // namespace

FUID::FUID()
{
  std::memset(mData, 0, sizeof mData);
}

FUID::FUID(uint32 l1, uint32 l2, uint32 l3, uint32 l4)
{
#if TQ_VST3_COM_COMPATIBLE
  const auto b = [](uint32 w, int shift) { return static_cast<char>((w >> shift) & 0xFF); };
  mData[0] = b(l1, 0);
  mData[1] = b(l1, 8);
  mData[2] = b(l1, 16);
  mData[3] = b(l1, 24);
  mData[4] = b(l2, 16);
  mData[5] = b(l2, 24);
  mData[6] = b(l2, 0);
  mData[7] = b(l2, 8);
#else
  writeBE(mData, l1);
  writeBE(mData + 4, l2);
#endif
  writeBE(mData + 8, l3);
  writeBE(mData + 12, l4);
}

FUID FUID::fromTUID(const char* bytes)
{
  FUID id;
  if (bytes)
    std::memcpy(id.mData, bytes, sizeof id.mData);
  return id;
}

bool FUID::isValid() const
{
  for (char c : mData)
    if (c != 0)
      return true;
  return false;
}

uint32 FUID::getLong1() const
{
#if TQ_VST3_COM_COMPATIBLE
  const auto* b = reinterpret_cast<const unsigned char*>(mData);
  return uint32(b[3]) << 24 | uint32(b[2]) << 16 | uint32(b[1]) << 8 | uint32(b[0]);
#else
  return readBE(mData);
#endif
}

uint32 FUID::getLong2() const
{
#if TQ_VST3_COM_COMPATIBLE
  const auto* b = reinterpret_cast<const unsigned char*>(mData);
  return uint32(b[5]) << 24 | uint32(b[4]) << 16 | uint32(b[7]) << 8 | uint32(b[6]);
#else
  return readBE(mData + 4);
#endif
}

uint32 FUID::getLong3() const
{
  return readBE(mData + 8);
}
uint32 FUID::getLong4() const
{
  return readBE(mData + 12);
}

void FUID::toTUID(char* out) const
{
  if (out)
    std::memcpy(out, mData, sizeof mData);
}

std::string FUID::toString() const
{
  char buf[33];
  std::snprintf(buf, sizeof buf, "%08X%08X%08X%08X", unsigned(getLong1()), unsigned(getLong2()), unsigned(getLong3()),
                unsigned(getLong4()));
  return buf;
}

bool FUID::fromString(const char* text)
{
  if (!text)
    return false;
  uint32 words[4] = {0, 0, 0, 0};
  for (int i = 0; i < 32; ++i)
  {
    const int v = hexValue(text[i]);
    if (v < 0)
      return false;  // also stops at a short text's terminator
    words[i / 8] = words[i / 8] << 4 | uint32(v);
  }
  if (text[32] != 0)
    return false;
  *this = FUID(words[0], words[1], words[2], words[3]);
  return true;
}

std::string FUID::toRegistryString() const
{
  const uint32 l2 = getLong2(), l3 = getLong3(), l4 = getLong4();
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%04X-%04X%08X}", unsigned(getLong1()), unsigned(l2 >> 16),
                unsigned(l2 & 0xFFFF), unsigned(l3 >> 16), unsigned(l3 & 0xFFFF), unsigned(l4));
  return buf;
}

bool FUID::operator==(const FUID& other) const
{
  return std::memcmp(mData, other.mData, sizeof mData) == 0;
}

bool FUID::operator<(const FUID& other) const
{
  return std::memcmp(mData, other.mData, sizeof mData) < 0;
}

}  // namespace vst3
