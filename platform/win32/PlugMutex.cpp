#include "platform/PlugMutex.h"

#include <windows.h>

namespace {
CRITICAL_SECTION* Impl(unsigned char* storage)
{
  return reinterpret_cast<CRITICAL_SECTION*>(storage);
}
}  // namespace

PlugMutex::PlugMutex()
{
  static_assert(sizeof(CRITICAL_SECTION) <= sizeof(mStorage), "critical section storage too small");
  static_assert(alignof(CRITICAL_SECTION) <= 8, "critical section storage misaligned");
  InitializeCriticalSection(Impl(mStorage));
}

PlugMutex::~PlugMutex()
{
  DeleteCriticalSection(Impl(mStorage));
}

void PlugMutex::Enter()
{
  EnterCriticalSection(Impl(mStorage));
}

void PlugMutex::Leave()
{
  LeaveCriticalSection(Impl(mStorage));
}
