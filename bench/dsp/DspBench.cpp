// Throughput of the whole engine (up-sampling, transient engine, down-sampling) as the
// effect runs it, block by block, at the host rates it meets.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "effect/TransientControl.h"
#include "platform/cpu/CpuFeatures.h"

namespace {

const int kRates[] = {44100, 48000, 88200, 96000, 176400, 192000};

int FactorFor(int rate)
{
  return rate < 88100 ? 8 : rate < 192000 ? 4 : 2;
}

// Noise with a hit every 100 ms, or digital silence.
std::vector<double> Signal(int rate, int channels, bool silent)
{
  std::vector<double> x(static_cast<size_t>(rate) * channels, 0.0);
  if (silent)
    return x;
  uint64_t s = 1;
  for (int i = 0; i < rate; ++i)
  {
    double env = 0.05 + std::exp(-(i % (rate / 10)) / (0.005 * rate));
    for (int c = 0; c < channels; ++c)
    {
      s = s * 6364136223846793005ull + 1442695040888963407ull;
      x[static_cast<size_t>(i) * channels + c] = env * (static_cast<double>(s >> 11) / 4503599627370496.0 - 1.0);
    }
  }
  return x;
}

// Args: rate index, channels, block size, silent, path (0 scalar, 1 SSE2, 2 AVX2 fused).
void Chain(benchmark::State& state)
{
  const int rate = kRates[state.range(0)];
  const int channels = static_cast<int>(state.range(1));
  const int block = static_cast<int>(state.range(2));
  const bool silent = state.range(3) != 0;
  const int path = static_cast<int>(state.range(4));

  CpuFeatures& cpu = ProcessorFeatures();
  const CpuFeatures saved = cpu;
  if ((path >= 1 && !saved.sse3) || (path == 2 && !saved.avx2))
  {
    state.SkipWithError("no such vector unit");
    return;
  }
  cpu.sse3 = path >= 1;
  cpu.avx2 = path == 2;

  TransientControl tc;
  tc.SetChannelCount(channels);
  tc.SetSampleRate(rate);
  tc.SetOversampling(FactorFor(rate));
  tc.SetAmount(0.6);

  const std::vector<double> source = Signal(rate, channels, silent);
  std::vector<double> work(static_cast<size_t>(block) * channels);
  const int blocks = rate / block;
  // Ten seconds first, so that silence has decayed as far as it ever will.
  for (int i = 0; i < 10 * blocks; ++i)
  {
    std::memcpy(work.data(), source.data() + static_cast<size_t>(i % blocks) * block * channels,
                work.size() * sizeof(double));
    tc.ProcessBlock(work.data(), block);
  }

  int at = 0;
  for (auto _ : state)
  {
    std::memcpy(work.data(), source.data() + static_cast<size_t>(at) * block * channels, work.size() * sizeof(double));
    tc.ProcessBlock(work.data(), block);
    benchmark::DoNotOptimize(work.data());
    at = (at + 1) % blocks;
  }
  cpu = saved;

  const double frames = static_cast<double>(state.iterations()) * block;
  state.counters["frames/s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
  state.counters["xRT"] = benchmark::Counter(frames / rate, benchmark::Counter::kIsRate);
  state.SetLabel(std::to_string(rate) + " Hz " + (channels == 2 ? "stereo" : "mono") + " block " +
                 std::to_string(block) + (silent ? " silence" : " noise") +
                 (path == 2   ? " avx2"
                  : path == 1 ? " sse2"
                              : " scalar"));
}

void AllCases(benchmark::internal::Benchmark* b)
{
  for (int vec : {2, 1, 0})
    for (int r = 0; r < 6; ++r)
      for (int ch : {2, 1})
        for (int block : {64, 512})
          for (int silent : {0, 1})
            b->Args({r, ch, block, silent, vec});
}

BENCHMARK(Chain)->Apply(AllCases)->MinTime(0.2);

}  // namespace

BENCHMARK_MAIN();
