// Audio calls as careless VST2 hosts make them, against the real plug-in: the accumulating
// entry, the float and the double replacing entries, with set-up calls between blocks (any
// sample rate and block size, suspend and resume, bypass, parameters set to any float
// including NaN and infinities, speaker arrangements of any width or none). Blocks are empty,
// single frames, odd, as long as the block size given or longer; outputs may share memory
// with their input, another input, an input shifted by a few frames or another output; input
// samples may be huge, subnormal or not finite. Every channel ends where the host says the
// block does, so a read or write past it shows under the sanitizer; while every input so far
// was finite, every output must be finite.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "effect/TarvexQuoxel.h"
#include "framework/bindings/vst2/IPlugVST.h"
#include "modules/TarvexQuoxelVst2Entry.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {
constexpr int32_t kMaxChannels = 8;
// Blocks longer than this cost the fuzzer speed and reach nothing new.
constexpr int32_t kLongestBlock = 70000;

float WildFloat(FuzzedDataProvider& in)
{
  switch (in.ConsumeIntegralInRange(0, 4))
  {
  case 0:
    return in.PickValueInArray<float>(
      {std::numeric_limits<float>::quiet_NaN(), INFINITY, -INFINITY, 3e38f, -1.0f, 1e-45f, -0.0f, 1.0000001f});
  case 1:
    return in.ConsumeFloatingPoint<float>();
  default:
    return in.ConsumeProbability<float>();
  }
}

// What the host believes it set up; the plug-in may have refused some of it.
struct HostSetup
{
  int32_t blockSize = IPlugVST::kInitialBlockSize;
};

void SetSampleRate(FuzzedDataProvider& in, vst2::AEffect* e)
{
  const float rate = in.ConsumeBool() ? in.PickValueInArray<float>({8000.0f, 11025.0f, 22050.0f, 44100.0f, 48000.0f,
                                                                    96000.0f, 176400.0f, 192000.0f, 384000.0f})
                                      : WildFloat(in) * 1e6f;
  e->dispatcher(e, vst2::effSetSampleRate, 0, 0, nullptr, rate);
}

void SetBlockSize(FuzzedDataProvider& in, vst2::AEffect* e, HostSetup& host)
{
  constexpr intptr_t kMaxScratch = IPlugBase::kMaxScratchFrames;
  const intptr_t size = in.ConsumeBool()
                          ? in.PickValueInArray<intptr_t>({1, 2, 7, 64, 512, 4096, kMaxScratch, kMaxScratch + 1,
                                                           INT32_MAX, INTPTR_MAX, 0, -1, INTPTR_MIN})
                          : in.ConsumeIntegralInRange<intptr_t>(1, 4096);
  e->dispatcher(e, vst2::effSetBlockSize, 0, size, nullptr, 0.0f);
  if (size > 0)
    host.blockSize = static_cast<int32_t>(std::min<intptr_t>(size, kLongestBlock));
}

void SetArrangements(FuzzedDataProvider& in, vst2::AEffect* e)
{
  vst2::VstSpeakerArrangement arrangements[2]{};
  for (vst2::VstSpeakerArrangement& a : arrangements)
  {
    a.numChannels = in.ConsumeIntegralInRange<int32_t>(-1, kMaxChannels + 1);
    a.type = in.ConsumeIntegralInRange<int32_t>(-3, 40);
  }
  const bool noInput = in.ConsumeIntegralInRange(0, 5) == 0, noOutput = in.ConsumeIntegralInRange(0, 5) == 0;
  e->dispatcher(e, vst2::effSetSpeakerArrangement, 0, noInput ? 0 : reinterpret_cast<intptr_t>(&arrangements[0]),
                noOutput ? nullptr : &arrangements[1], 0.0f);
  vst2::VstSpeakerArrangement *inArr = nullptr, *outArr = nullptr;
  e->dispatcher(e, vst2::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&inArr), &outArr, 0.0f);
  TQ_FUZZ_CHECK(inArr && outArr);
}

void SetUp(FuzzedDataProvider& in, vst2::AEffect* e, HostSetup& host)
{
  switch (in.ConsumeIntegralInRange(0, 5))
  {
  case 0:
    SetSampleRate(in, e);
    break;
  case 1:
    SetBlockSize(in, e, host);
    break;
  case 2:
    e->dispatcher(e, vst2::effMainsChanged, 0, in.ConsumeIntegralInRange<intptr_t>(0, 2), nullptr, 0.0f);
    break;
  case 3:
    e->dispatcher(e, vst2::effSetBypass, 0, in.ConsumeIntegralInRange<intptr_t>(0, 1), nullptr, 0.0f);
    break;
  case 4:
    SetArrangements(in, e);
    break;
  default:
    e->setParameter(e, in.ConsumeIntegralInRange<int32_t>(-1, TarvexQuoxel::kNumParams), WildFloat(in));
    break;
  }
}

// One direction of a block's host buffers: a pointer per channel, each channel exactly
// `frames` long (or null), and memory that an input shares with a shifted output.
template <class Sample>
struct Channels
{
  std::vector<std::vector<Sample>> data;
  std::vector<std::vector<Sample>> shared;
  std::vector<Sample*> ptrs;
};

// A sine of some level; inputs may also be huge, subnormal or hold samples that are not
// finite. Outputs start finite, so what the plug-in adds to or leaves untouched stays finite.
template <class Sample>
void Fill(FuzzedDataProvider& in, bool input, int32_t c, std::vector<Sample>& channel)
{
  constexpr bool kWide = sizeof(Sample) == sizeof(double);
  const int kind = in.ConsumeIntegralInRange(0, 7);
  const bool wild = input && kind >= 5;
  const double scale = wild && kind == 5   ? (kWide ? 1e300 : 3e38)
                       : wild && kind == 7 ? (kWide ? 1e-310 : 1e-40)
                                           : (kind % 5) * 0.5;
  for (size_t i = 0; i < channel.size(); ++i)
    channel[i] = static_cast<Sample>(scale * std::sin(0.05 * static_cast<double>(i) * (c + 1)));
  if (!(wild && kind == 6) || channel.empty())
    return;
  const Sample bad =
    in.PickValueInArray<Sample>({std::numeric_limits<Sample>::quiet_NaN(), std::numeric_limits<Sample>::infinity(),
                                 -std::numeric_limits<Sample>::infinity()});
  const size_t every = in.ConsumeIntegralInRange<size_t>(1, 64);
  for (size_t i = in.ConsumeIntegralInRange<size_t>(0, channel.size() - 1); i < channel.size(); i += every)
    channel[i] = bad;
}

template <class Sample>
void MakeChannels(FuzzedDataProvider& in, bool input, int32_t count, size_t frames, Channels<Sample>& channels)
{
  channels.data.resize(static_cast<size_t>(count));
  for (int32_t c = 0; c < count; ++c)
  {
    channels.data[c].resize(frames);
    Fill(in, input, c, channels.data[c]);
    const bool null = in.ConsumeIntegralInRange(0, 15) == 0;
    channels.ptrs.push_back(null ? nullptr : channels.data[c].data());
  }
}

// Output channel c may be its input channel (in place), another input channel, its input
// shifted by a few frames either way, or the output channel before it.
template <class Sample>
void ShareMemory(FuzzedDataProvider& in, int32_t c, size_t frames, Channels<Sample>& ins, Channels<Sample>& outs)
{
  const int32_t nIn = static_cast<int32_t>(ins.ptrs.size());
  switch (in.ConsumeIntegralInRange(0, 7))
  {
  case 3:
  case 4:
    if (c < nIn)
      outs.ptrs[c] = ins.ptrs[c];
    return;
  case 5:
    if (nIn > 0)
      outs.ptrs[c] = ins.ptrs[in.ConsumeIntegralInRange<int32_t>(0, nIn - 1)];
    return;
  case 6:
  {
    if (c >= nIn || !ins.ptrs[c] || frames == 0)
      return;
    // One allocation holds both; whichever lies later ends where the allocation ends.
    const size_t shift = in.ConsumeIntegralInRange<size_t>(1, 8);
    const bool outputLater = in.ConsumeBool();
    std::vector<Sample>& both = ins.shared.emplace_back(frames + shift);
    const size_t inAt = outputLater ? 0 : shift, outAt = outputLater ? shift : 0;
    std::copy(ins.data[c].begin(), ins.data[c].end(), both.begin() + inAt);
    ins.ptrs[c] = both.data() + inAt;
    outs.ptrs[c] = both.data() + outAt;
    return;
  }
  case 7:
    if (c > 0)
      outs.ptrs[c] = outs.ptrs[c - 1];
    return;
  default:
    return;
  }
}

// Whether every sample the host's pointers show for these channels is finite.
template <class Sample>
bool Finite(const std::vector<Sample*>& ptrs, int32_t frames)
{
  for (const Sample* channel : ptrs)
    for (int32_t i = 0; channel && i < frames; ++i)
      if (!std::isfinite(channel[i]))
        return false;
  return true;
}

int32_t BlockLength(FuzzedDataProvider& in, const HostSetup& host)
{
  switch (in.ConsumeIntegralInRange(0, 7))
  {
  case 0:
    return in.ConsumeIntegralInRange<int32_t>(-3, 0);
  case 1:
    return std::min(kLongestBlock, in.ConsumeIntegralInRange<int32_t>(host.blockSize, 3 * host.blockSize + 7));
  case 2:
    return host.blockSize;
  case 3:
    return 1;
  default:
    return in.ConsumeIntegralInRange<int32_t>(1, std::min(host.blockSize, 4096));
  }
}

// The entries take as many channels as the record announces; the plug-in reads no more.
// inputsFinite: whether every input sample so far was finite, and so must the output be.
template <class Sample, class Entry>
void RunBlock(FuzzedDataProvider& in, vst2::AEffect* e, const HostSetup& host, Entry entry, bool& inputsFinite)
{
  const int32_t frames = BlockLength(in, host);
  const size_t length = frames > 0 ? static_cast<size_t>(frames) : 0;
  Channels<Sample> ins, outs;
  MakeChannels(in, true, e->numInputs, length, ins);
  MakeChannels(in, false, e->numOutputs, length, outs);
  for (int32_t c = 0; c < e->numOutputs; ++c)
    if (outs.ptrs[c])
      ShareMemory(in, c, length, ins, outs);
  const bool nullIns = in.ConsumeIntegralInRange(0, 15) == 0, nullOuts = in.ConsumeIntegralInRange(0, 15) == 0;
  // Input memory counts even when the host passes no input array: outputs may share it, and
  // an output the plug-in does not drive keeps what it held.
  inputsFinite = inputsFinite && Finite(ins.ptrs, frames);
  entry(e, nullIns || ins.ptrs.empty() ? nullptr : ins.ptrs.data(),
        nullOuts || outs.ptrs.empty() ? nullptr : outs.ptrs.data(), frames);
  if (inputsFinite && !nullOuts)
    TQ_FUZZ_CHECK(Finite(outs.ptrs, frames));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzedDataProvider in(data, size);
  vst2::AEffect* e = VSTPluginMain(nullptr);
  TQ_FUZZ_CHECK(e != nullptr && e->numInputs <= kMaxChannels && e->numOutputs <= kMaxChannels);
  e->dispatcher(e, vst2::effOpen, 0, 0, nullptr, 0.0f);
  HostSetup host;
  bool inputsFinite = true;
  for (int step = 0; step < 12 && in.remaining_bytes() > 0; ++step)
  {
    switch (in.ConsumeIntegralInRange(0, 5))
    {
    case 0:
    case 1:
      SetUp(in, e, host);
      break;
    case 2:
      RunBlock<float>(in, e, host, e->process, inputsFinite);
      break;
    case 3:
      RunBlock<double>(in, e, host, e->processDoubleReplacing, inputsFinite);
      break;
    default:
      RunBlock<float>(in, e, host, e->processReplacing, inputsFinite);
      break;
    }
  }
  e->dispatcher(e, vst2::effClose, 0, 0, nullptr, 0.0f);
  return 0;
}
