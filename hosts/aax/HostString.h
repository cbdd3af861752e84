#pragma once

#include "sdk/aax/AAX_IString.h"

#include <string>

namespace aaxhost {

// A host's string object, handed to the module for texts it fills or reads.
class HostString : public AAX_IString
{
public:
  HostString() = default;
  explicit HostString(std::string text) : mText(std::move(text)) {}

  uint32_t AAX_CALL CharCount() const override { return uint32_t(mText.size()); }
  uint32_t AAX_CALL CapacityLimit() const override { return 0x7FFFFFFF; }
  const char* AAX_CALL Chars() const override { return mText.c_str(); }
  void AAX_CALL AssignChars(const char* text) override { mText = text ? text : ""; }
  AAX_IString* AAX_CALL AssignCharsChained(const char* text) override
  {
    AssignChars(text);
    return this;
  }
  AAX_IString* AAX_CALL AssignFrom(const AAX_IString* other) override
  {
    AssignChars(other ? other->Chars() : "");
    return this;
  }

  const std::string& Text() const { return mText; }

private:
  std::string mText;
};

}  // namespace aaxhost
