#include "sdk/vst3/SingleComponentEffect.h"

namespace vst3 {

SingleComponentEffect::SingleComponentEffect()
{
  mProcessSetup.processMode = kRealtime;
  mProcessSetup.symbolicSampleSize = kSample32;
  mProcessSetup.maxSamplesPerBlock = 1024;
  mProcessSetup.sampleRate = 44100.0;
}

SingleComponentEffect::~SingleComponentEffect() = default;

tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context)
{
  return EditController::initialize(context);
}

tresult PLUGIN_API SingleComponentEffect::terminate()
{
  mParameters.removeAll();
  removeAllBusses();
  return EditController::terminate();
}

tresult PLUGIN_API SingleComponentEffect::getControllerClassId(char*)
{
  return kNotImplemented;
}
tresult PLUGIN_API SingleComponentEffect::setIoMode(IoMode)
{
  return kNotImplemented;
}

BusList* SingleComponentEffect::getBusList(MediaType type, BusDirection dir)
{
  if (type == kAudio)
    return dir == kInput ? &mAudioInputs : (dir == kOutput ? &mAudioOutputs : nullptr);
  if (type == kEvent)
    return dir == kInput ? &mEventInputs : (dir == kOutput ? &mEventOutputs : nullptr);
  return nullptr;
}

const BusList* SingleComponentEffect::getBusList(MediaType type, BusDirection dir) const
{
  return const_cast<SingleComponentEffect*>(this)->getBusList(type, dir);
}

int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir)
{
  const BusList* list = getBusList(type, dir);
  return list ? list->size() : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus)
{
  const BusList* list = getBusList(type, dir);
  const Bus* b = list ? list->at(index) : nullptr;
  if (!b)
    return kInvalidArgument;
  bus = BusInfo{};
  bus.mediaType = type;
  bus.direction = dir;
  b->getInfo(bus);
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getRoutingInfo(RoutingInfo&, RoutingInfo&)
{
  return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir, int32 index, TBool state)
{
  BusList* list = getBusList(type, dir);
  Bus* b = list ? list->at(index) : nullptr;
  if (!b)
    return kInvalidArgument;
  b->setActive(state != 0);
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setActive(TBool)
{
  return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                             SpeakerArrangement* outputs, int32 numOuts)
{
  if (numIns < 0 || numOuts < 0)
    return kInvalidArgument;
  if ((numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
    return kInvalidArgument;
  if (numIns > mAudioInputs.size() || numOuts > mAudioOutputs.size())
    return kResultFalse;
  for (int32 i = 0; i < numIns; ++i)
    static_cast<AudioBus*>(mAudioInputs.at(i))->setArrangement(inputs[i]);
  for (int32 i = 0; i < numOuts; ++i)
    static_cast<AudioBus*>(mAudioOutputs.at(i))->setArrangement(outputs[i]);
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr)
{
  const AudioBus* b = dir == kInput ? getAudioInput(index) : (dir == kOutput ? getAudioOutput(index) : nullptr);
  if (!b)
    return kInvalidArgument;
  arr = b->getArrangement();
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API SingleComponentEffect::getLatencySamples()
{
  return 0;
}

tresult PLUGIN_API SingleComponentEffect::setupProcessing(ProcessSetup& setup)
{
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
    return kResultFalse;
  mProcessSetup = setup;
  return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setProcessing(TBool)
{
  return kNotImplemented;
}
tresult PLUGIN_API SingleComponentEffect::process(ProcessData&)
{
  return kNotImplemented;
}
uint32 PLUGIN_API SingleComponentEffect::getTailSamples()
{
  return kNoTail;
}

AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType, int32 flags)
{
  return static_cast<AudioBus*>(mAudioInputs.append(std::make_unique<AudioBus>(name, busType, flags, arr)));
}

AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType, int32 flags)
{
  return static_cast<AudioBus*>(mAudioOutputs.append(std::make_unique<AudioBus>(name, busType, flags, arr)));
}

EventBus* SingleComponentEffect::addEventInput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
  return static_cast<EventBus*>(mEventInputs.append(std::make_unique<EventBus>(name, busType, flags, channels)));
}

EventBus* SingleComponentEffect::addEventOutput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
  return static_cast<EventBus*>(mEventOutputs.append(std::make_unique<EventBus>(name, busType, flags, channels)));
}

void SingleComponentEffect::removeAudioBusses()
{
  mAudioInputs.clear();
  mAudioOutputs.clear();
}

void SingleComponentEffect::removeEventBusses()
{
  mEventInputs.clear();
  mEventOutputs.clear();
}

void SingleComponentEffect::removeAllBusses()
{
  removeAudioBusses();
  removeEventBusses();
}

AudioBus* SingleComponentEffect::getAudioInput(int32 index) const
{
  return static_cast<AudioBus*>(mAudioInputs.at(index));
}
AudioBus* SingleComponentEffect::getAudioOutput(int32 index) const
{
  return static_cast<AudioBus*>(mAudioOutputs.at(index));
}
EventBus* SingleComponentEffect::getEventInput(int32 index) const
{
  return static_cast<EventBus*>(mEventInputs.at(index));
}
EventBus* SingleComponentEffect::getEventOutput(int32 index) const
{
  return static_cast<EventBus*>(mEventOutputs.at(index));
}

tresult PLUGIN_API SingleComponentEffect::queryInterface(const TUID iid_, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (queryAs<IComponent>(iid_, obj, this) == kResultOk)
    return kResultOk;
  if (queryAs<IAudioProcessor>(iid_, obj, this) == kResultOk)
    return kResultOk;
  return EditController::queryInterface(iid_, obj);
}

}  // namespace vst3
