// The audio side: processing set-up, and the process call that applies the host's parameter
// changes and events, attaches the host's buffers and runs or bypasses the block.
#include "framework/bindings/vst3/IPlugVST3.h"

#include "platform/ScopedLock.h"
#include "sdk/vst3/IEventList.h"
#include "sdk/vst3/NoThrow.h"
#include "sdk/vst3/IParameterChanges.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

using namespace vst3;

namespace {
// The preset a 'prst' value selects. The small allowance keeps k / N from landing on k - 1.
int PresetIndexFor(double normalised, int nPresets)
{
  return static_cast<int>(std::floor(normalised * nPresets + 1e-9));
}

template <class Sample>
Sample** ChannelBuffers(const AudioBusBuffers& bus)
{
  if constexpr (std::is_same_v<Sample, float>)
    return bus.channelBuffers32;
  else
    return bus.channelBuffers64;
}
}  // namespace

tresult PLUGIN_API IPlugVST3::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API IPlugVST3::getLatencySamples()
{
  return static_cast<uint32>(Latency());
}

uint32 PLUGIN_API IPlugVST3::getTailSamples()
{
  return static_cast<uint32>(std::max(TailSize(), 0));
}

// A set-up the plug-in cannot run with is refused whole: the previous one stays. The scratch
// buffers hold at most kMaxScratchFrames; longer blocks are processed in slices.
tresult PLUGIN_API IPlugVST3::setupProcessing(ProcessSetup& setup)
{
  return noThrow([&] { return SetUpProcessing(setup); });
}

tresult IPlugVST3::SetUpProcessing(ProcessSetup& setup)
{
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
    return kResultFalse;
  if (!std::isfinite(setup.sampleRate) || setup.sampleRate <= 0.0 || setup.maxSamplesPerBlock <= 0)
    return kResultFalse;
  ScopedLock lock(Mutex());
  if (!ChangeBlockSize(std::min(setup.maxSamplesPerBlock, kMaxScratchFrames)))
    return kResultFalse;
  ChangeSampleRate(setup.sampleRate);
  mBypass.store(false, std::memory_order_relaxed);
  RestartProcessing();
  mProcessSetup = setup;
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::process(ProcessData& data)
{
  return noThrow([&] { return Process(data); });
}

tresult IPlugVST3::Process(ProcessData& data)
{
  ScopedLock lock(Mutex());
  if (data.processContext)
    mContext = *data.processContext;
  ApplyParameterChanges(data.inputParameterChanges);
  if (DoesMidi())
    ApplyEvents(data.inputEvents);

  // A call without samples only delivers parameters (hosts flush with null buffers).
  if (data.numSamples > 0)
  {
    // The width is the one agreed in the set-up, whatever this call's record says.
    if (mProcessSetup.symbolicSampleSize == kSample32)
      ProcessAudio<float>(data);
    else if (mProcessSetup.symbolicSampleSize == kSample64)
      ProcessAudio<double>(data);
  }
  return kResultOk;
}

void IPlugVST3::ApplyParameterChanges(IParameterChanges* changes)
{
  if (!changes)
    return;
  for (int32 i = 0, n = changes->getParameterCount(); i < n; ++i)
  {
    IParamValueQueue* queue = changes->getParameterData(i);
    if (!queue)
      continue;
    const int32 points = queue->getPointCount();
    int32 offset = 0;
    ParamValue value = 0.0;
    // Only the last point of a block counts.
    if (points <= 0 || queue->getPoint(points - 1, offset, value) != kResultOk || std::isnan(value))
      continue;
    ApplyHostValue(queue->getParameterId(), std::clamp(value, 0.0, 1.0));
  }
}

void IPlugVST3::ApplyHostValue(ParamID id, double value)
{
  if (id == kBypassParamId)
  {
    mBypass.store(value > 0.5, std::memory_order_relaxed);
  }
  else if (id == kPresetParamId)
  {
    LoadPreset(PresetIndexFor(value, NPresets()));
  }
  else if (id < static_cast<ParamID>(NParams()))
  {
    SetParameterFromHost(static_cast<int>(id), value);
  }
  else if (DoesMidi() && id < static_cast<ParamID>(NParams() + kMidiControllers))
  {
    MidiMessage msg;
    msg.SetControl(static_cast<int>(id) - NParams(), value, 0);
    HandleMidiMessage(&msg);
  }
}

void IPlugVST3::ApplyEvents(IEventList* events)
{
  if (!events)
    return;
  for (int32 i = 0, n = events->getEventCount(); i < n; ++i)
  {
    Event e{};
    if (events->getEvent(i, e) != kResultOk)
      continue;
    MidiMessage msg;
    if (e.type == Event::kNoteOnEvent)
    {
      const double velocity = std::isnan(e.noteOn.velocity) ? 0.0 : std::clamp<double>(e.noteOn.velocity, 0.0, 1.0);
      msg.SetNoteOn(e.noteOn.pitch, TruncateToInt(velocity * 127.0), e.sampleOffset, e.noteOn.channel);
    }
    else if (e.type == Event::kNoteOffEvent)
      msg.SetNoteOff(e.noteOff.pitch, e.sampleOffset, e.noteOff.channel);
    else
      continue;
    HandleMidiMessage(&msg);
  }
}

template <class Sample>
void IPlugVST3::ProcessAudio(ProcessData& data)
{
  BindHostInputs<Sample>(data);
  BindHostOutputs<Sample>(data);
  const EBlockMode mode = IsBypassed() ? kBlockBypass : kBlockProcess;
  if constexpr (std::is_same_v<Sample, float>)
    RunHostBlockFloat(data.numSamples, mode);
  else
    RunHostBlockDouble(data.numSamples, mode);
}

// Connects the channels the host gave buffers for and nothing else: a channel without a
// buffer reads silence from the framework's scratch, never last block's host memory.
template <class Sample>
void IPlugVST3::BindHostInputs(ProcessData& data)
{
  const int nIn = NInChannels();
  const int nMain = nIn - mSideChainChannels;
  const AudioBusBuffers* main = data.numInputs > 0 && data.inputs ? &data.inputs[0] : nullptr;
  Sample** mainBuffers = main ? ChannelBuffers<Sample>(*main) : nullptr;
  const int mainCount = mainBuffers ? std::clamp(main->numChannels, 0, nMain) : 0;

  ConnectInputs(0, mainCount, true);
  ConnectInputs(mainCount, nIn - mainCount, false);
  if constexpr (std::is_same_v<Sample, float>)
    BindInputsFloat(0, mainCount, mainBuffers, data.numSamples);
  else
    BindInputsDouble(0, mainCount, mainBuffers);

  if (mSideChainChannels <= 0)
    return;
  const AudioBus* sideBus = getAudioInput(1);
  mSideChainActive = sideBus && sideBus->isActive();
  const AudioBusBuffers* side = mSideChainActive && data.numInputs > 1 && data.inputs ? &data.inputs[1] : nullptr;
  Sample** sideBuffers = side ? ChannelBuffers<Sample>(*side) : nullptr;
  const int sideCount = sideBuffers ? std::clamp(side->numChannels, 0, mSideChainChannels) : 0;
  ConnectInputs(nMain, sideCount, true);
  if constexpr (std::is_same_v<Sample, float>)
    BindInputsFloat(nMain, sideCount, sideBuffers, data.numSamples);
  else
    BindInputsDouble(nMain, sideCount, sideBuffers);
}

// Output bus b takes the next channels; an inactive bus, or one the host gave no buffers,
// leaves its channels unconnected so nothing is written for it.
template <class Sample>
void IPlugVST3::BindHostOutputs(ProcessData& data)
{
  const int nOut = NOutChannels();
  const int nBuses = data.outputs ? std::min(data.numOutputs, getBusCount(kAudio, kOutput)) : 0;
  int first = 0;
  for (int b = 0; b < nBuses && first < nOut; ++b)
  {
    const AudioBusBuffers& bus = data.outputs[b];
    Sample** buffers = ChannelBuffers<Sample>(bus);
    const int count = std::clamp(bus.numChannels, 0, nOut - first);
    const AudioBus* ours = getAudioOutput(b);
    const bool connected = buffers && ours && ours->isActive();
    ConnectOutputs(first, count, connected);
    if (connected)
    {
      if constexpr (std::is_same_v<Sample, float>)
        BindOutputsFloat(first, count, buffers);
      else
        BindOutputsDouble(first, count, buffers);
    }
    first += count;
  }
  ConnectOutputs(first, nOut - first, false);
}
