#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effect/TransientControl.h"
#include "tests/effect/dsp/DspTestSupport.h"

namespace {

enum class Path
{
  Scalar,
  Sse,
  Wide
};

// Runs one block on the given path.
void Process(TransientControl& tc, Path path, double* x, int frames)
{
  ScopedVectorPath vec(path != Path::Scalar);
  ScopedWidePath wide(path == Path::Wide);
  tc.ProcessBlock(x, frames);
}

// Noise with a hit every 300 frames, so that both followers and the gain move.
std::vector<double> Hits(int frames, uint64_t seed)
{
  TestNoise n(seed);
  std::vector<double> x(2 * static_cast<size_t>(frames));
  for (size_t i = 0; i < x.size(); ++i)
    x[i] = ((i / 2) % 300 < 20 ? 0.9 : 0.05) * n.Next();
  return x;
}

void Configure(TransientControl& tc, int rate, int factor, double amount)
{
  tc.SetSampleRate(rate);
  tc.SetOversampling(factor);
  tc.SetAmount(amount);
  tc.SetSlowAttack(5.0);
}

// The chain runs twelve recursions in a row, and the paths round differently (the SSE2
// path itself drifts a few 1e-12 from the scalar one over long runs).
double Tolerance(double v)
{
  return 1e-11 * (1.0 + std::fabs(v));
}

void ExpectSameState(const TransientControl& a, const TransientControl& b, const char* what)
{
  for (int c = 0; c < 2; ++c)
    EXPECT_NEAR(a.GainPeak(c), b.GainPeak(c), Tolerance(b.GainPeak(c))) << what << c;
  for (int i = 0; i < 4; ++i)
    EXPECT_NEAR(a.Follower(i).level, b.Follower(i).level, Tolerance(b.Follower(i).level)) << what << i;
  for (int s = 0; s < 3; ++s)
    for (int c = 0; c < 2; ++c)
    {
      EXPECT_NEAR(a.InterpolationFilter().History(c, s).w1, b.InterpolationFilter().History(c, s).w1,
                  Tolerance(b.InterpolationFilter().History(c, s).w1))
        << what << s;
      EXPECT_NEAR(a.DecimationFilter().History(c, s).w2, b.DecimationFilter().History(c, s).w2,
                  Tolerance(b.DecimationFilter().History(c, s).w2))
        << what << s;
    }
}

#if defined(__i386__) || defined(__x86_64__)
TEST(FusedStereoChain, MatchesTheScalarAndSsePathsOnOddBlocks)
{
  if (!ProcessorFeatures().sse3 || !ProcessorFeatures().avx2)
    GTEST_SKIP() << "no 256-bit unit";
  // Factors 6 and 16 take the rounds one by one, where inputs and outputs fall on
  // different rounds; 16 also keeps a host frame's input in use while earlier outputs
  // are written. An odd factor (3) leaves the fused pass to the separate ones.
  struct Case
  {
    int rate, factor;
    double amount;
  } cases[] = {{44100, 8, 0.7},  {96000, 4, -0.9}, {192000, 2, 1.0},
               {44100, 16, 0.5}, {32000, 6, -0.4}, {32000, 3, -0.4}};
  for (const Case& k : cases)
    for (Path ref : {Path::Scalar, Path::Sse})
    {
      TransientControl wide, other;
      Configure(wide, k.rate, k.factor, k.amount);
      Configure(other, k.rate, k.factor, k.amount);
      // A one-frame block completes the vector paths' glide onto the designs.
      double w[2] = {0, 0}, o[2] = {0, 0};
      Process(wide, Path::Wide, w, 1);
      Process(other, ref, o, 1);
      uint64_t seed = 1;
      // Blocks shorter than the pipeline, one slice and several slices.
      for (int frames : {1, 2, 3, 7, 127, 1001, 1})
      {
        std::vector<double> a = Hits(frames, seed++), b = a;
        a.push_back(42.0);
        Process(wide, Path::Wide, a.data(), frames);
        Process(other, ref, b.data(), frames);
        EXPECT_EQ(a.back(), 42.0);  // nothing written past the block
        for (size_t i = 0; i < b.size(); ++i)
          ASSERT_NEAR(a[i], b[i], Tolerance(b[i])) << k.rate << " " << k.factor << " " << frames << " " << i;
        ExpectSameState(wide, other, "state ");
      }
    }
}

TEST(FusedStereoChain, NewDesignsGlideInAsOnTheSsePath)
{
  if (!ProcessorFeatures().sse3 || !ProcessorFeatures().avx2)
    GTEST_SKIP() << "no 256-bit unit";
  // The first block after construction and after every new design glides the filter
  // coefficients; then the fused pass takes over from exactly where the glide ended.
  TransientControl wide, sse;
  for (TransientControl* t : {&wide, &sse})
    Configure(*t, 44100, 8, 0.8);
  int seed = 20;
  for (int factor : {8, 4, 2, 8})
  {
    for (TransientControl* t : {&wide, &sse})
      t->SetOversampling(factor);
    for (int frames : {300, 301})
    {
      std::vector<double> a = Hits(frames, seed++), b = a;
      Process(wide, Path::Wide, a.data(), frames);
      Process(sse, Path::Sse, b.data(), frames);
      for (size_t i = 0; i < b.size(); ++i)
        ASSERT_NEAR(a[i], b[i], Tolerance(b[i])) << factor << " " << frames << " " << i;
    }
  }
  ExpectSameState(wide, sse, "after glides ");
}
#endif

TEST(FusedStereoChain, NonFiniteInputIsSilenceAndLeavesNoTrace)
{
  // Whatever path the processor picks: a burst of inf and NaN enters as silence, and
  // the next block is that of an engine that only ever saw the silence.
  TransientControl hit, clean;
  for (TransientControl* t : {&hit, &clean})
    Configure(*t, 48000, 8, 1.0);
  std::vector<double> a = Hits(257, 5), b = a;
  a[10] = INFINITY;
  a[11] = -INFINITY;
  a[200] = NAN;
  b[10] = b[11] = b[200] = 0.0;
  hit.ProcessBlock(a.data(), 257);
  clean.ProcessBlock(b.data(), 257);
  EXPECT_EQ(a, b);
  EXPECT_EQ(hit.GainPeak(0), clean.GainPeak(0));
}

}  // namespace
