#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// How a parameter's real value maps to the normalised range 0..1 and back. A parameter
// keeps its own copy (Duplicate) and deletes it through the base.
class AAX_ITaperDelegateBase
{
public:
  virtual ~AAX_ITaperDelegateBase() = default;
};

template <typename T>
class AAX_ITaperDelegate : public AAX_ITaperDelegateBase
{
public:
  virtual AAX_ITaperDelegate* Duplicate() const = 0;
  virtual T RangeMax() const = 0;
  virtual T RangeMin() const = 0;
  virtual T ClampValue(T value) const = 0;
  virtual T ToRealValue(double normalized) const = 0;
  virtual double ToNormalizedValue(T value) const = 0;
};

// Normalised values from hosts and files are limited to 0..1 before any arithmetic; NaN
// counts as 0. Values inside the range pass unchanged.
inline double ClampNormalized(double x)
{
  return x > 0.0 ? (x < 1.0 ? x : 1.0) : 0.0;
}

// Truncates toward zero, saturating at the ends of T's range (NaN gives 0), so that no
// double outside T's range is ever converted.
template <typename T>
T SaturatingTruncate(double value)
{
  if (!(value == value))
    return T(0);
  if (value >= double(std::numeric_limits<T>::max()))
    return std::numeric_limits<T>::max();
  if (value <= double(std::numeric_limits<T>::lowest()))
    return std::numeric_limits<T>::lowest();
  return static_cast<T>(value);
}

// On and off: any positive normalised value is on.
template <typename T>
class AAX_CBinaryTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
  AAX_CBinaryTaperDelegate* Duplicate() const override { return new AAX_CBinaryTaperDelegate(*this); }
  T RangeMax() const override { return T(true); }
  T RangeMin() const override { return T(false); }
  T ClampValue(T value) const override { return value; }
  T ToRealValue(double normalized) const override { return T(normalized > 0.0); }
  double ToNormalizedValue(T value) const override { return value ? 1.0 : 0.0; }
};

// A straight line over [minimum, maximum]. Real values are truncated, not rounded: over 0..3,
// 0.5 gives 1, 0.99 gives 2 and only 1.0 gives 3.
template <typename T, int kReserved = 0>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
  AAX_CLinearTaperDelegate(T minimum, T maximum) : mMinimum(minimum), mMaximum(maximum) {}
  AAX_CLinearTaperDelegate* Duplicate() const override { return new AAX_CLinearTaperDelegate(*this); }
  T RangeMax() const override { return mMaximum; }
  T RangeMin() const override { return mMinimum; }
  T ClampValue(T value) const override { return value > mMaximum ? mMaximum : (value < mMinimum ? mMinimum : value); }
  T ToRealValue(double normalized) const override
  {
    const double span = double(mMaximum) - double(mMinimum);
    double real = span * ClampNormalized(normalized) + double(mMinimum);
    // A value's own normalised form must give the value back, but it is rarely exact
    // (1/49 * 49 is just below 1), so results within rounding of a whole number are that number.
    const double whole = std::round(real);
    if (std::fabs(real - whole) <= 1e-9 * std::fmax(1.0, std::fabs(whole)))
      real = whole;
    return ClampValue(SaturatingTruncate<T>(real));
  }
  double ToNormalizedValue(T value) const override
  {
    // A range that truncation collapsed to one value has nothing to divide.
    if (mMaximum == mMinimum)
      return 0.0;
    return (double(ClampValue(value)) - double(mMinimum)) / (double(mMaximum) - double(mMinimum));
  }

private:
  T mMinimum;
  T mMaximum;
};

// The framework parameter's power curve: minimum + (maximum - minimum) * x^shape. Values are
// not snapped to a step.
template <typename T>
class AAX_CIPlugTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
  AAX_CIPlugTaperDelegate(T minimum, T maximum, double shape) : mMinimum(minimum), mMaximum(maximum), mShape(shape) {}
  AAX_CIPlugTaperDelegate* Duplicate() const override { return new AAX_CIPlugTaperDelegate(*this); }
  T RangeMax() const override { return mMaximum; }
  T RangeMin() const override { return mMinimum; }
  T ClampValue(T value) const override
  {
    if (value > mMaximum)
      return mMaximum;
    // NaN falls through both tests and becomes the minimum.
    return value >= mMinimum ? value : mMinimum;
  }
  T ToRealValue(double normalized) const override
  {
    return ClampValue(T(mMinimum + (mMaximum - mMinimum) * std::pow(ClampNormalized(normalized), mShape)));
  }
  double ToNormalizedValue(T value) const override
  {
    if (mMaximum == mMinimum)
      return 0.0;
    const double curve = std::pow((ClampValue(value) - mMinimum) / double(mMaximum - mMinimum), 1.0 / mShape);
    return ClampNormalized(curve);
  }

private:
  T mMinimum;
  T mMaximum;
  double mShape;
};
