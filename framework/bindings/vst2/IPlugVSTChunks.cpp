// The host's opaque chunks: the state (any index but 0) or the whole preset bank (index 0),
// both behind the "tffp" header.
#include "framework/bindings/vst2/IPlugVST.h"

#include <cstring>

intptr_t IPlugVST::GetChunk(int32_t index, void** data)
{
  if (!data)
    return 0;
  StateChunk& chunk = index == 0 ? mBank : mState;
  bool ok = BeginChunk(&chunk);
  if (ok && index != 0)
  {
    ok = WriteState(&chunk);
  }
  else if (ok)
  {
    ModifyCurrentPreset(nullptr);
    ok = SerializePresets(&chunk);
  }
  if (!ok || chunk.Size() <= 0)
    return 0;
  // Valid until the next request of the same kind.
  *data = chunk.Data();
  return chunk.Size();
}

intptr_t IPlugVST::SetChunk(int32_t index, intptr_t size, const void* data)
{
  if (!data || size <= 0 || size > kMaxChunkBytes)
    return 0;
  // The host's bytes are copied aside first: they may be the very chunk handed out before.
  StateChunk received;
  if (!received.Resize(static_cast<int>(size)))
    return 0;
  std::memcpy(received.Data(), data, static_cast<size_t>(size));
  StateChunk& chunk = index == 0 ? mBank : mState;
  chunk.Buffer().Swap(received.Buffer());

  int pos = 0;
  const int version = ChunkVersion(&chunk, &pos);
  const bool ok = index != 0 || version < kChunkVersion ? ReadStateChunk(chunk, pos) : ReadBankChunk(chunk, pos);
  if (ok)
    RefreshParamControls();
  return ok ? 1 : 0;
}

bool IPlugVST::ReadStateChunk(const StateChunk& chunk, int pos)
{
  // A state not there whole changes nothing, and the current preset keeps what it held.
  if (!HasWholeState(&chunk, pos) || ReadState(&chunk, pos) < 0)
    return false;
  ModifyCurrentPreset(nullptr);
  return true;
}

bool IPlugVST::ReadBankChunk(const StateChunk& chunk, int pos)
{
  return UnserializePresets(&chunk, pos) >= 0;
}
