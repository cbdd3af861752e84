#include "effect/dsp/Layout.h"

#include <cmath>

#include "effect/dsp/PortableMath.h"
#include "effect/dsp/SampleBlock.h"

namespace Dsp {

bool Layout::SetCounts(int poles, int zeros)
{
  if (poles < 0 || zeros < 0 || poles > mCapacity || zeros > mCapacity)
    return false;
  mPoleCount = poles;
  mZeroCount = zeros;
  return true;
}

bool Layout::CopyFrom(const Layout& other)
{
  if (!SetCounts(other.PoleCount(), other.ZeroCount()))
    return false;
  for (int i = 0; i < mPoleCount; ++i)
    mPoles[i] = other.Pole(i);
  for (int i = 0; i < mZeroCount; ++i)
    mZeros[i] = other.Zero(i);
  SetNormal(other.NormalFrequency(), other.NormalGain());
  return true;
}

static Complex MapRoot(const Complex& r, double k)
{
  if (IsRootAtInfinity(r))
    return Complex(-1.0, 0.0);
  return Divide(1.0 + k * r, 1.0 - k * r);
}

void MapPolesToDigital(const Layout& analog, double k, Layout& digital)
{
  digital.SetCounts(analog.PoleCount(), analog.ZeroCount());
  for (int i = 0; i < analog.PoleCount(); ++i)
    digital.SetPole(i, MapRoot(analog.Pole(i), k));
  for (int i = 0; i < analog.ZeroCount(); ++i)
    digital.SetZero(i, MapRoot(analog.Zero(i), k));
  digital.SetNormal(analog.NormalFrequency(), analog.NormalGain());
}

bool MapLayoutToDigital(const Layout& analog, double rate, double cutoff, Layout& digital)
{
  if (!std::isfinite(rate) || rate <= 0.0 || !std::isfinite(cutoff))
    return false;
  if (cutoff <= 0.0 || cutoff >= rate * 0.5)
    return false;
  if (analog.PoleCount() > digital.Capacity() || analog.ZeroCount() > digital.Capacity())
    return false;
  double k = Tan(cutoff * 6.283185307179586 / rate * 0.5);
  MapPolesToDigital(analog, k, digital);
  return true;
}

}  // namespace Dsp
