// Chunks as a VST2 host hands them back: any bytes with any claimed size, as a state or as
// a bank, between chunk requests and blocks. A chunk refused changes no parameter and no
// preset; one accepted leaves every parameter in range; the output stays finite.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/bindings/vst2/IPlugVST.h"
#include "modules/TarvexQuoxelVst2Entry.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {
using Bytes = std::vector<uint8_t>;

// Everything a chunk could change, as bytes.
Bytes Snapshot(IPlugVST* plug)
{
  Bytes all;
  for (int i = 0; i < plug->NParams(); ++i)
  {
    const double v = plug->ParamAt(i)->Value();
    all.insert(all.end(), reinterpret_cast<const uint8_t*>(&v), reinterpret_cast<const uint8_t*>(&v) + 8);
  }
  for (int i = 0; i < plug->NPresets(); ++i)
  {
    const PresetSlot* slot = plug->PresetAt(i);
    all.insert(all.end(), slot->name, slot->name + std::strlen(slot->name) + 1);
    all.push_back(slot->initialised);
    all.insert(all.end(), slot->state.Data(), slot->state.Data() + slot->state.Size());
  }
  return all;
}

intptr_t ClaimedSize(FuzzedDataProvider& in, size_t real)
{
  switch (in.ConsumeIntegralInRange(0, 5))
  {
  case 0:
    return -static_cast<intptr_t>(in.ConsumeIntegral<uint16_t>());
  case 1:
    return static_cast<intptr_t>(in.ConsumeIntegralInRange<size_t>(0, real));
  default:
    return static_cast<intptr_t>(real);
  }
}

void SetChunk(FuzzedDataProvider& in, vst2::AEffect* e, IPlugVST* plug)
{
  const int32_t index = in.ConsumeBool() ? 0 : 1;
  Bytes bytes;
  if (in.ConsumeBool())
  {
    // Start from a real chunk so that the fuzzer reaches past the header.
    void* data = nullptr;
    const intptr_t size = e->dispatcher(e, vst2::effGetChunk, index, 0, &data, 0.0f);
    bytes.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    for (int flips = in.ConsumeIntegralInRange(0, 4); flips > 0 && !bytes.empty(); --flips)
      bytes[in.ConsumeIntegralInRange<size_t>(0, bytes.size() - 1)] = in.ConsumeIntegral<uint8_t>();
    bytes.resize(in.ConsumeIntegralInRange<size_t>(0, bytes.size() + 8));
  }
  else
  {
    bytes = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 400));
  }
  const Bytes before = Snapshot(plug);
  const intptr_t size = ClaimedSize(in, bytes.size());
  const intptr_t ok = e->dispatcher(e, vst2::effSetChunk, index, size, bytes.empty() ? nullptr : bytes.data(), 0.0f);
  if (!ok)
    TQ_FUZZ_CHECK(Snapshot(plug) == before);
  for (int i = 0; i < plug->NParams(); ++i)
  {
    const IPlugParameter* p = plug->ParamAt(i);
    TQ_FUZZ_CHECK(p->Value() >= p->Min() && p->Value() <= p->Max());
  }
}

void RunBlock(FuzzedDataProvider& in, vst2::AEffect* e)
{
  const int frames = in.ConsumeIntegralInRange(1, 700);
  std::vector<float> buffers[4];
  float* ptrs[4];
  for (int c = 0; c < 4; ++c)
  {
    buffers[c].assign(static_cast<size_t>(frames), 0.0f);
    for (int i = 0; i < frames; ++i)
      buffers[c][static_cast<size_t>(i)] = 0.5f * std::sin(0.02f * float(i * (c + 1)));
    ptrs[c] = buffers[c].data();
  }
  e->processReplacing(e, ptrs, ptrs + 2, frames);
  for (int c = 2; c < 4; ++c)
    for (float x : buffers[c])
      TQ_FUZZ_CHECK(std::isfinite(x));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzedDataProvider in(data, size);
  vst2::AEffect* e = VSTPluginMain(nullptr);
  TQ_FUZZ_CHECK(e != nullptr);
  IPlugVST* plug = IPlugVST::FromEffect(e);
  e->dispatcher(e, vst2::effOpen, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, vst2::effSetBlockSize, 0, 256, nullptr, 0.0f);
  while (in.remaining_bytes() > 0)
  {
    if (in.ConsumeIntegralInRange(0, 3) == 0)
      RunBlock(in, e);
    else
      SetChunk(in, e, plug);
  }
  e->dispatcher(e, vst2::effClose, 0, 0, nullptr, 0.0f);
  return 0;
}
