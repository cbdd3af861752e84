// UTF-8 text as the cached fonts read it.
#pragma once

#include <cstddef>

// Decodes one character of UTF-8 from at most `available` bytes. Returns the number of bytes
// used (at least 1 when available > 0, else 0). Bytes that do not start a complete, well-formed
// sequence stand for themselves; four-byte sequences decode as a space (codes are 16-bit).
int LICE_DecodeUtf8Char(const unsigned char* bytes, std::size_t available, int* code);

// Walks `length` bytes of UTF-8 (negative: up to the NUL) one character at a time; a NUL ends
// the text either way, and no byte beyond the budget is ever read.
class LICE_Utf8Cursor
{
public:
  LICE_Utf8Cursor(const char* text, int length);
  bool Next(int* code);

private:
  const unsigned char* mNext;
  int mRemaining;
};
