// The effect's editor drawn as its window's timer draws it: the whole 650 x 410 editor (a
// window that opens or is uncovered), and a typical frame in which only the six meters move.

#include "effect/TarvexQuoxel.h"
#include "framework/gui/IGraphics.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<TarvexQuoxel> MakeDrawnPlug()
{
  std::unique_ptr<TarvexQuoxel> plug(NewTarvexQuoxel(nullptr));
  IGraphics* graphics = plug->Graphics();
  // The first full frame makes the fonts and their glyphs.
  graphics->RedrawRect(IRectangle(0, 0, graphics->Width(), graphics->Height()));
  return plug;
}

void BM_FullRedraw(benchmark::State& state)
{
  const std::unique_ptr<TarvexQuoxel> plug = MakeDrawnPlug();
  IGraphics* graphics = plug->Graphics();
  const IRectangle all(0, 0, graphics->Width(), graphics->Height());
  for (auto _ : state)
  {
    // What a window that just opened (or was uncovered with everything changed) draws.
    graphics->MarkAllChanged();
    benchmark::DoNotOptimize(graphics->RedrawRect(all));
  }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

// Each frame: the audio side moves all six meters, then the timer draws what changed.
void BM_MetersFrame(benchmark::State& state)
{
  const std::unique_ptr<TarvexQuoxel> plug = MakeDrawnPlug();
  IGraphics* graphics = plug->Graphics();
  double phase = 0.0;
  for (auto _ : state)
  {
    phase = phase > 0.9 ? 0.1 : phase + 0.013;
    for (int meter = 0; meter < TarvexQuoxel::kNumMeters; ++meter)
      plug->ShowMeter(meter, phase + 0.01 * meter);
    IRectangle dirty;
    if (graphics->CollectDirtyRect(&dirty))
      graphics->RedrawRect(dirty);
  }
}
BENCHMARK(BM_MetersFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
