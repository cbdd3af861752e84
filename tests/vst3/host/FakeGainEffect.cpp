#include "tests/vst3/host/FakeGainEffect.h"

#include "sdk/vst3/IBStream.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fakegain {

const vst3::TUID kClassId = TQ_VST3_UID(0x5A17C0DEu, 0x6A1B4E11u, 0x9C0FFEE5u, 0x47A1B00Bu);

std::atomic<int> FakeGainEffect::mLive{0};
Faults FakeGainEffect::mNextFaults{};
vst3::uint32 FakeGainEffect::mNextLatency = 0;

namespace {

// -24 to +24 dB.
double normalizedToDb(double v)
{
  return -24.0 + 48.0 * v;
}

}  // namespace

FakeGainEffect::FakeGainEffect() : mFaults(mNextFaults), mLatency(mNextLatency)
{
  for (auto& line : mDelay)
    line.assign(mLatency, 0.0);
  ++mLive;
}

// A handler kept by the keepHandler fault is deliberately never released.
FakeGainEffect::~FakeGainEffect()
{
  --mLive;
}

vst3::FUnknown* FakeGainEffect::create(void*)
{
  return static_cast<vst3::IAudioProcessor*>(new FakeGainEffect);
}

vst3::tresult PLUGIN_API FakeGainEffect::initialize(vst3::FUnknown* context)
{
  const vst3::tresult r = SingleComponentEffect::initialize(context);
  if (r != vst3::kResultOk)
    return r;
  addAudioInput(u"Input", vst3::arrangement::kStereo);
  addAudioOutput(u"Output", vst3::arrangement::kStereo);
  auto* gain = new vst3::RangeParameter(u"Gain", kGainId, u"dB", -24.0, 24.0, 0.0);
  gain->setPrecision(2);
  mParameters.addParameter(gain);
  auto* bypass = new vst3::StringListParameter(u"Bypass", kBypassId, nullptr,
                                               vst3::ParameterInfo::kCanAutomate | vst3::ParameterInfo::kIsList |
                                                 vst3::ParameterInfo::kIsBypass);
  bypass->appendString(u"off");
  bypass->appendString(u"on");
  mParameters.addParameter(bypass);
  if (mFaults.untitledParameter)
    mParameters.addParameter(new vst3::Parameter(u"", 1));
  if (mFaults.parameterWithoutUnit)
    mParameters.addParameter(new vst3::Parameter(u"Stray", 2, u"", 0.0, 0, vst3::ParameterInfo::kCanAutomate, -1));
  addEventInput(u"MIDI In", 1);
  mGainDb = 0.0;
  mBypass = false;
  return vst3::kResultOk;
}

vst3::tresult PLUGIN_API FakeGainEffect::setActive(vst3::TBool state)
{
  if (mFaults.refuseActivation)
    return vst3::kResultFalse;
  if (state)
    ++mActivations;
  return SingleComponentEffect::setActive(state);
}

vst3::tresult PLUGIN_API FakeGainEffect::setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                                            vst3::SpeakerArrangement* outputs, vst3::int32 numOuts)
{
  // One bus each way with the same one or two channels; anything else is refused.
  if (numIns != 1 || numOuts != 1 || inputs == nullptr || outputs == nullptr || inputs[0] != outputs[0])
    return vst3::kResultFalse;
  if (inputs[0] != vst3::arrangement::kMono && inputs[0] != vst3::arrangement::kStereo)
    return vst3::kResultFalse;
  return SingleComponentEffect::setBusArrangements(inputs, numIns, outputs, numOuts);
}

vst3::tresult PLUGIN_API FakeGainEffect::canProcessSampleSize(vst3::int32 symbolicSampleSize)
{
  return symbolicSampleSize == vst3::kSample32 || symbolicSampleSize == vst3::kSample64 ? vst3::kResultTrue
                                                                                        : vst3::kResultFalse;
}

vst3::tresult PLUGIN_API FakeGainEffect::setProcessing(vst3::TBool state)
{
  mProcessing = state != 0;
  return vst3::kResultOk;
}

vst3::tresult PLUGIN_API FakeGainEffect::setComponentHandler(vst3::IComponentHandler* handler)
{
  const vst3::tresult r = SingleComponentEffect::setComponentHandler(handler);
  if (mFaults.keepHandler && handler != nullptr && mKeptHandler == nullptr)
  {
    handler->addRef();
    mKeptHandler = handler;
  }
  return r;
}

void FakeGainEffect::changeLatency(vst3::uint32 samples)
{
  mLatency = samples;
  for (auto& line : mDelay)
    line.assign(mLatency, 0.0);
  mDelayPos = 0;
  if (getComponentHandler() != nullptr)
    getComponentHandler()->restartComponent(vst3::kLatencyChanged);
}

vst3::tresult PLUGIN_API FakeGainEffect::getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                                           vst3::SpeakerArrangement& arr)
{
  const vst3::tresult r = SingleComponentEffect::getBusArrangement(dir, index, arr);
  if (mFaults.staleArrangement && r == vst3::kResultOk)
    arr = vst3::arrangement::kStereo;
  return r;
}

vst3::tresult PLUGIN_API FakeGainEffect::getMidiControllerAssignment(vst3::int32 busIndex, vst3::int16,
                                                                     vst3::CtrlNumber controller, vst3::ParamID& id)
{
  if (busIndex != 0)
    return vst3::kResultFalse;
  if (mFaults.brokenMidiMapping)
  {
    id = 1000 + static_cast<vst3::ParamID>(controller);
    return vst3::kResultTrue;
  }
  if (controller != 7)
    return vst3::kResultFalse;  // the volume controller
  id = kGainId;
  return vst3::kResultTrue;
}

vst3::tresult PLUGIN_API FakeGainEffect::queryInterface(const vst3::TUID iid, void** obj)
{
  if (obj != nullptr && vst3::iidEqual(iid, vst3::IMidiMapping::iid))
  {
    addRef();
    *obj = static_cast<vst3::IMidiMapping*>(this);
    return vst3::kResultOk;
  }
  if (mFaults.sloppyQuery && obj != nullptr)
  {
    void* before = *obj;
    const vst3::tresult r = SingleComponentEffect::queryInterface(iid, obj);
    if (r != vst3::kResultOk)
      *obj = before;
    return r;
  }
  return SingleComponentEffect::queryInterface(iid, obj);
}

void FakeGainEffect::applyChanges(vst3::IParameterChanges* changes)
{
  if (changes == nullptr)
    return;
  const vst3::int32 count = changes->getParameterCount();
  for (vst3::int32 i = 0; i < count; ++i)
  {
    vst3::IParamValueQueue* queue = changes->getParameterData(i);
    if (queue == nullptr)
      continue;
    vst3::int32 offset = 0;
    vst3::ParamValue value = 0.0;
    if (queue->getPoint(queue->getPointCount() - 1, offset, value) != vst3::kResultOk || !std::isfinite(value))
      continue;
    value = std::min(1.0, std::max(0.0, value));
    if (queue->getParameterId() == kGainId)
      mGainDb = normalizedToDb(value);
    if (queue->getParameterId() == kBypassId)
      mBypass = value > 0.5;
  }
}

template <typename Sample>
void FakeGainEffect::processBuses(vst3::ProcessData& data, Sample** (*channels)(vst3::AudioBusBuffers&))
{
  if (data.numSamples <= 0 || data.numOutputs < 1 || data.outputs == nullptr)
    return;
  vst3::AudioBusBuffers& out = data.outputs[0];
  const bool haveInput = data.numInputs >= 1 && data.inputs != nullptr;
  const double gain = mBypass ? 1.0 : std::pow(10.0, mGainDb / 20.0);
  const vst3::int32 frames = data.numSamples + (mFaults.writePastBlock ? 1 : 0);
  std::size_t pos = mDelayPos;
  for (vst3::int32 c = 0; c < out.numChannels; ++c)
  {
    Sample* dst = channels(out)[c];
    if (dst == nullptr)
      continue;
    const Sample* src = nullptr;
    if (haveInput && c < data.inputs[0].numChannels)
      src = channels(data.inputs[0])[c];
    std::vector<double>* line = c < 2 && mLatency > 0 ? &mDelay[c] : nullptr;
    pos = mDelayPos;
    for (vst3::int32 i = 0; i < frames; ++i)
    {
      double x = src != nullptr && i < data.numSamples ? static_cast<double>(src[i]) : 0.0;
      if (line != nullptr)
      {
        std::swap(x, (*line)[pos]);
        pos = (pos + 1) % mLatency;
      }
      dst[i] = mFaults.writeNaN ? std::numeric_limits<Sample>::quiet_NaN() : static_cast<Sample>(x * gain);
    }
  }
  if (mLatency > 0)
    mDelayPos = (mDelayPos + static_cast<std::size_t>(data.numSamples)) % mLatency;
}

vst3::tresult PLUGIN_API FakeGainEffect::process(vst3::ProcessData& data)
{
  if (mFaults.refuseFlush && (data.numSamples == 0 || data.outputs == nullptr))
    return vst3::kResultFalse;
  if (mFaults.touchFlushBuffers && data.numSamples == 0 && data.outputs != nullptr &&
      data.outputs[0].channelBuffers32 != nullptr && data.outputs[0].channelBuffers32[0] != nullptr)
  {
    if (mProcessSetup.symbolicSampleSize == vst3::kSample64)
      data.outputs[0].channelBuffers64[0][0] = 0.0;
    else
      data.outputs[0].channelBuffers32[0][0] = 0.0f;
  }
  applyChanges(data.inputParameterChanges);
  if (mProcessSetup.symbolicSampleSize == vst3::kSample64)
    processBuses<double>(data, [](vst3::AudioBusBuffers& b) { return b.channelBuffers64; });
  else
    processBuses<float>(data, [](vst3::AudioBusBuffers& b) { return b.channelBuffers32; });
  return vst3::kResultOk;
}

vst3::tresult FakeGainEffect::getEditorState(vst3::IBStream* state)
{
  if (state == nullptr)
    return vst3::kInvalidArgument;
  if (mFaults.keepStream)
    state->addRef();
  double gain = getParamNormalized(kGainId);
  vst3::int32 bypass = getParamNormalized(kBypassId) > 0.5 ? 1 : 0;
  vst3::int32 written = 0;
  if (state->write(&gain, sizeof gain, &written) != vst3::kResultOk || written != sizeof gain)
    return vst3::kResultFalse;
  if (state->write(&bypass, sizeof bypass, &written) != vst3::kResultOk || written != sizeof bypass)
    return vst3::kResultFalse;
  return vst3::kResultOk;
}

vst3::tresult FakeGainEffect::setEditorState(vst3::IBStream* state)
{
  if (state == nullptr)
    return vst3::kInvalidArgument;
  double gain = 0.0;
  vst3::int32 bypass = 0;
  vst3::int32 got = 0;
  if (state->read(&gain, sizeof gain, &got) != vst3::kResultOk || got != sizeof gain || !std::isfinite(gain))
    return vst3::kResultFalse;
  if (state->read(&bypass, sizeof bypass, &got) != vst3::kResultOk || got != sizeof bypass)
    return vst3::kResultFalse;
  setParamNormalized(kGainId, gain);
  if (mFaults.forgetBypass)
    bypass = 0;
  setParamNormalized(kBypassId, bypass != 0 ? 1.0 : 0.0);
  // A single-component plug-in restores its processing side with the controller state.
  mGainDb = normalizedToDb(getParamNormalized(kGainId));
  mBypass = bypass != 0;
  return vst3::kResultOk;
}

}  // namespace fakegain
