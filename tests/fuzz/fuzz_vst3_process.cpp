// Process calls as careless hosts make them, against the real plug-in in-process: any sample
// rate, block lengths from 1 to beyond the set-up, bus and channel counts that disagree with
// the arrangement, null arrays and channels, outputs that share memory with an input (the
// same channel, another channel, or shifted by a few frames) or with another output, input
// samples that are huge, tiny or not finite, parameter queues with any ids, offsets and
// values (NaN included), events and transport records of any content. Every buffer ends
// where the host says it does, so a read or write past it shows under the sanitizer; while
// every input so far was finite the output must be finite, and the host's lists must be
// released as often as they were taken.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "effect/TarvexQuoxel.h"
#include "modules/TarvexQuoxelFactory.h"
#include "sdk/vst3/ModuleEntry.h"
#include "tests/fuzz/FuzzCheck.h"
#include "hosts/vst3/EventList.h"
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/ParameterChanges.h"

using namespace vst3;

namespace {
double Wild(FuzzedDataProvider& in)
{
  switch (in.ConsumeIntegralInRange(0, 5))
  {
  case 0:
    return std::numeric_limits<double>::quiet_NaN();
  case 1:
    return in.PickValueInArray<double>({INFINITY, -INFINITY, 1e300, -1e300, 4.9e-324, -0.0, 1.0000001});
  case 2:
    return in.ConsumeFloatingPoint<double>();
  default:
    return in.ConsumeProbability<double>();
  }
}

// One bus of host buffers: a channel pointer array of exactly numChannels entries (or none),
// each channel exactly `frames` long (or null).
struct Bus
{
  std::vector<std::vector<float>> f;
  std::vector<std::vector<double>> d;
  std::vector<float*> f_ptrs;
  std::vector<double*> d_ptrs;
  // Memory an input channel shares with an output channel shifted against it.
  std::vector<std::vector<float>> sharedF;
  std::vector<std::vector<double>> sharedD;
};

struct Block
{
  std::vector<Bus> in, out;
  std::vector<AudioBusBuffers> inBuffers, outBuffers;
  vst3host::ParameterChanges changes, outChanges;
  vst3host::EventList events, outEvents;
  std::vector<std::vector<uint8_t>> eventBytes;
  ProcessContext context{};
  ProcessData data{};
};

// A sine of some level; input channels may also be huge, subnormal or carry values that are
// not finite. Outputs start finite, so whatever the plug-in leaves untouched stays finite.
void FillChannel(FuzzedDataProvider& in, bool input, int32 c, size_t length, std::vector<float>& f,
                 std::vector<double>& d)
{
  f.resize(length);
  d.resize(length);
  const int kind = in.ConsumeIntegralInRange(0, 7);
  const bool wild = input && kind >= 5;
  const double scale = wild && kind == 5 ? 3e38 : wild && kind == 7 ? 1e-40 : (kind % 5) * 0.5;
  const double wideScale = wild && kind == 5 ? 1e300 : wild && kind == 7 ? 1e-310 : scale;
  for (size_t i = 0; i < length; ++i)
  {
    const double s = std::sin(0.05 * static_cast<double>(i) * (c + 1));
    f[i] = static_cast<float>(scale * s);
    d[i] = wideScale * s;
  }
  if (!(wild && kind == 6) || length == 0)
    return;
  const double bad = in.PickValueInArray<double>({std::numeric_limits<double>::quiet_NaN(), INFINITY, -INFINITY});
  const size_t every = in.ConsumeIntegralInRange<size_t>(1, 64);
  for (size_t i = in.ConsumeIntegralInRange<size_t>(0, length - 1); i < length; i += every)
    f[i] = static_cast<float>(d[i] = bad);
}

// Output channel c of bus b may share memory: with the input channel of the same number (in
// place), with another input channel, with an input channel shifted by a few frames either
// way, or with the output channel before it.
void ShareMemory(FuzzedDataProvider& in, int32 b, int32 c, size_t length, Block& block)
{
  Bus& out = block.out[b];
  const bool haveInput = b < static_cast<int32>(block.in.size()) && !block.in[b].f.empty();
  Bus* input = haveInput ? &block.in[b] : nullptr;
  const int32 inChannels = haveInput ? static_cast<int32>(input->f.size()) : 0;
  switch (in.ConsumeIntegralInRange(0, 7))
  {
  case 4:
  case 5:
  {
    if (!haveInput)
      return;
    const int32 from = in.ConsumeIntegralInRange<int32>(0, inChannels - 1);
    out.f_ptrs[c] = input->f_ptrs[from];
    out.d_ptrs[c] = input->d_ptrs[from];
    return;
  }
  case 6:
  {
    if (!haveInput || c >= inChannels || !input->f_ptrs[c] || length == 0)
      return;
    // One allocation holds both; whichever lies later ends where the allocation ends.
    const size_t shift = in.ConsumeIntegralInRange<size_t>(1, 8);
    const bool outputLater = in.ConsumeBool();
    std::vector<float>& f = input->sharedF.emplace_back(length + shift);
    std::vector<double>& d = input->sharedD.emplace_back(length + shift);
    const size_t inAt = outputLater ? 0 : shift, outAt = outputLater ? shift : 0;
    std::copy(input->f[c].begin(), input->f[c].end(), f.begin() + inAt);
    std::copy(input->d[c].begin(), input->d[c].end(), d.begin() + inAt);
    input->f_ptrs[c] = f.data() + inAt;
    input->d_ptrs[c] = d.data() + inAt;
    out.f_ptrs[c] = f.data() + outAt;
    out.d_ptrs[c] = d.data() + outAt;
    return;
  }
  case 7:
    if (c > 0)
    {
      out.f_ptrs[c] = out.f_ptrs[c - 1];
      out.d_ptrs[c] = out.d_ptrs[c - 1];
    }
    return;
  default:
    return;
  }
}

// Buffers come in the width agreed in the set-up: the plug-in trusts that width over the
// record's own field, which the fuzzer varies on its own.
void MakeBuses(FuzzedDataProvider& in, int32 frames, bool inputs, bool wide, Block& block)
{
  const int32 count = in.ConsumeIntegralInRange<int32>(0, 3);
  std::vector<Bus>& buses = inputs ? block.in : block.out;
  std::vector<AudioBusBuffers>& buffers = inputs ? block.inBuffers : block.outBuffers;
  buses.resize(static_cast<size_t>(count));
  buffers.resize(static_cast<size_t>(count));
  const size_t length = frames > 0 ? static_cast<size_t>(frames) : 0;
  for (int32 b = 0; b < count; ++b)
  {
    Bus& bus = buses[b];
    const int32 channels = in.ConsumeIntegralInRange<int32>(0, 4);
    bus.f.resize(static_cast<size_t>(channels));
    bus.d.resize(static_cast<size_t>(channels));
    for (int32 c = 0; c < channels; ++c)
    {
      FillChannel(in, inputs, c, length, bus.f[c], bus.d[c]);
      const bool null = in.ConsumeIntegralInRange(0, 9) == 0;
      bus.f_ptrs.push_back(null ? nullptr : bus.f[c].data());
      bus.d_ptrs.push_back(null ? nullptr : bus.d[c].data());
      if (!inputs && !null)
        ShareMemory(in, b, c, length, block);
    }
    AudioBusBuffers& abb = buffers[b];
    abb.numChannels = in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegralInRange<int32>(-1, channels) : channels;
    abb.silenceFlags = in.ConsumeBool() ? 0 : in.ConsumeIntegral<uint64>();
    const bool nullArray = in.ConsumeIntegralInRange(0, 9) == 0;
    abb.channelBuffers32 = nullptr;
    if (!nullArray && channels > 0)
    {
      if (wide)
        abb.channelBuffers64 = bus.d_ptrs.data();
      else
        abb.channelBuffers32 = bus.f_ptrs.data();
    }
  }
}

void MakeChanges(FuzzedDataProvider& in, int32 frames, Block& block)
{
  const int queues = in.ConsumeIntegralInRange(0, 6);
  for (int q = 0; q < queues; ++q)
  {
    ParamID id;
    switch (in.ConsumeIntegralInRange(0, 3))
    {
    case 0:
      id = in.ConsumeIntegral<ParamID>();
      break;
    case 1:
      id = in.PickValueInArray({IPlugVST3::kBypassParamId, IPlugVST3::kPresetParamId});
      break;
    default:
      id = in.ConsumeIntegralInRange<ParamID>(0, TarvexQuoxel::kNumParams);
      break;
    }
    const int points = in.ConsumeIntegralInRange(0, 4);
    if (points == 0)
      block.changes.addEmptyQueue(id);
    for (int p = 0; p < points; ++p)
    {
      const int32 offset = in.ConsumeIntegralInRange(0, 5) == 0
                             ? in.ConsumeIntegral<int32>()
                             : in.ConsumeIntegralInRange<int32>(0, frames > 0 ? frames : 0);
      block.changes.add(id, offset, Wild(in));
    }
  }
}

void MakeEvents(FuzzedDataProvider& in, Block& block)
{
  const int count = in.ConsumeIntegralInRange(0, 4);
  for (int e = 0; e < count; ++e)
  {
    Event ev{};
    ev.busIndex = in.ConsumeIntegralInRange<int32>(-1, 2);
    ev.sampleOffset = in.ConsumeIntegral<int32>();
    ev.ppqPosition = Wild(in);
    ev.flags = in.ConsumeIntegral<uint16>();
    ev.type = in.PickValueInArray<uint16>({Event::kNoteOnEvent, Event::kNoteOffEvent, Event::kDataEvent,
                                           Event::kPolyPressureEvent, Event::kLegacyMIDICCOutEvent, 99});
    if (ev.type == Event::kDataEvent)
    {
      block.eventBytes.push_back(in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 16)));
      ev.data.size = static_cast<uint32>(block.eventBytes.back().size());
      ev.data.type = in.ConsumeIntegralInRange<uint32>(0, 2);
      ev.data.bytes = ev.data.size ? block.eventBytes.back().data() : nullptr;
    }
    else
    {
      ev.noteOn.channel = in.ConsumeIntegral<int16>();
      ev.noteOn.pitch = in.ConsumeIntegral<int16>();
      ev.noteOn.tuning = static_cast<float>(Wild(in));
      ev.noteOn.velocity = static_cast<float>(Wild(in));
      ev.noteOn.length = in.ConsumeIntegral<int32>();
      ev.noteOn.noteId = in.ConsumeIntegral<int32>();
    }
    block.events.addEvent(ev);
  }
}

void MakeContext(FuzzedDataProvider& in, Block& block)
{
  ProcessContext& c = block.context;
  c.state = in.ConsumeIntegral<uint32>();
  c.sampleRate = in.ConsumeBool() ? 44100.0 : Wild(in) * 1e5;
  c.projectTimeSamples = in.ConsumeIntegral<int64>();
  c.continuousTimeSamples = in.ConsumeIntegral<int64>();
  c.projectTimeMusic = Wild(in) * 1e3;
  c.barPositionMusic = Wild(in) * 1e3;
  c.cycleStartMusic = Wild(in);
  c.cycleEndMusic = Wild(in);
  c.tempo = in.ConsumeBool() ? 120.0 : Wild(in) * 1000.0;
  c.timeSigNumerator = in.ConsumeIntegralInRange<int32>(-2, 64);
  c.timeSigDenominator = in.ConsumeIntegralInRange<int32>(-2, 64);
  block.data.processContext = in.ConsumeIntegralInRange(0, 3) == 0 ? nullptr : &c;
}

// Whether the channels the host announced for a bus hold finite samples, read where the
// host's channel pointers point.
bool Finite(const Bus& bus, int32 numChannels, int32 frames, bool is64)
{
  const size_t channels = numChannels < 0 ? 0 : std::min<size_t>(static_cast<size_t>(numChannels), bus.f.size());
  for (size_t c = 0; c < channels; ++c)
  {
    const bool present = is64 ? bus.d_ptrs[c] != nullptr : bus.f_ptrs[c] != nullptr;
    for (int32 i = 0; present && i < frames; ++i)
      if (!std::isfinite(is64 ? bus.d_ptrs[c][i] : bus.f_ptrs[c][i]))
        return false;
  }
  return true;
}

bool FiniteInputs(const Block& block, int32 frames, bool is64)
{
  for (size_t b = 0; b < block.in.size(); ++b)
    if (!Finite(block.in[b], static_cast<int32>(block.in[b].f.size()), frames, is64))
      return false;
  return true;
}

// Bus calls hosts make between set-ups, with any indices, counts and arrangements; the
// arrangement lists are exactly as long as the counts given.
void BusCalls(FuzzedDataProvider& in, vst3host::HostDriver& driver)
{
  for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
  {
    const MediaType type = in.ConsumeIntegralInRange<MediaType>(-1, 2);
    const BusDirection dir = in.ConsumeIntegralInRange<BusDirection>(-1, 2);
    const int32 index = in.ConsumeIntegralInRange<int32>(-2, 3);
    switch (in.ConsumeIntegralInRange(0, 3))
    {
    case 0:
      driver.component()->activateBus(type, dir, index, in.ConsumeIntegralInRange<TBool>(0, 2));
      break;
    case 1:
    {
      BusInfo info{};
      driver.component()->getBusInfo(type, dir, index, info);
      SpeakerArrangement arr = 0;
      driver.processor()->getBusArrangement(dir, index, arr);
      break;
    }
    case 2:
    {
      std::vector<SpeakerArrangement> ins(in.ConsumeIntegralInRange<size_t>(0, 3));
      std::vector<SpeakerArrangement> outs(in.ConsumeIntegralInRange<size_t>(0, 3));
      for (SpeakerArrangement& a : ins)
        a = in.ConsumeIntegral<SpeakerArrangement>();
      for (SpeakerArrangement& a : outs)
        a = in.ConsumeIntegral<SpeakerArrangement>();
      driver.processor()->setBusArrangements(ins.empty() ? nullptr : ins.data(), static_cast<int32>(ins.size()),
                                             outs.empty() ? nullptr : outs.data(), static_cast<int32>(outs.size()));
      break;
    }
    default:
      driver.component()->setIoMode(in.ConsumeIntegralInRange<int32>(-1, 3));
      break;
    }
  }
}

// inputsFinite: whether every input sample so far was finite; the plug-in may pass what is
// not (bypassed, say), so only then must the output be finite.
void RunBlock(FuzzedDataProvider& in, vst3host::HostDriver& driver, const vst3host::ProcessSettings& settings,
              bool& inputsFinite)
{
  Block block;
  ProcessData& data = block.data;
  data.processMode =
    in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegralInRange<int32>(-1, 3) : settings.processMode;
  data.symbolicSampleSize =
    in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegralInRange<int32>(-1, 2) : settings.sampleSize;
  switch (in.ConsumeIntegralInRange(0, 7))
  {
  case 0:
    data.numSamples = in.ConsumeIntegralInRange<int32>(-3, 0);
    break;
  case 1:
    data.numSamples = in.ConsumeIntegralInRange<int32>(settings.maxBlock, 3 * settings.maxBlock + 7);
    break;
  case 6:
    data.numSamples = settings.maxBlock;
    break;
  case 7:
    data.numSamples = 1;
    break;
  default:
    data.numSamples = in.ConsumeIntegralInRange<int32>(1, settings.maxBlock);
    break;
  }
  MakeBuses(in, data.numSamples, true, settings.sampleSize == kSample64, block);
  MakeBuses(in, data.numSamples, false, settings.sampleSize == kSample64, block);
  data.numInputs = static_cast<int32>(block.inBuffers.size());
  data.numOutputs = static_cast<int32>(block.outBuffers.size());
  data.inputs = block.inBuffers.empty() || in.ConsumeIntegralInRange(0, 9) == 0 ? nullptr : block.inBuffers.data();
  data.outputs = block.outBuffers.empty() || in.ConsumeIntegralInRange(0, 9) == 0 ? nullptr : block.outBuffers.data();
  MakeChanges(in, data.numSamples, block);
  MakeEvents(in, block);
  MakeContext(in, block);
  data.inputParameterChanges = in.ConsumeIntegralInRange(0, 5) == 0 ? nullptr : &block.changes;
  data.outputParameterChanges = in.ConsumeBool() ? &block.outChanges : nullptr;
  data.inputEvents = in.ConsumeIntegralInRange(0, 3) == 0 ? nullptr : &block.events;
  data.outputEvents = in.ConsumeBool() ? &block.outEvents : nullptr;

  const bool is64 = settings.sampleSize == kSample64;
  inputsFinite = inputsFinite && FiniteInputs(block, data.numSamples, is64);
  const tresult r = driver.processor()->process(data);
  (void)r;
  if (inputsFinite && data.outputs && data.numSamples > 0)
    for (size_t b = 0; b < block.out.size(); ++b)
      TQ_FUZZ_CHECK(Finite(block.out[b], block.outBuffers[b].numChannels, data.numSamples, is64));
  TQ_FUZZ_CHECK(block.changes.referencesBalanced() && block.outChanges.referencesBalanced());
  TQ_FUZZ_CHECK(block.events.heldByPlugin() == 0 && block.outEvents.heldByPlugin() == 0);
  TQ_FUZZ_CHECK(!block.changes.overReleased() && !block.events.overReleased());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzedDataProvider in(data, size);
  IPluginFactory* factory = GetPluginFactory();
  auto driver = std::make_unique<vst3host::HostDriver>(factory);
  factory->release();
  TQ_FUZZ_CHECK(driver->load(tarvexquoxel::kClassId) == kResultOk);
  const SpeakerArrangement choices[] = {arrangement::kEmpty, arrangement::kMono, arrangement::kStereo,
                                        arrangement::k51};
  const SpeakerArrangement inArr = in.PickValueInArray(choices), outArr = in.PickValueInArray(choices);
  if (driver->arrange({inArr}, {outArr}) != kResultOk)
    driver->arrange({}, {});
  BusCalls(in, *driver);
  vst3host::ProcessSettings settings;
  settings.sampleSize = in.ConsumeBool() ? kSample64 : kSample32;
  settings.maxBlock = in.ConsumeIntegralInRange<int32>(1, 2048);
  settings.sampleRate = in.PickValueInArray({44100.0, 48000.0, 96000.0, 192000.0, 8000.0, 22050.0, 176400.0, 384000.0});
  settings.processMode = in.ConsumeIntegralInRange<int32>(0, 2);
  bool inputsFinite = true;
  if (driver->start(settings) == kResultOk)
    for (int b = 0; b < 6 && in.remaining_bytes() > 0; ++b)
    {
      // Now and then a new set-up between blocks, refused or taken; later blocks follow the
      // one in force.
      if (in.ConsumeIntegralInRange(0, 5) == 0)
      {
        ProcessSetup setup{in.ConsumeIntegralInRange<int32>(-1, 3), in.ConsumeIntegralInRange<int32>(-1, 2),
                           in.ConsumeIntegralInRange<int32>(-4, 4096), in.ConsumeBool() ? 48000.0 : Wild(in) * 1e6};
        if (driver->processor()->setupProcessing(setup) == kResultOk)
        {
          settings.processMode = setup.processMode;
          settings.sampleSize = setup.symbolicSampleSize;
          settings.maxBlock = setup.maxSamplesPerBlock;
        }
      }
      RunBlock(in, *driver, settings, inputsFinite);
    }
  driver->unload();
  for (const std::string& p : driver->problems())
    std::fprintf(stderr, "host saw: %s\n", p.c_str());
  TQ_FUZZ_CHECK(driver->problems().empty());
  return 0;
}
