#include "framework/core/StringBuffer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

StringBuffer::StringBuffer() : mBuffer(GrowBuffer::kTextGranularity) {}

StringBuffer::StringBuffer(const char* text) : StringBuffer()
{
  Assign(text);
}

const char* StringBuffer::Get() const
{
  const char* data = static_cast<const char*>(mBuffer.Data());
  return data ? data : "";
}

int StringBuffer::Length() const
{
  return static_cast<int>(std::strlen(Get()));
}

bool StringBuffer::Reserve(int size)
{
  if (mBuffer.Size() >= size)
    return true;
  mBuffer.SetSize(size, false);
  return mBuffer.Size() == size;
}

bool StringBuffer::Inside(const char* text) const
{
  const char* data = static_cast<const char*>(mBuffer.Data());
  return text && data && text >= data && text < data + mBuffer.Capacity();
}

bool StringBuffer::Assign(const char* text, int maxLength)
{
  size_t length = 0;
  if (text)
    length = maxLength < 1 ? std::strlen(text) : strnlen(text, static_cast<size_t>(maxLength));
  if (length >= static_cast<size_t>(INT32_MAX))
    return false;
  const int n = static_cast<int>(length);
  // A source inside this buffer may move when it grows: work from a copy.
  std::string copy;
  if (Inside(text))
  {
    copy.assign(text, length);
    text = copy.data();
  }
  if (!Reserve(n + 1))
    return false;
  char* data = static_cast<char*>(mBuffer.Data());
  if (n > 0)
    std::memmove(data, text, length);
  data[n] = '\0';
  if (mBuffer.Size() > n + 1)
    mBuffer.SetSize(n + 1, false);
  return true;
}

bool StringBuffer::Splice(int position, const char* text, int length, int kept)
{
  if (length == 0 && kept == 0 && position == 0)
    return Assign("");
  const int current = Length();
  if (length <= 0 || position < 0 || position > current || kept < 0 || kept > current - position)
    return false;
  const int64_t newSize64 = int64_t(position) + length + kept + 1;
  if (newSize64 > INT32_MAX)
    return false;
  const int newSize = static_cast<int>(newSize64);

  // A source inside the text would be moved under our feet: work from a copy.
  std::string copy;
  if (Inside(text))
  {
    copy.assign(text, static_cast<size_t>(length));
    text = copy.data();
  }
  if (!Reserve(newSize))
    return false;
  char* out = static_cast<char*>(mBuffer.Data());
  std::memmove(out + position + length, out + position, static_cast<size_t>(kept));
  if (text)
    std::memcpy(out + position, text, static_cast<size_t>(length));
  out[newSize - 1] = '\0';
  if (newSize < mBuffer.Size())
    mBuffer.SetSize(newSize, false);
  return true;
}

bool StringBuffer::Format(int maxLength, const char* format, ...)
{
  if (maxLength < 0)
    maxLength = 0;
  if (maxLength >= INT32_MAX || !format)
    return false;

  // Print into a separate block so that a failed growth or a %s argument pointing into
  // this buffer cannot damage the current text.
  GrowBuffer scratch(GrowBuffer::kTextGranularity);
  scratch.SetSize(maxLength + 1, false);
  if (scratch.Size() != maxLength + 1)
    return false;
  char* out = static_cast<char*>(scratch.Data());
  // Whether the printer cuts or fails part-way, the text is what it wrote, up to the maximum:
  // the block starts zeroed and ends in a NUL, so an unterminated result still reads whole.
  std::memset(out, 0, static_cast<size_t>(maxLength) + 1);
  va_list args;
  va_start(args, format);
  std::vsnprintf(out, static_cast<size_t>(maxLength) + 1, format, args);
  va_end(args);
  out[maxLength] = '\0';
  return Assign(out);
}
