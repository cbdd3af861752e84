#pragma once

#include "framework/core/GrowBuffer.h"

#include <cstdlib>

// Replaces the GrowBuffer heap for the life of the object. Requests fail once `failAfter`
// more have succeeded (negative: never by count), when they ask for more than `maxBytes`,
// or, with `reallocFails`, whenever a block would be resized in place.
class FailingAllocator
{
public:
  explicit FailingAllocator(int failAfter = 0, size_t maxBytes = SIZE_MAX, bool reallocFails = false)
  {
    sFailAfter = failAfter;
    sMaxBytes = maxBytes;
    sReallocFails = reallocFails;
    sRequests = 0;
    mPrevious = SetGrowAllocator(&kFailing);
  }
  ~FailingAllocator() { SetGrowAllocator(mPrevious); }

  FailingAllocator(const FailingAllocator&) = delete;
  FailingAllocator& operator=(const FailingAllocator&) = delete;

  static int Requests() { return sRequests; }

private:
  static bool Refuse(size_t bytes)
  {
    ++sRequests;
    if (bytes > sMaxBytes)
      return true;
    if (sFailAfter < 0)
      return false;
    if (sFailAfter == 0)
      return true;
    --sFailAfter;
    return false;
  }

  static inline int sFailAfter = 0;
  static inline size_t sMaxBytes = SIZE_MAX;
  static inline int sRequests = 0;
  static inline bool sReallocFails = false;

  static inline const GrowAllocator kFailing = {
    [](void* block, size_t bytes) {
      return sReallocFails || Refuse(bytes) ? nullptr : std::realloc(block, bytes);
    },
    [](size_t bytes) { return Refuse(bytes) ? nullptr : std::malloc(bytes); },
    [](void* block) { std::free(block); },
  };

  const GrowAllocator* mPrevious;
};
