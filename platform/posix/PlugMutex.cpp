#include "platform/PlugMutex.h"

#include <mutex>
#include <new>

namespace {
std::recursive_mutex& Impl(unsigned char* storage)
{
  return *std::launder(reinterpret_cast<std::recursive_mutex*>(storage));
}
}  // namespace

PlugMutex::PlugMutex()
{
  static_assert(sizeof(std::recursive_mutex) <= sizeof(mStorage), "mutex storage too small");
  static_assert(alignof(std::recursive_mutex) <= 8, "mutex storage misaligned");
  new (mStorage) std::recursive_mutex();
}

PlugMutex::~PlugMutex()
{
  Impl(mStorage).~recursive_mutex();
}

void PlugMutex::Enter()
{
  Impl(mStorage).lock();
}

void PlugMutex::Leave()
{
  Impl(mStorage).unlock();
}
