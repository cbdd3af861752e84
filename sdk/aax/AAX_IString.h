// The string interface through which names, identifiers and texts travel between the host
// and the module; the host hands in its own strings as out arguments.
#pragma once

#include "sdk/aax/ACFUnknown.h"

class AAX_IString
{
public:
  // Slot 0, the host's deleting destructor: destroys the string and, with
  // kAAX_DestroyFreesMemory set, frees it.
  virtual void DeletingDestructor(uint32_t flags) = 0;
  virtual uint32_t CharCount() const = 0;
  virtual uint32_t CapacityLimit() const = 0;
  virtual const char* Chars() const = 0;
  virtual void AssignChars(const char* text) = 0;
  virtual AAX_IString* AssignCharsChained(const char* text) = 0;
  virtual AAX_IString* AssignFrom(const AAX_IString* other) = 0;

protected:
  ~AAX_IString() = default;
};
