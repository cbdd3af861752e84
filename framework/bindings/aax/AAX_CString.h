#pragma once

#include "sdk/aax/AAX_IString.h"

#include <cstdint>
#include <string>

// The module's string: 8-bit text held with its length. Text handed in is always taken up
// to its first NUL, and a null text counts as the empty one.
class AAX_CString final : public AAX_IString
{
public:
  AAX_CString() = default;
  AAX_CString(const char* text);  // NOLINT: texts convert implicitly, as literals are passed everywhere
  explicit AAX_CString(const AAX_IString& other);
  AAX_CString(const AAX_CString& other) = default;
  AAX_CString& operator=(const AAX_CString& other) = default;

  // ---- AAX_IString ----
  void DeletingDestructor(uint32_t flags) override { AAX_DestroyThroughSlot(this, flags); }
  uint32_t CharCount() const override;
  uint32_t CapacityLimit() const override;
  const char* Chars() const override;
  void AssignChars(const char* text) override;
  AAX_IString* AssignCharsChained(const char* text) override;
  AAX_IString* AssignFrom(const AAX_IString* other) override;

  AAX_CString& CopyFrom(const AAX_CString& other);
  AAX_CString& AppendStd(const std::string& text);
  bool SameAs(const AAX_CString& other) const;
  bool Differs(const AAX_CString& other) const { return !SameAs(other); }
  // Unsigned byte order of the NUL-terminated texts; a proper prefix sorts first.
  bool Precedes(const AAX_CString& other) const;
  const char* CharAt(uint32_t position) const;
  void MakeEmpty();
  void EraseRange(uint32_t position, uint32_t count);
  // Fixed notation with `precision` decimals, always with a point, whatever the host's locale.
  void AppendDecimal(double value, int precision);
  void CopySubrange(uint32_t position, uint32_t count, AAX_IString* out) const;
  // One number from the start of the text (leading blanks skipped, trailing text ignored);
  // 0.0 and false when there is none.
  bool ParseNumber(double* out) const;

  const std::string& Std() const { return mText; }

private:
  std::string mText;
};

// Orders maps keyed by strings the way Precedes does.
struct AAX_CStringOrder
{
  bool operator()(const AAX_CString& a, const AAX_CString& b) const { return a.Precedes(b); }
};
