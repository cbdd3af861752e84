// The controller side: host parameters and their values and texts, units and the program
// list, the MIDI-controller mapping, and the controller state stream.
#include "framework/bindings/vst3/IPlugVST3.h"

#include "platform/ScopedLock.h"
#include "sdk/vst3/IBStream.h"
#include "sdk/vst3/NoThrow.h"
#include "sdk/vst3/StringConvert.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

using namespace vst3;

namespace {
constexpr int kDoubleBytes = 8;
constexpr int kBypassBytes = 4;

// A list parameter that reports the plug-in's own default rather than the first entry, so a
// host's "reset to default" lands where the plug-in starts.
class ListParameter : public StringListParameter
{
public:
  using StringListParameter::StringListParameter;
  void SetDefaultNormalized(ParamValue value) { mInfo.defaultNormalizedValue = value; }
};

double ClampNormal(double value)
{
  return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

// Writes every byte or reports failure; a stream that stops taking bytes has failed.
bool WriteAll(IBStream* stream, unsigned char* bytes, int count)
{
  int done = 0;
  while (done < count)
  {
    int32 written = 0;
    if (stream->write(bytes + done, count - done, &written) != kResultOk || written <= 0 || written > count - done)
      return false;
    done += written;
  }
  return true;
}

// Reads up to count bytes; returns how many arrived before the stream ran dry or failed.
int ReadUpTo(IBStream* stream, unsigned char* bytes, int count)
{
  int done = 0;
  while (done < count)
  {
    int32 read = 0;
    const tresult r = stream->read(bytes + done, count - done, &read);
    if (read <= 0 || read > count - done)
      break;
    done += read;
    if (r != kResultOk)
      break;
  }
  return done;
}
}  // namespace

// ---- Registration ------------------------------------------------------------------------------

void IPlugVST3::AddParameters()
{
  mGroupNames.clear();

  if (NPresets() >= 1)
    mParameters.addParameter(
      new Parameter(u"Preset", kPresetParamId, u"", 0.0, NPresets(), ParameterInfo::kIsProgramChange, kRootUnitId));

  if (!IsInstrument())
  {
    auto* bypass = new StringListParameter(
      u"Bypass", kBypassParamId, nullptr,
      ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass, kRootUnitId);
    bypass->appendString(u"off");
    bypass->appendString(u"on");
    mParameters.addParameter(bypass);
  }

  for (int i = 0, n = NParams(); i < n; ++i)
    AddParameter(i);

  if (DoesMidi())
  {
    for (int cc = 0; cc < kMidiControllers; ++cc)
    {
      auto* controller = new RangeParameter(u"MIDI CC", static_cast<ParamID>(NParams() + cc), u"", 0.0, 127.0, 0.0, 0,
                                            ParameterInfo::kCanAutomate, kRootUnitId);
      controller->setPrecision(1);
      mParameters.addParameter(controller);
    }
  }
}

void IPlugVST3::AddParameter(int paramIdx)
{
  const IPlugParameter* param = ParamAt(paramIdx);
  const ParamID id = static_cast<ParamID>(paramIdx);
  const std::u16string title = toStr16(param->NameText());
  const std::u16string units = toStr16(param->UnitLabel());
  const UnitID unit = UnitForGroup(param->GroupText());
  const int32 flags = param->Automatable() ? ParameterInfo::kCanAutomate : 0;

  switch (param->Type())
  {
  case IPlugParameter::kTypeBool:
  case IPlugParameter::kTypeEnum:
  {
    auto* list = new ListParameter(title.c_str(), id, units.c_str(), flags | ParameterInfo::kIsList, unit);
    for (int i = 0, n = param->TextCount(); i < n; ++i)
      list->appendString(toStr16(param->TextAt(i)).c_str());
    list->SetDefaultNormalized(param->NormalOf(param->Default()));
    mParameters.addParameter(list);
    break;
  }
  case IPlugParameter::kTypeInt:
  case IPlugParameter::kTypeDouble:
  {
    auto* range = new RangeParameter(title.c_str(), id, units.c_str(), param->Min(), param->Max(), param->Default(), 0,
                                     flags, unit);
    range->setPrecision(param->Precision());
    mParameters.addParameter(range);
    break;
  }
  default:
    break;  // a parameter never defined is not offered to the host
  }
}

UnitID IPlugVST3::UnitForGroup(const char* group)
{
  if (!group || !group[0])
    return kRootUnitId;
  const auto it = std::find(mGroupNames.begin(), mGroupNames.end(), group);
  if (it != mGroupNames.end())
    return static_cast<UnitID>(it - mGroupNames.begin()) + 1;
  mGroupNames.emplace_back(group);
  return static_cast<UnitID>(mGroupNames.size());
}

// ---- Values and texts --------------------------------------------------------------------------

ParamValue PLUGIN_API IPlugVST3::getParamNormalized(ParamID id)
{
  if (id == kBypassParamId)
    return IsBypassed() ? 1.0 : 0.0;
  if (id < static_cast<ParamID>(NParams()))
    return ParamAt(static_cast<int>(id))->Normal();
  return 0.0;
}

// Only the parameter's value changes: the effect follows host changes through process.
tresult PLUGIN_API IPlugVST3::setParamNormalized(ParamID id, ParamValue value)
{
  if (id >= static_cast<ParamID>(NParams()) || std::isnan(value))
    return kResultFalse;
  ParamAt(static_cast<int>(id))->SetFromNormal(std::clamp(value, 0.0, 1.0));
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getParamStringByValue(ParamID id, ParamValue valueNormalized, TChar* string)
{
  if (!string || id >= static_cast<ParamID>(NParams()))
    return kResultFalse;
  char text[128] = {};
  ParamAt(static_cast<int>(id))->DisplayText(ClampNormal(valueNormalized), true, text, sizeof(text), true);
  str8ToStr16(string, text, 128);
  return kResultOk;
}

ParamValue PLUGIN_API IPlugVST3::plainParamToNormalized(ParamID id, ParamValue plainValue)
{
  if (id < static_cast<ParamID>(NParams()))
    return ParamAt(static_cast<int>(id))->NormalOf(plainValue);
  return plainValue;
}

// ---- Units, programs, MIDI controllers ----------------------------------------------------------

int32 PLUGIN_API IPlugVST3::getUnitCount()
{
  return static_cast<int32>(mGroupNames.size()) + 1;
}

tresult PLUGIN_API IPlugVST3::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
  if (unitIndex < 0 || unitIndex > static_cast<int32>(mGroupNames.size()))
    return kResultFalse;
  info.id = unitIndex;
  info.parentUnitId = unitIndex == 0 ? kNoParentUnitId : kRootUnitId;
  str8ToStr16(info.name, unitIndex == 0 ? "Root Unit" : mGroupNames[unitIndex - 1].c_str(), 128);
  info.programListId = kNoProgramListId;
  return kResultOk;
}

int32 PLUGIN_API IPlugVST3::getProgramListCount()
{
  return 0;
}

tresult PLUGIN_API IPlugVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info)
{
  if (listIndex != 0)
    return kResultFalse;
  info.id = static_cast<ProgramListID>(kPresetParamId);
  info.programCount = NPresets();
  str8ToStr16(info.name, "Factory Presets", 128);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramName(ProgramListID listId, int32 programIndex, TChar* name)
{
  if (listId != static_cast<ProgramListID>(kPresetParamId) || !name)
    return kResultFalse;
  str8ToStr16(name, PresetNameAt(programIndex), 128);
  return kResultOk;
}

tresult PLUGIN_API IPlugVST3::getProgramInfo(ProgramListID, int32, CString, TChar*)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::hasProgramPitchNames(ProgramListID, int32)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::getProgramPitchName(ProgramListID, int32, int16, TChar*)
{
  return kNotImplemented;
}

UnitID PLUGIN_API IPlugVST3::getSelectedUnit()
{
  return kRootUnitId;
}

tresult PLUGIN_API IPlugVST3::selectUnit(UnitID)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&)
{
  return kNotImplemented;
}

tresult PLUGIN_API IPlugVST3::setUnitProgramData(int32, int32, IBStream*)
{
  return kNotImplemented;
}

// Controllers 0..127 map to their parameters; aftertouch, pitch bend and anything else have
// no parameter to map to.
tresult PLUGIN_API IPlugVST3::getMidiControllerAssignment(int32, int16, CtrlNumber midiControllerNumber, ParamID& id)
{
  if (!DoesMidi() || midiControllerNumber < 0 || midiControllerNumber >= kMidiControllers)
    return kResultFalse;
  id = static_cast<ParamID>(NParams() + midiControllerNumber);
  return kResultOk;
}

// ---- Controller state ---------------------------------------------------------------------------
// The framework state (a double per parameter), then the bypass flag as a 32-bit integer.

tresult IPlugVST3::getEditorState(IBStream* state)
{
  return noThrow([&] { return WriteEditorState(state); });
}

tresult IPlugVST3::WriteEditorState(IBStream* state)
{
  if (!state)
    return kResultFalse;
  ScopedLock lock(Mutex());
  StateChunk chunk;
  if (!WriteState(&chunk) || !chunk.PutInt32(IsBypassed() ? 1 : 0))
    return kResultFalse;
  return WriteAll(state, chunk.Data(), chunk.Size()) ? kResultOk : kResultFalse;
}

tresult IPlugVST3::setEditorState(IBStream* state)
{
  return noThrow([&] { return ReadEditorState(state); });
}

tresult IPlugVST3::ReadEditorState(IBStream* state)
{
  if (!state)
    return kResultFalse;
  ScopedLock lock(Mutex());

  // The stream carries no length: it holds as many bytes as the current state serialises to.
  StateChunk chunk;
  if (!WriteState(&chunk) || chunk.Size() < 1)
    return kResultFalse;
  const int wanted = chunk.Size();

  // Values that did not arrive whole keep their current settings.
  std::vector<unsigned char> incoming(static_cast<size_t>(wanted));
  const int got = ReadUpTo(state, incoming.data(), wanted);
  const int whole = got / kDoubleBytes * kDoubleBytes;
  if (whole == 0)
    return kResultFalse;
  std::memcpy(chunk.Data(), incoming.data(), static_cast<size_t>(whole));
  ReadState(&chunk, 0);
  RefreshParamControls();
  if (got < wanted)
    return kResultFalse;

  unsigned char bypass[kBypassBytes] = {};
  if (ReadUpTo(state, bypass, kBypassBytes) != kBypassBytes)
    return kResultFalse;
  int32_t flag = 0;
  std::memcpy(&flag, bypass, sizeof(flag));
  mBypass.store(flag != 0, std::memory_order_relaxed);
  return kResultOk;
}
