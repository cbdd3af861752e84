#include "tests/effect/EffectTestSupport.h"

#include "framework/core/StateChunk.h"
#include "tests/effect/dsp/UnslicedChain.h"

#include <gtest/gtest.h>

namespace {

std::vector<double> Sine(int n, double hz, double amplitude, double rate = 44100.0)
{
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i)
    x[i] = amplitude * std::sin(2.0 * kPi * hz * i / rate);
  return x;
}

double CrestFactorDb(const std::vector<double>& x, size_t from)
{
  return 20.0 * std::log10(Peak(x, from) / Rms(x, from));
}

// Runs the effect over the signal in blocks of the given lengths, through separate input
// and output buffers. The first 128 frames go as one block: a new filter design glides in
// over the first block it sees, so that block must match between runs.
std::vector<double> ProcessInBlocks(const std::vector<double>& in, const std::vector<int>& lengths)
{
  EffectUnderTest fx(44100, 4096);
  fx.SetParam(TarvexQuoxel::kLevel, 70);
  std::vector<double> inR(in.rbegin(), in.rend()), outL(in.size()), outR(in.size());
  size_t pos = 0;
  for (size_t k = 0; pos < in.size(); ++k)
  {
    const int want = pos == 0 ? 128 : lengths[k % lengths.size()];
    const int n = std::min<int>(want, static_cast<int>(in.size() - pos));
    double* ins[] = {const_cast<double*>(in.data()) + pos, inR.data() + pos};
    double* outs[] = {outL.data() + pos, outR.data() + pos};
    fx.plug->BindInputsDouble(0, 2, ins);
    fx.plug->BindOutputsDouble(0, 2, outs);
    fx.plug->RunDouble(n);
    pos += n;
  }
  outL.insert(outL.end(), outR.begin(), outR.end());
  return outL;
}

TEST(BlockProcess, BlockLengthsDoNotChangeTheResult)
{
  const std::vector<double> in = DrumLoop(9000, 44100, 3);
  const std::vector<double> reference = ProcessInBlocks(in, {512});
  const std::vector<double> odd = ProcessInBlocks(in, {1, 3, 5, 7, 64, 4096, 333});
  const std::vector<double> long_ = ProcessInBlocks(in, {8872});
  for (size_t i = 0; i < reference.size(); ++i)
  {
    ASSERT_NEAR(odd[i], reference[i], 1e-12) << i;
    ASSERT_NEAR(long_[i], reference[i], 1e-12) << i;
  }
}

// The first block after a reset glides the new filter designs in over the whole host
// block, however the effect and its engine cut the block up: with the amount at 0 the
// effect is exactly the oversampling chain run over the block in one piece.
TEST(BlockProcess, FirstBlockGlidesOverTheWholeHostBlock)
{
  for (const double rate : {44100.0, 96000.0, 192000.0})
    for (const int frames : {1000, 5000})
    {
      SCOPED_TRACE(testing::Message() << rate << " Hz, " << frames << " frames");
      EffectUnderTest fx(rate, 8192);
      fx.SetParam(TarvexQuoxel::kLevel, 0);
      std::vector<double> l = DrumLoop(frames, rate), r = Sine(frames, 440, 0.5, rate);
      std::vector<double> expected(2 * static_cast<size_t>(frames));
      for (int i = 0; i < frames; ++i)
        expected[2 * i] = l[i], expected[2 * i + 1] = r[i];
      UnslicedChain(TarvexQuoxel::OversamplingFor(rate)).Process(expected.data(), frames);
      fx.Process(l, r);
      for (int i = 0; i < frames; ++i)
      {
        ASSERT_EQ(l[i], expected[2 * i]) << i;
        ASSERT_EQ(r[i], expected[2 * i + 1]) << i;
      }
    }
}

TEST(BlockProcess, FloatBuffersMatchDoubleBuffers)
{
  const std::vector<double> in = DrumLoop(4000, 44100);
  EffectUnderTest a, b;
  a.SetParam(TarvexQuoxel::kLevel, -60);
  b.SetParam(TarvexQuoxel::kLevel, -60);
  std::vector<double> dl = in, dr = in;
  a.Process(dl, dr);

  std::vector<float> fl(in.begin(), in.end()), fr = fl;
  float* ins[] = {fl.data(), fr.data()};
  b.plug->BindInputsFloat(0, 2, ins, static_cast<int>(fl.size()));
  b.plug->BindOutputsFloat(0, 2, ins);
  b.plug->RunFloat(static_cast<int>(fl.size()));
  for (size_t i = 0; i < in.size(); ++i)
    ASSERT_NEAR(fl[i], dl[i], 1e-6) << i;
}

TEST(BlockProcess, ChannelsAreIndependentAndMonoMatchesStereoLeft)
{
  const std::vector<double> in = DrumLoop(6000, 44100);
  EffectUnderTest stereo, mono;
  stereo.SetParam(TarvexQuoxel::kLevel, 100);
  mono.SetParam(TarvexQuoxel::kLevel, 100);
  std::vector<double> sl = in, sr = Sine(6000, 3000, 0.9);
  stereo.Process(sl, sr);
  std::vector<double> ml = in, none;
  mono.Process(ml, none);
  EXPECT_EQ(ml, sl);
}

TEST(BlockProcess, AmountZeroLeavesTheSignalAsTheFiltersPassIt)
{
  EffectUnderTest fx;
  fx.SetParam(TarvexQuoxel::kLevel, 0);
  ASSERT_EQ(fx.Param(TarvexQuoxel::kOutGain), 0.0);
  std::vector<double> l = Sine(8820, 100, 0.7), r = l;
  const std::vector<double> in = l;
  fx.Process(l, r);
  // Low frequencies pass unchanged but for about one sample of filter delay.
  double worst = 0.0;
  for (size_t i = 2000; i < in.size(); ++i)
    worst = std::fmax(worst, std::fabs(l[i] - (in[i] + in[i - 1]) * 0.5));
  EXPECT_LT(worst, 0.01);
  EXPECT_NEAR(Rms(l, 2000) / Rms(in, 2000), 1.0, 0.002);
}

TEST(BlockProcess, CrestFactorFollowsTheAmount)
{
  const std::vector<double> drums = DrumLoop(44100 * 2, 44100);
  const double crestIn = CrestFactorDb(drums, 22050);
  auto crestFor = [&](double level) {
    EffectUnderTest fx;
    fx.SetParam(TarvexQuoxel::kLevel, level);
    std::vector<double> l = drums, r = drums;
    fx.Process(l, r);
    return CrestFactorDb(l, 22050);
  };
  const double lifted = crestFor(100), flattened = crestFor(-100), unchanged = crestFor(0);
  // Doubling the attack against the body (gain up to 2 where fast/slow peaks) adds
  // several dB of crest; the opposite amount takes some away.
  EXPECT_GT(lifted - crestIn, 2.0);
  EXPECT_LT(lifted - crestIn, 12.1);
  EXPECT_LT(flattened - crestIn, -1.0);
  EXPECT_NEAR(unchanged, crestIn, 0.1);
}

// A host may process before it has pushed any parameter or set a rate: the new object
// already runs its defaults at 44,100 Hz, audibly (once the first block has glided the
// filters in), with working meters.
TEST(BlockProcess, FreshObjectProcessesAudiblyBeforeAnySetUp)
{
  std::unique_ptr<TarvexQuoxel> plug(NewTarvexQuoxel(nullptr));
  EXPECT_EQ(plug->Engine().Oversampling(), 8);
  std::vector<double> first = Sine(256, 220, 0.5), firstR = first;
  double* glide[] = {first.data(), firstR.data()};
  plug->ProcessBlockDouble(glide, glide, 256);
  std::vector<double> l = Sine(2048, 220, 0.5), r = l;
  const std::vector<double> in = l;
  double* io[] = {l.data(), r.data()};
  plug->ProcessBlockDouble(io, io, 2048);
  EXPECT_NEAR(Rms(l, 1024) / Rms(in, 1024), 1.0, 0.01);
  EXPECT_NEAR(plug->MeterValue(TarvexQuoxel::kInputMeter0), (20.0 * std::log10(0.5) + 48.0) / 48.0, 0.01);
  EXPECT_GT(plug->MeterValue(TarvexQuoxel::kOutputMeter1), 0.8);
}

TEST(BlockProcess, StateRoundTripGivesIdenticalAudio)
{
  EffectUnderTest a;
  const double values[] = {-35, 3, 0, 180, 44, 275, 0, 9, -8};
  for (int i = 0; i < TarvexQuoxel::kNumParams; ++i)
    a.SetParam(i, values[i]);
  StateChunk chunk;
  ASSERT_TRUE(a.plug->WriteState(&chunk));
  EXPECT_EQ(chunk.Size(), 72);

  EffectUnderTest b;
  ASSERT_EQ(b.plug->ReadState(&chunk, 0), 72);
  for (int i = 0; i < TarvexQuoxel::kNumParams; ++i)
    EXPECT_EQ(b.Param(i), a.Param(i)) << i;

  std::vector<double> al = DrumLoop(5000, 44100), ar = al, bl = al, br = al;
  a.Process(al, ar);
  b.Process(bl, br);
  EXPECT_EQ(al, bl);
}

TEST(BlockProcess, NonFiniteInputNeverSticks)
{
  EffectUnderTest fx;
  fx.SetParam(TarvexQuoxel::kLevel, 100);
  std::vector<double> l = DrumLoop(512, 44100), r = l;
  l[100] = std::nan("");
  r[7] = INFINITY;
  fx.Process(l, r);
  for (int m = 0; m < TarvexQuoxel::kNumMeters; ++m)
    EXPECT_TRUE(std::isfinite(fx.plug->MeterValue(m)));
  for (int block = 0; block < 4; ++block)
  {
    l = DrumLoop(512, 44100);
    r = l;
    fx.Process(l, r);
  }
  for (size_t i = 0; i < l.size(); ++i)
    ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i])) << i;
  EXPECT_GT(Peak(l), 0.1);
}

TEST(Meters, PeakMetersRiseAndFallAtTheirRates)
{
  EffectUnderTest fx(44100, 16384);
  std::vector<double> l(400, 1.0), r(400, 1.0);
  fx.Process(l, r);
  EXPECT_DOUBLE_EQ(fx.plug->MeterValue(TarvexQuoxel::kInputMeter0), 1.0);
  EXPECT_DOUBLE_EQ(fx.plug->MeterValue(TarvexQuoxel::kInputMeter1), 1.0);

  // 300 ms of silence takes the level to 1% (-40 dB), which the -48..0 dB scale shows at 1/6.
  l.assign(13230, 0.0);
  r.assign(13230, 0.0);
  fx.Process(l, r);
  EXPECT_NEAR(fx.plug->MeterValue(TarvexQuoxel::kInputMeter0), 1.0 / 6.0, 1e-6);
  // 70 ms later the level is below -48 dB: the meter rests at 0.
  l.assign(3087, 0.0);
  r.assign(3087, 0.0);
  fx.Process(l, r);
  EXPECT_EQ(fx.plug->MeterValue(TarvexQuoxel::kInputMeter0), 0.0);
}

TEST(Meters, GainMetersShowTheGainWhilePlayingAndRestWhenStopped)
{
  EffectUnderTest fx;
  fx.SetParam(TarvexQuoxel::kLevel, 100);
  // Ends 50 ms after a hit.
  std::vector<double> l = DrumLoop(22050 + 2205, 44100), r = l;
  fx.Process(l, r);
  EXPECT_EQ(fx.plug->MeterValue(TarvexQuoxel::kGainMeter0), 0.5);
  EXPECT_EQ(fx.plug->MeterValue(TarvexQuoxel::kGainMeter1), 0.5);
  EXPECT_GT(fx.plug->MeterValue(TarvexQuoxel::kOutputMeter0), 0.5);

  fx.plug->transport.playing = true;
  double highest = 0.0;
  const std::vector<double> drums = DrumLoop(22050, 44100);
  for (int start = 0; start < 22050; start += 512)
  {
    std::vector<double> bl(drums.begin() + start, drums.begin() + std::min(start + 512, 22050));
    std::vector<double> br = bl;
    fx.Process(bl, br);
    highest = std::fmax(highest, fx.plug->MeterValue(TarvexQuoxel::kGainMeter0));
  }
  // The attacks are lifted: the gain meter goes above its 0 dB middle.
  EXPECT_GT(highest, 0.55);
  EXPECT_LE(highest, 1.0);
}

// The onset of a burst after silence drives the gain into the limit the amount points at,
// so the gain meters show that limit on their -12..+12 dB scale.
TEST(Meters, GainMeterScaleSpansTwentyFourDecibels)
{
  const struct
  {
    double level, upper, lower, meter;
  } cases[] = {{100, 6, -12, 0.75}, {-100, 12, -6, 0.25}, {100, 1, -12, 13.0 / 24.0}, {-100, 12, -9, 0.125}};
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.meter);
    EffectUnderTest fx;
    fx.plug->transport.playing = true;
    fx.SetParam(TarvexQuoxel::kUpperLimit, c.upper);
    fx.SetParam(TarvexQuoxel::kLowerLimit, c.lower);
    fx.SetParam(TarvexQuoxel::kLevel, c.level);
    std::vector<double> l = Sine(64, 1000, 0.9), r = Sine(64, 1500, 0.5);
    fx.Process(l, r);
    EXPECT_NEAR(fx.plug->MeterValue(TarvexQuoxel::kGainMeter0), c.meter, 1e-9);
    EXPECT_NEAR(fx.plug->MeterValue(TarvexQuoxel::kGainMeter1), c.meter, 1e-9);
  }
}

TEST(Tempo, OnlyFinitePositiveTempoReachesTheEngine)
{
  EffectUnderTest fx;
  std::vector<double> l(64, 0.1), r(64, 0.1);
  fx.plug->transport.tempo = 128.0;
  fx.Process(l, r);
  EXPECT_EQ(fx.plug->Engine().Tempo(), 128.0);
  EXPECT_DOUBLE_EQ(fx.plug->Engine().EffectiveReleaseTime(), 60.0 / 128.0 * 500.0);
  for (double bad : {0.0, -5.0, std::nan(""), double(INFINITY)})
  {
    fx.plug->transport.tempo = bad;
    fx.Process(l, r);
    EXPECT_EQ(fx.plug->Engine().Tempo(), 128.0);
  }
  for (double v : l)
    EXPECT_TRUE(std::isfinite(v));
}

}  // namespace
