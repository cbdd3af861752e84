#include "hosts/msabi/aax/MsAbiSupport.h"

namespace msabi {

bool SameGuid(const Guid& a, const Guid& b)
{
  const auto* x = reinterpret_cast<const unsigned char*>(&a);
  const auto* y = reinterpret_cast<const unsigned char*>(&b);
  for (uint32 i = 0; i < sizeof(Guid); ++i)
    if (x[i] != y[i])
      return false;
  return true;
}

uint32 TextLength(const char* text)
{
  uint32 length = 0;
  while (text && text[length])
    ++length;
  return length;
}

bool SameText(const char* a, const char* b)
{
  if (!a || !b)
    return a == b;
  while (*a && *a == *b)
    ++a, ++b;
  return *a == *b;
}

void CopyText(char* to, uint32 capacity, const char* from)
{
  uint32 i = 0;
  for (; from && from[i] && i + 1 < capacity; ++i)
    to[i] = from[i];
  if (capacity > 0)
    to[i] = 0;
}

void FormatInteger(long long value, char (&text)[24])
{
  char digits[24];
  int count = 0;
  unsigned long long magnitude = value < 0 ? 0ull - (unsigned long long)value : (unsigned long long)value;
  do
  {
    digits[count++] = char('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  int at = 0;
  if (value < 0)
    text[at++] = '-';
  while (count)
    text[at++] = digits[--count];
  text[at] = 0;
}

namespace {
alignas(16) unsigned char sPool[64 * 1024];
decltype(sizeof 0) sUsed = 0;
}  // namespace

void* Arena::Allocate(decltype(sizeof 0) size)
{
  const decltype(sizeof 0) start = (sUsed + 15) & ~decltype(sizeof 0)(15);
  if (start + size > sizeof sPool)
    __builtin_trap();
  sUsed = start + size;
  return sPool + start;
}

void Arena::Reset()
{
  sUsed = 0;
}

void Args::Separate()
{
  if (mLength)
    Put(", ");
}

void Args::Put(const char* text)
{
  CopyText(mText + mLength, sizeof mText - mLength, text);
  mLength = TextLength(mText);
}

Args& Args::operator<<(const char* text)
{
  Separate();
  if (!text)
    Put("null");
  else
  {
    Put("\"");
    Put(text);
    Put("\"");
  }
  return *this;
}

Args& Args::operator<<(int32 value)
{
  char text[24];
  FormatInteger(value, text);
  Separate();
  Put(text);
  return *this;
}

Args& Args::operator<<(uint32 value)
{
  char text[24];
  FormatInteger(value, text);
  Separate();
  Put(text);
  return *this;
}

Args& Args::operator<<(const void* pointer)
{
  Separate();
  Put(mLog.Describe(pointer));
  return *this;
}

CallLog::CallLog(char* chars, int capacity) : mChars(chars), mCapacity(capacity)
{
  if (mChars && mCapacity > 0)
    mChars[0] = 0;
}

void CallLog::Put(const char* text)
{
  if (!mChars || mLength + 1 >= mCapacity)
    return;
  CopyText(mChars + mLength, uint32(mCapacity - mLength), text);
  mLength += int(TextLength(mChars + mLength));
}

void CallLog::Add(const char* a, const char* b, const char* c, const char* d, const char* e, const char* f)
{
  const char* parts[] = {a, b, c, d, e, f};
  for (const char* part : parts)
    Put(part);
  Put("\n");
}

void CallLog::AddFields(const char* const* fields, int count)
{
  for (int i = 0; i < count; ++i)
  {
    Put(i ? "|" : "");
    Put(fields[i]);
  }
  Put("\n");
}

void CallLog::Name(const void* pointer, const char* label)
{
  for (int i = 0; i < mNameCount; ++i)
    if (mNames[i].pointer == pointer)
    {
      mNames[i].label = label;
      return;
    }
  if (mNameCount < int(sizeof mNames / sizeof mNames[0]))
    mNames[mNameCount++] = {pointer, label};
}

const char* CallLog::Describe(const void* pointer) const
{
  if (!pointer)
    return "null";
  for (int i = 0; i < mNameCount; ++i)
    if (mNames[i].pointer == pointer)
      return mNames[i].label;
  return "ptr";
}

int CallLog::Count(const char* prefix) const
{
  int count = 0;
  const uint32 length = TextLength(prefix);
  for (int line = 0; mChars && line < mLength;)
  {
    uint32 i = 0;
    while (i < length && mChars[line + int(i)] == prefix[i])
      ++i;
    count += i == length ? 1 : 0;
    while (line < mLength && mChars[line] != '\n')
      ++line;
    ++line;
  }
  return count;
}

}  // namespace msabi
