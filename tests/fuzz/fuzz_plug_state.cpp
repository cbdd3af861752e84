// Stored state as hosts and preset files hand it back: bytes read as the framework's state,
// as parameter values alone, or put into a preset and loaded, between set-ups, edits and
// blocks. After every step the parameters stay in range and a block's output is finite.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "effect/TarvexQuoxel.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {
double Wild(FuzzedDataProvider& in)
{
  switch (in.ConsumeIntegralInRange(0, 7))
  {
  case 0:
    return std::numeric_limits<double>::quiet_NaN();
  case 1:
    return in.PickValueInArray<double>({INFINITY, -INFINITY, 1e300, -1e300, 4.9e-324, 0.0, -0.0});
  case 2:
    return in.ConsumeFloatingPoint<double>();
  default:
    return in.ConsumeProbability<double>();
  }
}

void ReadBytes(FuzzedDataProvider& in, StateChunk& chunk)
{
  const std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 200));
  chunk.Clear();
  chunk.PutBytes(bytes.data(), static_cast<int>(bytes.size()));
}

void CheckSound(TarvexQuoxel& plug)
{
  for (int i = 0; i < plug.NParams(); ++i)
  {
    const IPlugParameter* p = plug.ParamAt(i);
    TQ_FUZZ_CHECK(p->Value() >= p->Min() && p->Value() <= p->Max());
  }
  for (int m = 0; m < TarvexQuoxel::kNumMeters; ++m)
    TQ_FUZZ_CHECK(plug.MeterValue(m) >= 0.0 && plug.MeterValue(m) <= 1.0);
  const TransientControl& e = plug.Engine();
  TQ_FUZZ_CHECK(std::isfinite(e.OutputGain()) && std::isfinite(e.Amount()) && e.Tempo() > 0.0);
}

void RunBlock(FuzzedDataProvider& in, TarvexQuoxel& plug)
{
  const int frames = in.ConsumeIntegralInRange(0, 1200);
  const bool useFloat = in.ConsumeBool();
  std::vector<double> d[4];
  std::vector<float> f[4];
  for (int c = 0; c < 4; ++c)
  {
    d[c].assign(static_cast<size_t>(frames), 0.0);
    f[c].assign(static_cast<size_t>(frames), 0.0f);
    for (int i = 0; i < frames; ++i)
      f[c][i] = static_cast<float>(d[c][i] = 0.9 * std::sin(0.01 * i * (c + 1)) * (i % 300 < 20 ? 1.0 : 0.1));
  }
  double* din[] = {d[0].data(), d[1].data()};
  double* dout[] = {d[2].data(), d[3].data()};
  float* fin[] = {f[0].data(), f[1].data()};
  float* fout[] = {f[2].data(), f[3].data()};
  if (useFloat)
    plug.ProcessFloat(fin, 2, fout, 2, frames);
  else
    plug.ProcessDouble(din, 2, dout, 2, frames);
  for (int c = 2; c < 4; ++c)
    for (int i = 0; i < frames; ++i)
      TQ_FUZZ_CHECK(std::isfinite(useFloat ? f[c][i] : d[c][i]));
}

std::vector<uint8_t> Saved(TarvexQuoxel& plug)
{
  StateChunk chunk;
  TQ_FUZZ_CHECK(plug.WriteState(&chunk));
  return std::vector<uint8_t>(chunk.Data(), chunk.Data() + chunk.Size());
}

// A state the plug-in accepted, written again and read by a fresh plug-in, writes the same.
void CheckRoundTrip(TarvexQuoxel& plug)
{
  StateChunk first, second;
  TQ_FUZZ_CHECK(plug.WriteState(&first));
  std::unique_ptr<TarvexQuoxel> other(NewTarvexQuoxel(nullptr));
  TQ_FUZZ_CHECK(other && other->ReadState(&first, 0) == first.Size());
  TQ_FUZZ_CHECK(other->WriteState(&second));
  TQ_FUZZ_CHECK(first.Size() == second.Size());
  for (int i = 0; i < first.Size(); ++i)
    TQ_FUZZ_CHECK(first.Data()[i] == second.Data()[i]);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzedDataProvider in(data, size);
  std::unique_ptr<TarvexQuoxel> plug(NewTarvexQuoxel(nullptr));
  TQ_FUZZ_CHECK(plug != nullptr);
  plug->Setup(44100.0, 512);
  StateChunk chunk;
  for (int step = 0; step < 24 && in.remaining_bytes() > 0; ++step)
  {
    switch (in.ConsumeIntegralInRange(0, 8))
    {
    case 0:
    {
      ReadBytes(in, chunk);
      const int pos = in.ConsumeIntegralInRange(-2, 16);
      const int end = plug->ReadState(&chunk, pos);
      TQ_FUZZ_CHECK(end == -1 || (end >= pos && end <= chunk.Size()));
      if (end >= 0)
        CheckRoundTrip(*plug);
      break;
    }
    case 1:
    {
      ReadBytes(in, chunk);
      const int pos = in.ConsumeIntegralInRange(-2, 16);
      const int end = plug->UnserializeParams(&chunk, pos);
      TQ_FUZZ_CHECK(end == -1 || (end >= pos && end <= chunk.Size()));
      break;
    }
    case 2:
    {
      // A preset holding whatever a preset file or a host's bank delivered.
      const int idx = in.ConsumeIntegralInRange(-1, plug->NPresets());
      if (PresetSlot* slot = plug->PresetAt(idx))
      {
        ReadBytes(in, slot->state);
        slot->initialised = in.ConsumeBool();
      }
      // A preset that cannot be loaded changes nothing (short data reads are applied value
      // by value, but a preset is checked whole first).
      const std::vector<uint8_t> before = Saved(*plug);
      if (!plug->LoadPreset(in.ConsumeIntegralInRange(-1, plug->NPresets())))
        TQ_FUZZ_CHECK(Saved(*plug) == before);
      break;
    }
    case 3:
    {
      // Chunks of doubles, the layout the state is made of.
      chunk.Clear();
      const int n = in.ConsumeIntegralInRange(0, 14);
      for (int i = 0; i < n; ++i)
        chunk.PutDouble(in.ConsumeBool() ? Wild(in) * 200.0 - 100.0 : Wild(in));
      const int end = plug->ReadState(&chunk, in.ConsumeIntegralInRange(-1, 9));
      if (end >= 0)
        CheckRoundTrip(*plug);
      break;
    }
    case 4:
      plug->SetParameterFromGUI(in.ConsumeIntegralInRange(-2, TarvexQuoxel::kNumParams + 1), Wild(in));
      break;
    case 5:
      plug->Setup(in.PickValueInArray<double>({44100.0, 48000.0, 96000.0, 8000.0, 1.0, 0.0, 1e7, 9.99e6, -1.0}),
                  in.ConsumeIntegralInRange(-2, 3000));
      break;
    case 6:
      plug->transport.tempo = Wild(in) * 400.0;
      plug->transport.playing = in.ConsumeBool();
      break;
    case 7:
      plug->ModifyCurrentPreset();
      break;
    default:
      RunBlock(in, *plug);
      break;
    }
    CheckSound(*plug);
  }
  RunBlock(in, *plug);
  CheckSound(*plug);
  return 0;
}
