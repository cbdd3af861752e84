#pragma once

// Functions that use the SSE2 unit carry this attribute: a 32-bit compiler targets
// processors without SSE unless told otherwise (the x86 build is told), and its callers
// (hosts) may enter with a stack aligned to 4 bytes only, so the entry points realign it. The AVX2/FMA functions are
// compiled for those units alone and run only when the processor probe found them; their
// helpers are always inlined into the entry point, which carries the attribute.
#if defined(__x86_64__)
#define TQ_HAVE_SSE_PATH 1
#define TQ_SSE_FUNCTION __attribute__((target("sse2")))
#define TQ_SSE_ENTRY __attribute__((target("sse2")))
#define TQ_AVX_FUNCTION __attribute__((target("avx2,fma"), always_inline)) inline
#define TQ_AVX_ENTRY __attribute__((target("avx2,fma")))
#elif defined(__i386__)
#define TQ_HAVE_SSE_PATH 1
#define TQ_SSE_FUNCTION __attribute__((target("sse2")))
#define TQ_SSE_ENTRY __attribute__((target("sse2"), force_align_arg_pointer))
#define TQ_AVX_FUNCTION __attribute__((target("avx2,fma"), always_inline)) inline
#define TQ_AVX_ENTRY __attribute__((target("avx2,fma"), force_align_arg_pointer))
#else
#define TQ_HAVE_SSE_PATH 0
#endif
