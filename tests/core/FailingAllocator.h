#pragma once

#include "framework/core/GrowBuffer.h"

#include <cstdlib>

// Replaces the GrowBuffer heap for the life of the object: requests fail once `succeed`
// more have gone through (negative: none fails by count), and with `reallocFails` every
// attempt to resize a block where it lies fails.
class FailingAllocator
{
public:
  explicit FailingAllocator(int succeed, bool reallocFails = false)
  {
    sLeft = succeed;
    sReallocFails = reallocFails;
    mPrevious = SetGrowAllocator(&kFailing);
  }
  ~FailingAllocator() { SetGrowAllocator(mPrevious); }

  FailingAllocator(const FailingAllocator&) = delete;
  FailingAllocator& operator=(const FailingAllocator&) = delete;

private:
  static bool Refuse()
  {
    if (sLeft == 0)
      return true;
    if (sLeft > 0)
      --sLeft;
    return false;
  }

  static inline int sLeft = 0;
  static inline bool sReallocFails = false;
  static inline const GrowAllocator kFailing = {
    [](void* block, size_t bytes) { return sReallocFails || Refuse() ? nullptr : std::realloc(block, bytes); },
    [](size_t bytes) { return Refuse() ? nullptr : std::malloc(bytes); },
    [](void* block) { std::free(block); },
  };

  const GrowAllocator* mPrevious;
};
