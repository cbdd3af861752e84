#include "platform/cpu/CpuFeatures.h"

#include <gtest/gtest.h>

namespace {

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
