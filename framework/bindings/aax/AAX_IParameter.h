#pragma once

#include "framework/bindings/aax/AAX_CString.h"
#include "framework/bindings/aax/AAX_IDisplayDelegate.h"
#include "framework/bindings/aax/AAX_ITaperDelegate.h"
#include "framework/bindings/aax/AAX_VAutomationDelegate.h"

#include <cstdint>
#include <memory>

// One parameter as the host sees it: identifier, names, steps, value kind, its value in real
// and normalised form and as text, typed access, and the link to the host's automation. The
// host calls it through its own compiler's table, so the destructor is the one slot that
// compiler makes of it, and owners destroy a parameter through that slot.
class AAX_IParameter
{
public:
  // Value kinds.
  static constexpr int32_t kDiscrete = 0;
  static constexpr int32_t kContinuous = 1;

  // Destroys the parameter and, with kAAX_DestroyFreesMemory set, frees it.
  virtual void DeletingDestructor(uint32_t flags) = 0;

  virtual const char* IdString() const = 0;
  virtual void AssignName(const AAX_CString& name) = 0;
  virtual AAX_CString FullName() const = 0;
  virtual void AddShortName(const AAX_CString& name) = 0;
  virtual AAX_CString ShortNameForLength(int32_t limit) const = 0;
  virtual void ClearShortNames() = 0;
  virtual bool AcceptsAutomation() const = 0;
  virtual void AttachAutomationDelegate(AAX_IAutomationDelegate* delegate) = 0;
  virtual void BeginGesture() = 0;
  virtual void EndGesture() = 0;

  virtual void ChangeNormalizedValue(double normalized) = 0;
  virtual double NormalizedValue() const = 0;
  virtual void ChangeNormalizedDefault(double normalized) = 0;
  virtual double NormalizedDefault() const = 0;
  virtual void RestoreDefault() = 0;
  virtual void ChangeStepCount(uint32_t steps) = 0;
  virtual uint32_t StepCount() const = 0;
  virtual int32_t CurrentStepIndex() const = 0;
  virtual void ChangeStepIndex(uint32_t index) = 0;

  virtual bool CurrentValueTextLimited(int32_t limit, AAX_IString& out) const = 0;
  virtual bool CurrentValueText(AAX_IString& out) const = 0;
  virtual bool NormalizedFromText(const AAX_IString& text, double& out) const = 0;
  virtual bool TextOfNormalizedLimited(double normalized, int32_t limit, AAX_IString& out) const = 0;
  virtual bool TextOfNormalized(double normalized, AAX_IString& out) const = 0;
  virtual bool ChangeValueFromText(const AAX_IString& text) = 0;

  // Typed access: false, with nothing changed, when the parameter holds another type.
  virtual bool ReadBool(bool& out) const = 0;
  virtual bool ReadInt32(int32_t& out) const = 0;
  virtual bool ReadFloat(float& out) const = 0;
  virtual bool ReadDouble(double& out) const = 0;
  virtual bool ReadString(AAX_IString& out) const = 0;
  virtual bool WriteBool(bool value) = 0;
  virtual bool WriteInt32(int32_t value) = 0;
  virtual bool WriteFloat(float value) = 0;
  virtual bool WriteDouble(double value) = 0;
  virtual bool WriteString(const AAX_IString& value) = 0;

  virtual void ChangeValueKind(int32_t kind) = 0;
  virtual int32_t ValueKind() const = 0;
  virtual void ChangeLayoutWord(int32_t word) = 0;
  virtual int32_t LayoutWord() const = 0;
  // A delegate of another value type than the parameter's is ignored.
  virtual void ReplaceTaperDelegate(const AAX_ITaperDelegateBase& taper, bool keepRealValue) = 0;
  virtual void ReplaceDisplayDelegate(const AAX_IDisplayDelegateBase& display) = 0;
  // The host's path for setting a value: the only one that stores it.
  virtual void ApplyNormalizedValue(double normalized) = 0;

protected:
  ~AAX_IParameter() = default;
};

struct AAX_ParameterDeleter
{
  void operator()(AAX_IParameter* parameter) const { parameter->DeletingDestructor(kAAX_DestroyFreesMemory); }
};
using AAX_ParameterPtr = std::unique_ptr<AAX_IParameter, AAX_ParameterDeleter>;
