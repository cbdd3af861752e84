#include "platform/ScopedLock.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace {
TEST(PlugMutex, ReentersOnOneThreadExcludesOthersAndSurvivesExceptions)
{
  PlugMutex mutex;
  ScopedLock none(nullptr);
  try
  {
    ScopedLock lock(&mutex);
    throw std::runtime_error("leave");
  }
  catch (const std::runtime_error&)
  {}

  int counter = 0;
  auto work = [&] {
    for (int i = 0; i < 20000; ++i)
    {
      ScopedLock outer(&mutex);
      ScopedLock inner(&mutex);  // same thread: must not deadlock
      counter = counter + 1;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 40000);
}
}  // namespace
