// Process calls as careless hosts make them, against the real plug-in in-process: block
// lengths beyond the set-up, bus and channel counts that disagree with the arrangement, null
// arrays and channels, in-place buffers, parameter queues with any ids, offsets and values
// (NaN included), events and transport records of any content. Every buffer is exactly as
// long as the host says, so a read or write past it shows under the sanitizer; the output
// must be finite and the host's lists released as often as they were taken.
#include <fuzzer/FuzzedDataProvider.h>

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
      bus.f[c].resize(length);
      bus.d[c].resize(length);
      const double scale = in.ConsumeIntegralInRange(0, 4) * 0.5;
      for (size_t i = 0; i < length; ++i)
        bus.f[c][i] = static_cast<float>(bus.d[c][i] = scale * std::sin(0.05 * static_cast<double>(i) * (c + 1)));
      const bool null = in.ConsumeIntegralInRange(0, 9) == 0;
      // An output channel may be the same memory as the input channel of the same number.
      const bool inPlace = !inputs && b < static_cast<int32>(block.in.size()) &&
                           c < static_cast<int32>(block.in[b].f.size()) && in.ConsumeBool();
      bus.f_ptrs.push_back(null ? nullptr : inPlace ? block.in[b].f[c].data() : bus.f[c].data());
      bus.d_ptrs.push_back(null ? nullptr : inPlace ? block.in[b].d[c].data() : bus.d[c].data());
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

bool Finite(const Bus& bus, int32 numChannels, int32 frames, bool is64)
{
  const size_t channels = numChannels < 0 ? 0 : std::min<size_t>(static_cast<size_t>(numChannels), bus.f.size());
  for (size_t c = 0; c < channels; ++c)
    for (int32 i = 0; i < frames; ++i)
    {
      const double v = is64 ? bus.d[c][i] : bus.f[c][i];
      if (!std::isfinite(v))
        return false;
    }
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

void RunBlock(FuzzedDataProvider& in, vst3host::HostDriver& driver, const vst3host::ProcessSettings& settings)
{
  Block block;
  ProcessData& data = block.data;
  data.processMode =
    in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegralInRange<int32>(-1, 3) : settings.processMode;
  data.symbolicSampleSize =
    in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegralInRange<int32>(-1, 2) : settings.sampleSize;
  switch (in.ConsumeIntegralInRange(0, 5))
  {
  case 0:
    data.numSamples = in.ConsumeIntegralInRange<int32>(-3, 0);
    break;
  case 1:
    data.numSamples = in.ConsumeIntegralInRange<int32>(settings.maxBlock, 3 * settings.maxBlock + 7);
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

  const tresult r = driver.processor()->process(data);
  (void)r;
  const bool is64 = settings.sampleSize == kSample64;
  if (data.outputs && data.numSamples > 0)
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
  settings.sampleRate = in.PickValueInArray({44100.0, 48000.0, 96000.0, 192000.0, 8000.0, 22050.0});
  settings.processMode = in.ConsumeIntegralInRange<int32>(0, 2);
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
      RunBlock(in, *driver, settings);
    }
  driver->unload();
  for (const std::string& p : driver->problems())
    std::fprintf(stderr, "host saw: %s\n", p.c_str());
  TQ_FUZZ_CHECK(driver->problems().empty());
  return 0;
}
