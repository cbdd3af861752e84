// The packet queue's lock where there is no Win32 mutex: the plug-in lock's kind, with the
// holder's thread id.
#include "framework/bindings/aax/OwnedMutex.h"

#include "platform/PlugMutex.h"

#include <atomic>
#include <new>
#include <thread>

struct OwnedMutex::Record
{
  std::atomic<std::thread::id> owner{};
  PlugMutex lock;
};

OwnedMutex::OwnedMutex() : mRecord(new (std::nothrow) Record) {}

OwnedMutex::OwnedMutex(Unavailable) {}

OwnedMutex::~OwnedMutex() = default;

bool OwnedMutex::Acquire()
{
  if (!mRecord || mRecord->owner.load() == std::this_thread::get_id())
    return false;
  mRecord->lock.Enter();
  mRecord->owner.store(std::this_thread::get_id());
  return true;
}

void OwnedMutex::Relinquish()
{
  if (!mRecord || mRecord->owner.load() != std::this_thread::get_id())
    return;
  mRecord->owner.store(std::thread::id());
  mRecord->lock.Leave();
}
