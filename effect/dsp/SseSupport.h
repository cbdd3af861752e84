#pragma once

// Functions that use the SSE2 unit carry this attribute: the 32-bit build targets
// processors without SSE by default, and its callers (hosts) may enter with a stack
// aligned to 4 bytes only, so the entry points realign it.
#if defined(__x86_64__)
#define TQ_HAVE_SSE_PATH 1
#define TQ_SSE_FUNCTION __attribute__((target("sse2")))
#define TQ_SSE_ENTRY __attribute__((target("sse2")))
#elif defined(__i386__)
#define TQ_HAVE_SSE_PATH 1
#define TQ_SSE_FUNCTION __attribute__((target("sse2")))
#define TQ_SSE_ENTRY __attribute__((target("sse2"), force_align_arg_pointer))
#else
#define TQ_HAVE_SSE_PATH 0
#endif
