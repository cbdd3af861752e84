#pragma once

#include "framework/core/GrowBuffer.h"

#include <algorithm>
#include <cstring>

// An ordered list of object pointers kept in a GrowBuffer. Whether the list owns its
// elements is up to its owner: an owning list is emptied with DeleteAll.
template <class T>
class PtrList
{
public:
  explicit PtrList(int granularity = GrowBuffer::kPageGranularity) : mBuffer(granularity) {}

  PtrList(const PtrList&) = delete;
  PtrList& operator=(const PtrList&) = delete;

  int Count() const { return mBuffer.Size() / static_cast<int>(sizeof(T*)); }

  T* At(int index) const
  {
    if (index < 0 || index >= Count())
      return nullptr;
    return Slots()[index];
  }

  T* const* Array() const { return Slots(); }

  // Returns false (and stores nothing) when the list could not grow.
  bool Append(T* element)
  {
    const int count = Count();
    if (!Grow(count + 1))
      return false;
    Slots()[count] = element;
    return true;
  }

  // The index is clamped to [0, Count()]. Returns the element, or null when the list
  // could not grow (nothing is then stored or moved).
  T* InsertAt(int index, T* element)
  {
    const int count = Count();
    index = std::clamp(index, 0, count);
    if (!Grow(count + 1))
      return nullptr;
    T** slots = Slots();
    std::memmove(slots + index + 1, slots + index, sizeof(T*) * static_cast<size_t>(count - index));
    slots[index] = element;
    return element;
  }

  // Deletes the element at the index and closes the gap; out of range does nothing.
  void RemoveAt(int index)
  {
    const int count = Count();
    if (index < 0 || index >= count)
      return;
    T** slots = Slots();
    delete slots[index];
    std::memmove(slots + index, slots + index + 1, sizeof(T*) * static_cast<size_t>(count - index - 1));
    mBuffer.SetSize(SlotBytes(count - 1), false);
  }

  // Deletes every element from the last to the first, then frees the storage.
  void DeleteAll()
  {
    for (int i = Count() - 1; i >= 0; --i)
    {
      delete Slots()[i];
      mBuffer.SetSize(SlotBytes(i), false);
    }
    mBuffer.SetSize(0, true);
  }

  // Forgets every element without deleting it.
  void Empty() { mBuffer.SetSize(0, true); }

private:
  static int SlotBytes(int count) { return count * static_cast<int>(sizeof(T*)); }

  bool Grow(int count)
  {
    if (count > INT32_MAX / static_cast<int>(sizeof(T*)))
      return false;
    mBuffer.SetSize(SlotBytes(count), false);
    return mBuffer.Size() == SlotBytes(count);
  }

  T** Slots() const { return static_cast<T**>(mBuffer.Data()); }

  GrowBuffer mBuffer;
};
