#include "lice/LICE_Utf8Cursor.h"

#include <algorithm>
#include <cstdint>

namespace {
bool IsContinuation(unsigned char b)
{
  return b >= 0x80 && b <= 0xBF;
}
}  // namespace

int LICE_DecodeUtf8Char(const unsigned char* b, std::size_t available, int* code)
{
  if (available == 0)
  {
    *code = 0;
    return 0;
  }
  const unsigned char a = b[0];
  // Each continuation byte is checked before the next one is read, so NUL-terminated text
  // never reads past its terminator.
  if (a >= 0xC2 && a <= 0xDF && available >= 2 && IsContinuation(b[1]))
  {
    *code = ((a << 6) & 0x7FF) | (b[1] & 0x3F);
    return 2;
  }
  if (a >= 0xE0 && a <= 0xEF && available >= 3 && IsContinuation(b[1]) && IsContinuation(b[2]))
  {
    *code = ((a & 0x0F) << 12) | ((b[1] & 0x3F) << 6) | (b[2] & 0x3F);
    return 3;
  }
  if (a >= 0xF0 && a <= 0xF4 && available >= 4 && IsContinuation(b[1]) && IsContinuation(b[2]) && IsContinuation(b[3]))
  {
    *code = ' ';
    return 4;
  }
  *code = a;
  return 1;
}

LICE_Utf8Cursor::LICE_Utf8Cursor(const char* text, int length)
  : mNext(reinterpret_cast<const unsigned char*>(text ? text : "")), mRemaining(length)
{}

bool LICE_Utf8Cursor::Next(int* code)
{
  if (mRemaining == 0 || *mNext == 0)
    return false;
  const std::size_t available = mRemaining < 0 ? SIZE_MAX : static_cast<std::size_t>(mRemaining);
  const int used = LICE_DecodeUtf8Char(mNext, available, code);
  mNext += used;
  if (mRemaining > 0)
    mRemaining = std::max(0, mRemaining - used);
  return true;
}
