#include "framework/bindings/aax/AAX_CParameter.h"

#include "sdk/aax/AbiChecks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

// The host calls the parameter it finds through its own compiler's table: one destructor
// slot, thiscall at every slot.
static_assert(kAAX_BareTables<AAX_IParameter>, "parameter interface");
TQ_AAX_SIG(AAX_IParameter, DeletingDestructor, void, uint32_t);
TQ_AAX_CSIG(AAX_IParameter, IdString, const char*);
TQ_AAX_CSIG(AAX_IParameter, NormalizedValue, double);
TQ_AAX_CSIG(AAX_IParameter, StepCount, uint32_t);
TQ_AAX_CSIG(AAX_IParameter, CurrentValueText, bool, AAX_IString&);
TQ_AAX_CSIG(AAX_IParameter, ReadDouble, bool, double&);
TQ_AAX_SIG(AAX_IParameter, ApplyNormalizedValue, void, double);

template <typename T>
AAX_CParameter<T>::AAX_CParameter(const char* id, const AAX_CString& name, T defaultValue,
                                  const AAX_ITaperDelegate<T>& taper, const AAX_IDisplayDelegate<T>& display,
                                  bool automatable)
  : mName(name),
    mAutomatable(automatable),
    mTaper(taper.Duplicate()),
    mDisplay(display.Duplicate()),
    mValue(defaultValue),
    mDefault(defaultValue)
{
  // Longer identifiers keep their first 31 characters.
  if (id)
    std::memcpy(mId, id, strnlen(id, kIdBytes - 1));
  if (mStepCount == 0)
    mStepCount = mValueKind == kDiscrete ? 2 : 128;
  RestoreDefault();
}

template <typename T>
AAX_CParameter<T>::~AAX_CParameter()
{
  if (mAutomation)
    mAutomation->WithdrawParameter(mId);
  mAutomation = nullptr;
  mTaper.reset();
  mDisplay.reset();
}

template <typename T>
void AAX_CParameter<T>::AddShortName(const AAX_CString& name)
{
  mShortNames[name.CharCount()] = name;
}

template <typename T>
AAX_CString AAX_CParameter<T>::ShortNameForLength(int32_t limit) const
{
  if (limit < 0 || mShortNames.empty() || uint32_t(limit) >= mName.CharCount())
    return mName;
  // The longest stored name that fits, or the shortest when none does.
  const auto longer = mShortNames.upper_bound(uint32_t(limit));
  return longer == mShortNames.begin() ? longer->second : std::prev(longer)->second;
}

template <typename T>
void AAX_CParameter<T>::AttachAutomationDelegate(AAX_IAutomationDelegate* delegate)
{
  if (mAutomation)
    mAutomation->WithdrawParameter(mId);
  mAutomation = delegate;
  if (mAutomation)
    mAutomation->EnrolParameter(mId);
}

template <typename T>
void AAX_CParameter<T>::BeginGesture()
{
  if (mAutomation)
    mAutomation->StartTouch(mId);
}

template <typename T>
void AAX_CParameter<T>::EndGesture()
{
  if (mAutomation)
    mAutomation->StopTouch(mId);
}

template <typename T>
void AAX_CParameter<T>::RequestOrApply(double normalized)
{
  if (mAutomation)
  {
    BeginGesture();
    mAutomation->RequestValue(mId, normalized);
    EndGesture();
    return;
  }
  mForceApply = true;
  ApplyNormalizedValue(normalized);
}

template <typename T>
void AAX_CParameter<T>::ChangeRealValue(T value)
{
  RequestOrApply(mTaper->ToNormalizedValue(value));
}

template <typename T>
void AAX_CParameter<T>::ChangeNormalizedValue(double normalized)
{
  // Snapped to what the taper can represent.
  RequestOrApply(mTaper->ToNormalizedValue(mTaper->ToRealValue(normalized)));
}

template <typename T>
void AAX_CParameter<T>::ChangeNormalizedDefault(double normalized)
{
  mDefault = mTaper->ClampValue(mTaper->ToRealValue(normalized));
}

template <typename T>
int32_t AAX_CParameter<T>::CurrentStepIndex() const
{
  const double steps = double(mStepCount);
  if (steps < 2.0)
    return 0;
  const double last = steps - 1.0;
  const double index = NormalizedValue() / (1.0 / last) + 0.5;
  if (!(index > 0.0))
    return 0;
  return SaturatingTruncate<int32_t>(std::min(index, last));
}

template <typename T>
void AAX_CParameter<T>::ChangeStepIndex(uint32_t index)
{
  const double steps = double(mStepCount);
  if (steps < 2.0)
    return;
  ChangeNormalizedValue(std::min(1.0, (1.0 / (steps - 1.0)) * double(index)));
}

template <typename T>
bool AAX_CParameter<T>::CurrentValueTextLimited(int32_t limit, AAX_IString& out) const
{
  // The host asked for at most `limit` characters, so the limited text is what it gets.
  return mDisplay->TextLimited(Value(), limit, out);
}

template <typename T>
bool AAX_CParameter<T>::CurrentValueText(AAX_IString& out) const
{
  return mDisplay->Text(Value(), out);
}

template <typename T>
bool AAX_CParameter<T>::NormalizedFromText(const AAX_IString& text, double& out) const
{
  T value{};
  if (!mDisplay->ParseText(text, value))
    return false;
  out = mTaper->ToNormalizedValue(value);
  return InRange(value);
}

template <typename T>
bool AAX_CParameter<T>::TextOfNormalizedLimited(double normalized, int32_t limit, AAX_IString& out) const
{
  const T value = mTaper->ToRealValue(normalized);
  return mDisplay->TextLimited(value, limit, out) && InRange(value);
}

template <typename T>
bool AAX_CParameter<T>::TextOfNormalized(double normalized, AAX_IString& out) const
{
  const T value = mTaper->ToRealValue(normalized);
  return mDisplay->Text(value, out) && InRange(value);
}

template <typename T>
bool AAX_CParameter<T>::ChangeValueFromText(const AAX_IString& text)
{
  T value{};
  if (!mDisplay->ParseText(text, value))
    return false;
  ChangeRealValue(value);
  return true;
}

template <typename T>
void AAX_CParameter<T>::ReplaceTaperDelegate(const AAX_ITaperDelegateBase& taper, bool keepRealValue)
{
  const auto* typed = dynamic_cast<const AAX_ITaperDelegate<T>*>(&taper);
  if (!typed)
    return;
  const double previous = NormalizedValue();
  mTaper.reset(typed->Duplicate());
  mForceApply = true;
  if (keepRealValue)
    ChangeRealValue(Value());
  else
    ApplyNormalizedValue(previous);
}

template <typename T>
void AAX_CParameter<T>::ReplaceDisplayDelegate(const AAX_IDisplayDelegateBase& display)
{
  const auto* typed = dynamic_cast<const AAX_IDisplayDelegate<T>*>(&display);
  if (!typed)
    return;
  mDisplay.reset(typed->Duplicate());
  if (mAutomation)
    mAutomation->AnnounceValue(mId, NormalizedValue());
}

template <typename T>
void AAX_CParameter<T>::ApplyNormalizedValue(double normalized)
{
  const T value = mTaper->ToRealValue(normalized);
  // For doubles a NaN stored value counts as different, so it is always replaced.
  const bool differs = !(value == Value());
  if (!mForceApply && !differs)
    return;
  mValue.store(value, std::memory_order_relaxed);
  // The host hears back the value it sent, as it sent it; only one that is not a number at
  // all goes back as what was applied.
  if (mAutomation)
    mAutomation->AnnounceValue(mId, std::isfinite(normalized) ? normalized : ClampNormalized(normalized));
  mForceApply = false;
}

template class AAX_CParameter<bool>;
template class AAX_CParameter<int32_t>;
template class AAX_CParameter<double>;
