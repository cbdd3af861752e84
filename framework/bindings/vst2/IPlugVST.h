#pragma once

#include "framework/core/IPlugBase.h"
#include "platform/ScopedLock.h"
#include "sdk/vst2/AEffect.h"
#include "sdk/vst2/VstRecords.h"

// The VST2 face of a plug-in: IPlugBase behind the effect record a VST 2.4 host drives.
// Host calls arrive through the record's five entries; what IPlugBase tells or asks the
// host goes back through the host's callback. Every entry is safe with a null or foreign
// record and lets no exception out.
class IPlugVST : public IPlugBase
{
public:
  // What the host hands the plug-in at creation: its callback.
  using InstanceInfo = vst2::AudioMasterCallback;

  static constexpr int kInitialBlockSize = 1024;
  // Chunks a host hands back larger than this are refused.
  static constexpr intptr_t kMaxChunkBytes = 16 * 1024 * 1024;

  IPlugVST(const InstanceInfo& hostCallback, int nParams, const char* channelIOStr, int nPresets,
           const char* effectName, const char* productName, const char* makerName, int vendorVersion, int uniqueId,
           int makerId, int latency, bool doesMidi, bool doesStateChunks, bool isInstrument, int extra = 0);
  ~IPlugVST() override;

  // Makes a plug-in object with make() and completes it for its host (every free preset
  // filled, at least one program), all under the process-wide creation lock; returns the
  // object's record, or null when make() gave none or something failed.
  template <class Make>
  static vst2::AEffect* Create(Make make) noexcept;

  // The object behind a record: null for a null record, one that is not ours, or one
  // without an object.
  static IPlugVST* FromEffect(vst2::AEffect* effect);
  vst2::AEffect* Effect() { return &mEffect; }
  const vst2::VstSpeakerArrangement& InputArrangement() const { return mInputArrangement; }
  const vst2::VstSpeakerArrangement& OutputArrangement() const { return mOutputArrangement; }

  // A channel's label, "" when it has none.
  const char* InputChannelLabel(int idx) const { return InChannelLabel(idx); }
  const char* OutputChannelLabel(int idx) const { return OutChannelLabel(idx); }
  // The host's buffers of one process call; the host is first reminded that the plug-in
  // wants MIDI when it does.
  void AttachFloatBuffers(float** inputs, float** outputs, int nFrames);
  void AttachDoubleBuffers(double** inputs, double** outputs);

  // ---- The record's entries ----------------------------------------------------------------
  static intptr_t VST2_CALLBACK VSTDispatcher(vst2::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                              void* ptr, float opt);
  static float VST2_CALLBACK VSTGetParameter(vst2::AEffect* effect, int32_t index);
  static void VST2_CALLBACK VSTSetParameter(vst2::AEffect* effect, int32_t index, float value);
  static void VST2_CALLBACK VSTAccumulate(vst2::AEffect* effect, float** inputs, float** outputs, int32_t frames);
  static void VST2_CALLBACK VSTReplaceFloat(vst2::AEffect* effect, float** inputs, float** outputs, int32_t frames);
  static void VST2_CALLBACK VSTReplaceDouble(vst2::AEffect* effect, double** inputs, double** outputs, int32_t frames);

  // ---- IPlugBase ------------------------------------------------------------------------------
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalised) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void RequestDisplayUpdate() override;
  bool RendersOffline() override;
  int HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTransport(TransportInfo* info) override;
  int HostCode() override;
  void AttachEditor(IPlugEditor* editor) override;
  void ResizeEditor(int width, int height) override;
  void PrepareForHost() override;
  void ChangeLatency(int samples) override;
  bool SendMidiToHost(const MidiMessage* msg) override;
  bool SendSysexToHost(const SysexData* sysex) override;

private:
  // Completes a new object for its host; null for a null object.
  static vst2::AEffect* HandOver(IPlugVST* plug);
  // audioMasterWantMidi, when the plug-in does MIDI.
  void AskForMidi();
  // Calls the host; 0 when there is no host callback.
  intptr_t CallHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);
  // The host's time info for a filter, or null.
  const vst2::VstTimeInfo* HostTimeInfo(int32_t filter);
  bool SendEventToHost(vst2::VstEvent* event);

  intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  intptr_t DispatchProgram(int32_t opcode, int32_t index, intptr_t value, void* ptr);
  intptr_t DispatchParameter(int32_t opcode, int32_t index, void* ptr);
  intptr_t DispatchSetup(int32_t opcode, intptr_t value, void* ptr, float opt);
  intptr_t DispatchQuery(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  intptr_t StringToParameter(int32_t index, const char* text);
  // effEditGetRect, effEditOpen and effEditClose.
  intptr_t DispatchEditor(int32_t opcode, void* ptr);
  void SetEditRect(const IPlugEditor* editor);
  intptr_t PinProperties(bool input, int32_t index, vst2::VstPinProperties* pin);
  intptr_t VendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
  intptr_t CanDo(const char* text);
  intptr_t ProcessEvents(const vst2::VstEvents* events);
  void SetSpeakerArrangements(const vst2::VstSpeakerArrangement* in, const vst2::VstSpeakerArrangement* out);

  // Chunks (effGetChunk, effSetChunk): index 0 is the whole bank, any other the state.
  intptr_t GetChunk(int32_t index, void** data);
  intptr_t SetChunk(int32_t index, intptr_t size, const void* data);
  bool ReadStateChunk(const StateChunk& chunk, int pos);
  bool ReadBankChunk(const StateChunk& chunk, int pos);

  template <class Sample>
  static void ProcessEntry(vst2::AEffect* effect, Sample** inputs, Sample** outputs, int32_t frames, EBlockMode mode);

  // The editor's size as the host reads it; all 0 until an editor is attached.
  vst2::ERect mEditRect{};
  vst2::AudioMasterCallback mHostCallback;
  vst2::VstSpeakerArrangement mInputArrangement{};
  vst2::VstSpeakerArrangement mOutputArrangement{};
  bool mHostPrepared = false;
  StateChunk mState;
  StateChunk mBank;
  vst2::AEffect mEffect{};
};

template <class Make>
vst2::AEffect* IPlugVST::Create(Make make) noexcept
{
  ScopedLock lock(CreationLock());
  IPlugVST* plug = nullptr;
  try
  {
    plug = make();
    return HandOver(plug);
  }
  catch (...)
  {
    if (plug)
      plug->DestroyAndFree(kFreeObject);
    return nullptr;
  }
}
