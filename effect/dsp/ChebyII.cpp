#include "effect/dsp/ChebyII.h"

#include <cmath>

#include "effect/dsp/PortableMath.h"

namespace Dsp {

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

}  // namespace Dsp
