// Chunks with a header, and the preset bank inside one.
#include "framework/core/IPlugBase.h"

#include "framework/core/PlugTrace.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
// One preset record of a bank, as found in the data.
struct PresetRecord
{
  int nameAt;
  int nameLength;
  bool initialised;
  int stateAt;
};

// Reads the record at pos without changing anything; the position after it, or -1 when the
// record is not there whole. Lengths are checked before any sum, so no arithmetic wraps.
int ReadPresetRecord(const StateChunk* chunk, int pos, int stateBytes, PresetRecord* record)
{
  int32_t length = 0;
  pos = chunk->GetInt32(&length, pos);
  if (pos < 0 || length < 0 || !chunk->Has(pos, length))
    return -1;
  record->nameAt = pos;
  record->nameLength = length;
  pos += length;
  unsigned char flag = 0;
  pos = chunk->GetBytes(&flag, 1, pos);
  if (pos < 0)
    return -1;
  record->initialised = flag != 0;
  record->stateAt = pos;
  if (!record->initialised)
    return pos;
  return chunk->Has(pos, stateBytes) ? pos + stateBytes : -1;
}
}  // namespace

bool IPlugBase::BeginChunk(StateChunk* chunk)
{
  chunk->Clear();
  return chunk->PutInt32(kChunkMagic) && chunk->PutInt32(kChunkVersion);
}

int IPlugBase::ChunkVersion(const StateChunk* chunk, int* pos) const
{
  int32_t magic = 0;
  const int next = chunk->GetInt32(&magic, *pos);
  if (next < 0 || magic != kChunkMagic)
    return 0;
  int32_t version = 0;
  *pos = chunk->GetInt32(&version, next);
  return *pos < 0 ? 0 : version;
}

bool IPlugBase::SerializePresets(StateChunk* chunk)
{
  for (int i = 0, n = NPresets(); i < n; ++i)
  {
    const PresetSlot* slot = PresetAt(i);
    TQ_TRACE("IPlugBase::SerializePresets", "%d %s", i, slot->name);
    const int length = static_cast<int>(strnlen(slot->name, PresetSlot::kNameSize - 1));
    const unsigned char flag = slot->initialised ? 1 : 0;
    if (!chunk->PutInt32(length) || !chunk->PutBytes(slot->name, length) || !chunk->PutBytes(&flag, 1))
      return false;
    if (slot->initialised && !chunk->PutChunk(slot->state))
      return false;
  }
  return true;
}

bool IPlugBase::HasWholeState(const StateChunk* chunk, int pos) const
{
  return chunk->Has(pos, NParams() * StateChunk::kDoubleBytes);
}

int IPlugBase::UnserializePresets(const StateChunk* chunk, int pos)
{
  // The whole bank is checked before anything is applied: a damaged bank changes nothing.
  std::vector<PresetRecord> records(static_cast<size_t>(NPresets()));
  const int stateBytes = NParams() * StateChunk::kDoubleBytes;
  for (PresetRecord& record : records)
  {
    pos = ReadPresetRecord(chunk, pos, stateBytes, &record);
    if (pos < 0)
      return -1;
  }
  for (int i = 0, n = NPresets(); i < n; ++i)
  {
    const PresetRecord& record = records[static_cast<size_t>(i)];
    PresetSlot* slot = PresetAt(i);
    char name[PresetSlot::kNameSize] = {};
    chunk->GetBytes(name, std::min(record.nameLength, PresetSlot::kNameSize - 1), record.nameAt);
    slot->SetName(name);
    TQ_TRACE("IPlugBase::UnserializePresets", "%d %s", i, slot->name);
    slot->initialised = record.initialised;
    if (record.initialised && ReadState(chunk, record.stateAt) >= 1)
    {
      // The preset keeps the values as the plug-in took them (clamped to their ranges).
      slot->state.Clear();
      WriteState(&slot->state);
    }
  }
  LoadPreset(mCurrentPresetIdx);
  return pos;
}
