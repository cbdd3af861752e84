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

bool ChebyII::DesignAnalogPrototype(int n, double stopBandDb, Layout& analog)
{
  if (n <= 0 || n % 2 != 0 || n > analog.Capacity())
    return false;
  if (!std::isfinite(stopBandDb) || stopBandDb <= 0.0)
    return false;

  const double pi = 3.141592653589793;
  double eps = std::sqrt(1.0 / (std::exp(stopBandDb * 0.1 * 2.302585092994046) - 1.0));
  double inv = 1.0 / eps;
  // e^mu for mu = asinh(inv) / n, and the hyperbolic sine and cosine of mu from it.
  const double eMu = std::pow(inv + std::sqrt(inv * inv + 1.0), 1.0 / n);
  const double sinhMu = (eMu - 1.0 / eMu) * 0.5;
  const double coshMu = (eMu + 1.0 / eMu) * 0.5;

  analog.SetCounts(n, n);
  for (int i = 0; i < n; ++i)
  {
    double k = 1 - n + 2 * i;
    double theta = k * pi / (2.0 * n);
    double a = -sinhMu * Cos(theta);
    double b = coshMu * Sin(theta);
    double d = a * a + b * b;
    analog.SetPole(i, Complex(a / d, b / d));
  }
  for (int i = 0; i < n; ++i)
  {
    double phi = (3 - 2 * n + 4 * i) * pi / (2.0 * n);
    analog.SetZero(i, Complex(0.0, 1.0 / Cos(phi)));
  }
  analog.SetNormal(0.0, 1.0);
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
