#pragma once

#include "framework/core/IPlugBase.h"
#include "sdk/vst3/IUnitInfo.h"
#include "sdk/vst3/SingleComponentEffect.h"

#include <atomic>
#include <string>
#include <vector>

// The VST3 face of a plug-in: IPlugBase joined with a single-component effect, so the host
// reaches processor and controller through one object and one reference count. Host calls
// become calls on IPlugBase; what IPlugBase tells or asks the host goes back through the
// host's component handler and the transport record of the last process call.
class IPlugVST3 : public IPlugBase,
                  public vst3::IUnitInfo,
                  public vst3::SingleComponentEffect,
                  public vst3::IMidiMapping
{
public:
  // The factory's create callback hands over its registered context; the plug-in does not use it.
  using InstanceInfo = void*;

  static constexpr vst3::ParamID kBypassParamId = 0x62706173;  // 'bpas'
  static constexpr vst3::ParamID kPresetParamId = 0x70727374;  // 'prst'
  static constexpr int kMidiControllers = 128;

  IPlugVST3(const InstanceInfo& info, int nParams, const char* channelIOStr, int nPresets, const char* effectName,
            const char* productName, const char* makerName, int vendorVersion, int uniqueId, int makerId, int latency,
            bool doesMidi, bool doesStateChunks, bool isInstrument, int sideChainChannels = 0);
  ~IPlugVST3() override;

  static vst3::SpeakerArrangement ArrangementForChannelCount(int nChannels);

  // ---- IPluginBase, IComponent ------------------------------------------------------------
  vst3::tresult PLUGIN_API initialize(vst3::FUnknown* context) override;
  vst3::tresult PLUGIN_API terminate() override;
  vst3::tresult PLUGIN_API setActive(vst3::TBool state) override;

  // ---- IAudioProcessor ----------------------------------------------------------------------
  vst3::tresult PLUGIN_API setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                              vst3::SpeakerArrangement* outputs, vst3::int32 numOuts) override;
  vst3::tresult PLUGIN_API canProcessSampleSize(vst3::int32 symbolicSampleSize) override;
  vst3::uint32 PLUGIN_API getLatencySamples() override;
  vst3::tresult PLUGIN_API setupProcessing(vst3::ProcessSetup& setup) override;
  vst3::tresult PLUGIN_API process(vst3::ProcessData& data) override;
  vst3::uint32 PLUGIN_API getTailSamples() override;

  // ---- IEditController ----------------------------------------------------------------------
  vst3::ParamValue PLUGIN_API getParamNormalized(vst3::ParamID id) override;
  vst3::tresult PLUGIN_API setParamNormalized(vst3::ParamID id, vst3::ParamValue value) override;
  vst3::tresult PLUGIN_API getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                                 vst3::TChar* string) override;
  vst3::ParamValue PLUGIN_API plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plainValue) override;
  vst3::IPlugView* PLUGIN_API createView(vst3::FIDString name) override;
  // The controller's state stream: the framework state, then the bypass flag.
  vst3::tresult setEditorState(vst3::IBStream* state) override;
  vst3::tresult getEditorState(vst3::IBStream* state) override;

  // ---- IUnitInfo ------------------------------------------------------------------------------
  vst3::int32 PLUGIN_API getUnitCount() override;
  vst3::tresult PLUGIN_API getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info) override;
  vst3::int32 PLUGIN_API getProgramListCount() override;
  vst3::tresult PLUGIN_API getProgramListInfo(vst3::int32 listIndex, vst3::ProgramListInfo& info) override;
  vst3::tresult PLUGIN_API getProgramName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                          vst3::TChar* name) override;
  vst3::tresult PLUGIN_API getProgramInfo(vst3::ProgramListID listId, vst3::int32 programIndex,
                                          vst3::CString attributeId, vst3::TChar* attributeValue) override;
  vst3::tresult PLUGIN_API hasProgramPitchNames(vst3::ProgramListID listId, vst3::int32 programIndex) override;
  vst3::tresult PLUGIN_API getProgramPitchName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                               vst3::int16 midiPitch, vst3::TChar* name) override;
  vst3::UnitID PLUGIN_API getSelectedUnit() override;
  vst3::tresult PLUGIN_API selectUnit(vst3::UnitID unitId) override;
  vst3::tresult PLUGIN_API getUnitByBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 busIndex,
                                        vst3::int32 channel, vst3::UnitID& unitId) override;
  vst3::tresult PLUGIN_API setUnitProgramData(vst3::int32 listOrUnitId, vst3::int32 programIndex,
                                              vst3::IBStream* data) override;

  // ---- IMidiMapping -----------------------------------------------------------------------------
  vst3::tresult PLUGIN_API getMidiControllerAssignment(vst3::int32 busIndex, vst3::int16 channel,
                                                       vst3::CtrlNumber midiControllerNumber,
                                                       vst3::ParamID& id) override;

  // ---- FUnknown and class identity ----------------------------------------------------------------
  vst3::tresult PLUGIN_API queryInterface(const vst3::TUID iid_, void** obj) override;
  TQ_VST3_REFCOUNT_FROM(SingleComponentEffect)
  TQ_VST3_OBJECT(IPlugVST3, SingleComponentEffect)

  // ---- IPlugBase --------------------------------------------------------------------------------
  void ShowHostParamMenu(int paramIdx, int x, int y) override;
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalised) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void RequestDisplayUpdate() override {}
  bool RendersOffline() override;
  int HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTransport(TransportInfo* info) override;
  void ResizeEditor(int width, int height) override;
  void ChangeLatency(int samples) override;
  bool SendMidiToHost(const MidiMessage*) override { return false; }

  // Forgets the first entry of the view list equal to view (a view being destroyed).
  void RemoveView(vst3::IPlugView* view);
  int NViews() const { return static_cast<int>(mViews.size()); }

  bool IsBypassed() const { return mBypass.load(std::memory_order_relaxed); }
  int SideChainChannels() const { return mSideChainChannels; }
  bool IsSideChainActive() const { return mSideChainActive; }
  // The names of the parameter groups, in the order they became units 1, 2, ...
  const std::vector<std::string>& GroupNames() const { return mGroupNames; }

private:
  // The steps of initialize after the base's answer r: host name, buses, parameters, preset.
  void InitializeFor(vst3::FUnknown* context, vst3::tresult r);
  vst3::tresult ArrangeBuses(vst3::SpeakerArrangement* inputs, vst3::int32 numIns, vst3::SpeakerArrangement* outputs,
                             vst3::int32 numOuts);
  vst3::tresult SetUpProcessing(vst3::ProcessSetup& setup);
  vst3::tresult Process(vst3::ProcessData& data);
  vst3::tresult WriteEditorState(vst3::IBStream* state);
  vst3::tresult ReadEditorState(vst3::IBStream* state);
  void AddBuses();
  void AddParameters();
  void AddParameter(int paramIdx);
  vst3::UnitID UnitForGroup(const char* group);

  void ApplyParameterChanges(vst3::IParameterChanges* changes);
  void ApplyHostValue(vst3::ParamID id, double value);
  void ApplyEvents(vst3::IEventList* events);
  template <class Sample>
  void ProcessAudio(vst3::ProcessData& data);
  template <class Sample>
  void BindHostInputs(vst3::ProcessData& data);
  template <class Sample>
  void BindHostOutputs(vst3::ProcessData& data);

  int mSideChainChannels;
  bool mSideChainActive = false;
  // Written by the audio thread's parameter changes and by state loads, read by the host's
  // user-interface thread.
  std::atomic<bool> mBypass{false};
  // Open editor views, in creation order. No view is made until the editor exists.
  std::vector<vst3::IPlugView*> mViews;
  std::vector<std::string> mGroupNames;
  // The transport of the last process call that carried one; before the first, a stopped
  // transport at 120 BPM in 4/4.
  vst3::ProcessContext mContext{};
};
