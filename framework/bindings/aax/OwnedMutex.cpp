#include "framework/bindings/aax/OwnedMutex.h"

#include <new>

OwnedMutex::OwnedMutex() : mRecord(new (std::nothrow) Record) {}

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
