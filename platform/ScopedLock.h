#pragma once

#include "platform/PlugMutex.h"

// Holds a mutex for a scope; a null mutex is allowed and means "no locking".
class ScopedLock
{
public:
  explicit ScopedLock(PlugMutex* mutex) : mMutex(mutex)
  {
    if (mMutex)
      mMutex->Enter();
  }

  ~ScopedLock()
  {
    if (mMutex)
      mMutex->Leave();
  }

  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

private:
  PlugMutex* mMutex;
};
