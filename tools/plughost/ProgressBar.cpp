#include "tools/plughost/ProgressBar.h"

#include <algorithm>
#include <chrono>
#include <string>

namespace plughost {
namespace {
constexpr double kQuietSeconds = 3.0;  // renders shorter than this show no bar
constexpr double kRedrawSeconds = 0.2;
constexpr int kWidth = 40;
}  // namespace

double ProgressBar::steadySeconds()
{
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

ProgressBar::ProgressBar(std::ostream& terminal, bool enabled, Clock clock)
  : mTerminal(terminal), mEnabled(enabled), mClock(std::move(clock)), mStart(mEnabled ? mClock() : 0.0)
{}

void ProgressBar::update(std::uint64_t done, std::uint64_t total)
{
  if (!mEnabled || total == 0)
    return;
  const double now = mClock();
  if (now - mStart < kQuietSeconds || (mDrawn && now - mLastDrawn < kRedrawSeconds))
    return;
  const double part = std::min(1.0, static_cast<double>(done) / static_cast<double>(total));
  const int filled = static_cast<int>(part * kWidth);
  mTerminal << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << static_cast<int>(part * 100.0)
            << "%" << std::flush;
  mDrawn = true;
  mLastDrawn = now;
}

void ProgressBar::finish()
{
  if (mDrawn)
    mTerminal << "\r" << std::string(kWidth + 8, ' ') << "\r" << std::flush;
  mDrawn = false;
}

}  // namespace plughost
