#pragma once

// The processor's feature flags, read once per process. Only the SSE3 flag steers
// anything: it selects the two-channel vector path of the filter cascade and of the
// transient engine. Tests and benchmarks clear it to force the scalar path.

struct CpuidRegisters
{
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
};

// Reads one CPUID leaf. Leaf 0 answers the highest supported leaf in eax (0 when the
// processor has no CPUID at all).
using CpuidReader = void (*)(unsigned leaf, CpuidRegisters& out);

struct CpuFeatures
{
  bool mmx = false;
  bool fxsr = false;
  bool sse = false;
  bool sse3 = false;
  bool ssse3 = false;
  bool sse41 = false;
  bool sse42 = false;

  CpuFeatures();                             // probes this processor
  explicit CpuFeatures(CpuidReader cpuid);   // probes through the given reader
};

// The process-wide record, probed when the module loads (and safe to call earlier).
CpuFeatures& ProcessorFeatures();
