#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <limits>

#include "effect/dsp/PortableMath.h"

namespace {

// Distance in units in the last place between two doubles of the same sign.
std::int64_t Ulps(double a, double b)
{
  std::int64_t x = 0, y = 0;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x > y ? x - y : y - x;
}

// Within a few units in the last place, or, near a zero, within the reduction's absolute error.
void ExpectClose(double got, double want, std::int64_t ulps, double x)
{
  EXPECT_TRUE(Ulps(got, want) <= ulps || std::fabs(got - want) <= 1e-18) << x << ": " << got << " for " << want;
}

TEST(PortableMath, SineCosineAndTangentAgreeWithTheRuntimeToTheLastPlace)
{
#if defined(_WIN32)
  GTEST_SKIP() << "the Windows runtimes' own sines are less exact than the one checked here";
#endif
  for (int i = -100000; i <= 100000; ++i)
  {
    const double x = i * 4.9382716e-4;  // −49 … 49 radians: many turns and every quadrant
    ExpectClose(Dsp::Sin(x), std::sin(x), 1, x);
    ExpectClose(Dsp::Cos(x), std::cos(x), 1, x);
    if (std::fabs(std::cos(x)) > 1e-3)
      ExpectClose(Dsp::Tan(x), std::tan(x), 4, x);
  }
}

TEST(PortableMath, KnownValuesAndNonFiniteAngles)
{
  const double pi = 3.141592653589793;
  EXPECT_EQ(Dsp::Sin(0.0), 0.0);
  EXPECT_EQ(Dsp::Cos(0.0), 1.0);
  EXPECT_EQ(Dsp::Sin(pi / 2), 1.0);
  EXPECT_EQ(Dsp::Cos(pi), -1.0);
  EXPECT_EQ(Dsp::Sin(pi), 1.2246467991473532e-16);  // π in doubles is not quite π
  EXPECT_EQ(Dsp::Cos(pi / 2), 6.123233995736766e-17);
  EXPECT_EQ(Dsp::Sin(1.0), 0.8414709848078965);
  ExpectClose(Dsp::Cos(-40.0), -0.6669380616522619, 1, -40.0);
  EXPECT_EQ(Dsp::Tan(0.25), 0.25534192122103627);
  EXPECT_EQ(Dsp::Sin(1e-300), 1e-300);
  for (double bad : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()})
  {
    EXPECT_TRUE(std::isnan(Dsp::Sin(bad)));
    EXPECT_TRUE(std::isnan(Dsp::Cos(bad)));
  }
}

TEST(PortableMath, ComplexQuotientAndMagnitude)
{
  using C = std::complex<double>;
  const C pairs[][2] = {
    {C(1, 2), C(3, -4)}, {C(-0.5, 0.25), C(0.125, 8)}, {C(7, 0), C(0, -2)}, {C(1e-3, 5), C(1, 1e-3)}};
  for (const auto& p : pairs)
  {
    const C q = Dsp::Divide(p[0], p[1]);
    EXPECT_NEAR(q.real(), (p[0] / p[1]).real(), 1e-15 * std::abs(p[0] / p[1]));
    EXPECT_NEAR(q.imag(), (p[0] / p[1]).imag(), 1e-15 * std::abs(p[0] / p[1]));
    EXPECT_DOUBLE_EQ(Dsp::Magnitude(p[0]), std::abs(p[0]));
  }
  EXPECT_EQ(Dsp::Divide(C(1, 2), C(1, 0)), C(1, 2));
  EXPECT_EQ(Dsp::Magnitude(C(3, -4)), 5.0);
}

}  // namespace
