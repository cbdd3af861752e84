// The 'elck' chunk of AAX_CEffectParameters: every included parameter's value under its
// identifier, typed by the first typed read the parameter answers.
#include "framework/bindings/aax/AAX_CEffectParameters.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <type_traits>

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

// Hands `visit` the parameter's value in the first type it reads as: float, int32, bool,
// double, string. False when it reads as none of them.
template <typename Visit>
bool VisitValue(const AAX_IParameter& parameter, Visit&& visit)
{
  float f = 0.0f;
  int32_t i = 0;
  bool b = false;
  double d = 0.0;
  AAX_CString s;
  if (parameter.ReadFloat(f))
    visit(f);
  else if (parameter.ReadInt32(i))
    visit(i);
  else if (parameter.ReadBool(b))
    visit(b);
  else if (parameter.ReadDouble(d))
    visit(d);
  else if (parameter.ReadString(s))
    visit(s);
  else
    return false;
  return true;
}

// How the chunk stores a parameter of type T: floats and doubles as doubles, ints and bools as
// int32, texts as texts.
template <typename T>
using StoredAs = std::conditional_t<std::is_floating_point_v<T>, double,
                                    std::conditional_t<std::is_same_v<T, AAX_CString>, AAX_CString, int32_t>>;

// The chunk's value under the identifier, in its stored type; false when it has none.
template <typename Stored>
bool LookUp(AAX_CChunkDataParser& parser, const char* id, Stored& out)
{
  if constexpr (std::is_same_v<Stored, double>)
    return parser.LookUpDouble(id, out);
  else if constexpr (std::is_same_v<Stored, int32_t>)
    return parser.LookUpInt32(id, out);
  else
    return parser.LookUpString(id, out);
}

// The parameter's value compared with the one the chunk holds under its identifier: floats
// and doubles as floats (a NaN never compares equal), bools by truth. A missing value is a
// difference; a parameter that reads as no type compares equal.
bool MatchesChunk(const AAX_IParameter& parameter, AAX_CChunkDataParser& parser)
{
  bool equal = true;
  VisitValue(parameter, [&](const auto& value) {
    using T = std::decay_t<decltype(value)>;
    StoredAs<T> stored{};
    if (!LookUp(parser, parameter.IdString(), stored))
      equal = false;
    else if constexpr (std::is_floating_point_v<T>)
      equal = NarrowToFloat(stored) == NarrowToFloat(double(value));
    else if constexpr (std::is_same_v<T, bool>)
      equal = (stored != 0) == value;
    else if constexpr (std::is_same_v<T, AAX_CString>)
      equal = stored.SameAs(value);
    else
      equal = stored == value;
  });
  return equal;
}

// Requests the value the chunk holds for the parameter; a missing value or one of another
// type leaves it alone.
void RestoreFromChunk(AAX_IParameter& parameter, AAX_CChunkDataParser& parser)
{
  VisitValue(parameter, [&](const auto& value) {
    using T = std::decay_t<decltype(value)>;
    StoredAs<T> stored{};
    if (!LookUp(parser, parameter.IdString(), stored))
      return;
    if constexpr (std::is_same_v<T, float>)
      parameter.WriteFloat(NarrowToFloat(stored));
    else if constexpr (std::is_same_v<T, int32_t>)
      parameter.WriteInt32(stored);
    else if constexpr (std::is_same_v<T, bool>)
      parameter.WriteBool(stored != 0);
    else if constexpr (std::is_same_v<T, double>)
      parameter.WriteDouble(stored);
    else
      parameter.WriteString(stored);
  });
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
    VisitValue(*parameter, [&](const auto& value) {
      using T = std::decay_t<decltype(value)>;
      if constexpr (std::is_floating_point_v<T>)
        mParser.PutDouble(id, double(value));
      else if constexpr (std::is_same_v<T, AAX_CString>)
        mParser.PutString(id, value);
      else
        mParser.PutInt32(id, int32_t(value));
    });
  }
}

ACFResult AAX_CEffectParameters::CountChunks(int32_t* count) const
{
  if (!count)
    return kAAX_ErrBadTextOrOutput;
  *count = 1;
  return kAAX_Success;
}

ACFResult AAX_CEffectParameters::ChunkIdAt(int32_t index, uint32_t* chunkId) const
{
  if (!chunkId)
    return kAAX_ErrBadTextOrOutput;
  *chunkId = index == 0 ? kControlsChunkId : 0;
  return index == 0 ? kAAX_Success : kAAX_ErrChunkIndex;
}

ACFResult AAX_CEffectParameters::MeasureChunk(uint32_t chunkId, int32_t* size)
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

ACFResult AAX_CEffectParameters::WriteChunk(uint32_t chunkId, AAX_ChunkHeader* record)
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

ACFResult AAX_CEffectParameters::ReadChunk(uint32_t chunkId, const AAX_ChunkHeader* record)
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

ACFResult AAX_CEffectParameters::MatchChunk(const AAX_ChunkHeader* record, bool* equal)
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
