// A plug-in whose processor and edit controller are one object: the host talks to it
// through IComponent, IAudioProcessor and IEditController, all sharing one count.
#pragma once

#include "sdk/vst3/Bus.h"
#include "sdk/vst3/EditController.h"
#include "sdk/vst3/IAudioProcessor.h"
#include "sdk/vst3/IComponent.h"

namespace vst3 {

// IComponent's state slots. A single-component plug-in keeps its state in the controller's
// pair (setEditorState/getEditorState); the component's pair answers not-implemented and
// cannot be overridden, so the two can never be confused.
class ComponentWithoutState : public IComponent
{
public:
  tresult PLUGIN_API setState(IBStream*) final { return kNotImplemented; }
  tresult PLUGIN_API getState(IBStream*) final { return kNotImplemented; }
};

class SingleComponentEffect : public EditController, public ComponentWithoutState, public IAudioProcessor
{
public:
  SingleComponentEffect();
  ~SingleComponentEffect() override;

  // IPluginBase
  tresult PLUGIN_API initialize(FUnknown* context) override;
  tresult PLUGIN_API terminate() override;  // drops parameters, buses, handlers and context

  // IComponent
  tresult PLUGIN_API getControllerClassId(char* classId) override;
  tresult PLUGIN_API setIoMode(IoMode mode) override;
  int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) override;
  tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) override;
  tresult PLUGIN_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) override;
  tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) override;
  tresult PLUGIN_API setActive(TBool state) override;

  // IAudioProcessor. setBusArrangements here changes each given bus in place, keeping the
  // host's activation.
  tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                        int32 numOuts) override;
  tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) override;
  tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) override;
  uint32 PLUGIN_API getLatencySamples() override;
  tresult PLUGIN_API setupProcessing(ProcessSetup& setup) override;
  tresult PLUGIN_API setProcessing(TBool state) override;
  tresult PLUGIN_API process(ProcessData& data) override;
  uint32 PLUGIN_API getTailSamples() override;

  // Buses are appended in call order; main buses should come before aux buses.
  AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
                           int32 flags = BusInfo::kDefaultActive);
  EventBus* addEventInput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  EventBus* addEventOutput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                           int32 flags = BusInfo::kDefaultActive);
  void removeAudioBusses();
  void removeEventBusses();
  void removeAllBusses();

  AudioBus* getAudioInput(int32 index) const;
  AudioBus* getAudioOutput(int32 index) const;
  EventBus* getEventInput(int32 index) const;
  EventBus* getEventOutput(int32 index) const;
  BusList* getBusList(MediaType type, BusDirection dir);
  const BusList* getBusList(MediaType type, BusDirection dir) const;

  const ProcessSetup& getProcessSetup() const { return mProcessSetup; }

  tresult PLUGIN_API queryInterface(const TUID iid_, void** obj) override;
  TQ_VST3_REFCOUNT_FROM(EditController)
  TQ_VST3_OBJECT(SingleComponentEffect, EditController)

protected:
  ProcessSetup mProcessSetup;
  BusList mAudioInputs{kAudio, kInput};
  BusList mAudioOutputs{kAudio, kOutput};
  BusList mEventInputs{kEvent, kInput};
  BusList mEventOutputs{kEvent, kOutput};
};

}  // namespace vst3
