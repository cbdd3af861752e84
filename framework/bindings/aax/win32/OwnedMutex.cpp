// The packet queue's lock on Windows: a Win32 mutex and the 32-bit id of the thread that
// holds it, 0 when nobody does.
#include "framework/bindings/aax/OwnedMutex.h"

#include <windows.h>

#include <atomic>
#include <new>

struct OwnedMutex::Record
{
  explicit Record(HANDLE made) : handle(made) {}
  ~Record() { CloseHandle(handle); }
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;

  std::atomic<DWORD> owner{0};
  HANDLE handle;
};

OwnedMutex::OwnedMutex()
{
  HANDLE handle = CreateMutexA(nullptr, FALSE, nullptr);
  if (!handle)
    return;
  mRecord.reset(new (std::nothrow) Record(handle));
  if (!mRecord)
    CloseHandle(handle);
}

OwnedMutex::OwnedMutex(Unavailable) {}

OwnedMutex::~OwnedMutex() = default;

bool OwnedMutex::Acquire()
{
  const DWORD self = GetCurrentThreadId();
  if (!mRecord || mRecord->owner.load() == self)
    return false;
  // A mutex its last holder left without releasing is ours all the same; a wait that failed
  // took nothing, so there is nothing to release either.
  const DWORD waited = WaitForSingleObject(mRecord->handle, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
    return false;
  mRecord->owner.store(self);
  return true;
}

void OwnedMutex::Relinquish()
{
  if (!mRecord || mRecord->owner.load() != GetCurrentThreadId())
    return;
  mRecord->owner.store(0);
  ReleaseMutex(mRecord->handle);
}
