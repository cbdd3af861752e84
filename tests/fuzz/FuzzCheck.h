// What the harnesses assert: a broken promise aborts, so libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define TQ_FUZZ_CHECK(cond)                                                                                            \
  do                                                                                                                   \
  {                                                                                                                    \
    if (!(cond))                                                                                                       \
    {                                                                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                                    \
      std::abort();                                                                                                    \
    }                                                                                                                  \
  } while (0)
