#pragma once

#include <memory>

// A lock that knows which thread holds it: the holder's further Acquire answers false
// without waiting, and only the holder's Relinquish releases it. A mutex that could not be
// made locks nothing. On Windows it is a Win32 mutex with the holder's 32-bit thread id.
class OwnedMutex
{
public:
  // Selects a mutex that was never made, as when the system has none to give.
  struct Unavailable
  {};

  OwnedMutex();
  explicit OwnedMutex(Unavailable);
  ~OwnedMutex();

  OwnedMutex(const OwnedMutex&) = delete;
  OwnedMutex& operator=(const OwnedMutex&) = delete;

  // True when this call took the lock (and so must relinquish it).
  bool Acquire();
  void Relinquish();

private:
  // The system's mutex and its holder; none when no mutex could be made.
  struct Record;
  std::unique_ptr<Record> mRecord;
};

// Holds an OwnedMutex for a scope; guards nested on the holding thread neither wait nor release.
class OwnedMutexGuard
{
public:
  explicit OwnedMutexGuard(OwnedMutex& mutex) : mMutex(mutex), mAcquired(mutex.Acquire()) {}
  ~OwnedMutexGuard()
  {
    if (mAcquired)
      mMutex.Relinquish();
  }

  OwnedMutexGuard(const OwnedMutexGuard&) = delete;
  OwnedMutexGuard& operator=(const OwnedMutexGuard&) = delete;

private:
  OwnedMutex& mMutex;
  bool mAcquired;
};
