// The block in one pass from the host's buffers, meters inside it, against the separate
// passes it replaces.
#include "tests/effect/EffectTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/cpu/CpuFeatures.h"

namespace {

// Runs blocks through separate input and output buffers; the output buffers may start
// inside the input buffers, `shift` frames on.
void RunBlock(EffectUnderTest& fx, std::vector<double>& l, std::vector<double>& r, size_t at, int n, int shift)
{
  double* ins[] = {l.data() + at, r.data() + at};
  double* outs[] = {l.data() + at + shift, r.data() + at + shift};
  fx.plug->BindInputsDouble(0, 2, ins);
  fx.plug->BindOutputsDouble(0, 2, outs);
  fx.plug->RunDouble(n);
}

double MeterOf(const MeterFollower& f)
{
  const double v = (f.Decibels() + 48.0) / 48.0;
  return v > 0.0 ? std::min(v, 1.0) : 0.0;
}

}  // namespace

// The four peak meters step inside the pass exactly as the separate passes over the raw
// input and the written output step them, across rates, odd block lengths, in-place
// blocks and a burst of values that are not finite.
TEST(OnePass, MetersMatchSeparatePassesOverInputAndOutput)
{
  for (const double rate : {44100.0, 96000.0, 192000.0})
  {
    SCOPED_TRACE(rate);
    EffectUnderTest fx(rate, 4096);
    fx.SetParam(TarvexQuoxel::kLevel, 80);
    MeterFollower in[2], out[2];
    for (MeterFollower* f : {&in[0], &in[1], &out[0], &out[1]})
      f->SetTimes(1.0, 300.0, static_cast<int>(rate));
    const std::vector<double> drums = DrumLoop(12000, rate, 7);
    size_t at = 0;
    for (const int n : {512, 64, 1, 7, 3000, 2, 4096, 333})
    {
      std::vector<double> l(drums.begin() + at, drums.begin() + at + n), r(l.rbegin(), l.rend());
      if (n == 3000)
        l[100] = NAN, r[2000] = INFINITY;
      in[0].Run(l.data(), n);
      in[1].Run(r.data(), n);
      fx.Process(l, r);
      out[0].Run(l.data(), n);
      out[1].Run(r.data(), n);
      for (int c = 0; c < 2; ++c)
      {
        ASSERT_EQ(fx.plug->MeterValue(TarvexQuoxel::kInputMeter0 + c), MeterOf(in[c])) << n;
        ASSERT_EQ(fx.plug->MeterValue(TarvexQuoxel::kOutputMeter0 + c), MeterOf(out[c])) << n;
      }
      at += n;
    }
  }
}

// Output buffers that start a few frames into the input buffers cannot be worked in one
// pass (it writes a frame after reading it): the block still reads its input as the host
// handed it over.
TEST(OnePass, OutputsOverlappingTheInputsAtAnOffsetReadTheInputAsItWas)
{
  EffectUnderTest shifted(44100, 2048), plain(44100, 2048);
  const std::vector<double> drums = DrumLoop(3000, 44100, 2);
  for (EffectUnderTest* fx : {&shifted, &plain})
    fx->SetParam(TarvexQuoxel::kLevel, 60);
  std::vector<double> sl = drums, sr = drums, pl = drums, pr = drums, ol(drums.size() + 5), orr(drums.size() + 5);
  for (const size_t at : {size_t(0), size_t(1000)})
  {
    RunBlock(shifted, sl, sr, at, 1000, 3);
    double* ins[] = {pl.data() + at, pr.data() + at};
    double* outs[] = {ol.data() + at + 3, orr.data() + at + 3};
    plain.plug->BindInputsDouble(0, 2, ins);
    plain.plug->BindOutputsDouble(0, 2, outs);
    plain.plug->RunDouble(1000);
    for (size_t i = at + 3; i < at + 1003; ++i)
      ASSERT_EQ(sl[i], ol[i]) << i;
    // The next block reads the input the host meant, not what this one wrote.
    std::copy(drums.begin() + at + 1000, drums.begin() + at + 1010, sl.begin() + at + 1000);
    std::copy(drums.begin() + at + 1000, drums.begin() + at + 1010, sr.begin() + at + 1000);
  }
}

// The gain meter shows the gain's last excursion over the whole host block, also where
// the effect works a long block in several pieces (here, without the fused chain).
TEST(OnePass, GainPeakSpansTheWholeHostBlock)
{
  if (!ProcessorFeatures().avx2)
    GTEST_SKIP() << "without the fused chain every block takes the pieces";
  const std::vector<double> drums = DrumLoop(20000, 44100, 4);
  double meters[2][2];
  for (int run = 0; run < 2; ++run)
  {
    CpuFeatures& cpu = ProcessorFeatures();
    const bool saved = cpu.avx2;
    cpu.avx2 = run == 0;
    EffectUnderTest fx(44100, 8192);
    fx.plug->transport.playing = true;
    fx.SetParam(TarvexQuoxel::kLevel, 100);
    for (size_t at = 0; at < drums.size(); at += 5000)
    {
      std::vector<double> l(drums.begin() + at, drums.begin() + at + 5000), r = l;
      fx.Process(l, r);
    }
    cpu.avx2 = saved;
    for (int c = 0; c < 2; ++c)
      meters[run][c] = fx.plug->MeterValue(TarvexQuoxel::kGainMeter0 + c);
  }
  for (int c = 0; c < 2; ++c)
    EXPECT_NEAR(meters[0][c], meters[1][c], 1e-9) << c;
}
