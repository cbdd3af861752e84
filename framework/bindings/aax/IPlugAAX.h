#pragma once

#include "framework/bindings/aax/AAX_CIPlugParameters.h"
#include "framework/core/IPlugBase.h"

#include <string>
#include <vector>

class AAX_IViewContainer;

// The AAX face of a plug-in: one object that is both the framework's plug-in and the host's
// effect-parameters object. The host reaches framework parameter i as the AAX parameter
// with the identifier i + 1 in decimal; the master bypass, identifier "", is AAX's own.
// State travels as one chunk, under the plug-in's unique id, holding the framework state.
class IPlugAAX : public IPlugBase, public AAX_CIPlugParameters
{
public:
  // The host hands the plug-in nothing at creation.
  using InstanceInfo = void*;

  static constexpr int kInitialBlockSize = 1024;
  static constexpr const char* kHostName = "ProTools";

  IPlugAAX(const InstanceInfo& info, int nParams, const char* channelIOStr, int nPresets, const char* effectName,
           const char* productName, const char* makerName, int vendorVersion, int uniqueId, int makerId, int latency,
           bool doesMidi, bool doesStateChunks, bool isInstrument, int extra = 0);
  ~IPlugAAX() override;

  // The AAX identifier of framework parameter paramIdx; null outside the defined parameters.
  const char* ParamId(int paramIdx) const;

  // The view the editor bridge opened the editor in, for resizing; null when closed.
  void AttachHostView(AAX_IViewContainer* view) { mHostView = view; }
  AAX_IViewContainer* HostView() const { return mHostView; }

  // ---- IPlugBase: what the plug-in tells or asks the host ---------------------------------------
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalised) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void RequestDisplayUpdate() override {}
  int HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTransport(TransportInfo* info) override;
  void ResizeEditor(int width, int height) override;
  void ChangeLatency(int samples) override;
  bool SendMidiToHost(const MidiMessage*) override { return false; }
  void MarkStateDirty() override { CountChange(); }

  // ---- The host's effect-parameters calls ----------------------------------------------------
  // Start and stop call the host outside the plug-in lock (a host may wait there for its audio
  // thread, whose render takes that lock); the render sees the instance's parameters and the
  // host's controller only from when they are all in place until the stop begins.
  ACFResult StartInstance(IACFUnknown* hostController) override;
  ACFResult StopInstance() override;
  ACFResult ApplyHostValue(const char* id, double normalized, uint32_t cause) override;
  ACFResult ChunkIdAt(int32_t index, uint32_t* chunkId) const override;
  ACFResult MeasureChunk(uint32_t chunkId, int32_t* size) override;
  ACFResult WriteChunk(uint32_t chunkId, AAX_ChunkHeader* record) override;
  ACFResult ReadChunk(uint32_t chunkId, const AAX_ChunkHeader* record) override;
  ACFResult MatchChunk(const AAX_ChunkHeader* record, bool* equal) override;
  ACFResult DefineParameters() override;
  void ProcessAudio(const AAX_RenderContext* context) override;

private:
  AAX_IParameter* DefineMasterBypass();
  void DefineParameter(int paramIdx, std::vector<std::string>& ids);
  // Under the plug-in lock: the render and the editor's value reports stop using the
  // parameters, their identifiers and the controller until the next instance is in place.
  void HideInstance();
  // The framework parameter an AAX identifier names, or -1 (the master bypass among them).
  int ParamIndexOf(const char* id) const;
  void ReadMidi(const AAX_RenderContext* context);
  // Counts of the host's input and output channels of this block; 0 when the host cannot say.
  int HostStemChannels(bool input);
  template <typename Read>
  ACFResult ReadTransport(Read read) const;

  std::vector<std::string> mParamIds;
  // The controller the render asks for the channel counts: null while no instance runs.
  AAX_IController* mRenderController = nullptr;
  AAX_IViewContainer* mHostView = nullptr;
  double mLastGoodTempo = 120.0;
};
