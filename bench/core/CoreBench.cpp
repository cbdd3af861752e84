// Framework overhead around the effect: the 32-bit conversion of a block through the
// scratch buffers, and saving and restoring nine parameters.
#include "framework/core/IPlugBase.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {
// A stereo plug-in whose host hears nothing.
class QuietPlug : public IPlugBase
{
public:
  explicit QuietPlug(int nParams)
    : IPlugBase(nParams, "1-1 2-2", 1, "Bench", "", "", 0x10000, 1, 1, 0, false, false, false, kBindingVST3)
  {}
  void BeginInformHostOfParamChange(int) override {}
  void InformHostOfParamChange(int, double) override {}
  void EndInformHostOfParamChange(int) override {}
  void RequestDisplayUpdate() override {}
  int HostSamplePosition() override { return 0; }
  double HostTempo() override { return 120.0; }
  void HostTimeSignature(int*, int*) override {}
  void HostTransport(TransportInfo*) override {}
  void ResizeEditor(int, int) override {}
  bool SendMidiToHost(const MidiMessage*) override { return false; }
};

void FloatBlock(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  QuietPlug plug(0);
  plug.ChangeBlockSize(frames);
  std::vector<float> l(frames, 0.25f), r(frames, -0.5f), ol(frames), orr(frames);
  float* ins[] = {l.data(), r.data()};
  float* outs[] = {ol.data(), orr.data()};
  plug.ConnectInputs(0, 2, true);
  plug.ConnectOutputs(0, 2, true);
  for (auto _ : state)
  {
    plug.BindInputsFloat(0, 2, ins, frames);
    plug.BindOutputsFloat(0, 2, outs);
    plug.RunFloat(frames);
    benchmark::DoNotOptimize(ol.data());
  }
  state.SetItemsProcessed(state.iterations() * frames * 2);
}
BENCHMARK(FloatBlock)->Arg(64)->Arg(512)->Arg(4096);

void StateRoundTrip(benchmark::State& state)
{
  QuietPlug plug(9);
  for (int i = 0; i < 9; ++i)
    plug.ParamAt(i)->DefineDouble("p", i, -100, 100, 1, "", "", 1.0);
  StateChunk chunk;
  for (auto _ : state)
  {
    chunk.Clear();
    plug.WriteState(&chunk);
    benchmark::DoNotOptimize(plug.ReadState(&chunk, 0));
  }
}
BENCHMARK(StateRoundTrip);
}  // namespace

BENCHMARK_MAIN();
