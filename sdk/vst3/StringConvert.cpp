#include "sdk/vst3/StringConvert.h"

#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vst3 {

namespace {

// Longest text a number can need here; longer input is not a number we accept.
constexpr int kScanLimit = 400;

template <typename D, typename S, typename Map>
void boundedCopy(D* dst, const S* src, int32 dstSize, Map map)
{
  if (!dst || dstSize < 1)
    return;
  int32 i = 0;
  if (src)
  {
    for (; i < dstSize - 1 && src[i] != 0; ++i)
      dst[i] = map(src[i]);
  }
  for (; i < dstSize; ++i)
    dst[i] = 0;
}

// Narrows a number's text to ASCII for the C library; false when a unit is not ASCII.
bool narrowNumberText(const TChar* s, char (&buf)[kScanLimit + 1])
{
  if (!s)
    return false;
  int i = 0;
  for (; s[i] != 0; ++i)
  {
    if (i == kScanLimit || s[i] > 0x7F)
      return false;
    buf[i] = static_cast<char>(s[i]);
  }
  buf[i] = 0;
  return true;
}

}  // namespace

void str8ToStr16(TChar* dst, const char* src, int32 dstSize)
{
  boundedCopy(dst, src, dstSize, [](char c) { return static_cast<TChar>(static_cast<unsigned char>(c)); });
}

void str16ToStr8(char* dst, const TChar* src, int32 dstSize)
{
  boundedCopy(dst, src, dstSize, [](TChar c) { return c > 0xFF ? '?' : static_cast<char>(c); });
}

void copyStr8(char* dst, const char* src, int32 dstSize)
{
  boundedCopy(dst, src, dstSize, [](char c) { return c; });
}

void copyStr16(TChar* dst, const TChar* src, int32 dstSize)
{
  boundedCopy(dst, src, dstSize, [](TChar c) { return c; });
}

int32 strlen16(const TChar* s)
{
  int32 n = 0;
  if (s)
    while (s[n] != 0)
      ++n;
  return n;
}

bool equalStr16(const TChar* a, const TChar* b)
{
  if (!a || !b)
    return a == b;
  for (; *a != 0 && *a == *b; ++a, ++b)
  {}
  return *a == *b;
}

std::u16string toStr16(const char* s)
{
  std::u16string out;
  if (s)
    for (; *s; ++s)
      out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s)));
  return out;
}

std::string toStr8(const TChar* s)
{
  std::string out;
  if (s)
    for (; *s; ++s)
      out.push_back(*s > 0xFF ? '?' : static_cast<char>(*s));
  return out;
}

void printFloat(TChar* dst, int32 dstSize, double value, int32 precision)
{
  if (precision < 0)
    precision = 0;
  if (precision > 16)
    precision = 16;
  char buf[128];
  if (std::isnan(value))
    std::snprintf(buf, sizeof buf, "nan");
  else if (std::isinf(value))
    std::snprintf(buf, sizeof buf, value > 0 ? "inf" : "-inf");
  else
    std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(precision), value);
  str8ToStr16(dst, buf, dstSize);
}

void printInt(TChar* dst, int32 dstSize, int64 value)
{
  char buf[32];
  std::snprintf(buf, sizeof buf, "%" PRId64, value);
  str8ToStr16(dst, buf, dstSize);
}

bool scanFloat(const TChar* s, double& out)
{
  char buf[kScanLimit + 1];
  if (!narrowNumberText(s, buf))
    return false;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(buf, &end);
  if (end == buf || !std::isfinite(v))
    return false;
  out = v;
  return true;
}

bool scanInt(const TChar* s, int64& out)
{
  char buf[kScanLimit + 1];
  if (!narrowNumberText(s, buf))
    return false;
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(buf, &end, 10);
  if (end == buf || errno == ERANGE)
    return false;
  out = static_cast<int64>(v);
  return true;
}

}  // namespace vst3
