#include "framework/core/PlugTrace.h"

#include <gtest/gtest.h>

namespace {

std::tm Moment(int year, int yday, int month, int mday, int hour, int minute)
{
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_yday = yday;
  t.tm_mon = month - 1;
  t.tm_mday = mday;
  t.tm_hour = hour;
  t.tm_min = minute;
  return t;
}

TEST(TraceTimeStamp, LocalClockFollowedByItsOffsetFromUtc)
{
  struct Case
  {
    std::tm local, utc;
    const char* expect;
  } cases[] = {
    {Moment(2026, 342, 12, 9, 12, 23), Moment(2026, 342, 12, 9, 6, 53), "20261209 12:23 +0530"},
    {Moment(2026, 342, 12, 9, 1, 0), Moment(2026, 342, 12, 9, 4, 30), "20261209 01:00 -0330"},
    // Local time already on the next day, or still on the one before.
    {Moment(2026, 343, 12, 10, 2, 0), Moment(2026, 342, 12, 9, 22, 0), "20261210 02:00 +0400"},
    {Moment(2026, 342, 12, 9, 20, 0), Moment(2026, 343, 12, 10, 3, 0), "20261209 20:00 -0700"},
    // The same across the turn of the year, where the days of the year lie far apart.
    {Moment(2027, 0, 1, 1, 0, 45), Moment(2026, 364, 12, 31, 23, 0), "20270101 00:45 +0145"},
    {Moment(2028, 365, 12, 31, 19, 0), Moment(2029, 0, 1, 1, 1, 0), "20281231 19:00 -0600"},
  };
  for (const Case& c : cases)
  {
    char text[32];
    FormatTimeStamp(c.local, c.utc, text, sizeof(text));
    EXPECT_STREQ(text, c.expect);
  }
}

}  // namespace
