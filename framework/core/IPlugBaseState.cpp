// Parameter state, presets and the refresh of the editor's controls.
#include "framework/core/IPlugBase.h"

#include "framework/core/PlugTrace.h"
#include "platform/ScopedLock.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
constexpr const char* kUserPreset = "user preset";
}  // namespace

bool IPlugBase::SerializeParamValues(StateChunk* chunk)
{
  if (!chunk)
    return false;
  ScopedLock lock(&mMutex);
  for (int i = 0, n = NParams(); i < n; ++i)
  {
    if (!chunk->PutDouble(ParamAt(i)->Value()))
      return false;
  }
  return true;
}

int IPlugBase::UnserializeParams(const StateChunk* chunk, int startPos)
{
  ScopedLock lock(&mMutex);
  int pos = startPos;
  for (int i = 0, n = NParams(); i < n && pos >= 0; ++i)
  {
    IPlugParameter* param = ParamAt(i);
    double value = 0.0;
    pos = chunk ? chunk->GetDouble(&value, pos) : -1;
    TQ_TRACE("IPlugBase::UnserializeParams", "%d %s %f", i, param->NameText(), value);
    if (pos < 0)
      break;  // a value not read whole is not applied
    if (std::isnan(value))
      value = param->Default();
    param->SetPlain(value);
  }
  // Every value is in place before any handler runs: handlers may read other parameters.
  for (int i = 0, n = NParams(); i < n; ++i)
    HandleParameterChange(i, kCauseStateLoad);
  return pos;
}

bool IPlugBase::StateMatches(const void* values, int valueCount, int startIndex) const
{
  const int n = NParams();
  if (n == 0)
    return true;
  if (!values || startIndex < 0 || int64_t(startIndex) + n > valueCount)
    return false;
  const unsigned char* bytes = static_cast<const unsigned char*>(values);
  for (int i = 0; i < n; ++i)
  {
    const double stored = DecodeDouble(bytes + (int64_t(startIndex) + i) * StateChunk::kDoubleBytes);
    const float difference = static_cast<float>(ParamAt(i)->Value()) - static_cast<float>(stored);
    if (!(std::fabs(difference) < 1e-5f))
      return false;
  }
  return true;
}

bool IPlugBase::WriteState(StateChunk* chunk)
{
  return SerializeParamValues(chunk);
}

int IPlugBase::ReadState(const StateChunk* chunk, int startPos)
{
  return UnserializeParams(chunk, startPos);
}

void IPlugBase::FillFreePresets(const char* name, int count)
{
  for (int round = 0; round < count; ++round)
  {
    PresetSlot* slot = nullptr;
    for (int i = 0, n = NPresets(); i < n && !slot; ++i)
    {
      if (!PresetAt(i)->initialised)
        slot = PresetAt(i);
    }
    if (!slot)
      return;
    slot->state.Clear();
    if (!WriteState(&slot->state))
    {
      slot->state.Clear();
      return;  // the slot stays free rather than hold half a state
    }
    slot->initialised = true;
    slot->SetName(name ? name : "Empty");
  }
}

void IPlugBase::FillEmptyPresets()
{
  FillFreePresets("Empty", NPresets());
}

void IPlugBase::NextUserPresetName(char* out, int capacity) const
{
  if (!out || capacity < 1)
    return;
  int count = 0;
  for (int i = 0, n = NPresets(); i < n; ++i)
  {
    if (std::strstr(PresetAt(i)->name, kUserPreset))
      ++count;
  }
  std::snprintf(out, static_cast<size_t>(capacity), "%s %d", kUserPreset, count + 1);
}

bool IPlugBase::LoadPreset(int idx)
{
  PresetSlot* slot = PresetAt(idx);
  if (!slot)
    return false;
  bool ok;
  if (slot->initialised)
  {
    // A damaged preset is refused before anything is applied.
    ok = HasWholeState(&slot->state, 0) && ReadState(&slot->state, 0) > 0;
  }
  else
  {
    char name[PresetSlot::kNameSize];
    NextUserPresetName(name, sizeof(name));
    slot->state.Clear();
    ok = WriteState(&slot->state);
    if (ok)
    {
      slot->initialised = true;
      slot->SetName(name);
    }
    else
    {
      slot->state.Clear();
    }
  }
  if (ok)
  {
    mCurrentPresetIdx = idx;
    PresetsUpdated();
    RefreshParamControls();
  }
  return ok;
}

const char* IPlugBase::PresetNameAt(int idx) const
{
  const PresetSlot* slot = PresetAt(idx);
  return slot ? slot->name : "";
}

void IPlugBase::ModifyCurrentPreset(const char* newName)
{
  PresetSlot* slot = PresetAt(mCurrentPresetIdx);
  if (!slot)
    return;
  TQ_TRACE("IPlugBase::ModifyCurrentPreset", "%d %s", mCurrentPresetIdx, slot->name);
  // The new state is written aside and replaces the old one only when it went in whole,
  // so running out of memory does not cost the preset what it held.
  StateChunk fresh;
  if (!WriteState(&fresh))
    return;
  slot->state.Buffer().Swap(fresh.Buffer());
  if (newName && newName[0])
    slot->SetName(newName);
}

void IPlugBase::RefreshParamControls()
{
  if (!mEditor)
    return;
  for (int i = 0, n = NParams(); i < n; ++i)
    mEditor->PushParamToControls(i, ParamAt(i)->Value(), false);
}
