#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "effect/AudioProcessor.h"
#include "effect/TransientControl.h"
#include "tests/effect/dsp/DspTestSupport.h"
#include "tests/effect/dsp/UnslicedChain.h"

namespace {

// A per-sample stage that scales by a fixed gain and counts what it is asked to do.
class ScaleStage : public AudioProcessor
{
public:
  int ProcessFrames(double* frames, int count) override
  {
    ++calls;
    processed += count;
    for (int i = 0; i < count * ChannelCount(); ++i)
      frames[i] *= gain;
    return 0;
  }
  void UpdateForRate() override { ++updates; }

  double gain = 1.0;
  int calls = 0, updates = 0;
  long processed = 0;
};

// Amplitude of a host-rate sine through the chain, by projection over whole periods
// after the filters settled. A first short block glides the new designs in.
double ChainGain(AudioProcessor& p, int rate, double hz)
{
  std::vector<double> glide(2 * 64, 0.0);
  p.ProcessBlock(glide.data(), 64);
  const int settle = rate / 10, frames = rate / 5;
  std::vector<double> x(2 * (settle + frames));
  for (size_t i = 0; i < x.size(); ++i)
    x[i] = std::sin(2 * kPi * hz * static_cast<double>(i / 2) / rate);
  p.ProcessBlock(x.data(), settle + frames);
  double s = 0, c = 0;
  for (int i = settle; i < settle + frames; ++i)
  {
    s += x[2 * i] * std::sin(2 * kPi * hz * i / rate);
    c += x[2 * i] * std::cos(2 * kPi * hz * i / rate);
  }
  return 2.0 * std::hypot(s, c) / frames;
}

TEST(Oversampling, IdentityChainHasTheExactPeriodicResponse)
{
  // (1/F) sum over l of Hold(w_l) H(w_l)^2 with w_l = (w0 + 2 pi l) / F: hold, filter,
  // filter again and decimate together form one time-invariant filter.
  struct Row
  {
    int rate, factor;
    double hz, gain;
  } rows[] = {{44100, 8, 1000, 0.998628},  {44100, 8, 10000, 0.890127}, {44100, 8, 18000, 0.688746},
              {44100, 8, 20000, 0.616864}, {96000, 4, 1000, 0.999726},  {96000, 4, 10000, 0.973305},
              {96000, 4, 20000, 0.907447}, {192000, 2, 1000, 1.000025}, {192000, 2, 10000, 1.001147},
              {192000, 2, 20000, 0.992879}};
  for (bool vec : {false, true})
  {
    ScopedVectorPath path(vec);
    for (const Row& r : rows)
    {
      ScaleStage p;
      p.SetSampleRate(r.rate);
      p.SetOversampling(r.factor);
      EXPECT_NEAR(ChainGain(p, r.rate, r.hz), r.gain, 2e-6) << r.rate << " " << r.hz;
    }
  }
}

TEST(Oversampling, FactorsMixAndRefusedSettings)
{
  ScaleStage p;
  p.SetOversampling(0);
  EXPECT_EQ(p.Oversampling(), 1);
  p.SetOversampling(-3);
  EXPECT_EQ(p.Oversampling(), 1);
  // Without oversampling the stage runs at the host rate, unfiltered.
  p.gain = 3.0;
  double x[6] = {1, 2, 3, 4, 5, 6};
  p.ProcessBlock(x, 3);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(x[i], 3.0 * (i + 1));
  // Mix: processed times m plus unprocessed times 1 - m.
  ASSERT_TRUE(p.SetMix(0.25));
  EXPECT_FALSE(p.SetMix(std::nan("")));
  double y[2] = {4.0, -8.0};
  p.ProcessBlock(y, 1);
  EXPECT_EQ(y[0], 4.0 * 3.0 * 0.25 + 4.0 * 0.75);
  // Nothing at all for empty, negative or missing blocks.
  const int calls = p.calls;
  p.ProcessBlock(y, 0);
  p.ProcessBlock(y, -5);
  p.ProcessBlock(nullptr, 10);
  EXPECT_EQ(p.calls, calls);

  const int updates = p.updates;
  for (int bad : {0, -44100, 20000000})
    EXPECT_FALSE(p.SetSampleRate(bad));
  EXPECT_EQ(p.SampleRate(), 44100);
  EXPECT_EQ(p.updates, updates);
  EXPECT_TRUE(p.SetSampleRate(48000));
  EXPECT_EQ(p.updates, updates + 1);  // a new rate re-derives everything
  EXPECT_FALSE(p.SetChannelCount(3));
  EXPECT_FALSE(p.SetChannelCount(0));
  EXPECT_EQ(p.ChannelCount(), 2);
}

TEST(Oversampling, BlocksOfAnyLengthGiveTheSameResultAsSingleFrames)
{
  ScopedVectorPath scalar(false);
  for (int channels : {1, 2})
  {
    ScaleStage whole, single;
    for (ScaleStage* p : {&whole, &single})
      p->SetChannelCount(channels), p->SetOversampling(8), p->gain = 0.75;
    const int frames = 3001;  // many slices
    std::vector<double> x(channels * frames + 1);
    TestNoise n(9);
    for (double& v : x)
      v = n.Next();
    x.back() = 42.0;  // guard past the block
    std::vector<double> y = x;
    whole.ProcessBlock(x.data(), frames);
    for (int i = 0; i < frames; ++i)
      single.ProcessBlock(y.data() + i * channels, 1);
    ASSERT_EQ(x, y) << channels;
    EXPECT_EQ(x.back(), 42.0);
    EXPECT_EQ(whole.processed, 8L * frames);
  }
}

// A new design glides in over the whole host block, however many slices the block takes,
// and blocks after it continue the same: the result is the one-piece computation's.
TEST(Oversampling, SlicedBlocksGlideAsTheWholeBlock)
{
  for (int factor : {2, 4, 8})
  {
    const int slice = AudioProcessor::kSliceFrames / factor;
    for (int first : {1, 7, slice - 1, slice, slice + 1, 3 * slice + 5, 5000})
    {
      SCOPED_TRACE(testing::Message() << "factor " << factor << ", first block " << first);
      ScaleStage sliced;
      sliced.SetOversampling(factor);
      sliced.gain = 0.8;
      UnslicedChain whole(factor);
      for (int frames : {first, 777})
      {
        std::vector<double> x(2 * frames);
        TestNoise n(static_cast<uint64_t>(frames));
        for (double& v : x)
          v = n.Next();
        std::vector<double> y = x;
        sliced.ProcessBlock(x.data(), frames);
        whole.Process(y.data(), frames, 0.8);
        ASSERT_EQ(x, y) << "block of " << frames;
      }
    }
  }
}

// The whole engine as the effect runs it, host block by host block.
struct Engine
{
  explicit Engine(int rate) { SetRate(rate), tc.SetAmount(1.0); }
  void SetRate(int rate) { tc.SetSampleRate(rate), tc.SetOversampling(rate < 88100 ? 8 : rate < 192000 ? 4 : 2); }
  void Run(std::vector<double>& x, int block = 256)
  {
    const int frames = static_cast<int>(x.size() / 2);
    for (int i = 0; i < frames; i += block)
      tc.ProcessBlock(x.data() + 2 * i, std::min(block, frames - i));
  }
  TransientControl tc;
};

std::vector<double> Drums(int frames, uint64_t seed)
{
  TestNoise n(seed);
  std::vector<double> x(2 * frames);
  for (int i = 0; i < 2 * frames; ++i)
    x[i] = std::exp(-((i / 2) % 4410) / 300.0) * n.Next();
  return x;
}

bool AllFinite(const std::vector<double>& x)
{
  return std::all_of(x.begin(), x.end(), [](double v) { return std::isfinite(v); });
}

TEST(EngineRobustness, NonFiniteBurstsNeverLockTheEngine)
{
  for (bool vec : {false, true})
  {
    ScopedVectorPath path(vec);
    Engine hit(44100), clean(44100);
    std::vector<double> a = Drums(44100, 1), b = a;
    for (int i = 1000; i < 1100; ++i)
      a[i] = (i % 3 == 0) ? std::nan("") : (i % 3 == 1 ? HUGE_VAL : -HUGE_VAL);
    a[5000] = 1e308;  // overflows inside the chain
    a[5001] = -1e308;
    hit.Run(a);
    clean.Run(b);
    EXPECT_TRUE(AllFinite(a));
    // Recovered: a second later the same input gives the same output.
    std::vector<double> c = Drums(44100, 2), d = c;
    hit.Run(c);
    clean.Run(d);
    for (size_t i = 44100; i < c.size(); ++i)
      ASSERT_NEAR(c[i], d[i], 1e-9) << i;
  }
}

TEST(EngineRobustness, DcSquaresAndSilenceStayBoundedAndNormal)
{
  for (bool vec : {false, true})
  {
    ScopedVectorPath path(vec);
    Engine e(44100);
    e.tc.SetAmount(0.0);
    std::vector<double> dc(2 * 8000, 1.0);
    e.Run(dc);
    EXPECT_NEAR(dc[2 * 7999], 1.0, 1e-12);
    for (double amount : {1.0, -1.0})
    {
      e.tc.SetAmount(amount);
      std::vector<double> sq(2 * 44100);
      for (size_t i = 0; i < sq.size(); ++i)
        sq[i] = ((i / 2) % 441 < 220) ? 1.0 : -1.0;
      e.Run(sq);
      EXPECT_TRUE(std::all_of(sq.begin(), sq.end(), [](double v) { return std::fabs(v) < 8.0; }));
    }
    // Digital silence: the output is tiny and no follower goes subnormal, which a short
    // release would otherwise reach within two seconds.
    e.tc.SetTempoRelease(false);
    e.tc.SetReleaseTime(10.0);
    std::vector<double> silence(2 * 44100);
    for (int s = 0; s < 4; ++s)
    {
      std::fill(silence.begin(), silence.end(), 0.0);
      e.Run(silence, 512);
    }
    EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](double v) { return std::fabs(v) < 1e-15; }));
    for (int i = 0; i < 4; ++i)
      EXPECT_NE(std::fpclassify(e.tc.Follower(i).level), FP_SUBNORMAL);
    for (int c = 0; c < 2; ++c)
      EXPECT_NE(std::fpclassify(e.tc.DetectorFilter(c).History(0, 0).w1), FP_SUBNORMAL);
  }
}

TEST(EngineRobustness, EveryRateShapesAudiblyAndSurvivesRateChanges)
{
  Engine e(44100);
  for (int rate : {22050, 44100, 48000, 88200, 96000, 176400, 192000, 384000, 22050})
  {
    e.SetRate(rate);
    // A tone burst after silence, shaped from fresh followers with three amounts.
    std::vector<double> out[3];
    const double amounts[3] = {0.0, 1.0, -1.0};
    for (int k = 0; k < 3; ++k)
    {
      out[k].assign(2 * rate / 10, 0.0);
      for (size_t i = out[k].size() / 2; i < out[k].size(); ++i)
        out[k][i] = 0.5 * std::sin(0.05 * static_cast<double>(i / 2));
      e.SetRate(rate);
      e.tc.SetAmount(amounts[k]);
      e.Run(out[k]);
      ASSERT_TRUE(AllFinite(out[k])) << rate;
    }
    auto attack = [&](const std::vector<double>& v) {
      auto first = v.begin() + v.size() / 2;
      return std::fabs(*std::max_element(first, first + 2 * rate / 100,
                                         [](double a, double b) { return std::fabs(a) < std::fabs(b); }));
    };
    EXPECT_GT(attack(out[1]), 1.2 * attack(out[0])) << rate;  // lifted
    EXPECT_LT(attack(out[2]), 0.9 * attack(out[0])) << rate;  // flattened
  }
}

TEST(EngineRobustness, GainPeakSpansTheWholeHostBlock)
{
  // A hit at the start of one long block, then silence until the followers flush and the
  // gain is exactly 1 again in the last slices: the block's peak is still the hit's.
  Engine e(44100);
  std::vector<double> x(2 * 66150, 0.0);
  std::fill(x.begin() + 2000, x.begin() + 2400, 0.8);
  e.tc.ProcessBlock(x.data(), 66150);
  EXPECT_GT(e.tc.GainPeak(0), 1.2);
}

}  // namespace
