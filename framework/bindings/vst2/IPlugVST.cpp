// Creation, the effect record, its parameter and process entries, and what the plug-in
// tells or asks the host through the host's callback.
#include "framework/bindings/vst2/IPlugVST.h"

#include "framework/core/PlugTrace.h"
#include "platform/ScopedLock.h"

#include <cmath>
#include <cstring>
#include <type_traits>

using namespace vst2;

namespace {

void SetArrangement(VstSpeakerArrangement* arrangement, int nChannels)
{
  arrangement->numChannels = nChannels;
  if (nChannels == 0)
    arrangement->type = kSpeakerArrEmpty;
  else if (nChannels == 1)
    arrangement->type = kSpeakerArrMono;
  else if (nChannels == 2)
    arrangement->type = kSpeakerArrStereo;
  else
    arrangement->type = kSpeakerArrUserDefined;
}

// Runs an entry's body; nothing thrown inside reaches the host, whose frames come from
// another compiler and runtime.
template <class Result, class Body>
Result Guarded(Result failed, Body body) noexcept
{
  try
  {
    return body();
  }
  catch (...)
  {
    return failed;
  }
}

}  // namespace

IPlugVST::IPlugVST(const InstanceInfo& hostCallback, int nParams, const char* channelIOStr, int nPresets,
                   const char* effectName, const char* productName, const char* makerName, int vendorVersion,
                   int uniqueId, int makerId, int latency, bool doesMidi, bool doesStateChunks, bool isInstrument, int)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, makerName, vendorVersion, uniqueId, makerId,
              latency, doesMidi, doesStateChunks, isInstrument, kBindingVST2),
    mHostCallback(hostCallback)
{
  TQ_TRACE("IPlugVST::IPlugVST", "%s", effectName);
  mEffect.magic = kEffectMagic;
  mEffect.dispatcher = &VSTDispatcher;
  mEffect.process = &VSTAccumulate;
  mEffect.setParameter = &VSTSetParameter;
  mEffect.getParameter = &VSTGetParameter;
  mEffect.numPrograms = nPresets;
  mEffect.numParams = nParams;
  mEffect.numInputs = NInChannels();
  mEffect.numOutputs = NOutChannels();
  mEffect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (doesStateChunks)
    mEffect.flags |= effFlagsProgramChunks;
  if (LegalIO(1, -1))
    mEffect.flags |= effFlagsCanMono;
  if (isInstrument)
    mEffect.flags |= effFlagsIsSynth;
  mEffect.initialDelay = latency;
  mEffect.ioRatio = 1.0f;
  mEffect.object = this;
  mEffect.uniqueID = uniqueId;
  mEffect.version = VersionNumber(true);
  mEffect.processReplacing = &VSTReplaceFloat;
  mEffect.processDoubleReplacing = &VSTReplaceDouble;

  SetArrangement(&mInputArrangement, NInChannels());
  SetArrangement(&mOutputArrangement, NOutChannels());
  ConnectInputs(0, NInChannels(), true);
  ConnectOutputs(0, NOutChannels(), true);
  ChangeBlockSize(kInitialBlockSize);
}

IPlugVST::~IPlugVST()
{
  // A record the host still holds no longer leads here.
  mEffect.object = nullptr;
  mEffect.magic = 0;
}

AEffect* IPlugVST::HandOver(IPlugVST* plug)
{
  if (!plug)
    return nullptr;
  plug->FillEmptyPresets();
  if (plug->mEffect.numPrograms <= 0)
    plug->mEffect.numPrograms = 1;
  return &plug->mEffect;
}

IPlugVST* IPlugVST::FromEffect(AEffect* effect)
{
  if (!effect || effect->magic != kEffectMagic || effect->dispatcher != &VSTDispatcher || !effect->object)
    return nullptr;
  IPlugVST* plug = static_cast<IPlugVST*>(effect->object);
  return plug->Effect() == effect ? plug : nullptr;
}

// ---- Parameter and process entries -----------------------------------------------------------

float IPlugVST::VSTGetParameter(AEffect* effect, int32_t index)
{
  return Guarded(0.0f, [&] {
    IPlugVST* plug = FromEffect(effect);
    if (!plug)
      return 0.0f;
    TQ_TRACE("IPlugVST::VSTGetParameter", "%d", index);
    ScopedLock lock(plug->Mutex());
    const IPlugParameter* param = plug->ParamAt(index);
    return param ? static_cast<float>(param->Normal()) : 0.0f;
  });
}

void IPlugVST::VSTSetParameter(AEffect* effect, int32_t index, float value)
{
  Guarded(0, [&] {
    if (IPlugVST* plug = FromEffect(effect))
      plug->SetParameterFromHost(index, value);
    return 0;
  });
}

// The three process entries: under the lock, the host's buffers attached and the block run.
// Calls of no frames still remind the host of MIDI.
template <class Sample>
void IPlugVST::ProcessEntry(AEffect* effect, Sample** inputs, Sample** outputs, int32_t frames, EBlockMode mode)
{
  Guarded(0, [&] {
    IPlugVST* plug = FromEffect(effect);
    if (!plug)
      return 0;
    ScopedLock lock(plug->Mutex());
    const int nFrames = frames > 0 ? frames : 0;
    if constexpr (std::is_same_v<Sample, float>)
    {
      plug->AttachFloatBuffers(inputs, outputs, nFrames);
      plug->RunHostBlockFloat(nFrames, mode);
    }
    else
    {
      plug->AttachDoubleBuffers(inputs, outputs);
      plug->RunHostBlockDouble(nFrames, mode);
    }
    return 0;
  });
}

void IPlugVST::AttachFloatBuffers(float** inputs, float** outputs, int nFrames)
{
  AskForMidi();
  AttachHostBuffers(inputs, outputs, nFrames);
}

void IPlugVST::AttachDoubleBuffers(double** inputs, double** outputs)
{
  AskForMidi();
  AttachHostBuffers(inputs, outputs);
}

void IPlugVST::VSTAccumulate(AEffect* effect, float** inputs, float** outputs, int32_t frames)
{
  ProcessEntry(effect, inputs, outputs, frames, kBlockAccumulate);
}

void IPlugVST::VSTReplaceFloat(AEffect* effect, float** inputs, float** outputs, int32_t frames)
{
  ProcessEntry(effect, inputs, outputs, frames, kBlockProcess);
}

void IPlugVST::VSTReplaceDouble(AEffect* effect, double** inputs, double** outputs, int32_t frames)
{
  ProcessEntry(effect, inputs, outputs, frames, kBlockProcess);
}

// ---- What the plug-in tells or asks the host ---------------------------------------------------

intptr_t IPlugVST::CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
  return mHostCallback ? mHostCallback(&mEffect, opcode, index, value, ptr, opt) : 0;
}

void IPlugVST::AskForMidi()
{
  if (DoesMidi())
    CallHost(audioMasterWantMidi);
}

void IPlugVST::BeginInformHostOfParamChange(int paramIdx)
{
  CallHost(audioMasterBeginEdit, paramIdx);
}

void IPlugVST::InformHostOfParamChange(int paramIdx, double normalised)
{
  CallHost(audioMasterAutomate, paramIdx, 0, nullptr, static_cast<float>(normalised));
}

void IPlugVST::EndInformHostOfParamChange(int paramIdx)
{
  CallHost(audioMasterEndEdit, paramIdx);
}

void IPlugVST::RequestDisplayUpdate()
{
  CallHost(audioMasterUpdateDisplay);
}

bool IPlugVST::RendersOffline()
{
  return CallHost(audioMasterGetCurrentProcessLevel) == kProcessLevelOffline;
}

const VstTimeInfo* IPlugVST::HostTimeInfo(int32_t filter)
{
  return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, filter));
}

int IPlugVST::HostSamplePosition()
{
  const VstTimeInfo* info = HostTimeInfo(0);
  if (!info || !(info->samplePos >= 0.0) || !(info->samplePos < 9.2e18))
    return 0;
  // Long sessions pass 2^31 samples: the position wraps as a 32-bit count rather than overflow.
  return static_cast<int>(static_cast<uint32_t>(static_cast<int64_t>(info->samplePos + 0.5)));
}

double IPlugVST::HostTempo()
{
  const VstTimeInfo* info = HostTimeInfo(kVstTempoValid);
  if (info && (info->flags & kVstTempoValid) && info->tempo >= 0.0)
    return info->tempo;
  return 0.0;
}

void IPlugVST::HostTimeSignature(int* numerator, int* denominator)
{
  if (!numerator || !denominator)
    return;
  *numerator = *denominator = 0;
  const VstTimeInfo* info = HostTimeInfo(kVstTimeSigValid);
  if (info && (info->flags & kVstTimeSigValid) && info->timeSigNumerator >= 0 && info->timeSigDenominator >= 0)
  {
    *numerator = info->timeSigNumerator;
    *denominator = info->timeSigDenominator;
  }
}

void IPlugVST::HostTransport(TransportInfo* transport)
{
  constexpr int32_t kAll = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;
  const VstTimeInfo* info = transport ? HostTimeInfo(kAll) : nullptr;
  if (!info || !(info->flags & kAll))
    return;
  transport->samplePos = info->samplePos;
  if ((info->flags & kVstPpqPosValid) && info->ppqPos >= 0.0)
    transport->ppqPos = info->ppqPos;
  if ((info->flags & kVstTempoValid) && info->tempo > 0.0)
    transport->tempo = info->tempo;
  if ((info->flags & kVstBarsValid) && info->barStartPos >= 0.0)
    transport->lastBarPos = info->barStartPos;
  if ((info->flags & kVstCyclePosValid) && info->cycleStartPos >= 0.0 && info->cycleEndPos >= 0.0)
  {
    transport->cycleStart = info->cycleStartPos;
    transport->cycleEnd = info->cycleEndPos;
  }
  if ((info->flags & kVstTimeSigValid) && info->timeSigNumerator > 0 && info->timeSigDenominator > 0)
  {
    transport->numerator = info->timeSigNumerator;
    transport->denominator = info->timeSigDenominator;
  }
  transport->playing = (info->flags & kVstTransportPlaying) != 0;
  transport->cycling = (info->flags & kVstTransportCycleActive) != 0;
}

int IPlugVST::HostCode()
{
  if (IPlugBase::HostCode() != -1)
    return IPlugBase::HostCode();
  char product[kHostProductStringSize] = {};
  CallHost(audioMasterGetProductString, 0, 0, product);
  // A host may fill the whole buffer.
  product[kHostProductStringSize - 1] = 0;
  int version = 0;
  if (product[0])
  {
    const intptr_t decimal = CallHost(audioMasterGetVendorVersion);
    const int64_t v = decimal > 0 && decimal < INT32_MAX ? decimal : 0;
    version = static_cast<int>((v / 10000) * 65536 + ((v / 100) % 100) * 256 + v % 100);
  }
  SetHost(product, version);
  return IPlugBase::HostCode();
}

void IPlugVST::AttachEditor(IPlugEditor* editor)
{
  if (!editor)
    return;
  IPlugBase::AttachEditor(editor);
  // Where the editor opens no window there is nothing for the host to show.
  if (editor->ParentWindowType())
    mEffect.flags |= effFlagsHasEditor;
  SetEditRect(editor);
}

void IPlugVST::SetEditRect(const IPlugEditor* editor)
{
  mEditRect = ERect{0, 0, static_cast<int16_t>(editor->Height()), static_cast<int16_t>(editor->Width())};
}

void IPlugVST::ResizeEditor(int, int)
{
  if (IPlugEditor* editor = Editor())
  {
    SetEditRect(editor);
    EditorResized(editor);
  }
}

void IPlugVST::PrepareForHost()
{
  if (mHostPrepared)
    return;
  mHostPrepared = true;
  const int code = HostCode();
  if (code == 15 || code == 17 || code == 18 || code == 20)
    ClampToStereo();
  // The host is told every channel; a clamp to stereo only stops the plug-in reading the rest.
  mEffect.numInputs = mInputArrangement.numChannels = NInChannels();
  mEffect.numOutputs = mOutputArrangement.numChannels = NOutChannels();
  HostSetupDone();
}

void IPlugVST::ChangeLatency(int samples)
{
  mEffect.initialDelay = samples;
  IPlugBase::ChangeLatency(samples);
}

bool IPlugVST::SendEventToHost(VstEvent* event)
{
  VstEvents list{};
  list.numEvents = 1;
  list.events[0] = event;
  return CallHost(audioMasterProcessEvents, 0, 0, &list) == 1;
}

bool IPlugVST::SendMidiToHost(const MidiMessage* msg)
{
  if (!msg)
    return false;
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = msg->offset;
  event.midiData[0] = static_cast<char>(msg->status);
  event.midiData[1] = static_cast<char>(msg->data1);
  event.midiData[2] = static_cast<char>(msg->data2);
  return SendEventToHost(reinterpret_cast<VstEvent*>(&event));
}

bool IPlugVST::SendSysexToHost(const SysexData* sysex)
{
  if (!sysex)
    return false;
  VstMidiSysexEvent event{};
  event.type = kVstSysExType;
  event.byteSize = sizeof(VstMidiSysexEvent);
  event.deltaFrames = sysex->offset;
  event.dumpBytes = sysex->size;
  event.sysexDump = reinterpret_cast<char*>(const_cast<uint8_t*>(sysex->data));
  return SendEventToHost(reinterpret_cast<VstEvent*>(&event));
}
