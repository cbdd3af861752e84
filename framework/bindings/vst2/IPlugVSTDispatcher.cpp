// The dispatcher: every opcode a VST 2.4 host sends, under the plug-in lock.
#include "framework/bindings/vst2/IPlugVST.h"

#include "framework/core/NumberText.h"
#include "framework/core/PlugTrace.h"
#include "platform/ScopedLock.h"

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace vst2;

namespace {

constexpr intptr_t kVendorSpecificYes = 0xBEEF;
constexpr intptr_t kExtensionAnswer = 0xBEEF0000;
constexpr int kPinLabelSize = 64;
constexpr int kKeyNameSize = 64;
// Texts a host hands in are read no further than this.
constexpr int kHostTextLimit = 256;

void WriteText(void* out, int capacity, const char* text)
{
  CopyText(static_cast<char*>(out), capacity, text);
}

// Whether the host's text is exactly ours; the host's is read no further than ours.
bool SameText(const char* host, const char* ours)
{
  return std::strncmp(host, ours, std::strlen(ours) + 1) == 0;
}

// A host's text, copied and terminated.
void ReadHostText(const void* ptr, char* out, int capacity)
{
  const char* text = static_cast<const char*>(ptr);
  const size_t n = strnlen(text, static_cast<size_t>(capacity - 1));
  std::memcpy(out, text, n);
  out[n] = 0;
}

}  // namespace

intptr_t IPlugVST::VSTDispatcher(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
  try
  {
    IPlugVST* plug = FromEffect(effect);
    if (!plug)
      return 0;
    {
      ScopedLock lock(plug->Mutex());
      if (opcode == effEditIdle || opcode == effIdle)
        return 0;
      TQ_TRACE("IPlugVST::VSTDispatcher", "%d(%s):%d:%d", opcode, EffectOpcodeName(opcode), index,
               static_cast<int>(value));
      if (opcode != effClose)
        return plug->Dispatch(opcode, index, value, ptr, opt);
    }
    // Whoever was inside has finished; the lock is left before the object goes.
    plug->DestroyAndFree(kFreeObject);
    return 0;
  }
  catch (...)
  {
    return 0;
  }
}

intptr_t IPlugVST::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
  switch (opcode)
  {
  case effOpen:
    PrepareForHost();
    NotifyAllParams();
    return 0;
  case effSetProgram:
  case effGetProgram:
  case effSetProgramName:
  case effGetProgramName:
  case effGetProgramNameIndexed:
    return DispatchProgram(opcode, index, value, ptr);
  case effGetParamLabel:
  case effGetParamDisplay:
  case effGetParamName:
  case effCanBeAutomated:
    return DispatchParameter(opcode, index, ptr);
  case effString2Parameter:
    return StringToParameter(index, static_cast<const char*>(ptr));
  case effSetSampleRate:
  case effSetBlockSize:
  case effMainsChanged:
  case effSetSpeakerArrangement:
  case effGetSpeakerArrangement:
    return DispatchSetup(opcode, value, ptr, opt);
  case effGetChunk:
    return GetChunk(index, static_cast<void**>(ptr));
  case effSetChunk:
    return SetChunk(index, value, ptr);
  case effProcessEvents:
    return ProcessEvents(static_cast<const VstEvents*>(ptr));
  case effGetInputProperties:
  case effGetOutputProperties:
    return PinProperties(opcode == effGetInputProperties, index, static_cast<VstPinProperties*>(ptr));
  case effEditGetRect:
  case effEditOpen:
  case effEditClose:
    return DispatchEditor(opcode, ptr);
  default:
    return DispatchQuery(opcode, index, value, ptr, opt);
  }
}

intptr_t IPlugVST::DispatchProgram(int32_t opcode, int32_t index, intptr_t value, void* ptr)
{
  switch (opcode)
  {
  case effSetProgram:
    // The edits made to the current program stay with it.
    if (!DoesStateChunks())
      ModifyCurrentPreset(nullptr);
    if (value >= 0 && value < NPresets())
      LoadPreset(static_cast<int>(value));
    return 0;
  case effGetProgram:
    return CurrentPresetIdx();
  case effSetProgramName:
    if (ptr)
    {
      char name[PresetSlot::kNameSize];
      ReadHostText(ptr, name, sizeof(name));
      ModifyCurrentPreset(name);
      PresetsUpdated();
    }
    return 0;
  case effGetProgramName:
    if (ptr)
      WriteText(ptr, kProgramNameSize, PresetNameAt(CurrentPresetIdx()));
    return 0;
  default:  // effGetProgramNameIndexed
    if (!ptr)
      return 0;
    WriteText(ptr, kProgramNameSize, PresetNameAt(index));
    return static_cast<const char*>(ptr)[0] ? 1 : 0;
  }
}

intptr_t IPlugVST::DispatchParameter(int32_t opcode, int32_t index, void* ptr)
{
  if (opcode == effCanBeAutomated)
    return 1;
  const IPlugParameter* param = ParamAt(index);
  if (!ptr)
    return 0;
  // Hosts that do not clear their buffer get an empty text for an unknown index.
  if (!param)
    WriteText(ptr, kParamTextSize, "");
  else if (opcode == effGetParamLabel)
    WriteText(ptr, kParamTextSize, param->UnitLabel());
  else if (opcode == effGetParamDisplay)
    param->DisplayText(param->Value(), false, static_cast<char*>(ptr), kParamTextSize, true);
  else
    WriteText(ptr, kParamTextSize, param->NameText());
  return 0;
}

intptr_t IPlugVST::StringToParameter(int32_t index, const char* ptr)
{
  IPlugParameter* param = ParamAt(index);
  if (!param)
    return 0;
  if (!ptr)
    return 1;  // the host asks whether texts are understood
  char text[kHostTextLimit];
  ReadHostText(ptr, text, sizeof(text));
  double value = 0.0;
  if (param->TextCount() > 0)
  {
    int entry = 0;
    if (!param->ValueForText(text, &entry))
      return 0;
    value = entry;
  }
  else
  {
    // A text without a finite number is refused: it would set the parameter to 0.
    if (!ReadNumber(text, &value))
      return 0;
    if (param->NegateDisplay())
      value = -value;
  }
  param->SetPlain(value);
  if (IPlugEditor* editor = Editor())
    editor->PushParamToControls(index, param->Value(), false);
  HandleParameterChange(index, kCauseEditorOrHost);
  return 1;
}

intptr_t IPlugVST::DispatchSetup(int32_t opcode, intptr_t value, void* ptr, float opt)
{
  switch (opcode)
  {
  case effSetSampleRate:
    // A rate that is not usable keeps the set-up as it is.
    if (ChangeSampleRate(opt))
      RestartProcessing();
    return 0;
  case effSetBlockSize:
    // Larger blocks than the scratch holds are processed in slices.
    if (value > 0 && value <= INT32_MAX &&
        ChangeBlockSize(static_cast<int>(value < kMaxScratchFrames ? value : kMaxScratchFrames)))
      RestartProcessing();
    return 0;
  case effMainsChanged:
    ActivationChanged(value != 0);
    if (value == 0)
      RestartProcessing();
    return 0;
  case effSetSpeakerArrangement:
    SetSpeakerArrangements(reinterpret_cast<const VstSpeakerArrangement*>(value),
                           static_cast<const VstSpeakerArrangement*>(ptr));
    return 1;
  default:  // effGetSpeakerArrangement
    if (value)
      *reinterpret_cast<VstSpeakerArrangement**>(value) = &mInputArrangement;
    if (ptr)
      *static_cast<VstSpeakerArrangement**>(ptr) = &mOutputArrangement;
    return 1;
  }
}

void IPlugVST::SetSpeakerArrangements(const VstSpeakerArrangement* in, const VstSpeakerArrangement* out)
{
  if (in)
    ConnectHostInputs(in->numChannels > 0 ? in->numChannels : 0);
  if (out)
    ConnectHostOutputs(out->numChannels > 0 ? out->numChannels : 0);
}

intptr_t IPlugVST::DispatchQuery(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
  switch (opcode)
  {
  case effIdentify:
    return kEffectIdentity;
  case effGetPlugCategory:
    return IsInstrument() ? kPlugCategSynth : kPlugCategEffect;
  case effGetEffectName:
  case effGetVendorString:
  case effGetProductString:
  {
    if (!ptr)
      return 0;
    if (opcode == effGetEffectName)
      WriteText(ptr, kEffectNameSize, EffectName());
    else if (opcode == effGetVendorString)
      WriteText(ptr, kVendorStringSize, MakerName());
    else
      WriteText(ptr, kProductStringSize, ProductName());
    return 1;
  }
  case effGetVendorVersion:
    return VersionNumber(true);
  case effVendorSpecific:
    return VendorSpecific(index, value, ptr, opt);
  case effCanDo:
    return CanDo(static_cast<const char*>(ptr));
  case effGetTailSize:
    return TailSize();
  case effGetVstVersion:
    return kVstVersion;
  case effGetMidiKeyName:
  {
    if (!ptr)
      return 0;
    VstMidiKeyName* key = static_cast<VstMidiKeyName*>(ptr);
    key->keyName[0] = 0;
    return NoteNameFor(key->thisKeyNumber, key->keyName, kKeyNameSize) ? 1 : 0;
  }
  default:
    return 0;
  }
}

intptr_t IPlugVST::DispatchEditor(int32_t opcode, void* ptr)
{
  // Only an editor that opens windows here is one the host can show.
  IPlugEditor* editor = (mEffect.flags & effFlagsHasEditor) ? Editor() : nullptr;
  if (!editor)
    return 0;
  switch (opcode)
  {
  case effEditGetRect:
    if (!ptr)
      return 0;
    *static_cast<ERect**>(ptr) = &mEditRect;
    return 1;
  case effEditOpen:
    if (!editor->OpenInParent(ptr))
      return 0;
    EditorOpened();
    return 1;
  default:
    EditorClosed();
    editor->CloseView();
    return 1;
  }
}

intptr_t IPlugVST::PinProperties(bool input, int32_t index, VstPinProperties* pin)
{
  const int count = input ? NInChannels() : NOutChannels();
  if (!pin || index < 0 || index >= count)
    return 0;
  pin->flags = kVstPinIsActive;
  if (index % 2 == 0 && index < count - 1)
    pin->flags |= kVstPinIsStereo;
  const char* label = input ? InputChannelLabel(index) : OutputChannelLabel(index);
  if (label[0])
    CopyText(pin->label, kPinLabelSize, label);
  else
    std::snprintf(pin->label, kPinLabelSize, input ? "Input %d" : "Output %d", index + 1);
  return 1;
}

intptr_t IPlugVST::VendorSpecific(int32_t index, intptr_t value, void* ptr, float opt)
{
  const IPlugParameter* param = value >= 0 && value < NParams() ? ParamAt(static_cast<int>(value)) : nullptr;
  if (index == 7)
  {
    // The text shown for a normalised value the host proposes.
    if (!ptr || !param)
      return 0;
    const double normalised = std::isnan(opt) ? 0.0 : std::fmin(std::fmax(double(opt), 0.0), 1.0);
    param->DisplayText(normalised, true, static_cast<char*>(ptr), kParamTextSize, true);
    return kVendorSpecificYes;
  }
  if (index == 8)
    return param && param->Type() != IPlugParameter::kTypeDouble ? kVendorSpecificYes : 0;
  return 0;
}

intptr_t IPlugVST::CanDo(const char* text)
{
  if (!text)
    return 0;
  TQ_TRACE("IPlugVST::VSTDispatcher", "VSTCanDo(%s)", text);
  if (SameText(text, "receiveVstTimeInfo"))
    return 1;
  if (DoesMidi())
  {
    for (const char* midi : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"})
    {
      if (SameText(text, midi))
        return 1;
    }
  }
  if (SameText(text, "hasVelnorExtensions") || SameText(text, "hasVelnorViewAsConfig"))
    return kExtensionAnswer;
  return 0;
}

intptr_t IPlugVST::ProcessEvents(const VstEvents* events)
{
  if (!events)
    return 0;
  for (int32_t i = 0; i < events->numEvents; ++i)
  {
    const VstEvent* event = events->events[i];
    if (!event)
      continue;
    if (event->type == kVstMidiType)
    {
      const VstMidiEvent* midi = reinterpret_cast<const VstMidiEvent*>(event);
      MidiMessage msg;
      msg.offset = midi->deltaFrames;
      msg.status = static_cast<uint8_t>(midi->midiData[0]);
      msg.data1 = static_cast<uint8_t>(midi->midiData[1]);
      msg.data2 = static_cast<uint8_t>(midi->midiData[2]);
      HandleMidiMessage(&msg);
    }
    else if (event->type == kVstSysExType)
    {
      const VstMidiSysexEvent* dump = reinterpret_cast<const VstMidiSysexEvent*>(event);
      SysexData sysex;
      sysex.offset = dump->deltaFrames;
      sysex.size = dump->dumpBytes;
      sysex.data = reinterpret_cast<const uint8_t*>(dump->sysexDump);
      HandleSysex(&sysex);
    }
  }
  return 1;
}
