#include "framework/bindings/aax/AAX_CString.h"

#include <cstring>
#include <locale>
#include <sstream>

namespace {
const char* OrEmpty(const char* text)
{
  return text ? text : "";
}
}  // namespace

AAX_CString::AAX_CString(const char* text) : mText(OrEmpty(text)) {}

AAX_CString::AAX_CString(const AAX_IString& other) : mText(OrEmpty(other.Chars())) {}

uint32_t AAX_CALL AAX_CString::CharCount() const
{
  return static_cast<uint32_t>(mText.size());
}

uint32_t AAX_CALL AAX_CString::CapacityLimit() const
{
  return 0xFFFFFFFEu;
}

const char* AAX_CALL AAX_CString::Chars() const
{
  return mText.c_str();
}

void AAX_CALL AAX_CString::AssignChars(const char* text)
{
  mText.assign(OrEmpty(text));
}

AAX_IString* AAX_CALL AAX_CString::AssignCharsChained(const char* text)
{
  AssignChars(text);
  return this;
}

AAX_IString* AAX_CALL AAX_CString::AssignFrom(const AAX_IString* other)
{
  if (other != this)
    AssignChars(other ? other->Chars() : nullptr);
  return this;
}

AAX_CString& AAX_CString::CopyFrom(const AAX_CString& other)
{
  if (&other != this)
    mText = other.mText;
  return *this;
}

AAX_CString& AAX_CString::AppendStd(const std::string& text)
{
  mText.append(text.c_str());
  return *this;
}

bool AAX_CString::SameAs(const AAX_CString& other) const
{
  return std::strcmp(Chars(), other.Chars()) == 0;
}

bool AAX_CString::Precedes(const AAX_CString& other) const
{
  // strcmp compares as unsigned char and stops at the first NUL.
  return std::strcmp(Chars(), other.Chars()) < 0;
}

const char* AAX_CString::CharAt(uint32_t position) const
{
  return mText.c_str() + position;
}

void AAX_CString::MakeEmpty()
{
  mText.clear();
}

void AAX_CString::EraseRange(uint32_t position, uint32_t count)
{
  if (position < mText.size())
    mText.erase(position, count);
}

void AAX_CString::AppendDecimal(double value, int precision)
{
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out.setf(std::ios::fixed, std::ios::floatfield);
  out.precision(precision);
  out << value;
  mText += out.str();
}

void AAX_CString::CopySubrange(uint32_t position, uint32_t count, AAX_IString* out) const
{
  if (!out)
    return;
  out->AssignChars(position < mText.size() ? mText.substr(position, count).c_str() : "");
}

bool AAX_CString::ParseNumber(double* out) const
{
  std::istringstream in(mText);
  in.imbue(std::locale::classic());
  double value = 0.0;
  in >> value;
  // The stream leaves its own values behind on failure (DBL_MAX on overflow); the answer is 0.
  *out = in.fail() ? 0.0 : value;
  return !in.fail();
}
