#include "framework/core/IPlugParameter.h"

#include "framework/core/NumberText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

void CopyText(char* out, int capacity, const char* text)
{
  if (!out || capacity < 1)
    return;
  if (!text)
    text = "";
  size_t n = std::strlen(text);
  n = std::min(n, static_cast<size_t>(capacity - 1));
  std::memmove(out, text, n);
  out[n] = '\0';
}

namespace {
// Steps and values built from decimal fractions carry rounding error, and how much depends on
// the floating-point unit (the x87 keeps 80-bit intermediates that SSE2 rounds away). Within
// this relative distance of a whole number a value counts as that number.
constexpr double kWholeTolerance = 1e-9;

bool IsNearlyWhole(double value)
{
  return std::fabs(value - std::round(value)) <= kWholeTolerance * std::fabs(value);
}

double SnapNearlyWhole(double value)
{
  return IsNearlyWhole(value) ? std::round(value) : value;
}

// The value in steps, a quotient within rounding error of a whole or half step taken as
// exactly that: 0.35 on a 0.1 step is 3.5 steps, not 3.4999999999999996.
double StepsIn(double value, double step)
{
  return SnapNearlyWhole(value / step * 2.0) / 2.0;
}

// The integer a value shows as: truncated toward zero, after a value within rounding error of
// a whole number (6.999999999999999 for 7) is taken as that number.
int WholePart(double value)
{
  return TruncateToInt(SnapNearlyWhole(value));
}

// Decimals needed to show multiples of the step: 0.1 gives 1, 0.05 gives 2, 1e-9 the maximum.
int PrecisionOfStep(double step)
{
  if (!std::isfinite(step))
    return 0;
  int precision = 0;
  for (double s = step; !IsNearlyWhole(s) && precision < IPlugParameter::kMaxPrecision; s *= 10.0)
    ++precision;
  return precision;
}
}  // namespace

int TruncateToInt(double value)
{
  if (std::isnan(value))
    return 0;
  if (value >= 2147483647.0)
    return INT_MAX;
  if (value <= -2147483648.0)
    return INT_MIN;
  return static_cast<int>(value);
}

IPlugParameter::IPlugParameter() : mTexts(GrowBuffer::kPageGranularity) {}

void IPlugParameter::DefineDouble(const char* name, double defaultValue, double min, double max, double step,
                                  const char* label, const char* group, double shape)
{
  if (mType == kTypeNone)
    mType = kTypeDouble;
  CopyText(mName, kTextSize, name);
  CopyText(mLabel, kTextSize, label);
  CopyText(mGroup, kTextSize, group);
  mMin = min;
  mValue.store(defaultValue, std::memory_order_relaxed);
  mMax = max < min + step ? min + step : max;
  mStep = step;
  mDefault = defaultValue;

  mPrecision = PrecisionOfStep(step);

  if (shape != 0.0)
    mShape = shape;
}

void IPlugParameter::DefineBool(const char* name, bool defaultValue, const char* label, const char* group)
{
  if (mType == kTypeNone)
    mType = kTypeBool;
  DefineDouble(name, defaultValue ? 1.0 : 0.0, 0.0, 1.0, 0.1, label, group, 1.0);
  AddDisplayText(0, "off");
  AddDisplayText(1, "on");
}

void IPlugParameter::SetFromNormal(double x)
{
  x = std::isnan(x) ? 0.0 : std::clamp(x, 0.0, 1.0);
  double v = std::pow(x, mShape) * (mMax - mMin) + mMin;
  if (mType != kTypeDouble)
    v = std::floor(StepsIn(v, mStep) + 0.5) * mStep;
  else if (mStep == 1.0)
    v = std::round(StepsIn(v, 1.0));
  if (std::isnan(v))
    return;
  mValue.store(v < mMax ? v : mMax, std::memory_order_relaxed);
}

bool IPlugParameter::SetPlain(double value)
{
  if (std::isnan(value))
    return false;
  mValue.store(std::clamp(value, mMin, std::max(mMin, mMax)), std::memory_order_relaxed);
  return true;
}

double IPlugParameter::Value() const
{
  return mValue.load(std::memory_order_relaxed);
}

double IPlugParameter::Normal() const
{
  return NormalOf(Value());
}

double IPlugParameter::NormalOf(double v) const
{
  if (!(mMax > mMin) || std::isnan(v))
    return 0.0;
  v = std::clamp(v, mMin, mMax);
  const double n = std::pow((v - mMin) / (mMax - mMin), 1.0 / mShape);
  return std::isnan(n) ? 0.0 : std::clamp(n, 0.0, 1.0);
}

const IPlugParameter::TextEntry* IPlugParameter::EntryFor(int value) const
{
  const TextEntry* entries = Entries();
  for (int i = 0, n = TextCount(); i < n; ++i)
  {
    if (entries[i].value == value)
      return &entries[i];
  }
  return nullptr;
}

void IPlugParameter::DisplayText(double value, bool normalised, char* out, int capacity, bool useTexts) const
{
  if (!out || capacity < 1)
    return;
  if (normalised)
    value = std::pow(value, mShape) * (mMax - mMin) + mMin;
  if (useTexts && TextCount() > 0)
  {
    const TextEntry* entry = EntryFor(WholePart(value));
    if (entry && entry->text[0])
    {
      CopyText(out, capacity, entry->text);
      return;
    }
  }
  if (mNegateDisplay)
    value = -value;
  if (mPrecision > 0)
  {
    FormatFixed(out, capacity, value, mPrecision);
  }
  else
  {
    char text[16];
    std::to_chars_result r = std::to_chars(text, text + sizeof(text) - 1, WholePart(value));
    *r.ptr = '\0';
    CopyText(out, capacity, text);
  }
}

void IPlugParameter::PlainDisplay(char* out, int capacity) const
{
  DisplayText(Value(), false, out, capacity, false);
}

const char* IPlugParameter::UnitLabel() const
{
  const TextEntry* entry = EntryFor(WholePart(Value()));
  return entry && entry->text[0] ? "" : mLabel;
}

bool IPlugParameter::AddDisplayText(int value, const char* text)
{
  const int old = mTexts.Size();
  const int wanted = old + static_cast<int>(sizeof(TextEntry));
  mTexts.SetSize(wanted, false);
  if (mTexts.Size() != wanted)
    return false;
  TextEntry entry = {};
  entry.value = value;
  CopyText(entry.text, kTextSize, text);
  std::memcpy(static_cast<char*>(mTexts.Data()) + old, &entry, sizeof(entry));
  return true;
}

int IPlugParameter::TextCount() const
{
  return mTexts.Size() / static_cast<int>(sizeof(TextEntry));
}

const char* IPlugParameter::TextAt(int index) const
{
  return index >= 0 && index < TextCount() ? Entries()[index].text : "";
}

const char* IPlugParameter::TextForValue(int value) const
{
  const TextEntry* entry = EntryFor(value);
  return entry ? entry->text : "";
}

bool IPlugParameter::ValueForText(const char* text, int* value) const
{
  if (!text)
    return false;
  const TextEntry* entries = Entries();
  for (int i = 0, n = TextCount(); i < n; ++i)
  {
    if (std::strcmp(entries[i].text, text) == 0)
    {
      if (value)
        *value = entries[i].value;
      return true;
    }
  }
  return false;
}
