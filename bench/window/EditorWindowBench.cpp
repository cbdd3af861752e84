// The editor window's costs, measured under Wine (or on Windows) through the built VST3
// module as a host loads it: from attached to the first complete paint, and one redraw tick
// while the meters move. A plain timing program: Google Benchmark has no Windows build here.
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/ModuleLoader.h"
#include "hosts/window/HostWindow.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uintptr_t kRedrawTimer = 2;

struct Figures
{
  double median;
  double low;
  double high;
};

// Microseconds of each run of what, after setUp (not timed) before each.
Figures Measure(int runs, const std::function<void()>& setUp, const std::function<void()>& what)
{
  std::vector<double> times;
  for (int i = 0; i < runs; ++i)
  {
    setUp();
    const auto start = Clock::now();
    what();
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return Figures{times[times.size() / 2], times.front(), times.back()};
}

void Report(const char* what, const Figures& f, int runs)
{
  std::printf("%-44s median %8.1f us  (min %.1f, max %.1f; %d runs)\n", what, f.median, f.low, f.high, runs);
}

}  // namespace

int main(int argc, char** argv)
{
  const std::string bundle = argc > 1 ? argv[1] : "TarvexQuoxel.vst3";
  std::string error;
  auto module = vst3host::Module::load(bundle, error);
  if (!module)
  {
    std::fprintf(stderr, "editor_window_bench: %s\n", error.c_str());
    return 1;
  }
  int status = 0;
  {
    vst3host::HostDriver driver(module->factory());
    hostwindow::HostWindow window(650, 410, "editor window benchmark");
    if (driver.load() != vst3::kResultOk || !window.handle())
    {
      std::fprintf(stderr, "editor_window_bench: no plug-in or no window\n");
      return 1;
    }
    const auto view = [&] { return window.findChild("IPlugWndClass"); };
    // The timer's first tick draws and presents the whole editor.
    const auto firstPaint = [&] {
      driver.openEditor(window.handle(), "HWND");
      hostwindow::sendTimerTick(view(), kRedrawTimer);
      GdiFlush();
    };
    const auto closed = [&] {
      driver.closeEditor();
      window.pump();
    };
    constexpr int kOpenings = 50;
    Report("attached to the first complete paint", Measure(kOpenings, closed, firstPaint), kOpenings);
    closed();

    // Meters follow the audio: a block of drums between ticks moves them.
    driver.arrange({vst3::arrangement::kStereo}, {vst3::arrangement::kStereo});
    vst3host::ProcessSettings settings;
    settings.maxBlock = 1764;  // 40 ms at 44.1 kHz
    driver.start(settings);
    driver.openEditor(window.handle(), "HWND");
    hostwindow::sendTimerTick(view(), kRedrawTimer);
    int block = 0;
    const auto audio = [&] {
      for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < settings.maxBlock; ++i)
        {
          const int t = (block * settings.maxBlock + i) % 11025;
          driver.inputs().setSample(0, ch, i, (t < 2000 ? 0.9 : 0.1) * (1.0 - t / 11025.0) * (i % 2 ? 1.0 : -1.0));
        }
      driver.process(settings.maxBlock);
      ++block;
    };
    const auto tick = [&] {
      hostwindow::sendTimerTick(view(), kRedrawTimer);
      GdiFlush();
    };
    constexpr int kTicks = 250;
    Report("one redraw tick with the meters moving", Measure(kTicks, audio, tick), kTicks);
    const auto idle = [] {};
    Report("one redraw tick with nothing changed", Measure(kTicks, idle, tick), kTicks);
    driver.closeEditor();
    driver.stop();
    driver.unload();
    for (const std::string& p : driver.problems())
    {
      std::fprintf(stderr, "editor_window_bench: %s\n", p.c_str());
      status = 2;
    }
  }
  module->releaseFactory();
  module->unload();
  return status;
}
