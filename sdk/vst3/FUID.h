// A 16-byte class or interface id. Built from four 32-bit words by the platform's byte
// layout (see FUnknown.h), so the words and the text form are the same on every platform
// while the bytes that travel differ.
#pragma once

#include <string>

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

class FUID
{
public:
  FUID();  // all zero: not valid
  FUID(uint32 l1, uint32 l2, uint32 l3, uint32 l4);
  static FUID fromTUID(const char* bytes);  // 16 raw bytes; null gives the zero id

  bool isValid() const;
  uint32 getLong1() const;
  uint32 getLong2() const;
  uint32 getLong3() const;
  uint32 getLong4() const;

  const char* toTUID() const { return mData; }
  void toTUID(char* out) const;  // 16 bytes

  // 32 upper-case hex digits of the four words.
  std::string toString() const;
  // Reads 32 hex digits (either case); false and unchanged otherwise.
  bool fromString(const char* text);
  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" of the four words.
  std::string toRegistryString() const;

  bool operator==(const FUID& other) const;
  bool operator!=(const FUID& other) const { return !(*this == other); }
  bool operator<(const FUID& other) const;

private:
  TUID mData;
};

}  // namespace vst3
