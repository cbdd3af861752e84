#include "framework/core/GrowBuffer.h"
#include "tests/core/FailingAllocator.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// The capacity rule written out independently: pages minus 96 bytes of allocator
// overhead, growing by half the size within [1 page, 4 MB]; text buffers by half the size,
// at least one granule.
int64_t ExpectedCapacity(int64_t n, int granularity)
{
  if (n < 1)
    return 0;
  if (granularity < 4096)
    return n + (n / 2 > granularity ? n / 2 : granularity);
  int64_t step = n / 2 / 4096 * 4096;
  if (step < 4096)
    step = 4096;
  if (step > 4194304)
    step = 4194304;
  return (n + 96 + step) / 4096 * 4096 - 96;
}

TEST(GrowBuffer, CapacityFollowsTheResizeRule)
{
  struct Case
  {
    int granularity;
    int size;
    int capacity;
  };
  const Case cases[] = {
    { 4096, 8, 4000 },          { 4096, 5000, 8096 }, { 4096, 40000000, 44191648 },
    { 128, 10, 138 },           { 128, 1000, 1500 },  { 4096, 4000, 8096 },
    { 4096, 3999, 4000 },       { 4096, 1, 4000 }, { 128, 300, 450 },
  };
  for (const Case& c : cases)
  {
    GrowBuffer buffer(c.granularity);
    EXPECT_NE(buffer.SetSize(c.size), nullptr);
    EXPECT_EQ(buffer.Capacity(), c.capacity) << c.granularity << " " << c.size;
    EXPECT_EQ(buffer.Size(), c.size);
    EXPECT_EQ(GrowBuffer::CapacityFor(c.size, c.granularity), ExpectedCapacity(c.size, c.granularity));
  }
  for (int n = 1; n < 20000000; n = n * 3 + 7)
  {
    EXPECT_EQ(GrowBuffer::CapacityFor(n, 4096), ExpectedCapacity(n, 4096)) << n;
    EXPECT_EQ(GrowBuffer::CapacityFor(n, 128), ExpectedCapacity(n, 128)) << n;
  }
}

TEST(GrowBuffer, EmptyBufferHandsOutNoDataEvenWithABlock)
{
  GrowBuffer buffer(4096);
  EXPECT_EQ(buffer.Data(), nullptr);
  buffer.SetSize(100);
  ASSERT_NE(buffer.Data(), nullptr);
  EXPECT_EQ(buffer.SetSize(0, false), nullptr);
  EXPECT_EQ(buffer.Data(), nullptr);
  EXPECT_EQ(buffer.Capacity(), 4000); // the block is kept
  buffer.SetSize(10);
  EXPECT_EQ(buffer.SetSize(-5, true), nullptr);
  EXPECT_EQ(buffer.Capacity(), 0); // shrinking to nothing always frees
}

TEST(GrowBuffer, ShrinksOnlyOnRequestAndBelowTheThreshold)
{
  GrowBuffer buffer(4096);
  buffer.SetSize(200000);
  const int capacity = buffer.Capacity();
  ASSERT_EQ(capacity, ExpectedCapacity(200000, 4096));
  // Threshold: min(capacity / 2, capacity - 4 granules).
  const int threshold = std::min(capacity / 2, capacity - 4 * 4096);
  buffer.SetSize(1000, false);
  EXPECT_EQ(buffer.Capacity(), capacity);
  buffer.SetSize(200000, false);
  buffer.SetSize(threshold, true);
  EXPECT_EQ(buffer.Capacity(), capacity);
  EXPECT_EQ(buffer.Size(), threshold);
  buffer.SetSize(threshold - 1, true);
  EXPECT_EQ(buffer.Capacity(), ExpectedCapacity(threshold - 1, 4096));

  // A single page never shrinks except to nothing: its threshold is raised to 1.
  GrowBuffer small(4096);
  small.SetSize(3000);
  small.SetSize(1, true);
  EXPECT_EQ(small.Capacity(), 4000);
}

TEST(GrowBuffer, ContentsSurviveGrowthAndZeroFillCoversOnlyTheNewPart)
{
  GrowBuffer buffer(4096);
  for (int i = 0; i < 100000; ++i)
  {
    const int old = buffer.Size();
    buffer.SetSize(old + 8);
    const double v = i;
    std::memcpy(static_cast<char*>(buffer.Data()) + old, &v, 8);
  }
  for (int i = 0; i < 100000; i += 997)
  {
    double v;
    std::memcpy(&v, static_cast<char*>(buffer.Data()) + 8 * i, 8);
    ASSERT_EQ(v, i);
  }

  GrowBuffer text(128);
  text.SetSize(4);
  std::memcpy(text.Data(), "abcd", 4);
  EXPECT_EQ(text.GrowZeroed(10), 4);
  EXPECT_EQ(std::memcmp(text.Data(), "abcd\0\0\0\0\0\0", 10), 0);
  EXPECT_EQ(text.GrowZeroed(2), 10);
  EXPECT_EQ(std::memcmp(text.Data(), "ab", 2), 0);
}

TEST(GrowBuffer, FailedAllocationLeavesEverythingAsItWas)
{
  GrowBuffer buffer(4096);
  buffer.SetSize(100);
  std::memset(buffer.Data(), 0x5A, 100);
  void* data = buffer.Data();
  {
    FailingAllocator fail(0);
    EXPECT_EQ(buffer.SetSize(50000), data);
    EXPECT_EQ(buffer.Size(), 100);
    EXPECT_EQ(buffer.Capacity(), 4000);
    EXPECT_EQ(buffer.GrowZeroed(60000), 100);
    EXPECT_EQ(buffer.Size(), 100);
  }
  EXPECT_EQ(static_cast<unsigned char*>(buffer.Data())[99], 0x5A);

  // A shrink that cannot move the block still takes the smaller size.
  buffer.SetSize(200000);
  {
    FailingAllocator fail(0);
    buffer.SetSize(10, true);
    EXPECT_EQ(buffer.Size(), 10);
    EXPECT_EQ(buffer.Capacity(), ExpectedCapacity(200000, 4096));
  }
}

TEST(GrowBuffer, SizesThatWouldWrapAroundAreRefused)
{
  GrowBuffer pages(4096);
  pages.SetSize(16);
  EXPECT_NE(pages.SetSize(INT32_MAX - 10), nullptr); // fails, but the old data remains
  EXPECT_EQ(pages.Size(), 16);
  EXPECT_EQ(pages.Capacity(), 4000);
  GrowBuffer text(128);
  text.SetSize(1500000000);
  EXPECT_EQ(text.Size(), 0);
  EXPECT_EQ(GrowBuffer::CapacityFor(1500000000, 128), -1);
}
} // namespace
