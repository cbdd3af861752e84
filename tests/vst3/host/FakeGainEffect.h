#pragma once
// A tiny gain effect on the layer's helper classes for testing the host side: one mono or
// stereo bus each way, a gain in dB, a bypass, a MIDI input whose volume controller maps to
// the gain, and faults that break the host contract on request.

#include "sdk/vst3/IUnitInfo.h"
#include "sdk/vst3/SingleComponentEffect.h"

#include <atomic>
#include <vector>

namespace fakegain {

constexpr vst3::ParamID kGainId = 0;
constexpr vst3::ParamID kBypassId = 0x62706173;  // 'bpas'
extern const vst3::TUID kClassId;

// Deliberate breaches of the host contract, off by default.
struct Faults
{
  bool writePastBlock = false;        // writes one sample beyond numSamples
  bool keepHandler = false;           // takes an extra handler reference and never drops it
  bool refuseActivation = false;      // setActive answers kResultFalse
  bool writeNaN = false;              // outputs NaN
  bool keepStream = false;            // keeps a reference on the state stream
  bool refuseFlush = false;           // process without audio answers kResultFalse
  bool brokenMidiMapping = false;     // maps every controller to an id that does not exist
  bool forgetBypass = false;          // restoring state ignores the saved bypass
  bool untitledParameter = false;     // registers a parameter without a title
  bool staleArrangement = false;      // getBusArrangement keeps reporting stereo
  bool sloppyQuery = false;           // refuses unknown interfaces without clearing the pointer
  bool parameterWithoutUnit = false;  // registers a parameter in unit -1, which no unit list holds
  bool touchFlushBuffers = false;     // a flush writes through the output array despite zero buses
  bool claimsNewSdk = false;          // class information says "VST 3.7.14" (context requirements missing)
};

class FakeGainEffect : public vst3::SingleComponentEffect, public vst3::IMidiMapping
{
public:
  FakeGainEffect();
  ~FakeGainEffect() override;

  static vst3::FUnknown* create(void* context);
  // Objects alive in this process (the host's final release must bring it back).
  static int liveInstances() { return mLive.load(); }
  // Faults given to instances created from now on.
  static void setFaultsForNewInstances(const Faults& faults) { mNextFaults = faults; }
  static const Faults& faultsForNewInstances() { return mNextFaults; }
  // Latency (output delay, reported to the host) of instances created from now on.
  static void setLatencyForNewInstances(vst3::uint32 samples) { mNextLatency = samples; }

  vst3::tresult PLUGIN_API initialize(vst3::FUnknown* context) override;
  vst3::tresult PLUGIN_API setActive(vst3::TBool state) override;
  vst3::tresult PLUGIN_API setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                              vst3::SpeakerArrangement* outputs, vst3::int32 numOuts) override;
  vst3::tresult PLUGIN_API canProcessSampleSize(vst3::int32 symbolicSampleSize) override;
  vst3::tresult PLUGIN_API setProcessing(vst3::TBool state) override;
  vst3::uint32 PLUGIN_API getLatencySamples() override { return mLatency; }
  vst3::tresult PLUGIN_API process(vst3::ProcessData& data) override;
  vst3::tresult PLUGIN_API setComponentHandler(vst3::IComponentHandler* handler) override;
  vst3::tresult PLUGIN_API getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                             vst3::SpeakerArrangement& arr) override;
  vst3::tresult PLUGIN_API getMidiControllerAssignment(vst3::int32 busIndex, vst3::int16 channel,
                                                       vst3::CtrlNumber midiControllerNumber,
                                                       vst3::ParamID& id) override;

  vst3::tresult PLUGIN_API queryInterface(const vst3::TUID iid, void** obj) override;
  TQ_VST3_REFCOUNT_FROM(SingleComponentEffect)

  // The controller state: the gain's normalised value (8 bytes) and the bypass (4 bytes).
  vst3::tresult setEditorState(vst3::IBStream* state) override;
  vst3::tresult getEditorState(vst3::IBStream* state) override;

  // Changes the latency and tells the host, as an effect does when its delay changes.
  void changeLatency(vst3::uint32 samples);
  int activations() const { return mActivations; }
  bool processing() const { return mProcessing; }

private:
  void applyChanges(vst3::IParameterChanges* changes);
  template <typename Sample>
  void processBuses(vst3::ProcessData& data, Sample** (*channels)(vst3::AudioBusBuffers&));

  static std::atomic<int> mLive;
  static Faults mNextFaults;
  static vst3::uint32 mNextLatency;
  Faults mFaults;
  vst3::uint32 mLatency;
  std::vector<double> mDelay[2];  // one line per channel, mLatency samples each
  std::size_t mDelayPos = 0;
  int mActivations = 0;
  double mGainDb = 0.0;
  bool mBypass = false;
  bool mProcessing = false;
  vst3::IComponentHandler* mKeptHandler = nullptr;
};

}  // namespace fakegain
