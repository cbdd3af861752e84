#include "effect/dsp/PortableMath.h"

#include <cmath>

namespace Dsp {

namespace {
// π/2 in three parts, the first two of 33 significant bits: k × each is exact for the
// multiples used here, so the reduced angle keeps full precision (Cody and Waite).
constexpr double kHalfPi1 = 0x1.921fb544p+0;
constexpr double kHalfPi2 = 0x1.0b4611a6p-34;
constexpr double kHalfPi3 = 2.0222662487959506e-21;
constexpr double kTwoOverPi = 0.63661977236758134308;

// Taylor series on |r| ≤ π/4, in r², from the highest term down: the first omitted terms are
// below 1e-24.
double SinSeries(double r)
{
  const double r2 = r * r;
  double s = 0.0;
  for (int n = 21; n >= 3; n -= 2)
    s = -(1.0 + s) * r2 / (n * (n - 1.0));
  return r + r * s;
}

double CosSeries(double r)
{
  const double r2 = r * r;
  double s = 0.0;
  for (int n = 22; n >= 2; n -= 2)
    s = -(1.0 + s) * r2 / (n * (n - 1.0));
  return 1.0 + s;
}

// x = k × π/2 + r with |r| ≤ π/4 (a hair more from rounding); returns k mod 4.
int Reduce(double x, double& r)
{
  const double k = std::nearbyint(x * kTwoOverPi);
  r = ((x - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3;
  return static_cast<int>(std::fmod(k, 4.0) + 4.0) & 3;
}
}  // namespace

double Sin(double x)
{
  if (!std::isfinite(x))
    return std::nan("");
  double r = 0.0;
  switch (Reduce(x, r))
  {
  case 0:
    return SinSeries(r);
  case 1:
    return CosSeries(r);
  case 2:
    return -SinSeries(r);
  default:
    return -CosSeries(r);
  }
}

double Cos(double x)
{
  if (!std::isfinite(x))
    return std::nan("");
  double r = 0.0;
  switch (Reduce(x, r))
  {
  case 0:
    return CosSeries(r);
  case 1:
    return -SinSeries(r);
  case 2:
    return -CosSeries(r);
  default:
    return SinSeries(r);
  }
}

double Tan(double x)
{
  return Sin(x) / Cos(x);
}

std::complex<double> Divide(const std::complex<double>& a, const std::complex<double>& b)
{
  const double d = b.real() * b.real() + b.imag() * b.imag();
  return {(a.real() * b.real() + a.imag() * b.imag()) / d, (a.imag() * b.real() - a.real() * b.imag()) / d};
}

double Magnitude(const std::complex<double>& z)
{
  return std::sqrt(z.real() * z.real() + z.imag() * z.imag());
}

}  // namespace Dsp
