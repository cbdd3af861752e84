#include "framework/core/GrowBuffer.h"
#include "tests/core/FailingAllocator.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
// The capacity rule written out independently: pages minus 96 bytes of allocator
// overhead, growing by half the size within [1 page, 4 MB]; text buffers by half the size,
// at least one granule.
int64_t ExpectedCapacity(int64_t n, int granularity)
{
  if (n < 1)
    return 0;
  if (granularity < 4096)
    return n + std::max<int64_t>(n / 2, granularity);
  const int64_t step = std::clamp<int64_t>(n / 2 / 4096 * 4096, 4096, 4194304);
  return (n + 96 + step) / 4096 * 4096 - 96;
}

TEST(GrowBuffer, CapacityFollowsTheResizeRule)
{
  const struct
  {
    int granularity, size, capacity;
  } cases[] = {{4096, 8, 4000},   {4096, 5000, 8096}, {4096, 40000000, 44191648}, {128, 10, 138},
               {128, 1000, 1500}, {4096, 3999, 4000}, {4096, 4000, 8096},         {128, 300, 450}};
  for (const auto& c : cases)
  {
    GrowBuffer buffer(c.granularity);
    EXPECT_NE(buffer.SetSize(c.size), nullptr);
    EXPECT_EQ(buffer.Capacity(), c.capacity) << c.granularity << " " << c.size;
  }
  for (int n = 1; n < 20000000; n = n * 3 + 7)
  {
    EXPECT_EQ(GrowBuffer::CapacityFor(n, 4096), ExpectedCapacity(n, 4096)) << n;
    EXPECT_EQ(GrowBuffer::CapacityFor(n, 128), ExpectedCapacity(n, 128)) << n;
  }
}

TEST(GrowBuffer, ShrinksOnlyOnRequestAndBelowTheThreshold)
{
  GrowBuffer buffer(4096);
  buffer.SetSize(100);
  EXPECT_EQ(buffer.SetSize(0, false), nullptr);  // no data handed out, but the block stays
  EXPECT_EQ(buffer.Capacity(), 4000);
  buffer.SetSize(10);
  EXPECT_EQ(buffer.SetSize(-5, true), nullptr);  // shrinking to nothing always frees
  EXPECT_EQ(buffer.Capacity(), 0);

  buffer.SetSize(200000);
  const int capacity = buffer.Capacity();
  const int threshold = std::min(capacity / 2, capacity - 4 * 4096);
  buffer.SetSize(1000, false);
  buffer.SetSize(threshold, true);
  EXPECT_EQ(buffer.Capacity(), capacity);
  buffer.SetSize(threshold - 1, true);
  EXPECT_EQ(buffer.Capacity(), ExpectedCapacity(threshold - 1, 4096));

  GrowBuffer page(4096);  // a single page never shrinks except to nothing
  page.SetSize(3000);
  page.SetSize(1, true);
  EXPECT_EQ(page.Capacity(), 4000);
}

TEST(GrowBuffer, ContentsSurviveMovingToAFreshBlockAndZeroFillCoversOnlyTheNewPart)
{
  GrowBuffer buffer(4096);
  buffer.SetSize(4000);
  for (int i = 0; i < 1000; ++i)
    static_cast<int*>(buffer.Data())[i] = i;
  {
    FailingAllocator fail(-1, true);  // reallocation fails, a fresh block does not
    buffer.SetSize(12000);
  }
  ASSERT_EQ(buffer.Size(), 12000);
  for (int i = 0; i < 1000; ++i)
    ASSERT_EQ(static_cast<int*>(buffer.Data())[i], i);

  GrowBuffer text(128);
  text.SetSize(4);
  std::memcpy(text.Data(), "abcd", 4);
  EXPECT_EQ(text.GrowZeroed(10), 4);
  EXPECT_EQ(std::memcmp(text.Data(), "abcd\0\0\0\0\0\0", 10), 0);
}

TEST(GrowBuffer, FailedOrImpossibleGrowthLeavesEverythingAsItWas)
{
  GrowBuffer buffer(4096);
  buffer.SetSize(100);
  std::memset(buffer.Data(), 0x5A, 100);
  void* data = buffer.Data();
  {
    FailingAllocator fail(0);
    EXPECT_EQ(buffer.SetSize(50000), data);
    EXPECT_EQ(buffer.GrowZeroed(60000), 100);
    EXPECT_EQ(buffer.Size(), 100);
    EXPECT_EQ(buffer.Capacity(), 4000);
  }
  EXPECT_EQ(static_cast<unsigned char*>(buffer.Data())[99], 0x5A);

  buffer.SetSize(200000);
  {
    FailingAllocator fail(0);  // a shrink that cannot move still takes the smaller size
    buffer.SetSize(10, true);
    EXPECT_EQ(buffer.Size(), 10);
  }

  // Sizes whose capacity would not fit in 32 bits are refused, not wrapped around.
  buffer.SetSize(INT32_MAX - 10);
  EXPECT_EQ(buffer.Size(), 10);
  GrowBuffer text(128);
  text.SetSize(1500000000);
  EXPECT_EQ(text.Size(), 0);
}
}  // namespace
