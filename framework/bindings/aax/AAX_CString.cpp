#include "framework/bindings/aax/AAX_CString.h"

#include "framework/core/NumberText.h"

#include <cstring>

namespace {
const char* OrEmpty(const char* text)
{
  return text ? text : "";
}
}  // namespace

AAX_CString::AAX_CString(const char* text) : mText(OrEmpty(text)) {}

AAX_CString::AAX_CString(const AAX_IString& other) : mText(OrEmpty(other.Chars())) {}

uint32_t AAX_CString::CharCount() const
{
  return static_cast<uint32_t>(mText.size());
}

uint32_t AAX_CString::CapacityLimit() const
{
  return 0xFFFFFFFEu;
}

const char* AAX_CString::Chars() const
{
  return mText.c_str();
}

void AAX_CString::AssignChars(const char* text)
{
  mText.assign(OrEmpty(text));
}

AAX_IString* AAX_CString::AssignCharsChained(const char* text)
{
  AssignChars(text);
  return this;
}

AAX_IString* AAX_CString::AssignFrom(const AAX_IString* other)
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
  // A position past the end gives the empty text at the end, never memory beyond it.
  return mText.c_str() + (position < mText.size() ? position : mText.size());
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
  char text[400];
  FormatFixed(text, sizeof(text), value, precision);
  mText += text;
}

void AAX_CString::CopySubrange(uint32_t position, uint32_t count, AAX_IString* out) const
{
  if (!out)
    return;
  out->AssignChars(position < mText.size() ? mText.substr(position, count).c_str() : "");
}

bool AAX_CString::ParseNumber(double* out) const
{
  return ReadNumber(mText.c_str(), out);
}
