#pragma once

#include "framework/core/BypassDelayLine.h"
#include "framework/core/ChannelIO.h"
#include "framework/core/GrowBuffer.h"
#include "framework/core/IPlugEditor.h"
#include "framework/core/IPlugParameter.h"
#include "framework/core/MidiMessage.h"
#include "framework/core/PresetSlot.h"
#include "framework/core/PtrList.h"
#include "framework/core/StateChunk.h"
#include "framework/core/StringBuffer.h"
#include "framework/core/TransportInfo.h"
#include "platform/PlugMutex.h"

// The format-neutral plug-in object. Each format binding derives from it, and the effect
// from the binding. It owns the parameters, presets, channel configurations and channel
// records, the plug-in lock, the plug-in's identity and what is known of the host; its
// virtual operations are where bindings, effect and editor meet.
class IPlugBase
{
public:
  enum EBindingKind
  {
    kBindingVST2 = 0,
    kBindingVST3 = 1,
    kBindingAAX = 4,
  };

  enum EChangeCause
  {
    kCauseEditorOrHost = 0,
    kCauseStateLoad = 1,
  };

  static constexpr int kNameSize = 128;      // effect, product and maker names, NUL included
  static constexpr int kHostNameSize = 256;  // host names are lower-cased into this much
  static constexpr int kMaxChannels = 1024;  // a configuration beyond this is refused
  // A host's block size beyond this does not grow the scratch buffers further: the bindings
  // process such blocks in slices, so a host cannot make the plug-in claim unbounded memory.
  static constexpr int kMaxScratchFrames = 65536;

  IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName, const char* productName,
            const char* makerName, int vendorVersion, int uniqueId, int makerId, int latency, bool doesMidi,
            bool doesStateChunks, bool isInstrument, int bindingKind);
  virtual ~IPlugBase();

  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- Identity, host, parameters --------------------------------------------------------

  IPlugParameter* ParamAt(int idx) const { return mParams.At(idx); }
  int NParams() const { return mParams.Count(); }

  // Whether some configuration has these counts; a negative count matches any.
  bool LegalIO(int nIn, int nOut) const;
  int NChannelConfigs() const { return mChannelConfigs.Count(); }
  const ChannelConfig* ChannelConfigAt(int idx) const { return mChannelConfigs.At(idx); }

  void SetHost(const char* hostName, int hostVersion);
  static int HostCodeFromName(const char* hostName);
  int HostVersion() const { return mHostVersion; }

  void NameInputBus(int busIdx, const char* text);
  void NameOutputBus(int busIdx, const char* text);
  // The bus's name, or null when none was given.
  const char* InputBusName(int busIdx) const;
  const char* OutputBusName(int busIdx) const;

  int VersionNumber(bool decimal) const;
  // Stores the rate; a rate that is not finite and positive is refused (false).
  bool ChangeSampleRate(double rate);
  double SampleRate() const { return mSampleRate; }
  void NotifyAllParams();

  const char* EffectName() const { return mEffectName; }
  const char* ProductName() const { return mProductName; }
  const char* MakerName() const { return mMakerName; }
  int UniqueId() const { return mUniqueId; }
  int MakerId() const { return mMakerId; }
  bool DoesMidi() const { return mDoesMidi; }
  bool DoesStateChunks() const { return mDoesStateChunks; }
  bool IsInstrument() const { return mIsInstrument; }
  int Latency() const { return mLatency; }
  int TailSize() const { return mTailSize; }

  PlugMutex* Mutex() { return &mMutex; }
  IPlugEditor* Editor() const { return mEditor; }
  // Deletes the attached editor now, for owners that must tear it down before their own
  // parts are destroyed.
  void DeleteEditor();

  // ---- Virtual operations ----------------------------------------------------------------

  // The flag of DestroyAndFree that frees the object's memory after its destructor ran.
  static constexpr int kFreeObject = 1;
  // Ends the object through its most-derived destructor; with kFreeObject the memory goes
  // too, without it the caller keeps storage it owns.
  virtual void DestroyAndFree(int flags);
  // Called after sample-rate, block-size and activation changes.
  virtual void RestartProcessing();
  virtual void HandleParameterChange(int paramIdx, int cause);
  // Base: output i := input i where there is one, else silence.
  virtual void ProcessBlockDouble(double** inputs, double** outputs, int nFrames);
  virtual void ProcessBlockFloat(float** inputs, float** outputs, int nFrames);
  virtual void EditorOpened() {}
  virtual void EditorClosed() {}
  // Nothing in the framework calls it; kept so that effects may override it.
  virtual void UncalledHook() {}
  virtual void ActivationChanged(bool active);
  // Base: MIDI through to the host.
  virtual void HandleMidiMessage(const MidiMessage* msg);
  virtual void HandleSysex(const SysexData*) {}
  virtual bool NoteNameFor(int noteNumber, char* out, int capacity);
  virtual bool WriteState(StateChunk* chunk);
  virtual int ReadState(const StateChunk* chunk, int startPos);
  // Compares the parameters with stored values (the state layout, from value startIndex
  // on) in single precision; valueCount is the number of doubles at values, so a record
  // too short to hold every parameter never matches.
  virtual bool StateMatches(const void* values, int valueCount, int startIndex) const;
  virtual void EditorResized(IPlugEditor*) {}
  // Nothing in the framework asks it; kept so that effects may override it.
  virtual bool UncalledQuery() { return false; }
  virtual void HostSetupDone() {}
  virtual void ShowHostParamMenu(int, int, int) {}
  virtual void SetParameterFromGUI(int paramIdx, double normalised);

  // What the binding tells the host.
  virtual void BeginInformHostOfParamChange(int paramIdx) = 0;
  virtual void InformHostOfParamChange(int paramIdx, double normalised) = 0;
  virtual void EndInformHostOfParamChange(int paramIdx) = 0;
  virtual void RequestDisplayUpdate() = 0;
  virtual bool RendersOffline() { return false; }
  virtual int HostSamplePosition() = 0;
  virtual double HostTempo() = 0;
  virtual void HostTimeSignature(int* numerator, int* denominator) = 0;
  virtual void HostTransport(TransportInfo* info) = 0;
  virtual int HostCode() { return mHostCode; }
  virtual int BindingKind() { return mBindingKind; }
  virtual void ResizeEditor(int width, int height) = 0;
  virtual void PrepareForHost() {}
  // Takes ownership of the editor and moves its controls to the parameters' values.
  virtual void AttachEditor(IPlugEditor* editor);
  virtual void ChangeLatency(int samples);
  virtual bool SendMidiToHost(const MidiMessage* msg) = 0;
  virtual bool SendSysexToHost(const SysexData*) { return false; }
  virtual bool SerializeParamValues(StateChunk* chunk);
  virtual int UnserializeParams(const StateChunk* chunk, int startPos);
  virtual void RefreshParamControls();
  virtual void MarkStateDirty() {}
  virtual void PresetsUpdated() {}
  // Resizes the scratch buffers; a size that is negative or cannot be had is refused
  // (false) and the old size and scratch are kept.
  virtual bool ChangeBlockSize(int nFrames);

  // ---- Audio buffers and block processing --------------------------------------------------
  // Called by the bindings under the plug-in lock; nothing here locks by itself. Blocks
  // longer than the block size are processed in slices of at most the block size.

  int NInChannels() const { return mInChannels.Count(); }
  int NOutChannels() const { return mOutChannels.Count(); }
  bool IsInChannelConnected(int idx) const;
  bool IsOutChannelConnected(int idx) const;
  // A channel's label; "" when it has none or does not exist.
  const char* InChannelLabel(int idx) const;
  const char* OutChannelLabel(int idx) const;
  int BlockSize() const { return mBlockSize; }

  void ConnectInputs(int first, int count, bool connected);
  int ConnectOutputs(int first, int count, bool connected);
  void BindInputsDouble(int first, int count, double** host);
  void BindInputsFloat(int first, int count, float** host, int nFrames);
  void BindOutputsDouble(int first, int count, double** host);
  void BindOutputsFloat(int first, int count, float** host);
  void ClearScratch();
  void RunDouble(int nFrames);
  void RunFloat(int nFrames);
  void RunFloatAccumulate(int nFrames);
  void BypassDouble(int nFrames);
  void BypassFloat(int nFrames);
  void ClampToStereo();

  // ---- The host's calls, as every binding plays them ----------------------------------------

  // The process-wide lock under which hosts' requests make and complete plug-in objects,
  // whichever format they come through.
  static PlugMutex* CreationLock();

  // The host sets a parameter: under the plug-in lock the parameter takes the value, the
  // editor's controls follow it and the change handler runs (cause 0); the host is not told
  // back. An index outside the parameters or a NaN value changes nothing (false); other
  // values are clamped to 0..1.
  bool SetParameterFromHost(int paramIdx, double normalised);
  // The same where the parameter settled on another value than the host sent: the controls
  // are given `shown`, the value as sent.
  bool SetParameterFromHost(int paramIdx, double normalised, double shown);

  enum EBlockMode
  {
    kBlockProcess,     // the effect's output replaces the host's
    kBlockAccumulate,  // the effect's output is added to the host's (32-bit buffers only)
    kBlockBypass,      // the input passes through, delayed by the latency
  };

  // The first n inputs (outputs) are the ones the host gives buffers for: connected; the
  // others are disconnected.
  void ConnectHostInputs(int n);
  void ConnectHostOutputs(int n);
  // Every connected input and output takes the next of the host's buffers; 32-bit inputs
  // are converted for nFrames frames.
  void AttachHostBuffers(float** in, float** out, int nFrames);
  void AttachHostBuffers(double** in, double** out);
  // One host block, under the plug-in lock the binding holds: the host's buffers attached,
  // then the block run in slices of at most the block size. 64-bit buffers are written in
  // place, so they are never accumulated.
  void ProcessHostBlock(float** in, float** out, int nFrames, EBlockMode mode);
  void ProcessHostBlock(double** in, double** out, int nFrames, EBlockMode mode);
  // The same last step for a binding that bound the host's buffers itself (bus by bus).
  void RunHostBlockFloat(int nFrames, EBlockMode mode);
  void RunHostBlockDouble(int nFrames, EBlockMode mode);

  // The sample pointers the effect is given: one per channel, never null once the block
  // size is set.
  double** InputPointers() const { return static_cast<double**>(mInPtrs.Data()); }
  double** OutputPointers() const { return static_cast<double**>(mOutPtrs.Data()); }

  // Takes ownership of the delay line used while bypassed and gives it the current latency.
  void SetBypassDelayLine(BypassDelayLine* line);
  BypassDelayLine* GetBypassDelayLine() const { return mDelay; }

  // ---- State and presets -----------------------------------------------------------------

  int NPresets() const { return mPresets.Count(); }
  PresetSlot* PresetAt(int idx) const { return mPresets.At(idx); }
  int CurrentPresetIdx() const { return mCurrentPresetIdx; }
  void FillFreePresets(const char* name, int count);
  void FillEmptyPresets();
  void NextUserPresetName(char* out, int capacity) const;
  bool LoadPreset(int idx);
  const char* PresetNameAt(int idx) const;
  void ModifyCurrentPreset(const char* newName = nullptr);

  // ---- Chunks with a header: the plug-in's state or its whole preset bank ------------------

  static constexpr int32_t kChunkMagic = 0x70666674;  // "tffp"
  static constexpr int32_t kChunkVersion = 0x00010000;

  // Empties the chunk and writes the header; false when it could not be written.
  bool BeginChunk(StateChunk* chunk);
  // Reads a header at *pos: its version, with *pos moved past it. Without the magic, 0 and
  // *pos unchanged; with the magic but no version, 0 and *pos = -1.
  int ChunkVersion(const StateChunk* chunk, int* pos) const;
  // Appends every preset: name length, name, initialised byte, stored state when initialised.
  bool SerializePresets(StateChunk* chunk);
  // Reads presets written by SerializePresets from pos and reloads the current preset.
  // Returns the position after them, or -1 when the data is short or damaged, in which
  // case no preset and no parameter has changed.
  int UnserializePresets(const StateChunk* chunk, int pos);
  // Whether a whole framework state can be read at pos.
  bool HasWholeState(const StateChunk* chunk, int pos) const;

private:
  enum EWriteBack
  {
    kWriteNone,
    kWriteReplace,
    kWriteAccumulate,
  };

  // Deletes the editor, every record of the owning lists and the delay line.
  void DeleteOwned();
  void ParseChannelIO(const char* channelIOStr, int* maxIn, int* maxOut);
  void ResolveSlots(int offset);
  void PrepareSlice(int offset, int nFrames);
  void WriteBackSlice(int offset, int nFrames, EWriteBack mode);
  void SilenceHostOutputs(int nFrames);
  template <class Process>
  void RunSlices(int nFrames, EWriteBack mode, Process process);
  void BypassSlices(int nFrames, EWriteBack mode);
  template <class Sample>
  void PassThrough(Sample** inputs, Sample** outputs, int nFrames);

  PtrList<ChannelConfig> mChannelConfigs;
  PlugMutex mMutex;
  char mEffectName[kNameSize] = {};
  char mProductName[kNameSize] = {};
  char mMakerName[kNameSize] = {};
  int mUniqueId;
  int mMakerId;
  int mVersion;
  int mBindingKind;
  int mHostCode = -1;
  int mHostVersion = 0;
  bool mDoesStateChunks;
  bool mIsInstrument;
  bool mDoesMidi;
  int mCurrentPresetIdx = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency;
  int mTailSize = 0;
  BypassDelayLine* mDelay = nullptr;
  IPlugEditor* mEditor = nullptr;
  PtrList<IPlugParameter> mParams;
  PtrList<PresetSlot> mPresets;
  GrowBuffer mInPtrs;
  GrowBuffer mOutPtrs;
  PtrList<ChannelIO> mInChannels;
  PtrList<ChannelIO> mOutChannels;
  PtrList<StringBuffer> mInBusNames;
  PtrList<StringBuffer> mOutBusNames;
};
