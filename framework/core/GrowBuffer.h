#pragma once

#include <cstddef>
#include <cstdint>

// The heap functions every GrowBuffer goes through. Tests replace them to make
// allocation fail on purpose; nothing else should.
struct GrowAllocator
{
  void* (*reallocate)(void* block, size_t bytes);
  void* (*allocate)(size_t bytes);
  void (*release)(void* block);
};

// Installs an allocator (null restores the C heap) and returns the previous one.
const GrowAllocator* SetGrowAllocator(const GrowAllocator* allocator);

// A growable byte block with one resize rule shared by every list, string, scratch buffer
// and state chunk of the framework. Sizes are signed 32-bit; arithmetic is done in 64 bits
// so that no request can wrap around to a small capacity.
class GrowBuffer
{
public:
  static constexpr int kPageGranularity = 4096;
  static constexpr int kTextGranularity = 128;

  explicit GrowBuffer(int granularity = kPageGranularity);
  ~GrowBuffer();

  GrowBuffer(const GrowBuffer&) = delete;
  GrowBuffer& operator=(const GrowBuffer&) = delete;

  // Resizes to newSize bytes (negative counts as 0). Returns the data, or null when the
  // resulting size is 0. When memory cannot be had the buffer is left exactly as it was;
  // callers compare Size() with what they asked for.
  void* SetSize(int newSize, bool allowShrink = false);

  // SetSize with shrinking allowed; bytes gained are zero-filled. Returns the old size.
  int GrowZeroed(int newSize);

  // The data while the size is non-zero, else null (even when a block is still held).
  void* Data() const { return mSize > 0 ? mData : nullptr; }
  int Size() const { return mSize; }
  int Capacity() const { return mCapacity; }
  int Granularity() const { return mGranularity; }

  // Exchanges contents with another buffer of the same granularity.
  void Swap(GrowBuffer& other);

  // The capacity the resize rule gives for n bytes at a granularity, or -1 when it would
  // not fit in a signed 32-bit size.
  static int64_t CapacityFor(int64_t n, int granularity);

private:
  void* mData = nullptr;
  int mCapacity = 0;
  int mSize = 0;
  int mGranularity;
};
