#pragma once

#include "framework/core/GrowBuffer.h"

// A growable NUL-terminated 8-bit text. Every operation either completes or, when memory
// runs out or its arguments do not describe a part of the text, leaves the text unchanged
// and reports false.
class StringBuffer
{
public:
  StringBuffer();
  explicit StringBuffer(const char* text);

  StringBuffer(const StringBuffer&) = delete;
  StringBuffer& operator=(const StringBuffer&) = delete;

  // Takes the text up to its NUL or maxLength characters; maxLength < 1 takes all of it.
  // The source may lie inside this buffer.
  bool Assign(const char* text, int maxLength = -1);

  // Replaces the text from position on by length bytes of text followed by the kept bytes
  // that were at position. (0, null, 0, 0) empties the text.
  bool Splice(int position, const char* text, int length, int kept);

  // printf into the buffer, keeping at most maxLength characters.
  bool Format(int maxLength, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

  const char* Get() const;
  int Length() const;

private:
  bool Reserve(int size);
  bool Inside(const char* text) const;

  GrowBuffer mBuffer;
};
