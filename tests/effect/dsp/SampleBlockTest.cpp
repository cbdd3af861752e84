#include <gtest/gtest.h>

#include <vector>

#include "effect/dsp/CpuFeatures.h"
#include "effect/dsp/SampleBlock.h"

namespace
{

TEST(SampleBlock, SplitAndJoinMatchTheInterleavedLayout)
{
  for (size_t channels : {1u, 2u, 3u})
  {
    for (size_t frames : {0u, 1u, 2u, 3u, 5u, 8u, 13u})
    {
      std::vector<double> interleaved(channels * frames + 1, -7.0);
      for (size_t i = 0; i < channels * frames; ++i)
        interleaved[i] = 100.0 * static_cast<double>(i % channels) + static_cast<double>(i / channels);
      std::vector<std::vector<double>> planes(channels, std::vector<double>(frames + 1, -1.0));
      std::vector<double*> ptrs;
      for (auto& p : planes)
        ptrs.push_back(p.data());

      const double* readEnd = Dsp::SplitInterleaved(channels, frames, ptrs.data(), interleaved.data());
      EXPECT_EQ(readEnd, interleaved.data() + channels * frames);
      for (size_t c = 0; c < channels; ++c)
      {
        for (size_t f = 0; f < frames; ++f)
          EXPECT_EQ(planes[c][f], 100.0 * c + f) << channels << " ch, frame " << f;
        EXPECT_EQ(planes[c][frames], -1.0) << "wrote past the plane";
      }

      std::vector<double> rejoined(channels * frames + 1, -3.0);
      double* end = Dsp::JoinInterleaved(channels, frames, rejoined.data(), ptrs.data());
      EXPECT_EQ(end, rejoined.data() + channels * frames);
      for (size_t i = 0; i < channels * frames; ++i)
        EXPECT_EQ(rejoined[i], interleaved[i]);
      EXPECT_EQ(rejoined[channels * frames], -3.0);
    }
  }
}

TEST(SampleBlock, StrideRoutinesSkipAndReturnTheEndOfTheLastWrite)
{
  // Two values per frame, one skipped in the destination, two in the source.
  double src[12] = {1, 2, 90, 91, 3, 4, 92, 93, 5, 6, 94, 95};
  double dst[9] = {0, 0, -1, 0, 0, -1, 0, 0, -1};
  double* end = Dsp::CopyWithStride(2, 3, dst, src, 1, 2);
  EXPECT_EQ(end, dst + 8);
  const double copied[9] = {1, 2, -1, 3, 4, -1, 5, 6, -1};
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(dst[i], copied[i]);

  end = Dsp::AccumulateWithStride(2, 3, dst, src, 1, 2);
  EXPECT_EQ(end, dst + 8);
  const double summed[9] = {2, 4, -1, 6, 8, -1, 10, 12, -1};
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(dst[i], summed[i]);

  end = Dsp::ScaleWithStride(2, 3, dst, 0.5, 1);
  EXPECT_EQ(end, dst + 8);
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(dst[i], i % 3 == 2 ? -1.0 : copied[i]);

  // Zero frames touch nothing.
  EXPECT_EQ(Dsp::CopyWithStride(2, 0, dst, src, 1, 2), dst);
  EXPECT_EQ(Dsp::ScaleWithStride(2, 0, dst, 0.0, 1), dst);
  EXPECT_EQ(dst[0], 1.0);
}

// A fake processor: leaf 0 answers the highest leaf, leaf 1 the feature bits.
unsigned gMaxLeaf = 0;
unsigned gEcx = 0, gEdx = 0;
void FakeCpuid(unsigned leaf, CpuidRegisters& out)
{
  out = CpuidRegisters{};
  if (leaf == 0)
    out.eax = gMaxLeaf;
  else if (leaf == 1 && gMaxLeaf >= 1)
  {
    out.ecx = gEcx;
    out.edx = gEdx;
  }
}

TEST(CpuFeatures, ReadsEachFlagFromItsBitAndNothingWithoutLeafOne)
{
  gMaxLeaf = 0;
  gEcx = gEdx = 0xFFFFFFFFu;
  CpuFeatures none(&FakeCpuid);
  EXPECT_FALSE(none.mmx || none.fxsr || none.sse || none.sse3 || none.ssse3 || none.sse41 ||
               none.sse42);

  gMaxLeaf = 1;
  gEdx = (1u << 23) | (1u << 25);
  gEcx = (1u << 9) | (1u << 20);
  CpuFeatures some(&FakeCpuid);
  EXPECT_TRUE(some.mmx);
  EXPECT_FALSE(some.fxsr);
  EXPECT_TRUE(some.sse);
  EXPECT_FALSE(some.sse3);
  EXPECT_TRUE(some.ssse3);
  EXPECT_FALSE(some.sse41);
  EXPECT_TRUE(some.sse42);

  gEdx = 1u << 24;
  gEcx = (1u << 0) | (1u << 19);
  CpuFeatures other(&FakeCpuid);
  EXPECT_TRUE(other.fxsr && other.sse3 && other.sse41);
  EXPECT_FALSE(other.mmx || other.sse || other.ssse3 || other.sse42);

#if defined(__x86_64__)
  // Every x86-64 processor has SSE and SSE2; the real probe must see SSE at least.
  EXPECT_TRUE(CpuFeatures().sse);
#endif
}

}  // namespace
