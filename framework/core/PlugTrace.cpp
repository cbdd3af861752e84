#include "framework/core/PlugTrace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void FormatTimeStamp(const std::tm& local, const std::tm& utc, char* out, int capacity)
{
  if (!out || capacity < 1)
    return;
  out[0] = 0;
  const size_t clock = std::strftime(out, static_cast<size_t>(capacity), "%Y%m%d %H:%M ", &local);
  int offset = (local.tm_hour * 60 + local.tm_min) - (utc.tm_hour * 60 + utc.tm_min);
  const int days = local.tm_yday - utc.tm_yday;
  if (days != 0)
  {
    // Across the turn of the year the days of the year lie far apart, the other way round.
    const int ahead = days > 0 ? 1 : -1;
    offset += (days == ahead ? ahead : -ahead) * 1440;
  }
  const int minutes = offset < 0 ? -offset : offset;
  std::snprintf(out + clock, static_cast<size_t>(capacity) - clock, "%c%02d%02d", offset < 0 ? '-' : '+', minutes / 60,
                minutes % 60);
}

const char* TraceTimeStamp()
{
  static char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{}, utc{};
#if defined(_WIN32)
  localtime_s(&local, &now);
  gmtime_s(&utc, &now);
#else
  localtime_r(&now, &local);
  gmtime_r(&now, &utc);
#endif
  FormatTimeStamp(local, utc, stamp, sizeof(stamp));
  return stamp;
}

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
