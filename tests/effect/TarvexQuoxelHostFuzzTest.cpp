#include "tests/effect/EffectTestSupport.h"

#include "framework/core/StateChunk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

namespace {

// Whatever a host sends, in whatever order: the output stays finite, the meters stay
// within 0..1 and every parameter within its range.
struct HostFuzzer
{
  explicit HostFuzzer(unsigned seed) : rng(seed) {}

  double Pick(std::initializer_list<double> values)
  {
    std::uniform_int_distribution<size_t> d(0, values.size() - 1);
    return *(values.begin() + d(rng));
  }
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }

  double Sample()
  {
    switch (Int(0, 15))
    {
    case 0:
      return std::numeric_limits<double>::quiet_NaN();
    case 1:
      return Pick({INFINITY, -INFINITY, 1e30, -1e30, 4.9e-324, 1e-310});
    default:
      return Uniform(-1.5, 1.5);
    }
  }

  double Wild()
  {
    return Pick({std::numeric_limits<double>::quiet_NaN(), INFINITY, -INFINITY, -1.0, 0.0, 1e-300, 0.5, 1.0, 2.0, 1e300,
                 Uniform(0.0, 1.0), Uniform(0.0, 1.0)});
  }

  void Step(IPlugTestBinding& plug)
  {
    switch (Int(0, 9))
    {
    case 0:
      plug.SetParameterFromGUI(Int(-2, 10), Wild());
      break;
    case 1:
      plug.Setup(Pick({44100.0, 48000.0, 96000.0, 192000.0, 8000.0, 1.0, 0.5, 1e7, 9.99e6, 1e9, 0.0, -44100.0,
                       std::numeric_limits<double>::quiet_NaN(), Uniform(1.0, 400000.0)}),
                 Int(-5, 3000));
      break;
    case 2:
      plug.transport.tempo = Pick({120.0, 0.0, -1.0, 1e-300, 4.9e-324, 1e300, INFINITY,
                                   std::numeric_limits<double>::quiet_NaN(), Uniform(1.0, 999.0)});
      plug.transport.playing = Int(0, 1) == 1;
      break;
    case 3:
    {
      StateChunk chunk;
      const int n = Int(0, 12);
      for (int i = 0; i < n; ++i)
        chunk.PutDouble(Int(0, 2) ? Wild() * 200.0 - 100.0 : Wild());
      plug.ReadState(&chunk, Int(-1, 9));
      break;
    }
    case 4:
      plug.LoadPreset(Int(-1, 1));
      break;
    default:
      RunBlock(plug);
      break;
    }
  }

  void RunBlock(IPlugTestBinding& plug)
  {
    const int frames = Int(0, 3) == 0 ? Int(0, 4) : Int(1, 5000);
    const int nIn = Int(0, 2), nOut = Int(0, 2);
    const bool useFloat = Int(0, 1) == 1, bypass = Int(0, 9) == 0, inPlace = Int(0, 1) == 1;
    std::vector<double> d[4];
    std::vector<float> f[4];
    for (int c = 0; c < 4; ++c)
    {
      d[c].resize(static_cast<size_t>(frames) + 1);
      f[c].resize(static_cast<size_t>(frames) + 1);
      for (int i = 0; i < frames; ++i)
        f[c][i] = static_cast<float>(d[c][i] = Sample());
    }
    double* din[] = {d[0].data(), d[1].data()};
    double* dout[] = {inPlace ? d[0].data() : d[2].data(), inPlace ? d[1].data() : d[3].data()};
    float* fin[] = {f[0].data(), f[1].data()};
    float* fout[] = {inPlace ? f[0].data() : f[2].data(), inPlace ? f[1].data() : f[3].data()};
    if (useFloat)
      plug.ProcessFloat(fin, nIn, fout, nOut, frames, bypass);
    else
      plug.ProcessDouble(din, nIn, dout, nOut, frames, bypass);
    if (bypass)
      return;
    for (int c = 0; c < nOut; ++c)
      for (int i = 0; i < frames; ++i)
      {
        const double v = useFloat ? fout[c][i] : dout[c][i];
        ASSERT_TRUE(std::isfinite(v)) << "channel " << c << " frame " << i << " of " << frames
                                      << (useFloat ? " float" : " double");
      }
  }

  std::mt19937 rng;
};

TEST(HostFuzz, AnySequenceOfHostCallsKeepsTheEffectSound)
{
  for (unsigned seed = 1; seed <= 8; ++seed)
  {
    SCOPED_TRACE(seed);
    std::unique_ptr<TarvexQuoxel> plug(NewTarvexQuoxel(nullptr));
    ASSERT_NE(plug, nullptr);
    HostFuzzer fuzz(seed);
    for (int step = 0; step < 150; ++step)
    {
      fuzz.Step(*plug);
      if (HasFatalFailure())
        return;
      for (int m = 0; m < TarvexQuoxel::kNumMeters; ++m)
      {
        const double v = plug->MeterValue(m);
        ASSERT_TRUE(v >= 0.0 && v <= 1.0) << "meter " << m;
      }
      for (int i = 0; i < plug->NParams(); ++i)
      {
        const IPlugParameter* p = plug->ParamAt(i);
        ASSERT_TRUE(p->Value() >= p->Min() && p->Value() <= p->Max()) << "parameter " << i;
      }
      const TransientControl& e = plug->Engine();
      ASSERT_TRUE(std::isfinite(e.OutputGain()) && std::isfinite(e.Amount()) && e.Tempo() > 0.0);
    }
  }
}

}  // namespace
