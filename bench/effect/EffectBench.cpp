// The plug-in's whole block process as a host drives it: 64-bit stereo buffers through
// the framework's block processing, the transient engine oversampled, and the meters.

#include "effect/TarvexQuoxel.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

void FillDrums(std::vector<double>& x, double rate)
{
  unsigned seed = 5;
  const int beat = static_cast<int>(rate * 0.25);
  for (size_t i = 0; i < x.size(); ++i)
  {
    const double t = static_cast<double>(i % beat) / rate;
    seed = seed * 1664525u + 1013904223u;
    x[i] =
      0.7 * std::exp(-t * 25.0) * std::sin(1130.0 * t) + (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.01;
  }
}

// Arguments: sample rate, block size, 1 for a drum signal or 0 for silence.
void BM_ProcessBlockDouble(benchmark::State& state)
{
  const double rate = static_cast<double>(state.range(0));
  const int block = static_cast<int>(state.range(1));
  std::unique_ptr<TarvexQuoxel> plug(NewTarvexQuoxel(nullptr));
  plug->ChangeSampleRate(rate);
  plug->ChangeBlockSize(block);
  plug->RestartProcessing();
  plug->ConnectHostInputs(2);
  plug->ConnectHostOutputs(2);
  plug->SetParameterFromHost(TarvexQuoxel::kLevel, plug->ParamAt(TarvexQuoxel::kLevel)->NormalOf(60.0));
  plug->transport.playing = true;

  const int loop = static_cast<int>(rate) * 2 / block * block;
  std::vector<double> source(loop, 0.0);
  if (state.range(2))
    FillDrums(source, rate);
  std::vector<double> left(block), right(block);
  double* io[] = {left.data(), right.data()};
  int pos = 0;
  for (auto _ : state)
  {
    std::copy(source.begin() + pos, source.begin() + pos + block, left.begin());
    std::copy(source.begin() + pos, source.begin() + pos + block, right.begin());
    plug->ProcessHostBlock(io, io, block, IPlugBase::kBlockProcess);
    benchmark::DoNotOptimize(left.data());
    pos = (pos + block) % loop;
  }
  state.SetItemsProcessed(state.iterations() * block);
  state.counters["realtime_x"] =
    benchmark::Counter(static_cast<double>(state.iterations()) * block / rate, benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ProcessBlockDouble)
  ->ArgNames({"rate", "block", "drums"})
  ->ArgsProduct({{44100, 96000, 192000}, {64, 512}, {1, 0}});

}  // namespace

BENCHMARK_MAIN();
