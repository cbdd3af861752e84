#pragma once

// The processor's feature flags, read once per process. The SSE3 flag selects the
// two-channel vector path of the filter cascade and of the transient engine; the AVX2
// flag (which also demands FMA and an operating system that keeps the wide registers)
// selects the fused oversampled chain on top of it. The raster blends choose their
// vector loops by the SSE2 and AVX2 flags. Tests and benchmarks clear them to force a
// narrower path.

struct CpuidRegisters
{
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
};

// Reads one CPUID leaf. Leaf 0 answers the highest supported leaf in eax (0 when the
// processor has no CPUID at all).
using CpuidReader = void (*)(unsigned leaf, CpuidRegisters& out);
// Reads the low half of extended control register 0 (which register sets the operating
// system saves on a task switch).
using XcrReader = unsigned (*)();

struct CpuFeatures
{
  bool mmx = false;
  bool fxsr = false;
  bool sse = false;
  bool sse2 = false;
  bool sse3 = false;
  bool ssse3 = false;
  bool sse41 = false;
  bool sse42 = false;
  bool avx2 = false;  // AVX2 and FMA, usable

  CpuFeatures();  // probes this processor
  // Probes through the given readers; without an XCR reader the wide registers count as
  // unusable.
  explicit CpuFeatures(CpuidReader cpuid, XcrReader xcr = nullptr);
};

// The process-wide record, probed when the module loads (and safe to call earlier).
CpuFeatures& ProcessorFeatures();
