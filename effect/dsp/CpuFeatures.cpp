#include "effect/dsp/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace
{
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
  __cpuid(leaf, out.eax, out.ebx, out.ecx, out.edx);
#else
  (void)leaf;
#endif
}

bool Bit(unsigned reg, int bit) { return ((reg >> bit) & 1u) != 0; }
}  // namespace

CpuFeatures::CpuFeatures() : CpuFeatures(&ReadCpuid) {}

CpuFeatures::CpuFeatures(CpuidReader cpuid)
{
  if (!cpuid)
    return;
  CpuidRegisters regs;
  cpuid(0, regs);
  if (regs.eax == 0)
    return;
  cpuid(1, regs);
  mmx = Bit(regs.edx, 23);
  fxsr = Bit(regs.edx, 24);
  sse = Bit(regs.edx, 25);
  sse3 = Bit(regs.ecx, 0);
  ssse3 = Bit(regs.ecx, 9);
  sse41 = Bit(regs.ecx, 19);
  sse42 = Bit(regs.ecx, 20);
}

CpuFeatures& ProcessorFeatures()
{
  static CpuFeatures features;
  return features;
}

namespace
{
// Probe when the module loads, so the audio thread never pays for the first look.
const bool kProbedAtLoad = (ProcessorFeatures(), true);
}  // namespace
