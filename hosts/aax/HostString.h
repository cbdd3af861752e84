#pragma once

#include "sdk/aax/AAX_IString.h"

#include <string>

namespace aaxhost {

// A host's string object, handed to the module for texts it fills or reads.
class HostString final : public AAX_IString
{
public:
  HostString() = default;
  explicit HostString(std::string text) : mText(std::move(text)) {}

  void DeletingDestructor(uint32_t flags) override { AAX_DestroyThroughSlot(this, flags); }
  uint32_t CharCount() const override { return uint32_t(mText.size()); }
  uint32_t CapacityLimit() const override { return 0x7FFFFFFF; }
  const char* Chars() const override { return mText.c_str(); }
  void AssignChars(const char* text) override { mText = text ? text : ""; }
  AAX_IString* AssignCharsChained(const char* text) override
  {
    AssignChars(text);
    return this;
  }
  AAX_IString* AssignFrom(const AAX_IString* other) override
  {
    AssignChars(other ? other->Chars() : "");
    return this;
  }

  const std::string& Text() const { return mText; }

private:
  std::string mText;
};

}  // namespace aaxhost
