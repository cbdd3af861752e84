#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "effect/TransientControl.h"
#include "tests/effect/dsp/DspTestSupport.h"

namespace {

constexpr int kRate = 352800;  // 44,100 Hz oversampled 8 times

class FollowerTiming : public ::testing::TestWithParam<bool>
{
protected:
  void SetUp() override
  {
    tc.SetSampleRate(44100);
    tc.SetOversampling(8);
    ASSERT_EQ(tc.ProcessingRate(), kRate);
    // Settle the detector on the tone, then clear the followers with a rate update.
    Nyquist(kRate, 1.0);
    tc.SetOversampling(8);
    ASSERT_EQ(tc.Follower(0).level, 0.0);
  }

  // A tone at the oversampled Nyquist frequency passes the detector with gain 1, so the
  // followers see a constant magnitude and their step responses can be timed.
  void Nyquist(int frames, double amplitude)
  {
    std::vector<double> x(2 * frames);
    for (int i = 0; i < frames; ++i, ++phase)
      x[2 * i] = x[2 * i + 1] = (phase % 2 ? -amplitude : amplitude);
    tc.ProcessFrames(x.data(), frames);
  }

  // Steps the tone down to half: after n samples 99% of the step must be done.
  void ExpectReleaseAfter(int n)
  {
    Nyquist(kRate / 2, 1.0);
    const double start = tc.Follower(0).level;
    Nyquist(n, 0.5);
    EXPECT_NEAR(tc.Follower(0).level, 0.5 + (start - 0.5) * 0.01, 1e-6) << n;
  }

  ScopedVectorPath path{GetParam()};
  TransientControl tc;
  long phase = 0;
};

TEST_P(FollowerTiming, AttacksReachNinetyNinePercentInTheirTime)
{
  ASSERT_TRUE(tc.SetSlowAttack(30.0));  // 10,584 samples
  Nyquist(352, 1.0);                    // the fast attack is 1 ms: 352.8 samples
  EXPECT_LT(tc.Follower(0).level, 0.99);
  Nyquist(1, 1.0);
  EXPECT_GT(tc.Follower(0).level, 0.99);
  EXPECT_GT(tc.Follower(2).level, 0.99);
  Nyquist(10584 - 353 - 1, 1.0);
  EXPECT_LT(tc.Follower(1).level, 0.99 - 1e-7);
  Nyquist(1, 1.0);
  EXPECT_NEAR(tc.Follower(1).level, 0.99, 1e-9);
  EXPECT_NEAR(tc.Follower(3).level, 0.99, 1e-9);
}

TEST_P(FollowerTiming, ReleaseFollowsTheTimeOrTheTempo)
{
  tc.SetTempoRelease(false);
  ASSERT_TRUE(tc.SetReleaseTime(50.0));
  ExpectReleaseAfter(17640);
  // Half a beat: 250 ms at 120 bpm, and so on.
  tc.SetTempoRelease(true);
  const double tempos[] = {120.0, 60.0, 90.0, 140.0};
  const int samples[] = {88200, 176400, 117600, 75600};
  for (int i = 0; i < 4; ++i)
  {
    ASSERT_TRUE(tc.SetTempo(tempos[i]));
    ExpectReleaseAfter(samples[i]);
  }
  // A host without a valid tempo must not stop the release.
  const double coefficient = tc.Follower(0).releaseCoefficient;
  for (double bad : {0.0, -120.0, std::nan(""), HUGE_VAL})
    EXPECT_FALSE(tc.SetTempo(bad));
  EXPECT_EQ(tc.Follower(0).releaseCoefficient, coefficient);
  // A release time set while the tempo rules is kept for later.
  ASSERT_TRUE(tc.SetReleaseTime(20.0));
  EXPECT_EQ(tc.Follower(0).releaseCoefficient, coefficient);
  tc.SetTempoRelease(false);
  ExpectReleaseAfter(7056);
}

TEST_P(FollowerTiming, TimesHoldAtEveryRateWhateverTheOrderOfCalls)
{
  // Times set before the rate is known must hold at the rate set afterwards.
  TransientControl late, early;
  auto times = [](TransientControl& t) { t.SetSlowAttack(30.0), t.SetReleaseTime(50.0), t.SetTempoRelease(false); };
  auto rate = [](TransientControl& t) { t.SetSampleRate(96000), t.SetOversampling(4); };
  times(late), rate(late);
  rate(early), times(early);
  for (int i = 0; i < 4; ++i)
  {
    EXPECT_EQ(late.Follower(i).attackCoefficient, early.Follower(i).attackCoefficient);
    EXPECT_EQ(late.Follower(i).releaseCoefficient, early.Follower(i).releaseCoefficient);
  }
  EXPECT_NEAR(std::pow(late.Follower(1).attackCoefficient, 384000 * 0.030), 0.01, 1e-12);
  EXPECT_NEAR(std::pow(late.Follower(0).releaseCoefficient, 384000 * 0.050), 0.01, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Paths, FollowerTiming, ::testing::Values(false, true));

TEST(GainLaw, RatioAmountAndBothLimits)
{
  const double up = 3.981071705534863, lo = 0.2511886431509649;  // +-12 dB
  EXPECT_EQ(TransientControl::Gain(2.0, 1.0, 1.0, up, lo), 2.0);
  EXPECT_NEAR(TransientControl::Gain(2.0, 1.0, 1.0, 1.4125375446227544, lo), 1.4125375446, 1e-10);
  EXPECT_EQ(TransientControl::Gain(2.0, 1.0, -1.0, up, lo), lo);  // 0, held at the floor
  EXPECT_EQ(TransientControl::Gain(0.5, 1.0, -0.5, up, lo), 1.25);
  EXPECT_EQ(TransientControl::Gain(0.5, 1.0, 0.5, up, lo), 0.75);
  EXPECT_EQ(TransientControl::Gain(0.0, 1.0, 1.0, up, lo), 1.0);  // silence
  EXPECT_EQ(TransientControl::Gain(1.0, 0.0, 1.0, up, lo), 1.0);
  EXPECT_EQ(TransientControl::Gain(3.0, 1.0, 1.0, 0.5, 2.0), 2.0);    // crossed: lower wins
  EXPECT_EQ(TransientControl::Gain(1e300, 1e-30, 0.0, up, lo), 1.0);  // overflow, no NaN
}

std::vector<double> Burst(int frames, uint64_t seed)
{
  TestNoise n(seed);
  std::vector<double> x(2 * frames);
  for (int i = 0; i < 2 * frames; ++i)
    x[i] = ((i / 2) % 2000 < 40 ? 1.0 : 0.1) * n.Next();  // a hit every 2000 frames
  return x;
}

TEST(TransientEngine, AmountZeroIsExactlyTheOutputGainOnBothPaths)
{
  for (bool vec : {false, true})
  {
    ScopedVectorPath path(vec);
    TransientControl tc;
    tc.SetOutputGain(0.5);
    std::vector<double> x = Burst(5000, 3), y = x;
    tc.ProcessFrames(y.data(), 5000);
    for (size_t i = 0; i < x.size(); ++i)
      ASSERT_EQ(y[i], x[i] * 0.5);
    EXPECT_EQ(tc.GainPeak(0), 1.0);
  }
}

TEST(TransientEngine, PathsAgreeAndTheGainStaysWithinTheLimits)
{
  TestNoise rnd(11);
  for (int round = 0; round < 20; ++round)
  {
    TransientControl a, b;
    const double amount = rnd.Next(), upper = 2.5 + 1.5 * rnd.Next(), lower = 0.6 + 0.35 * rnd.Next();
    for (TransientControl* t : {&a, &b})
      t->SetAmount(amount), t->SetGainUpperLimit(upper), t->SetGainLowerLimit(lower), t->SetSlowAttack(10.0 + round);
    std::vector<double> x = Burst(3001, 100 + round), y = x;
    {
      ScopedVectorPath scalar(false);
      a.ProcessFrames(x.data(), 3001);
    }
    b.ProcessFrames(y.data(), 3001);
    for (size_t i = 0; i < x.size(); ++i)
      ASSERT_NEAR(x[i], y[i], 1e-15 * (1.0 + std::fabs(x[i])));
    for (int c = 0; c < 2; ++c)
    {
      EXPECT_EQ(a.GainPeak(c), b.GainPeak(c));
      EXPECT_TRUE(a.GainPeak(c) <= upper && a.GainPeak(c) >= lower) << a.GainPeak(c);
    }
  }
}

TEST(TransientEngine, MonoTouchesOnlyTheFirstChannel)
{
  TransientControl tc;
  ASSERT_TRUE(tc.SetChannelCount(1));
  tc.SetAmount(1.0);
  std::vector<double> mono = Burst(500, 5);  // 1000 mono frames
  mono.push_back(1234.0);                    // guard
  tc.ProcessFrames(mono.data(), 1000);
  EXPECT_EQ(mono[1000], 1234.0);
  EXPECT_NE(tc.GainPeak(0), 1.0);
  EXPECT_EQ(tc.GainPeak(1), 1.0);
  EXPECT_EQ(tc.Follower(2).level, 0.0);

  // Oversampled, a mono block stays within its one value per frame.
  tc.SetOversampling(8);
  std::vector<double> block = Burst(300, 7);
  block.resize(601, 1234.0);
  tc.ProcessBlock(block.data(), 600);
  EXPECT_EQ(block[600], 1234.0);
  EXPECT_NE(tc.GainPeak(0), 1.0);
  EXPECT_EQ(tc.GainPeak(1), 1.0);
}

TEST(TransientEngine, StartsWithTheEffectsDefaultsAndRefusesNonsense)
{
  TransientControl tc;
  EXPECT_EQ(tc.GainUpperLimit(), 3.981071705534863);
  EXPECT_EQ(tc.GainLowerLimit(), 0.2511886431509649);
  EXPECT_TRUE(tc.TempoRelease());
  EXPECT_EQ(tc.EffectiveReleaseTime(), 250.0);
  EXPECT_GT(tc.Follower(1).attackCoefficient, 0.0);
  const double nan = std::nan("");
  EXPECT_FALSE(tc.SetAmount(nan) || tc.SetOutputGain(HUGE_VAL) || tc.SetGainUpperLimit(nan) ||
               tc.SetGainLowerLimit(-HUGE_VAL) || tc.SetSlowAttack(0.0) || tc.SetReleaseTime(nan) ||
               tc.SetHighPassFrequency(-20.0));
  EXPECT_TRUE(tc.Amount() == 0.0 && tc.OutputGain() == 1.0 && tc.SlowAttack() == 30.0 && tc.ReleaseTime() == 50.0 &&
              tc.HighPassFrequency() == 20.0);
}

}  // namespace
