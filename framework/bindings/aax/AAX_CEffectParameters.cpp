#include "framework/bindings/aax/AAX_CEffectParameters.h"

#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {
// The lines of a short name, cut at line feeds; the text after the last one counts when not empty.
std::vector<std::string> LinesOf(const std::string& text)
{
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t feed = text.find('\n'); feed != std::string::npos; feed = text.find('\n', start))
  {
    lines.push_back(text.substr(start, feed - start));
    start = feed + 1;
  }
  if (start < text.size())
    lines.push_back(text.substr(start));
  return lines;
}

constexpr size_t kShortNameChars = 255;
}  // namespace

AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
  // A host that released the instance without stopping it still gets its references back.
  EndInstance();
}

// ---- IACFUnknown ----------------------------------------------------------------------------

ACFResult ACF_STDCALL AAX_CEffectParameters::QueryInterface(const ACFGuid& iid, void** out)
{
  return ControllingUnknown()->QueryInterface(iid, out);
}

uint32_t ACF_STDCALL AAX_CEffectParameters::AddRef()
{
  return ControllingUnknown()->AddRef();
}

uint32_t ACF_STDCALL AAX_CEffectParameters::Release()
{
  return ControllingUnknown()->Release();
}

ACFResult AAX_CEffectParameters::InnerQueryInterface(const ACFGuid& iid, void** out)
{
  if (out && (iid == AAX_IACFEffectParameters::kIID || iid == AAX_IACFEffectParameters_V2::kIID))
  {
    auto* face = static_cast<AAX_IACFEffectParameters*>(this);
    *out = face;
    face->AddRef();
    return kAAX_Success;
  }
  return CACFUnknown::InnerQueryInterface(iid, out);
}

// ---- Instance -------------------------------------------------------------------------------

ACFResult AAX_CEffectParameters::StartInstance(IACFUnknown* hostController)
{
  return GuardedHostCall([&] {
    // A second start without a stop would orphan the first instance's parameters and wrappers.
    EndInstance();
    mController = new (std::nothrow) AAX_VController(hostController);
    mAutomation = new (std::nothrow) AAX_VAutomationDelegate(hostController);
    mTransport = new (std::nothrow) AAX_VTransport(hostController);
    mParameters.UseAutomationDelegate(mAutomation);
    mPackets.Attach(mController, this);
    if (const ACFResult defined = DefineParameters(); defined != kAAX_Success)
      return defined;
    AAX_CString bypassId;
    CopyBypassParameterId(&bypassId);
    ExcludeFromChunk(bypassId.Chars());
    return kAAX_Success;
  });
}

ACFResult AAX_CEffectParameters::StopInstance()
{
  EndInstance();
  return kAAX_Success;
}

void AAX_CEffectParameters::EndInstance()
{
  // Parameters withdraw from the host's automation while it is still there.
  mParameters.RemoveAll();
  mParameters.UseAutomationDelegate(nullptr);
  mPackets.Attach(nullptr, this);
  delete mController;
  mController = nullptr;
  delete mAutomation;
  mAutomation = nullptr;
  delete mTransport;
  mTransport = nullptr;
}

ACFResult AAX_CEffectParameters::HandleHostNotification(uint32_t type, const void* data, uint32_t size)
{
  return GuardedHostCall([&] {
    if (type != kPreviewNotification || !data || size < sizeof(int32_t))
      return kAAX_Success;
    if (AAX_IParameter* preview = Find(kPreviewParameterId))
    {
      int32_t on = 0;
      std::memcpy(&on, data, sizeof on);
      preview->WriteBool(on != 0);
    }
    return kAAX_Success;
  });
}

// ---- Parameters by identifier ---------------------------------------------------------------

ACFResult AAX_CEffectParameters::CountParameters(int32_t* count) const
{
  if (!count)
    return kAAX_ErrBadTextOrOutput;
  *count = mParameters.Count();
  return kAAX_Success;
}

ACFResult AAX_CEffectParameters::CopyBypassParameterId(AAX_IString* id) const
{
  if (!id)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    const AAX_CString answer(Find(kMasterBypassParameterId) ? kMasterBypassParameterId : "");
    id->AssignFrom(&answer);
    return kAAX_Success;
  });
}

ACFResult AAX_CEffectParameters::QueryParameterAutomatable(const char* id, bool* automatable) const
{
  if (automatable)
    *automatable = false;
  return Answer(id, automatable, [](const AAX_IParameter& parameter) { return parameter.AcceptsAutomation(); });
}

ACFResult AAX_CEffectParameters::QueryParameterStepCount(const char* id, int32_t* steps) const
{
  if (!steps)
    return kAAX_ErrBadTextOrOutput;
  const AAX_IParameter* parameter = Find(id);
  if (!parameter)
    return kAAX_ErrParameterNotFound;
  if (parameter->StepCount() > 0x7FFFFFFFu)
    return kAAX_ErrStepCount;
  *steps = int32_t(parameter->StepCount());
  return kAAX_Success;
}

ACFResult AAX_CEffectParameters::CopyParameterName(const char* id, AAX_IString* name) const
{
  if (!name)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    if (const AAX_IParameter* parameter = Find(id))
    {
      const AAX_CString full = parameter->FullName();
      name->AssignFrom(&full);
    }
    else
      name->AssignCharsChained("");
    return kAAX_Success;
  });
}

ACFResult AAX_CEffectParameters::CopyParameterShortName(const char* id, AAX_IString* name, int32_t limit) const
{
  if (!name)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    const AAX_IParameter* parameter = Find(id);
    if (!parameter)
    {
      name->AssignChars("");
      return kAAX_Success;
    }
    const AAX_CString shortName = parameter->ShortNameForLength(limit);
    const std::vector<std::string> lines = LinesOf(shortName.Std().substr(0, kShortNameChars));
    // The longest line that fits wins; of equal lengths the first.
    size_t best = 0;
    for (const std::string& line : lines)
      if (best < line.size() && limit >= 0 && line.size() <= size_t(limit))
      {
        name->AssignChars(line.c_str());
        best = line.size();
      }
    if (best == 0 && !lines.empty())
    {
      if (limit >= 1)
        shortName.CopySubrange(0, uint32_t(limit), name);
      else
        name->AssignChars("");
    }
    return kAAX_Success;
  });
}

ACFResult AAX_CEffectParameters::QueryParameterDefault(const char* id, double* normalized) const
{
  return Answer(id, normalized, [](const AAX_IParameter& parameter) { return parameter.NormalizedDefault(); });
}

ACFResult AAX_CEffectParameters::ChangeParameterDefault(const char* id, double normalized)
{
  return Change(id, normalized,
                [](AAX_IParameter& parameter, double value) { parameter.ChangeNormalizedDefault(value); });
}

ACFResult AAX_CEffectParameters::QueryParameterKind(const char* id, int32_t* kind) const
{
  return Answer(id, kind, [](const AAX_IParameter& parameter) { return parameter.ValueKind(); });
}

ACFResult AAX_CEffectParameters::QueryParameterLayoutWord(const char* id, int32_t* word) const
{
  return Answer(id, word, [](const AAX_IParameter& parameter) { return parameter.LayoutWord(); });
}

ACFResult AAX_CEffectParameters::FindParameter(const char* id, AAX_IParameter** parameter)
{
  if (!parameter)
    return kAAX_ErrBadTextOrOutput;
  *parameter = Find(id);
  return *parameter ? kAAX_Success : kAAX_ErrParameterNotFound;
}

ACFResult AAX_CEffectParameters::FindParameterIndex(const char* id, int32_t* index) const
{
  if (!index)
    return kAAX_ErrBadTextOrOutput;
  *index = mParameters.IndexOf(id);
  return *index >= 0 ? kAAX_Success : kAAX_ErrParameterNotFound;
}

ACFResult AAX_CEffectParameters::CopyParameterIdAt(int32_t index, AAX_IString* id) const
{
  if (!id)
    return kAAX_ErrBadTextOrOutput;
  const AAX_IParameter* parameter = mParameters.At(index);
  id->AssignCharsChained(parameter ? parameter->IdString() : "");
  return parameter ? kAAX_Success : kAAX_ErrParameterNotFound;
}

ACFResult AAX_CEffectParameters::QueryParameterExtra(const char*, uint32_t, int32_t* value) const
{
  if (value)
    *value = 0;
  return kAAX_ErrUnsupported;
}

// ---- Texts ----------------------------------------------------------------------------------

ACFResult AAX_CEffectParameters::ParseParameterText(const char* id, double* normalized, const AAX_IString* text) const
{
  if (!normalized || !text)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    const AAX_IParameter* parameter = Find(id);
    if (!parameter)
      return kAAX_ErrParameterNotFound;
    double parsed = 0.0;
    if (!parameter->NormalizedFromText(AAX_CString(*text), parsed))
      return kAAX_ErrBadTextOrOutput;
    *normalized = parsed;
    return kAAX_Success;
  });
}

ACFResult AAX_CEffectParameters::FormatNormalizedValue(const char* id, double normalized, AAX_IString* text,
                                                       int32_t limit) const
{
  if (!text)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    const AAX_IParameter* parameter = Find(id);
    if (!parameter)
      return kAAX_ErrParameterNotFound;
    AAX_CString shown;
    if (!parameter->TextOfNormalizedLimited(normalized, limit, shown))
      return kAAX_ErrBadTextOrOutput;
    text->AssignFrom(&shown);
    return kAAX_Success;
  });
}

ACFResult AAX_CEffectParameters::FormatCurrentValue(const char* id, AAX_IString* text, int32_t limit) const
{
  if (!text)
    return kAAX_ErrBadTextOrOutput;
  return GuardedHostCall([&] {
    const AAX_IParameter* parameter = Find(id);
    if (!parameter)
      return kAAX_ErrParameterNotFound;
    AAX_CString shown;
    parameter->CurrentValueTextLimited(limit, shown);
    text->AssignFrom(&shown);
    return kAAX_Success;
  });
}

// ---- Values ---------------------------------------------------------------------------------

ACFResult AAX_CEffectParameters::QueryNormalizedValue(const char* id, double* normalized) const
{
  return Answer(id, normalized, [](const AAX_IParameter& parameter) { return parameter.NormalizedValue(); });
}

ACFResult AAX_CEffectParameters::ChangeNormalizedValue(const char* id, double normalized)
{
  return Change(id, normalized,
                [](AAX_IParameter& parameter, double value) { parameter.ChangeNormalizedValue(value); });
}

ACFResult AAX_CEffectParameters::ChangeNormalizedValueBy(const char* id, double delta)
{
  double current = 0.0;
  if (const ACFResult read = QueryNormalizedValue(id, &current); read != kAAX_Success)
    return read;
  if (!std::isfinite(delta))
    return kAAX_ErrBadTextOrOutput;
  return ChangeNormalizedValue(id, ClampNormalized(current + delta));
}

ACFResult AAX_CEffectParameters::BeginParameterGesture(const char* id)
{
  return Change(id, 0.0, [](AAX_IParameter& parameter, double) { parameter.BeginGesture(); });
}

ACFResult AAX_CEffectParameters::EndParameterGesture(const char* id)
{
  return Change(id, 0.0, [](AAX_IParameter& parameter, double) { parameter.EndGesture(); });
}

ACFResult AAX_CEffectParameters::ApplyHostValue(const char* id, double normalized, uint32_t)
{
  const ACFResult applied = ApplyHostValueThen(id, normalized, [](AAX_IParameter&) {});
  return applied != kAAX_Success ? applied : RecordHostChange(id);
}

ACFResult AAX_CEffectParameters::RecordHostChange(const char* id)
{
  return GuardedHostCall([&] {
    const ACFResult marked = mPackets.MarkDirty(id, true);
    CountChange();
    return marked;
  });
}

ACFResult AAX_CEffectParameters::ApplyHostValueBy(const char* id, double delta)
{
  double current = 0.0;
  if (const ACFResult read = QueryNormalizedValue(id, &current); read != kAAX_Success)
    return read;
  if (!std::isfinite(delta))
    return kAAX_ErrBadTextOrOutput;
  return ApplyHostValue(id, ClampNormalized(current + delta), 0);
}

ACFResult AAX_CEffectParameters::FlushPackets()
{
  return GuardedHostCall([&] { return mPackets.SendDirty(); });
}

ACFResult AAX_CEffectParameters::FillCustomData(uint32_t, void* block, uint32_t size)
{
  if (!block)
    return size == 0 ? kAAX_Success : kAAX_ErrBadTextOrOutput;
  std::memset(block, 0, size);
  return kAAX_Success;
}

void AAX_CEffectParameters::CountChange()
{
  mChangeCounter = mChangeCounter == INT32_MAX ? 0 : mChangeCounter + 1;
}

ACFResult AAX_CEffectParameters::CountChanges(int32_t* changes) const
{
  if (!changes)
    return kAAX_ErrBadTextOrOutput;
  *changes = mChangeCounter;
  return kAAX_Success;
}

ACFResult AAX_CEffectParameters::EmptyAnswer(ACFWord, ACFWord, ACFWord, uint32_t* answer)
{
  if (!answer)
    return kAAX_ErrBadTextOrOutput;
  *answer = 0;
  return kAAX_Success;
}
