#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "effect/dsp/HighPassBiquad.h"
#include "effect/dsp/PoleFilter.h"
#include "effect/dsp/SampleBlock.h"
#include "tests/effect/dsp/DspTestSupport.h"

namespace {

using LowPass = Dsp::ChebyIILowPass<6, 2>;

// Order 6, 9 dB, edge at the host Nyquist frequency for the given factor.
Dsp::DesignParams Oversampling(int factor)
{
  return Dsp::DesignParams{6, 1.0, 0.5 / factor, 9.0};
}

// The type II magnitude from its definition, with the bilinear warping.
double ChebyIIMagnitude(double angle, double cutoff)
{
  double omega = std::tan(angle / 2.0) / std::tan(kPi * cutoff), x = 1.0 / omega;
  double t6 = x <= 1.0 ? std::cos(6.0 * std::acos(x)) : std::cosh(6.0 * std::acosh(x));
  double eps2 = 1.0 / (std::pow(10.0, 0.9) - 1.0);
  return std::sqrt(1.0 / (1.0 + 1.0 / (eps2 * t6 * t6)));
}

// The prewarped prototype s^2 / (s^2 + s/Q + 1).
double HighPassMagnitude(double angle, double f0, double q)
{
  double o = std::tan(angle / 2.0) / std::tan(kPi * f0), o2 = o * o;
  return o2 / std::sqrt((1.0 - o2) * (1.0 - o2) + (o / q) * (o / q));
}

TEST(ChebyIIDesign, PrototypeMatchesTheReferenceRoots)
{
  Dsp::LayoutSpace<6> analog;
  ASSERT_TRUE(Dsp::ChebyII::DesignAnalogPrototype(6, 9.0, analog));
  const double re[6] = {-0.073046, -0.348026, -1.856442, -1.856442, -0.348026, -0.073046};
  const double im[6] = {-0.989849, -1.263673, -1.806164, 1.806164, 1.263673, 0.989849};
  const double zeroIm[6] = {-1.414214, 3.863703, 1.035276, 1.414214, -3.863703, -1.035276};
  ASSERT_EQ(analog.PoleCount(), 6);
  ASSERT_EQ(analog.ZeroCount(), 6);
  for (int i = 0; i < 6; ++i)
  {
    EXPECT_NEAR(analog.Pole(i).real(), re[i], 1e-6) << i;
    EXPECT_NEAR(analog.Pole(i).imag(), im[i], 1e-6) << i;
    EXPECT_EQ(analog.Zero(i).real(), 0.0);
    EXPECT_NEAR(analog.Zero(i).imag(), zeroIm[i], 1e-6) << i;
  }
}

TEST(ChebyIIDesign, StagesMatchTheReferenceCoefficientsAtEachFactor)
{
  struct Row
  {
    int factor;
    double s[3][5];  // a1, a2, b0, b1, b2 per stage
  } rows[] = {
    {8,
     {{1.799603144, -0.945583180, 0.245871044, -0.419623657, 0.245871044},
      {1.545100194, -0.770473996, 1, -1.837273325, 1},
      {0.733110295, -0.262925307, 1, -0.514693309, 1}}},
    {4,
     {{1.351692227, -0.901566954, 0.279831004, -0.273698046, 0.279831004},
      {0.890973954, -0.635754463, 1, -1.378688700, 1},
      {-0.081874491, -0.166196169, 1, 0.876806683, 1}}},
    {2,
     {{0.013948171, -0.862903050, 0.422681432, 0.281787621, 0.422681432},
      {-0.420610878, -0.592242161, 1, 0.069308699, 1},
      {-0.999625568, -0.349842503, 1, 1.748873119, 1}}},
  };
  for (const Row& row : rows)
  {
    LowPass lp;
    ASSERT_TRUE(lp.Configure(Oversampling(row.factor)));
    ASSERT_EQ(lp.StageCount(), 3);
    for (int s = 0; s < 3; ++s)
    {
      const Dsp::BiquadStage& st = lp.Stage(s);
      const double got[5] = {st.a1, st.a2, st.b0, st.b1, st.b2};
      for (int k = 0; k < 5; ++k)
        EXPECT_NEAR(got[k], row.s[s][k], 1e-9) << "factor " << row.factor << " stage " << s << " " << k;
    }
  }
}

TEST(ChebyIIDesign, ResponseFollowsTheClosedFormWithMinusNineDbAtTheHostNyquist)
{
  for (int factor : {2, 4, 8})
  {
    LowPass lp;
    ASSERT_TRUE(lp.Configure(Oversampling(factor)));
    EXPECT_NEAR(std::abs(lp.EvaluateResponse(0.0)), 1.0, 1e-14);
    EXPECT_NEAR(ToDb(std::abs(lp.EvaluateResponse(kPi / factor))), -9.0, 1e-9) << factor;
    double worstStopBand = 0.0;
    for (int i = 0; i <= 400; ++i)
    {
      double angle = kPi * (i + 0.5) / 401.0, got = std::abs(lp.EvaluateResponse(angle));
      EXPECT_NEAR(got, ChebyIIMagnitude(angle, 0.5 / factor), 1e-12) << factor << " at " << angle;
      if (angle > kPi / factor)
        worstStopBand = std::max(worstStopBand, got);
    }
    EXPECT_NEAR(ToDb(worstStopBand), -9.0, 1e-3);  // equiripple, never above -9 dB
    EXPECT_LE(ToDb(worstStopBand), -9.0 + 1e-9);
  }
}

TEST(ChebyIIDesign, RefusedRequestsKeepThePreviousDesign)
{
  LowPass lp;
  ASSERT_TRUE(lp.Configure(Oversampling(8)));
  const double a1 = lp.Stage(0).a1;
  const Dsp::DesignParams bad[] = {{8, 1.0, 0.125, 9.0},  // more poles than there is room for
                                   {5, 1.0, 0.125, 9.0},  // odd order
                                   {6, 1.0, 0.5, 9.0},    // at Nyquist the design degenerates
                                   {6, 1.0, std::nan(""), 9.0}, {6, 0.0, 0.125, 9.0}, {6, 1.0, 0.125, -3.0}};
  for (const Dsp::DesignParams& p : bad)
    EXPECT_FALSE(lp.Configure(p)) << p.order << " " << p.cutoff;
  EXPECT_EQ(lp.Stage(0).a1, a1);
  EXPECT_EQ(lp.StageCount(), 3);

  // The root at infinity maps to -1 exactly, other roots through the bilinear formula.
  Dsp::LayoutSpace<2> analog, digital;
  analog.SetCounts(1, 1);
  analog.SetPole(0, Dsp::Complex(-0.5, 0.0));
  analog.SetZero(0, Dsp::kRootAtInfinity);
  const double k = std::tan(kPi * 0.1);
  Dsp::MapPolesToDigital(analog, k, digital);
  EXPECT_EQ(digital.Zero(0), Dsp::Complex(-1.0, 0.0));
  EXPECT_NEAR(digital.Pole(0).real(), (1.0 - 0.5 * k) / (1.0 + 0.5 * k), 1e-15);
}

TEST(HighPassBiquad, ResponseFollowsThePrototypeAndIsMinusThreeDbAtItsCutoff)
{
  const int rates[][2] = {{44100, 8}, {96000, 4}, {192000, 2}};
  for (auto& rf : rates)
    for (double hz : {20.0, 100.0, 400.0})
    {
      const double f0 = hz / (static_cast<double>(rf[0]) * rf[1]);
      Dsp::HighPassBiquad hp;
      ASSERT_TRUE(hp.Configure(f0, 0.707));
      EXPECT_NEAR(ToDb(std::abs(hp.EvaluateResponse(2 * kPi * f0))), ToDb(0.707), 1e-6);
      EXPECT_NEAR(std::abs(hp.EvaluateResponse(0.0)), 0.0, 1e-9);
      EXPECT_NEAR(std::abs(hp.EvaluateResponse(kPi)), 1.0, 1e-12);
      for (int i = 1; i < 200; ++i)
      {
        double angle = kPi * i / 200.0 * (i < 100 ? 0.01 : 1.0);
        double expect = HighPassMagnitude(angle, f0, 0.707);
        EXPECT_NEAR(std::abs(hp.EvaluateResponse(angle)), expect, 1e-8 * expect);
      }
    }
  Dsp::HighPassBiquad hp;
  ASSERT_TRUE(hp.Configure(20.0 / 352800.0, 0.707));
  EXPECT_NEAR(hp.Stage(0).a1, 1.9994961957, 1e-10);
  EXPECT_NEAR(hp.Stage(0).a2, -0.9994963226, 1e-10);
  EXPECT_NEAR(hp.Stage(0).b0, 0.9997481296, 1e-10);
  EXPECT_NEAR(hp.Stage(0).b1, -1.9994962592, 1e-10);
}

TEST(HighPassBiquad, StaysStableAtAnyRequestAndRefusesNonsense)
{
  Dsp::HighPassBiquad hp;
  ASSERT_TRUE(hp.Configure(0.01, 0.707));
  const double a1 = hp.Stage(0).a1;
  EXPECT_FALSE(hp.Configure(0.0, 0.707));
  EXPECT_FALSE(hp.Configure(std::nan(""), 0.707));
  EXPECT_FALSE(hp.Configure(0.1, -1.0));
  EXPECT_EQ(hp.Stage(0).a1, a1);
  // A cutoff past Nyquist (a very low host rate) is limited, never unstable.
  for (double f : {0.49, 0.5, 0.7, 3.0, 1e9})
  {
    ASSERT_TRUE(hp.Configure(f, 0.707));
    std::complex<double> a(hp.Stage(0).a1, 0.0), disc = std::sqrt(a * a + 4.0 * hp.Stage(0).a2);
    EXPECT_LT(std::abs((a + disc) / 2.0), 1.0) << f;  // poles of 1 - a1 z^-1 - a2 z^-2
    EXPECT_LT(std::abs((a - disc) / 2.0), 1.0) << f;
  }
}

}  // namespace
