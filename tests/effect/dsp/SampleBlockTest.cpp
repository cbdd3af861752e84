#include <gtest/gtest.h>

#include <vector>

#include "effect/dsp/CpuFeatures.h"
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

// A fake processor: leaf 0 answers the highest leaf, leaf 1 the feature bits, leaf 7
// the extended ones; the XCR reader says which register sets the system saves.
unsigned gMaxLeaf, gEcx, gEdx, gLeaf7Ebx, gXcr0;
void FakeCpuid(unsigned leaf, CpuidRegisters& out)
{
  out = CpuidRegisters{};
  if (leaf == 0)
    out.eax = gMaxLeaf;
  else if (leaf == 1 && gMaxLeaf >= 1)
    out.ecx = gEcx, out.edx = gEdx;
  else if (leaf == 7 && gMaxLeaf >= 7)
    out.ebx = gLeaf7Ebx;
}
unsigned FakeXcr0()
{
  return gXcr0;
}

TEST(CpuFeatures, ReadsEachFlagFromItsBitAndNothingWithoutLeafOne)
{
  gMaxLeaf = 0;
  gEcx = gEdx = 0xFFFFFFFFu;
  CpuFeatures none(&FakeCpuid);
  EXPECT_FALSE(none.mmx || none.fxsr || none.sse || none.sse2 || none.sse3 || none.ssse3 || none.sse41 || none.sse42);

  // {edx bit, ecx bit} for MMX, FXSR, SSE, SSE2, SSE3, SSSE3, SSE4.1, SSE4.2, one at a time.
  const int edx[8] = {23, 24, 25, 26, -1, -1, -1, -1}, ecx[8] = {-1, -1, -1, -1, 0, 9, 19, 20};
  gMaxLeaf = 1;
  for (int k = 0; k < 8; ++k)
  {
    gEdx = edx[k] < 0 ? 0 : 1u << edx[k];
    gEcx = ecx[k] < 0 ? 0 : 1u << ecx[k];
    CpuFeatures f(&FakeCpuid);
    const bool got[8] = {f.mmx, f.fxsr, f.sse, f.sse2, f.sse3, f.ssse3, f.sse41, f.sse42};
    for (int j = 0; j < 8; ++j)
      EXPECT_EQ(got[j], j == k) << "bit " << k << " flag " << j;
  }
#if defined(__x86_64__)
  EXPECT_TRUE(CpuFeatures().sse);  // every x86-64 processor has it
#endif
}

TEST(CpuFeatures, WideFusedPathNeedsAvx2FmaAndTheSystemSavingTheRegisters)
{
  const unsigned fma = 1u << 12, osxsave = 1u << 27, avx = 1u << 28, avx2 = 1u << 5;
  struct Row
  {
    unsigned maxLeaf, ecx, ebx7, xcr0;
    bool expect;
  } rows[] = {
    {7, fma | osxsave | avx, avx2, 7, true},
    {7, fma | osxsave | avx, avx2, 6, true},    // x87 state is not needed
    {6, fma | osxsave | avx, avx2, 7, false},   // no leaf 7
    {7, osxsave | avx, avx2, 7, false},         // no FMA
    {7, fma | avx, avx2, 7, false},             // XGETBV not enabled
    {7, fma | osxsave, avx2, 7, false},         // no AVX
    {7, fma | osxsave | avx, 0, 7, false},      // no AVX2
    {7, fma | osxsave | avx, avx2, 3, false},   // upper halves not saved
    {7, fma | osxsave | avx, avx2, 5, false},   // SSE state not saved
    {7, fma | osxsave | avx, ~avx2, 7, false},  // other leaf-7 bits do not count
  };
  for (const Row& r : rows)
  {
    gMaxLeaf = r.maxLeaf;
    gEcx = r.ecx;
    gEdx = 0;
    gLeaf7Ebx = r.ebx7;
    gXcr0 = r.xcr0;
    EXPECT_EQ(CpuFeatures(&FakeCpuid, &FakeXcr0).avx2, r.expect) << r.maxLeaf << " " << r.ecx << " " << r.xcr0;
  }
  // Without a way to ask the system, the wide registers count as unusable.
  gMaxLeaf = 7, gEcx = fma | osxsave | avx, gLeaf7Ebx = avx2, gXcr0 = 7;
  EXPECT_FALSE(CpuFeatures(&FakeCpuid).avx2);
}

}  // namespace
