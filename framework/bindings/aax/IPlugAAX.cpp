// Construction, the AAX parameters that mirror the framework's, and the plug-in's chunk.
#include "framework/bindings/aax/IPlugAAX.h"

#include "framework/bindings/aax/AAX_CParameter.h"
#include "framework/core/PlugTrace.h"
#include "platform/ScopedLock.h"

#include <cmath>
#include <cstring>
#include <map>
#include <memory>

namespace {
// Integer parameters show their number with two decimals.
using NumberDisplay = AAX_CNumberDisplayDelegate<int32_t, 2, 0>;
constexpr uint32_t kContinuousSteps = 128;

int32_t Whole(double value)
{
  return SaturatingTruncate<int32_t>(value);
}

// Each display text of the parameter under its integer value.
std::map<int32_t, AAX_CString> DisplayTexts(const IPlugParameter& param)
{
  std::map<int32_t, AAX_CString> texts;
  const int wanted = param.TextCount();
  for (int64_t value = Whole(param.Min()); value <= Whole(param.Max()) && int(texts.size()) < wanted; ++value)
  {
    const char* text = param.TextForValue(int(value));
    if (text && text[0])
      texts.emplace(int32_t(value), AAX_CString(text));
  }
  return texts;
}

// The parameter with its step count and value kind, added to the table, which takes it;
// null when the table refused it.
AAX_IParameter* Keep(ParameterRegistry& table, AAX_ParameterPtr parameter, uint32_t steps, int32_t kind)
{
  parameter->ChangeStepCount(steps);
  parameter->ChangeValueKind(kind);
  return table.Add(parameter.get()) ? parameter.release() : nullptr;
}
}  // namespace

IPlugAAX::IPlugAAX(const InstanceInfo&, int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                   const char* productName, const char* makerName, int vendorVersion, int uniqueId, int makerId,
                   int latency, bool doesMidi, bool doesStateChunks, bool isInstrument, int)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, makerName, vendorVersion, uniqueId, makerId,
              latency, doesMidi, doesStateChunks, isInstrument, kBindingAAX)
{
  TQ_TRACE("IPlugAAX::IPlugAAX", "%s", effectName);
  ConnectInputs(0, NInChannels(), true);
  ConnectOutputs(0, NOutChannels(), true);
  if (NInChannels() > 0)
    SetBypassDelayLine(new BypassDelayLine(NInChannels(), NOutChannels()));
  ChangeBlockSize(kInitialBlockSize);
  // The host is known from the start; it reports no version, so the plug-in's own stands in.
  SetHost(kHostName, vendorVersion);
}

IPlugAAX::~IPlugAAX() = default;

const char* IPlugAAX::ParamId(int paramIdx) const
{
  if (paramIdx < 0 || paramIdx >= int(mParamIds.size()))
    return nullptr;
  return mParamIds[size_t(paramIdx)].c_str();
}

int IPlugAAX::ParamIndexOf(const char* id) const
{
  for (size_t i = 0; id && id[0] && i < mParamIds.size(); ++i)
    if (mParamIds[i] == id)
      return int(i);
  return -1;
}

// ---- Instance and parameters --------------------------------------------------------------------

ACFResult IPlugAAX::StartInstance(IACFUnknown* hostController)
{
  {
    ScopedLock lock(Mutex());
    HideInstance();
  }
  return AAX_CIPlugParameters::StartInstance(hostController);
}

ACFResult IPlugAAX::StopInstance()
{
  {
    ScopedLock lock(Mutex());
    HideInstance();
  }
  return AAX_CIPlugParameters::StopInstance();
}

void IPlugAAX::HideInstance()
{
  mMasterBypass = nullptr;
  mRenderController = nullptr;
  // The editor's reports find no identifier, so they leave the parameters being replaced be.
  mParamIds.clear();
}

ACFResult IPlugAAX::DefineParameters()
{
  // The host enrols each parameter and reports its rate while no lock is held.
  std::vector<std::string> ids;
  AAX_IParameter* bypass = DefineMasterBypass();
  for (int i = 0; i < NParams(); ++i)
    DefineParameter(i, ids);
  float hostRate = 0.0f;
  AAX_IController* controller = HostController();
  const bool rateKnown = controller && controller->ReadSampleRate(&hostRate) == kAAX_Success;

  ScopedLock lock(Mutex());
  // A restarted instance defines everything anew.
  mParamIds = std::move(ids);
  mMasterBypass = bypass;
  mRenderController = controller;
  // Without a usable rate from the host the current one stays.
  if (rateKnown)
    ChangeSampleRate(double(hostRate));
  RestartProcessing();
  return kAAX_Success;
}

AAX_IParameter* IPlugAAX::DefineMasterBypass()
{
  // Asked before any parameter exists, the bypass query answers the empty identifier.
  AAX_CString id;
  CopyBypassParameterId(&id);
  return Keep(Parameters(),
              AAX_MakeParameter<bool>(id.Chars(), "Master Bypass", false, AAX_CBinaryTaperDelegate<bool>(),
                                      AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true),
              2, AAX_IParameter::kDiscrete);
}

void IPlugAAX::DefineParameter(int paramIdx, std::vector<std::string>& ids)
{
  const IPlugParameter& param = *ParamAt(paramIdx);
  ids.push_back(std::to_string(paramIdx + 1));
  const char* id = ids.back().c_str();
  const AAX_CString name(param.NameText());
  const AAX_CLinearTaperDelegate<int32_t, 0> wholeRange(Whole(param.Min()), Whole(param.Max()));
  switch (param.Type())
  {
  case IPlugParameter::kTypeInt:
    Keep(Parameters(),
         AAX_MakeParameter<int32_t>(id, name, Whole(param.Default()), wholeRange,
                                    AAX_CUnitDisplayDelegateDecorator<int32_t>(NumberDisplay(), param.UnitLabel()),
                                    param.Automatable()),
         kContinuousSteps, AAX_IParameter::kContinuous);
    break;
  case IPlugParameter::kTypeDouble:
    Keep(Parameters(),
         AAX_MakeParameter<double>(
           id, name, param.Default(), AAX_CIPlugTaperDelegate<double>(param.Min(), param.Max(), param.Shape()),
           AAX_CUnitDisplayDelegateDecorator<double>(AAX_CNumberDisplayDelegate<double, 2, 0>(), param.UnitLabel()),
           param.Automatable()),
         kContinuousSteps, AAX_IParameter::kContinuous);
    break;
  case IPlugParameter::kTypeBool:
  case IPlugParameter::kTypeEnum:
    Keep(Parameters(),
         AAX_MakeParameter<int32_t>(id, name, Whole(param.Default()), wholeRange,
                                    AAX_CStringDisplayDelegate<int32_t>(DisplayTexts(param)), param.Automatable()),
         uint32_t(param.TextCount()), AAX_IParameter::kDiscrete);
    break;
  default:
    // A parameter never defined has no AAX parameter, but keeps its identifier.
    break;
  }
}

// ---- The plug-in's chunk -------------------------------------------------------------------------

ACFResult IPlugAAX::ChunkIdAt(int32_t index, uint32_t* chunkId) const
{
  if (!chunkId)
    return kAAX_ErrBadTextOrOutput;
  *chunkId = index == 0 ? uint32_t(UniqueId()) : 0;
  return index == 0 ? kAAX_Success : kAAX_ErrChunkIndex;
}

ACFResult IPlugAAX::MeasureChunk(uint32_t chunkId, int32_t* size)
{
  if (!size)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    *size = 0;
    StateChunk chunk;
    // A state that cannot be written is reported as such, not as an empty chunk.
    if (chunkId != uint32_t(UniqueId()) || !WriteState(&chunk))
      return kAAX_ErrChunkId;
    *size = chunk.Size();
    return kAAX_Success;
  });
}

ACFResult IPlugAAX::WriteChunk(uint32_t chunkId, AAX_ChunkHeader* record)
{
  if (!record)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    StateChunk chunk;
    if (chunkId != uint32_t(UniqueId()) || !WriteState(&chunk))
      return kAAX_ErrChunkId;
    record->size = chunk.Size();
    if (chunk.Size() > 0)
      std::memcpy(AAX_ChunkData(record), chunk.Data(), size_t(chunk.Size()));
    return kAAX_Success;
  });
}

ACFResult IPlugAAX::ReadChunk(uint32_t chunkId, const AAX_ChunkHeader* record)
{
  if (!record)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    if (chunkId != uint32_t(UniqueId()))
      return kAAX_ErrChunkId;
    // A size the host cannot have meant changes nothing.
    if (record->size < 0)
      return kAAX_ErrChunkSize;
    StateChunk chunk;
    if (!chunk.PutBytes(AAX_ChunkData(record), record->size))
      return kAAX_ErrChunkSize;
    ReadState(&chunk, 0);
    // The restored values go out through the host's automation, which applies them to the
    // AAX parameters.
    for (int i = 0; i < NParams(); ++i)
      if (const char* id = ParamId(i))
        ChangeNormalizedValue(id, ParamAt(i)->Normal());
    RefreshParamControls();
    CountChange();
    return kAAX_Success;
  });
}

ACFResult IPlugAAX::MatchChunk(const AAX_ChunkHeader* record, bool* equal)
{
  if (!record || !equal)
    return kAAX_ErrBadTextOrOutput;
  *equal = true;
  if (record->chunkId != uint32_t(UniqueId()))
    return kAAX_Success;
  // Only the doubles the record holds are compared: a short record never matches.
  const int valueCount = record->size > 0 ? record->size / int(sizeof(double)) : 0;
  *equal = StateMatches(AAX_ChunkData(record), valueCount, 0);
  return kAAX_Success;
}
