#pragma once
// A progress bar for long renders on a terminal: drawn once a render has run for a few
// seconds, redrawn a few times a second, and wiped at the end. Without a terminal (or when
// disabled) it writes nothing.

#include <cstdint>
#include <functional>
#include <ostream>

namespace plughost {

class ProgressBar
{
public:
  // Seconds since some fixed moment.
  using Clock = std::function<double()>;
  static double steadySeconds();

  ProgressBar(std::ostream& terminal, bool enabled, Clock clock = steadySeconds);
  void update(std::uint64_t done, std::uint64_t total);
  // Wipes the bar when one was drawn.
  void finish();

private:
  std::ostream& mTerminal;
  bool mEnabled;
  Clock mClock;
  double mStart;
  double mLastDrawn = -1.0;
  bool mDrawn = false;
};

}  // namespace plughost
