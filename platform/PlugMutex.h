#pragma once

// A lock that the owning thread may enter again while it holds it. The storage is opaque
// so that portable code never sees the operating system's headers.
class PlugMutex
{
public:
  PlugMutex();
  ~PlugMutex();

  PlugMutex(const PlugMutex&) = delete;
  PlugMutex& operator=(const PlugMutex&) = delete;

  void Enter();
  void Leave();

private:
  alignas(8) unsigned char mStorage[64];
};

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
