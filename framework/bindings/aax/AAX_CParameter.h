#pragma once

#include "framework/bindings/aax/AAX_IParameter.h"

#include <atomic>
#include <map>
#include <memory>
#include <utility>

// A parameter holding a value of type T (bool, int32_t or double) in real units, with its own
// copies of a taper and a display. Until an automation delegate is attached every change is
// applied at once; afterwards the plug-in's own changes become requests to the host, and the
// value changes only when the host applies it (ApplyNormalizedValue). The value is read by
// the audio thread while the host applies values on another, so it is held atomically.
template <typename T>
class AAX_CParameter : public AAX_IParameter
{
public:
  static constexpr size_t kIdBytes = 32;

  AAX_CParameter(const char* id, const AAX_CString& name, T defaultValue, const AAX_ITaperDelegate<T>& taper,
                 const AAX_IDisplayDelegate<T>& display, bool automatable);
  virtual ~AAX_CParameter();

  AAX_CParameter(const AAX_CParameter&) = delete;
  AAX_CParameter& operator=(const AAX_CParameter&) = delete;

  void DeletingDestructor(uint32_t flags) override { AAX_DestroyThroughSlot(this, flags); }
  const char* IdString() const override { return mId; }
  void AssignName(const AAX_CString& name) override { mName = name; }
  AAX_CString FullName() const override { return mName; }
  void AddShortName(const AAX_CString& name) override;
  AAX_CString ShortNameForLength(int32_t limit) const override;
  void ClearShortNames() override { mShortNames.clear(); }
  bool AcceptsAutomation() const override { return mAutomatable; }
  void AttachAutomationDelegate(AAX_IAutomationDelegate* delegate) override;
  void BeginGesture() override;
  void EndGesture() override;

  void ChangeNormalizedValue(double normalized) override;
  double NormalizedValue() const override { return mTaper->ToNormalizedValue(mValue.load(std::memory_order_relaxed)); }
  void ChangeNormalizedDefault(double normalized) override;
  double NormalizedDefault() const override { return mTaper->ToNormalizedValue(mDefault); }
  void RestoreDefault() override { ChangeRealValue(mDefault); }
  void ChangeStepCount(uint32_t steps) override { mStepCount = steps; }
  uint32_t StepCount() const override { return mStepCount; }
  int32_t CurrentStepIndex() const override;
  void ChangeStepIndex(uint32_t index) override;

  bool CurrentValueTextLimited(int32_t limit, AAX_IString& out) const override;
  bool CurrentValueText(AAX_IString& out) const override;
  bool NormalizedFromText(const AAX_IString& text, double& out) const override;
  bool TextOfNormalizedLimited(double normalized, int32_t limit, AAX_IString& out) const override;
  bool TextOfNormalized(double normalized, AAX_IString& out) const override;
  bool ChangeValueFromText(const AAX_IString& text) override;

  bool ReadBool(bool& out) const override { return Read(out); }
  bool ReadInt32(int32_t& out) const override { return Read(out); }
  bool ReadFloat(float&) const override { return false; }
  bool ReadDouble(double& out) const override { return Read(out); }
  bool ReadString(AAX_IString&) const override { return false; }
  bool WriteBool(bool value) override { return Write(value); }
  bool WriteInt32(int32_t value) override { return Write(value); }
  bool WriteFloat(float) override { return false; }
  bool WriteDouble(double value) override { return Write(value); }
  bool WriteString(const AAX_IString&) override { return false; }

  void ChangeValueKind(int32_t kind) override { mValueKind = kind; }
  int32_t ValueKind() const override { return mValueKind; }
  void ChangeLayoutWord(int32_t word) override { mLayoutWord = word; }
  int32_t LayoutWord() const override { return mLayoutWord; }
  void ReplaceTaperDelegate(const AAX_ITaperDelegateBase& taper, bool keepRealValue) override;
  void ReplaceDisplayDelegate(const AAX_IDisplayDelegateBase& display) override;
  void ApplyNormalizedValue(double normalized) override;

private:
  T Value() const { return mValue.load(std::memory_order_relaxed); }
  bool InRange(T value) const { return mTaper->RangeMin() <= value && value <= mTaper->RangeMax(); }
  void ChangeRealValue(T value);
  // Requests a normalised value from the host, or applies it when no host automation is attached.
  void RequestOrApply(double normalized);

  template <typename U>
  bool Read(U& out) const
  {
    if constexpr (std::is_same_v<U, T>)
    {
      out = Value();
      return true;
    }
    (void)out;
    return false;
  }
  template <typename U>
  bool Write(U value)
  {
    if constexpr (std::is_same_v<U, T>)
    {
      ChangeRealValue(value);
      return true;
    }
    (void)value;
    return false;
  }

  char mId[kIdBytes] = {};
  AAX_CString mName;
  std::map<uint32_t, AAX_CString> mShortNames;
  bool mAutomatable;
  uint32_t mStepCount = 0;
  int32_t mValueKind = kContinuous;
  int32_t mLayoutWord = 0;
  std::unique_ptr<AAX_ITaperDelegate<T>> mTaper;
  std::unique_ptr<AAX_IDisplayDelegate<T>> mDisplay;
  AAX_IAutomationDelegate* mAutomation = nullptr;
  bool mForceApply = true;
  std::atomic<T> mValue;
  T mDefault;
};

extern template class AAX_CParameter<bool>;
extern template class AAX_CParameter<int32_t>;
extern template class AAX_CParameter<double>;

// A new parameter, held by a pointer that destroys it through its destructor slot.
template <typename T, typename... Arguments>
AAX_ParameterPtr AAX_MakeParameter(Arguments&&... arguments)
{
  return AAX_ParameterPtr(new AAX_CParameter<T>(std::forward<Arguments>(arguments)...));
}
