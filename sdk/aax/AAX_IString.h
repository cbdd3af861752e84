// The string interface through which names, identifiers and texts travel between the host
// and the module; the host hands in its own strings as out arguments.
#pragma once

#include "sdk/aax/ACFUnknown.h"

class AAX_IString
{
public:
  virtual ~AAX_IString() = default;
  virtual uint32_t AAX_CALL CharCount() const = 0;
  virtual uint32_t AAX_CALL CapacityLimit() const = 0;
  virtual const char* AAX_CALL Chars() const = 0;
  virtual void AAX_CALL AssignChars(const char* text) = 0;
  virtual AAX_IString* AAX_CALL AssignCharsChained(const char* text) = 0;
  virtual AAX_IString* AAX_CALL AssignFrom(const AAX_IString* other) = 0;
};
