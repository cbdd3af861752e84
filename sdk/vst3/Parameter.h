// Host parameters of an edit controller: a plain normalised parameter, a parameter with a
// plain range, a parameter that picks one of a list of strings, and their container.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sdk/vst3/IEditController.h"

namespace vst3 {

class Parameter {
public:
  Parameter(const TChar* title, ParamID tag, const TChar* units = nullptr,
            ParamValue defaultValueNormalized = 0.0, int32 stepCount = 0,
            int32 flags = ParameterInfo::kCanAutomate, UnitID unitID = kRootUnitId,
            const TChar* shortTitle = nullptr);
  explicit Parameter(const ParameterInfo& info);
  virtual ~Parameter() = default;

  const ParameterInfo& getInfo() const { return info_; }
  ParamID getID() const { return info_.id; }
  UnitID getUnitID() const { return info_.unitId; }
  void setUnitID(UnitID id) { info_.unitId = id; }

  ParamValue getNormalized() const { return valueNormalized_; }
  // Clamps to 0..1 and stores; NaN is refused. True when the stored value changed.
  virtual bool setNormalized(ParamValue v);

  // Text of a normalised value (limited to 0..1), into a String128.
  virtual void toString(ParamValue valueNormalized, TChar* string) const;
  // Normalised value of a text; false when the text does not name a value.
  virtual bool fromString(const TChar* string, ParamValue& valueNormalized) const;
  virtual ParamValue toPlain(ParamValue valueNormalized) const;
  virtual ParamValue toNormalized(ParamValue plainValue) const;

  int32 getPrecision() const { return precision_; }
  void setPrecision(int32 digits) { precision_ = digits; }

protected:
  // Prints a value with the precision, or "On"/"Off" for a toggle (step count 1).
  void printValue(ParamValue value, TChar* string) const;

  ParameterInfo info_;
  ParamValue valueNormalized_ = 0.0;
  int32 precision_ = 4;
};

class RangeParameter : public Parameter {
public:
  RangeParameter(const TChar* title, ParamID tag, const TChar* units = nullptr,
                 ParamValue minPlain = 0.0, ParamValue maxPlain = 1.0,
                 ParamValue defaultValuePlain = 0.0, int32 stepCount = 0,
                 int32 flags = ParameterInfo::kCanAutomate, UnitID unitID = kRootUnitId,
                 const TChar* shortTitle = nullptr);

  ParamValue getMin() const { return minPlain_; }
  ParamValue getMax() const { return maxPlain_; }

  void toString(ParamValue valueNormalized, TChar* string) const override;
  bool fromString(const TChar* string, ParamValue& valueNormalized) const override;
  ParamValue toPlain(ParamValue valueNormalized) const override;
  ParamValue toNormalized(ParamValue plainValue) const override;

private:
  ParamValue minPlain_;
  ParamValue maxPlain_;
};

class StringListParameter : public Parameter {
public:
  StringListParameter(const TChar* title, ParamID tag, const TChar* units = nullptr,
                      int32 flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsList,
                      UnitID unitID = kRootUnitId, const TChar* shortTitle = nullptr);

  // Each string adds one step: n strings give step count n - 1.
  void appendString(const TChar* string);
  int32 getStringCount() const { return static_cast<int32>(strings_.size()); }

  void toString(ParamValue valueNormalized, TChar* string) const override;
  bool fromString(const TChar* string, ParamValue& valueNormalized) const override;
  ParamValue toPlain(ParamValue valueNormalized) const override;  // the string's index
  ParamValue toNormalized(ParamValue plainValue) const override;

private:
  std::vector<std::u16string> strings_;
};

// Index of a normalised value among stepCount + 1 discrete steps.
int32 stepOfNormalized(ParamValue valueNormalized, int32 stepCount);

class ParameterContainer {
public:
  // Takes ownership. A null parameter, or one whose id is already registered, is refused
  // (and deleted): ids must be unique. Returns the parameter or null.
  Parameter* addParameter(Parameter* p);
  Parameter* addParameter(const ParameterInfo& info);

  int32 getParameterCount() const { return static_cast<int32>(params_.size()); }
  Parameter* getParameterByIndex(int32 index) const;
  Parameter* getParameter(ParamID id) const;
  void removeAll();

private:
  std::vector<std::unique_ptr<Parameter>> params_;
  std::map<ParamID, Parameter*> byId_;
};

}  // namespace vst3
