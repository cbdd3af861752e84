#pragma once

#include "framework/bindings/aax/AAX_CString.h"
#include "framework/bindings/aax/AAX_ITaperDelegate.h"
#include "framework/core/SaturateToFloat.h"

#include <map>
#include <memory>
#include <string>
#include <type_traits>

// How a parameter's real value is shown as text and read back from text. A parameter keeps
// its own copy (Duplicate) and deletes it through the base.
class AAX_IDisplayDelegateBase
{
public:
  virtual ~AAX_IDisplayDelegateBase() = default;
};

template <typename T>
class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase
{
public:
  virtual AAX_IDisplayDelegate* Duplicate() const = 0;
  // Text meant for at most `limit` characters.
  virtual bool TextLimited(T value, int32_t limit, AAX_IString& out) const = 0;
  virtual bool Text(T value, AAX_IString& out) const = 0;
  // False when the text is not recognised.
  virtual bool ParseText(const AAX_IString& text, T& out) const = 0;
};

// Cuts a number's text to `limit` characters (none for a negative limit) and drops a point
// left dangling at the end of a cut text.
void TrimNumberText(std::string& text, int32_t limit);

// Two fixed texts for off and on.
template <typename T>
class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
  AAX_CBinaryDisplayDelegate(const char* falseText, const char* trueText) : mFalseText(falseText), mTrueText(trueText)
  {}
  AAX_CBinaryDisplayDelegate* Duplicate() const override { return new AAX_CBinaryDisplayDelegate(*this); }
  bool TextLimited(T value, int32_t, AAX_IString& out) const override { return Text(value, out); }
  bool Text(T value, AAX_IString& out) const override
  {
    out.AssignChars((value ? mTrueText : mFalseText).Chars());
    return true;
  }
  // Anything but the on text reads as off, but only the off text itself counts as read.
  bool ParseText(const AAX_IString& text, T& out) const override
  {
    const AAX_CString given(text);
    out = T(given.SameAs(mTrueText));
    return out || given.SameAs(mFalseText);
  }

private:
  AAX_CString mFalseText;
  AAX_CString mTrueText;
};

// The number alone in fixed notation with kDecimals decimals.
template <typename T, int kDecimals = 2, int kReserved = 0>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
  AAX_CNumberDisplayDelegate* Duplicate() const override { return new AAX_CNumberDisplayDelegate(*this); }
  bool TextLimited(T value, int32_t limit, AAX_IString& out) const override
  {
    AAX_CString text;
    text.AppendDecimal(double(value), kDecimals);
    std::string trimmed = text.Std();
    TrimNumberText(trimmed, limit);
    out.AssignChars(trimmed.c_str());
    return true;
  }
  bool Text(T value, AAX_IString& out) const override
  {
    AAX_CString text;
    text.AppendDecimal(double(value), kDecimals);
    out.AssignChars(text.Chars());
    return true;
  }
  bool ParseText(const AAX_IString& text, T& out) const override
  {
    double number = 0.0;
    const bool read = AAX_CString(text).ParseNumber(&number);
    if constexpr (std::numeric_limits<T>::is_integer)
      out = SaturatingTruncate<T>(number);
    else if constexpr (std::is_same_v<T, float>)
      out = SaturateToFloat(number);
    else
      out = T(number);
    return read;
  }
};

// A text for each listed value; texts read back to the lowest value that shows them.
template <typename T>
class AAX_CStringDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
  explicit AAX_CStringDisplayDelegate(const std::map<T, AAX_CString>& texts) : mTexts(texts)
  {
    for (const auto& [value, text] : mTexts)
      mValues.emplace(text, value);  // an existing text keeps its first, lowest, value
  }
  AAX_CStringDisplayDelegate* Duplicate() const override { return new AAX_CStringDisplayDelegate(*this); }
  bool TextLimited(T value, int32_t, AAX_IString& out) const override { return Text(value, out); }
  bool Text(T value, AAX_IString& out) const override
  {
    const auto found = mTexts.find(value);
    out.AssignChars(found != mTexts.end() ? found->second.Chars() : "String Not Found");
    return found != mTexts.end();
  }
  bool ParseText(const AAX_IString& text, T& out) const override
  {
    const auto found = mValues.find(AAX_CString(text));
    out = found != mValues.end() ? found->second : T(0);
    return found != mValues.end();
  }

private:
  std::map<T, AAX_CString> mTexts;
  std::map<AAX_CString, T, AAX_CStringOrder> mValues;
};

// Hands everything to an inner display it owns.
template <typename T>
class AAX_IDisplayDelegateDecorator : public AAX_IDisplayDelegate<T>
{
public:
  explicit AAX_IDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& inner) : mInner(inner.Duplicate()) {}
  AAX_IDisplayDelegateDecorator(const AAX_IDisplayDelegateDecorator& other) : mInner(other.mInner->Duplicate()) {}
  AAX_IDisplayDelegateDecorator& operator=(const AAX_IDisplayDelegateDecorator&) = delete;

  AAX_IDisplayDelegateDecorator* Duplicate() const override { return new AAX_IDisplayDelegateDecorator(*this); }
  bool TextLimited(T value, int32_t limit, AAX_IString& out) const override
  {
    return mInner->TextLimited(value, limit, out);
  }
  bool Text(T value, AAX_IString& out) const override { return mInner->Text(value, out); }
  bool ParseText(const AAX_IString& text, T& out) const override { return mInner->ParseText(text, out); }

private:
  std::unique_ptr<AAX_IDisplayDelegate<T>> mInner;
};

// The inner display's text followed by a unit, without a separator. A limited text leaves
// the unit off when it does not fit; reading strips a trailing unit.
template <typename T>
class AAX_CUnitDisplayDelegateDecorator : public AAX_IDisplayDelegateDecorator<T>
{
public:
  AAX_CUnitDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& inner, const AAX_CString& unit)
    : AAX_IDisplayDelegateDecorator<T>(inner), mUnit(unit)
  {}
  AAX_CUnitDisplayDelegateDecorator* Duplicate() const override { return new AAX_CUnitDisplayDelegateDecorator(*this); }
  bool TextLimited(T value, int32_t limit, AAX_IString& out) const override
  {
    const bool shown = AAX_IDisplayDelegateDecorator<T>::TextLimited(value, limit, out);
    const int64_t room = int64_t(limit > 0 ? limit : 0) - int64_t(out.CharCount());
    if (room >= int64_t(mUnit.CharCount()))
      AppendUnit(out);
    return shown;
  }
  bool Text(T value, AAX_IString& out) const override
  {
    const bool shown = AAX_IDisplayDelegateDecorator<T>::Text(value, out);
    AppendUnit(out);
    return shown;
  }
  bool ParseText(const AAX_IString& text, T& out) const override
  {
    const std::string given(text.Chars() ? text.Chars() : "");
    const size_t unitLength = mUnit.CharCount();
    if (given.size() <= unitLength || given.compare(given.size() - unitLength, unitLength, mUnit.Std()) != 0)
      return AAX_IDisplayDelegateDecorator<T>::ParseText(text, out);
    const AAX_CString number(given.substr(0, given.size() - unitLength).c_str());
    return AAX_IDisplayDelegateDecorator<T>::ParseText(number, out);
  }

private:
  void AppendUnit(AAX_IString& out) const
  {
    AAX_CString text(out);
    text.AppendStd(mUnit.Std());
    out.AssignChars(text.Chars());
  }

  AAX_CString mUnit;
};
