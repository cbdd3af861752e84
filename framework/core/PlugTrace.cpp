#include "framework/core/PlugTrace.h"

#include <cstdio>
#include <cstdlib>

void TraceEvent(const char*, int, const char*, ...) {}

namespace {
void DefaultAssertHandler(const char* expression, const char* source, int line)
{
  std::fprintf(stderr, "assertion failed: %s (%s, line %d)\n", expression, source, line);
#if !defined(NDEBUG)
  std::abort();
#endif
}

AssertHandler gAssertHandler = DefaultAssertHandler;
}  // namespace

AssertHandler SetAssertHandler(AssertHandler handler)
{
  AssertHandler previous = gAssertHandler;
  gAssertHandler = handler ? handler : DefaultAssertHandler;
  return previous;
}

void ReportAssertFailure(const char* expression, const char* source, int line)
{
  gAssertHandler(expression, source, line);
}
