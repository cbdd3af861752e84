#include <gtest/gtest.h>

#include <vector>

#include "effect/dsp/SampleBlock.h"

namespace {

TEST(SampleBlock, SplitAndJoinMatchTheInterleavedLayout)
{
  for (size_t ch : {1u, 2u, 3u})
    for (size_t frames : {0u, 1u, 2u, 3u, 5u, 8u, 13u})
    {
      // Value of channel c in frame f: 100c + f; one guard value after every array.
      std::vector<double> in(ch * frames + 1, -7.0), back(ch * frames + 1, -3.0);
      for (size_t i = 0; i < ch * frames; ++i)
        in[i] = 100.0 * (i % ch) + static_cast<double>(i / ch);
      std::vector<std::vector<double>> planes(ch, std::vector<double>(frames + 1, -1.0));
      std::vector<double*> ptrs;
      for (auto& p : planes)
        ptrs.push_back(p.data());

      EXPECT_EQ(Dsp::SplitInterleaved(ch, frames, ptrs.data(), in.data()), in.data() + ch * frames);
      for (size_t c = 0; c < ch; ++c)
      {
        for (size_t f = 0; f < frames; ++f)
          EXPECT_EQ(planes[c][f], 100.0 * c + f) << ch << " channels, frame " << f;
        EXPECT_EQ(planes[c][frames], -1.0);
      }
      EXPECT_EQ(Dsp::JoinInterleaved(ch, frames, back.data(), ptrs.data()), back.data() + ch * frames);
      back.back() = -7.0;
      EXPECT_EQ(back, in);
    }
}

TEST(SampleBlock, StrideRoutinesSkipAndReturnTheEndOfTheLastWrite)
{
  // Two values a frame; one skipped in the destination, two in the source.
  double src[12] = {1, 2, 90, 91, 3, 4, 92, 93, 5, 6, 94, 95};
  double dst[9] = {0, 0, -1, 0, 0, -1, 0, 0, -1};
  EXPECT_EQ(Dsp::CopyWithStride(2, 3, dst, src, 1, 2), dst + 8);
  EXPECT_EQ(Dsp::AccumulateWithStride(2, 3, dst, src, 1, 2), dst + 8);
  EXPECT_EQ(Dsp::ScaleWithStride(2, 3, dst, 0.25, 1), dst + 8);
  const double expect[9] = {0.5, 1, -1, 1.5, 2, -1, 2.5, 3, -1};
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(dst[i], expect[i]) << i;
  // Zero frames touch nothing.
  EXPECT_EQ(Dsp::CopyWithStride(2, 0, dst, src, 1, 2), dst);
  EXPECT_EQ(Dsp::ScaleWithStride(2, 0, dst, 0.0, 1), dst);
  EXPECT_EQ(dst[0], 0.5);
}

}  // namespace
