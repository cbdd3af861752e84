#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "effect/dsp/CpuFeatures.h"
#include "effect/dsp/PoleFilter.h"
#include "tests/effect/dsp/DspTestSupport.h"

namespace
{

using LowPass = Dsp::ChebyIILowPass<6, 2>;

void Design(LowPass& lp, int factor)
{
  Dsp::DesignParams p;
  p.order = 6;
  p.sampleRate = 1.0;
  p.cutoff = 0.5 / factor;
  p.stopBandDb = 9.0;
  ASSERT_TRUE(lp.Configure(p));
}

std::vector<double> Noise(size_t values, uint64_t seed)
{
  TestNoise n(seed);
  std::vector<double> v(values);
  for (double& x : v)
    x = n.Next();
  return v;
}

#if defined(__i386__) || defined(__x86_64__)
TEST(CascadeVectorPath, MatchesTheScalarPathOnOddStereoBlocks)
{
  if (!ProcessorFeatures().sse3)
    GTEST_SKIP() << "no vector unit";
  for (int factor : {2, 4, 8})
  {
    LowPass vec, ref;
    Design(vec, factor);
    Design(ref, factor);
    // A one-frame block completes the vector path's glide onto the design exactly.
    double warm[2] = {0.0, 0.0}, warmRef[2] = {0.0, 0.0};
    vec.FilterFrames(1, warm, 0);
    ref.FilterFramesScalar(1, warmRef, 0);

    uint64_t seed = 1;
    for (size_t frames : {1u, 3u, 7u, 127u, 1001u})
    {
      std::vector<double> a = Noise(frames * 2, seed++), b = a;
      vec.FilterFrames(frames, a.data(), 0);
      ref.FilterFramesScalar(frames, b.data(), 0);
      for (size_t i = 0; i < a.size(); ++i)
        ASSERT_NEAR(a[i], b[i], 1e-12 * (1.0 + std::fabs(b[i]))) << factor << " " << frames << " " << i;
    }
  }
}

TEST(CascadeVectorPath, GlidesLinearlyOntoANewDesignWithinOneBlock)
{
  if (!ProcessorFeatures().sse3)
    GTEST_SKIP() << "no vector unit";
  // One pass-through stage whose working coefficients start at zero: the gain rises
  // from 1/N to 1 over the first block, then stays exactly on the target.
  Dsp::BiquadStage stage;
  Dsp::StageHistory history[2];
  const size_t n = 8;
  std::vector<double> x(2 * n, 1.0);
  Dsp::FilterStageStereoSse(n, x.data(), stage, history);
  for (size_t f = 0; f < n; ++f)
  {
    EXPECT_NEAR(x[2 * f], (f + 1.0) / n, 1e-15);
    EXPECT_NEAR(x[2 * f + 1], (f + 1.0) / n, 1e-15);
  }
  std::vector<double> y(2 * n, 0.25);
  Dsp::FilterStageStereoSse(n, y.data(), stage, history);
  for (double v : y)
    EXPECT_NEAR(v, 0.25, 1e-15);

  // Only the numerator differs from the working copy: it must glide as well.
  stage.b0 = 2.0;
  Dsp::FilterStageStereoSse(n, y.data(), stage, history);
  std::vector<double> z(2 * n, 0.25);
  Dsp::FilterStageStereoSse(n, z.data(), stage, history);
  for (double v : z)
    EXPECT_NEAR(v, 0.5, 1e-15);

  // Zero frames leave coefficients and history alone.
  Dsp::StageHistory before = history[1];
  stage.a1 = 0.5;
  Dsp::FilterStageStereoSse(0, z.data(), stage, history);
  EXPECT_EQ(stage.workA1, 0.0);
  EXPECT_EQ(history[1].w1, before.w1);
}

TEST(CascadeVectorPath, PassThroughAfterADesignPassesTheSignal)
{
  if (!ProcessorFeatures().sse3)
    GTEST_SKIP() << "no vector unit";
  LowPass lp;
  Design(lp, 8);
  std::vector<double> x = Noise(256, 7);
  lp.FilterFrames(128, x.data(), 0);
  lp.SetPassThrough();
  lp.FilterFrames(128, x.data(), 0);  // glides
  std::vector<double> y = Noise(256, 8), expect = y;
  lp.FilterFrames(128, y.data(), 0);
  for (size_t i = 0; i < y.size(); ++i)
    EXPECT_NEAR(y[i], expect[i], 1e-15);
}
#endif

TEST(CascadeScalarPath, ChannelsAreIndependentAndTheStrideIsSkipped)
{
  ScopedVectorPath scalar(false);
  LowPass stereo, mono;
  Design(stereo, 4);
  Design(mono, 4);
  ASSERT_TRUE(mono.SetChannelCount(1));
  EXPECT_FALSE(mono.SetChannelCount(3));
  EXPECT_FALSE(mono.SetChannelCount(0));

  // Stereo frames followed by one skipped value each.
  const size_t frames = 33;
  std::vector<double> strided(frames * 3), left(frames);
  TestNoise n(3);
  for (size_t f = 0; f < frames; ++f)
  {
    strided[3 * f] = left[f] = n.Next();
    strided[3 * f + 1] = n.Next();
    strided[3 * f + 2] = 99.0;
  }
  stereo.FilterFrames(frames, strided.data(), 1);
  mono.FilterFrames(frames, left.data(), 0);
  for (size_t f = 0; f < frames; ++f)
  {
    EXPECT_EQ(strided[3 * f], left[f]);
    EXPECT_EQ(strided[3 * f + 2], 99.0);
  }
}

TEST(CascadeScalarPath, SettlesOnDcAndForgetsNonFiniteState)
{
  ScopedVectorPath scalar(false);
  LowPass lp;
  Design(lp, 8);
  std::vector<double> x(2 * 2000, 1.0);
  lp.FilterFrames(2000, x.data(), 0);
  EXPECT_NEAR(x[2 * 1999], 1.0, 1e-12);

  double bad[4] = {std::nan(""), 1.0, HUGE_VAL, 0.0};
  lp.FilterFrames(2, bad, 0);
  EXPECT_TRUE(lp.ClearIfNotFinite());
  EXPECT_FALSE(lp.ClearIfNotFinite());
  double after[2] = {0.5, 0.5};
  lp.FilterFrames(1, after, 0);
  EXPECT_TRUE(std::isfinite(after[0]) && std::isfinite(after[1]));
}

}  // namespace
