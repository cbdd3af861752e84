#pragma once

// What the host side needs of a runtime, without one: texts, a call log, and objects placed
// in static memory.
#include "hosts/msabi/aax/MsAbiAaxInterfaces.h"

inline void* operator new(decltype(sizeof 0), void* where) noexcept
{
  return where;
}

namespace msabi {

uint32 TextLength(const char* text);
bool SameText(const char* a, const char* b);
// Copies at most capacity - 1 characters and terminates.
void CopyText(char* to, uint32 capacity, const char* from);

// Objects of one scenario, placed in a static pool and forgotten together at its end (they
// own nothing that needs destroying).
class Arena
{
public:
  template <typename T, typename... A>
  static T* Make(A&&... arguments)
  {
    return new (Allocate(sizeof(T))) T(static_cast<A&&>(arguments)...);
  }
  static void Reset();

private:
  static void* Allocate(decltype(sizeof 0) size);
};

class CallLog;

// The text of a call's arguments, comma-separated: texts quoted, numbers in decimal,
// pointers by the name the log knows them by ("ptr" for others, "null").
class Args
{
public:
  explicit Args(const CallLog& log) : mLog(log) {}
  Args& operator<<(const char* text);
  Args& operator<<(int32 value);
  Args& operator<<(uint32 value);
  Args& operator<<(const void* pointer);
  const char* Text() const { return mText; }

private:
  void Separate();
  void Put(const char* text);

  const CallLog& mLog;
  char mText[256] = {};
  uint32 mLength = 0;
};

// Every call the host's objects receive, one a line, into the test's buffer.
class CallLog
{
public:
  CallLog(char* chars, int capacity);
  // One line made of up to six parts.
  void Add(const char* a, const char* b = "", const char* c = "", const char* d = "", const char* e = "",
           const char* f = "");
  // One line of fields separated by '|'.
  template <int N>
  void AddFields(const char* const (&fields)[N])
  {
    AddFields(fields, N);
  }
  void AddFields(const char* const* fields, int count);
  // The log shows this pointer by name.
  void Name(const void* pointer, const char* label);
  const char* Describe(const void* pointer) const;
  // Lines that begin with `prefix`.
  int Count(const char* prefix) const;

private:
  void Put(const char* text);

  char* mChars;
  int mCapacity;
  int mLength = 0;
  struct Named
  {
    const void* pointer;
    const char* label;
  };
  Named mNames[64] = {};
  int mNameCount = 0;
};

// Decimal text of a signed number.
void FormatInteger(long long value, char (&text)[24]);

}  // namespace msabi
