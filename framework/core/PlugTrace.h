#pragma once

// Trace points and consistency checks.
//
// Trace points name the function they sit in. The shipped modules keep no trace, so the
// sink is empty and the points compile to nothing unless TQ_TRACE_ENABLED is defined.
//
// A failed consistency check reports the expression text, the source name and the line to
// a replaceable handler. Builds that define TQ_NO_ASSERTS compile the checks out.

#include <ctime>

void TraceEvent(const char* function, int line, const char* format, ...) __attribute__((format(printf, 3, 4)));

// The local time as "YYYYmmdd HH:MM " followed by its offset from UTC, "+hhmm" or "-hhmm",
// for the trace. The text lives in one process-wide buffer that each call overwrites.
const char* TraceTimeStamp();
// The same text for a given local and UTC reading of one moment, into out.
void FormatTimeStamp(const std::tm& local, const std::tm& utc, char* out, int capacity);

#if defined(TQ_TRACE_ENABLED)
#define TQ_TRACE(function, ...) TraceEvent(function, __LINE__, __VA_ARGS__)
#else
#define TQ_TRACE(function, ...) ((void)0)
#endif

using AssertHandler = void (*)(const char* expression, const char* source, int line);

// Installs a handler (null restores the default, which prints and aborts in debug builds)
// and returns the previous one.
AssertHandler SetAssertHandler(AssertHandler handler);
void ReportAssertFailure(const char* expression, const char* source, int line);

#if defined(TQ_NO_ASSERTS)
#define TQ_ASSERT(expression, source) ((void)0)
#else
#define TQ_ASSERT(expression, source) ((expression) ? (void)0 : ReportAssertFailure(#expression, source, __LINE__))
#endif
