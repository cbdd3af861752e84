#include "platform/PlugMutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace
{
TEST(PlugMutex, ReentersOnOneThreadAndExcludesOthers)
{
  PlugMutex mutex;
  int counter = 0;
  {
    ScopedLock outer(&mutex);
    ScopedLock inner(&mutex); // same thread: must not deadlock
    ++counter;
  }
  ScopedLock none(nullptr); // no mutex: nothing to do

  constexpr int kIterations = 20000;
  auto work = [&] {
    for (int i = 0; i < kIterations; ++i)
    {
      ScopedLock lock(&mutex);
      ScopedLock again(&mutex);
      counter = counter + 1;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 1 + 2 * kIterations);
}

TEST(PlugMutex, ReleasedWhenAnExceptionLeavesTheScope)
{
  PlugMutex mutex;
  try
  {
    ScopedLock lock(&mutex);
    throw std::runtime_error("leave");
  }
  catch (const std::runtime_error&)
  {
  }
  std::atomic<bool> acquired{ false };
  std::thread other([&] {
    ScopedLock lock(&mutex);
    acquired = true;
  });
  other.join();
  EXPECT_TRUE(acquired);
}
} // namespace
