#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "effect/dsp/PoleFilter.h"
#include "tests/effect/dsp/DspTestSupport.h"

namespace {

using LowPass = Dsp::ChebyIILowPass<6, 2>;

void Design(LowPass& lp, int factor)
{
  ASSERT_TRUE(lp.Configure(Dsp::DesignParams{6, 1.0, 0.5 / factor, 9.0}));
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
    double warm[2] = {0, 0}, warmRef[2] = {0, 0};
    vec.FilterFrames(1, warm, 0);
    ref.FilterFramesScalar(1, warmRef, 0);
    uint64_t seed = 1;
    for (size_t frames : {1u, 2u, 3u, 7u, 127u, 1001u})
    {
      std::vector<double> a = Noise(frames * 2, seed++), b = a;
      vec.FilterFrames(frames, a.data(), 0);
      ref.FilterFramesScalar(frames, b.data(), 0);
      for (size_t i = 0; i < a.size(); ++i)
        ASSERT_NEAR(a[i], b[i], 1e-12 * (1.0 + std::fabs(b[i]))) << factor << " " << frames << " " << i;
    }
  }
}

TEST(CascadeVectorPath, GlidesLinearlyOntoEveryNewTarget)
{
  if (!ProcessorFeatures().sse3)
    GTEST_SKIP() << "no vector unit";
  // A pass-through stage with working coefficients at zero: the gain rises from 1/N to
  // 1 over the first block, then stays exactly on the target.
  Dsp::BiquadStage stage;
  Dsp::StageHistory history[2];
  const size_t n = 8;
  std::vector<double> x(2 * n, 1.0), y(2 * n, 0.25), z(2 * n, 0.25);
  Dsp::FilterStageStereoSse(n, x.data(), stage, history);
  for (size_t i = 0; i < 2 * n; ++i)
    EXPECT_NEAR(x[i], (i / 2 + 1.0) / n, 1e-15);
  Dsp::FilterStageStereoSse(n, y.data(), stage, history);
  for (double v : y)
    EXPECT_NEAR(v, 0.25, 1e-15);
  // Only the numerator changes: it must glide as well.
  stage.b0 = 2.0;
  Dsp::FilterStageStereoSse(n, y.data(), stage, history);
  Dsp::FilterStageStereoSse(n, z.data(), stage, history);
  for (double v : z)
    EXPECT_NEAR(v, 0.5, 1e-15);
  // Zero frames leave coefficients and history alone.
  const double w1 = history[1].w1;
  stage.a1 = 0.5;
  Dsp::FilterStageStereoSse(0, z.data(), stage, history);
  EXPECT_EQ(stage.workA1, 0.0);
  EXPECT_EQ(history[1].w1, w1);

  // A designed cascade switched to pass-through passes the signal after one block.
  LowPass lp;
  Design(lp, 8);
  std::vector<double> a = Noise(256, 7), b = Noise(256, 8), expect = b;
  lp.FilterFrames(128, a.data(), 0);
  lp.SetPassThrough();
  lp.FilterFrames(128, a.data(), 0);
  lp.FilterFrames(128, b.data(), 0);
  for (size_t i = 0; i < b.size(); ++i)
    EXPECT_NEAR(b[i], expect[i], 1e-15);
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
  // Stereo frames each followed by one skipped value.
  const size_t frames = 33;
  std::vector<double> strided = Noise(frames * 3, 3), left(frames);
  for (size_t f = 0; f < frames; ++f)
  {
    left[f] = strided[3 * f];
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

}  // namespace
