#include "platform/cpu/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {
void ReadCpuid(unsigned leaf, CpuidRegisters& out)
{
  out = CpuidRegisters{};
#if defined(__i386__) || defined(__x86_64__)
  if (leaf == 0)
  {
    // Also tells whether the instruction exists (old 32-bit processors).
    out.eax = __get_cpuid_max(0, nullptr);
    return;
  }
  // Sub-leaf 0 where a leaf has sub-leaves (7); ignored by the others.
  __cpuid_count(leaf, 0, out.eax, out.ebx, out.ecx, out.edx);
#else
  (void)leaf;
#endif
}

unsigned ReadXcr0()
{
#if defined(__i386__) || defined(__x86_64__)
  unsigned lo = 0, hi = 0;
  __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
  (void)hi;
  return lo;
#else
  return 0;
#endif
}

bool Bit(unsigned reg, int bit)
{
  return ((reg >> bit) & 1u) != 0;
}

unsigned MaxLeaf(CpuidReader cpuid)
{
  CpuidRegisters regs;
  cpuid(0, regs);
  return regs.eax;
}
}  // namespace

CpuFeatures::CpuFeatures() : CpuFeatures(&ReadCpuid, &ReadXcr0) {}

CpuFeatures::CpuFeatures(CpuidReader cpuid, XcrReader xcr)
{
  if (!cpuid)
    return;
  const unsigned maxLeaf = MaxLeaf(cpuid);
  if (maxLeaf == 0)
    return;
  CpuidRegisters regs;
  cpuid(1, regs);
  mmx = Bit(regs.edx, 23);
  fxsr = Bit(regs.edx, 24);
  sse = Bit(regs.edx, 25);
  sse2 = Bit(regs.edx, 26);
  sse3 = Bit(regs.ecx, 0);
  ssse3 = Bit(regs.ecx, 9);
  sse41 = Bit(regs.ecx, 19);
  sse42 = Bit(regs.ecx, 20);
  const bool fma = Bit(regs.ecx, 12);
  // XGETBV exists only when the system enabled it (OSXSAVE); the system must save both
  // the SSE and the AVX halves of the registers (XCR0 bits 1 and 2).
  const bool wideSaved = Bit(regs.ecx, 27) && Bit(regs.ecx, 28) && xcr && (xcr() & 6u) == 6u;
  if (!fma || !wideSaved || maxLeaf < 7)
    return;
  cpuid(7, regs);
  avx2 = Bit(regs.ebx, 5);
}

CpuFeatures& ProcessorFeatures()
{
  static CpuFeatures features;
  return features;
}

namespace {
// Probe when the module loads, so the audio thread never pays for the first look.
const bool kProbedAtLoad = (ProcessorFeatures(), true);
}  // namespace
