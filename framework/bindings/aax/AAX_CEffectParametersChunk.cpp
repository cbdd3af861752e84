// The 'elck' chunk of AAX_CEffectParameters: every included parameter's value under its
// identifier, typed by the first typed read the parameter answers.
#include "framework/bindings/aax/AAX_CEffectParameters.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {
// Doubles read from a chunk may lie beyond float range; they become infinities instead of
// an undefined conversion.
float NarrowToFloat(double value)
{
  if (value > double(FLT_MAX))
    return INFINITY;
  if (value < -double(FLT_MAX))
    return -INFINITY;
  return float(value);
}

// The parameter's value compared with the one the chunk holds under its identifier. A
// parameter whose value cannot be read in any type compares equal.
bool MatchesChunk(const AAX_IParameter& parameter, AAX_CChunkDataParser& parser)
{
  const char* id = parameter.IdString();
  float f = 0.0f;
  int32_t i = 0;
  bool b = false;
  double d = 0.0;
  AAX_CString s;
  if (parameter.ReadFloat(f))
    return parser.LookUpDouble(id, d) && NarrowToFloat(d) == f;
  if (parameter.ReadInt32(i))
  {
    int32_t stored = 0;
    return parser.LookUpInt32(id, stored) && stored == i;
  }
  if (parameter.ReadBool(b))
    return parser.LookUpInt32(id, i) && (i != 0) == b;
  if (parameter.ReadDouble(d))
  {
    double stored = 0.0;
    return parser.LookUpDouble(id, stored) && NarrowToFloat(stored) == NarrowToFloat(d);
  }
  if (parameter.ReadString(s))
  {
    AAX_CString stored;
    return parser.LookUpString(id, stored) && stored.SameAs(s);
  }
  return true;
}

// Requests the value the chunk holds for the parameter; a missing value or one of another
// type leaves it alone.
void RestoreFromChunk(AAX_IParameter& parameter, AAX_CChunkDataParser& parser)
{
  const char* id = parameter.IdString();
  float f = 0.0f;
  int32_t i = 0;
  bool b = false;
  double d = 0.0;
  AAX_CString s;
  if (parameter.ReadFloat(f))
  {
    if (parser.LookUpDouble(id, d))
      parameter.WriteFloat(NarrowToFloat(d));
  }
  else if (parameter.ReadInt32(i))
  {
    if (parser.LookUpInt32(id, i))
      parameter.WriteInt32(i);
  }
  else if (parameter.ReadBool(b))
  {
    if (parser.LookUpInt32(id, i))
      parameter.WriteBool(i != 0);
  }
  else if (parameter.ReadDouble(d))
  {
    if (parser.LookUpDouble(id, d))
      parameter.WriteDouble(d);
  }
  else if (parameter.ReadString(s))
  {
    if (parser.LookUpString(id, s))
      parameter.WriteString(s);
  }
}
}  // namespace

void AAX_CEffectParameters::ExcludeFromChunk(const char* id)
{
  if (id)
    mExcluded.insert(id);
}

void AAX_CEffectParameters::CollectChunkValues()
{
  mParser.Reset();
  for (int32_t index = 0; index < mParameters.Count(); ++index)
  {
    const AAX_IParameter* parameter = mParameters.At(index);
    const char* id = parameter->IdString();
    if (mExcluded.count(id))
      continue;
    float f = 0.0f;
    int32_t i = 0;
    bool b = false;
    double d = 0.0;
    AAX_CString s;
    if (parameter->ReadFloat(f))
      mParser.PutDouble(id, f);
    else if (parameter->ReadInt32(i))
      mParser.PutInt32(id, i);
    else if (parameter->ReadBool(b))
      mParser.PutInt32(id, b ? 1 : 0);
    else if (parameter->ReadDouble(d))
      mParser.PutDouble(id, d);
    else if (parameter->ReadString(s))
      mParser.PutString(id, s);
  }
}

ACFResult AAX_CALL AAX_CEffectParameters::CountChunks(int32_t* count) const
{
  if (!count)
    return kAAX_ErrBadTextOrOutput;
  *count = 1;
  return kAAX_Success;
}

ACFResult AAX_CALL AAX_CEffectParameters::ChunkIdAt(int32_t index, uint32_t* chunkId) const
{
  if (!chunkId)
    return kAAX_ErrBadTextOrOutput;
  *chunkId = index == 0 ? kControlsChunkId : 0;
  return index == 0 ? kAAX_Success : kAAX_ErrChunkIndex;
}

ACFResult AAX_CALL AAX_CEffectParameters::MeasureChunk(uint32_t chunkId, int32_t* size)
{
  if (!size)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    if (chunkId != kControlsChunkId)
    {
      *size = 0;
      return kAAX_ErrChunkId;
    }
    CollectChunkValues();
    mLastChunkSize = mParser.MeasureChunkData();
    if (mLastChunkSize < 0)
      return kAAX_ErrChunkSize;
    *size = mLastChunkSize;
    return kAAX_Success;
  });
}

ACFResult AAX_CALL AAX_CEffectParameters::WriteChunk(uint32_t chunkId, AAX_ChunkHeader* record)
{
  if (!record)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    if (chunkId != kControlsChunkId)
      return kAAX_ErrChunkId;
    CollectChunkValues();
    // The host sized the record by the last measure; anything else would not fit.
    const int32_t size = mParser.MeasureChunkData();
    if (mLastChunkSize == 0 || size != mLastChunkSize)
      return kAAX_ErrChunkSize;
    record->version = mParser.ChunkVersion();
    std::memset(record->name, 0, sizeof record->name);
    std::strncpy(record->name, kControlsChunkName, sizeof record->name - 1);
    return mParser.GetChunkData(record);
  });
}

ACFResult AAX_CALL AAX_CEffectParameters::ReadChunk(uint32_t chunkId, const AAX_ChunkHeader* record)
{
  if (!record)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    if (chunkId != kControlsChunkId)
      return kAAX_ErrChunkId;
    if (record->size < 0)
      return kAAX_ErrChunkSize;
    mParser.ParseChunk(record);
    for (int32_t index = 0; index < mParameters.Count(); ++index)
    {
      AAX_IParameter* parameter = mParameters.At(index);
      if (!mExcluded.count(parameter->IdString()))
        RestoreFromChunk(*parameter, mParser);
    }
    return kAAX_Success;
  });
}

ACFResult AAX_CALL AAX_CEffectParameters::MatchChunk(const AAX_ChunkHeader* record, bool* equal)
{
  if (!record || !equal)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    *equal = true;
    if (record->chunkId != kControlsChunkId)
      return kAAX_Success;
    *equal = false;
    mParser.ParseChunk(record);
    for (int32_t index = 0; index < mParameters.Count(); ++index)
    {
      const AAX_IParameter* parameter = mParameters.At(index);
      if (!mExcluded.count(parameter->IdString()) && !MatchesChunk(*parameter, mParser))
        return kAAX_Success;
    }
    *equal = true;
    return kAAX_Success;
  });
}
