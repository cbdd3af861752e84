#include "framework/core/GrowBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
const GrowAllocator kHeap = {
  [](void* block, size_t bytes) { return std::realloc(block, bytes); },
  [](size_t bytes) { return std::malloc(bytes); },
  [](void* block) { std::free(block); },
};

const GrowAllocator* gAllocator = &kHeap;

constexpr int64_t kMaxStep = 4194304;
constexpr int64_t kPage = 4096;
}  // namespace

const GrowAllocator* SetGrowAllocator(const GrowAllocator* allocator)
{
  const GrowAllocator* previous = gAllocator;
  gAllocator = allocator ? allocator : &kHeap;
  return previous;
}

GrowBuffer::GrowBuffer(int granularity) : mGranularity(granularity) {}

GrowBuffer::~GrowBuffer()
{
  if (mData)
    gAllocator->release(mData);
}

int64_t GrowBuffer::CapacityFor(int64_t n, int granularity)
{
  if (n < 1)
    return 0;
  int64_t step = std::max<int64_t>(n / 2, granularity);
  int64_t c;
  if (granularity < kPage)
  {
    c = n + step;
  }
  else
  {
    step = step / kPage * kPage;
    step = std::min(std::max(step, kPage), kMaxStep);
    c = (n + 96 + step) / kPage * kPage - 96;
  }
  return c > INT32_MAX ? -1 : c;
}

void* GrowBuffer::SetSize(int newSize, bool allowShrink)
{
  const int n = std::max(newSize, 0);
  if (n == mSize)
    return Data();

  int threshold = 0;
  if (allowShrink && n < mSize)
    threshold = std::max(std::min(mCapacity / 2, mCapacity - 4 * mGranularity), 1);

  if (n > mCapacity || n < threshold)
  {
    const int64_t c = CapacityFor(n, mGranularity);
    if (c < 0)
      return Data();  // too large to represent: treated as a failed allocation
    if (c != mCapacity)
    {
      if (c == 0)
      {
        gAllocator->release(mData);
        mData = nullptr;
        mCapacity = 0;
        mSize = 0;
        return nullptr;
      }
      void* block = gAllocator->reallocate(mData, static_cast<size_t>(c));
      if (!block)
      {
        block = gAllocator->allocate(static_cast<size_t>(c));
        if (!block)
        {
          // A shrink that cannot move still fits in the old block.
          if (n < mCapacity)
            mSize = n;
          return Data();
        }
        if (mData)
        {
          std::memcpy(block, mData, static_cast<size_t>(std::min(mSize, n)));
          gAllocator->release(mData);
        }
      }
      mData = block;
      mCapacity = static_cast<int>(c);
    }
  }
  mSize = n;
  return Data();
}

int GrowBuffer::GrowZeroed(int newSize)
{
  const int old = mSize;
  SetSize(newSize, true);
  if (mSize > old)
    std::memset(static_cast<char*>(mData) + old, 0, static_cast<size_t>(mSize - old));
  return old;
}

void GrowBuffer::Swap(GrowBuffer& other)
{
  std::swap(mData, other.mData);
  std::swap(mCapacity, other.mCapacity);
  std::swap(mSize, other.mSize);
  std::swap(mGranularity, other.mGranularity);
}
