// Host parameters of an edit controller: a plain normalised parameter, a parameter with a
// plain range, a parameter that picks one of a list of strings, and their container.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sdk/vst3/IEditController.h"

namespace vst3 {

class Parameter
{
public:
  Parameter(const TChar* title, ParamID tag, const TChar* units = nullptr, ParamValue defaultValueNormalized = 0.0,
            int32 stepCount = 0, int32 flags = ParameterInfo::kCanAutomate, UnitID unitID = kRootUnitId,
            const TChar* shortTitle = nullptr);
  explicit Parameter(const ParameterInfo& info);
  virtual ~Parameter() = default;

  const ParameterInfo& getInfo() const { return mInfo; }
  ParamID getID() const { return mInfo.id; }
  UnitID getUnitID() const { return mInfo.unitId; }
  void setUnitID(UnitID id) { mInfo.unitId = id; }

  ParamValue getNormalized() const { return mValueNormalized; }
  // Clamps to 0..1 and stores; NaN is refused. True when the stored value changed.
  virtual bool setNormalized(ParamValue v);

  // Text of a normalised value (limited to 0..1), into a String128.
  virtual void toString(ParamValue valueNormalized, TChar* string) const;
  // Normalised value of a text; false when the text does not name a value.
  virtual bool fromString(const TChar* string, ParamValue& valueNormalized) const;
  virtual ParamValue toPlain(ParamValue valueNormalized) const;
  virtual ParamValue toNormalized(ParamValue plainValue) const;

  int32 getPrecision() const { return mPrecision; }
  void setPrecision(int32 digits) { mPrecision = digits; }

protected:
  // Prints a value with the precision, or "On"/"Off" for a toggle (step count 1).
  void printValue(ParamValue value, TChar* string) const;

  ParameterInfo mInfo;
  ParamValue mValueNormalized = 0.0;
  int32 mPrecision = 4;
};

class RangeParameter : public Parameter
{
public:
  RangeParameter(const TChar* title, ParamID tag, const TChar* units = nullptr, ParamValue minPlain = 0.0,
                 ParamValue maxPlain = 1.0, ParamValue defaultValuePlain = 0.0, int32 stepCount = 0,
                 int32 flags = ParameterInfo::kCanAutomate, UnitID unitID = kRootUnitId,
                 const TChar* shortTitle = nullptr);

  ParamValue getMin() const { return mMinPlain; }
  ParamValue getMax() const { return mMaxPlain; }

  void toString(ParamValue valueNormalized, TChar* string) const override;
  bool fromString(const TChar* string, ParamValue& valueNormalized) const override;
  ParamValue toPlain(ParamValue valueNormalized) const override;
  ParamValue toNormalized(ParamValue plainValue) const override;

private:
  ParamValue mMinPlain;
  ParamValue mMaxPlain;
};

class StringListParameter : public Parameter
{
public:
  StringListParameter(const TChar* title, ParamID tag, const TChar* units = nullptr,
                      int32 flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsList, UnitID unitID = kRootUnitId,
                      const TChar* shortTitle = nullptr);

  // Each string adds one step: n strings give step count n - 1.
  void appendString(const TChar* string);
  int32 getStringCount() const { return static_cast<int32>(mStrings.size()); }

  void toString(ParamValue valueNormalized, TChar* string) const override;
  bool fromString(const TChar* string, ParamValue& valueNormalized) const override;
  ParamValue toPlain(ParamValue valueNormalized) const override;  // the string's index
  ParamValue toNormalized(ParamValue plainValue) const override;

private:
  std::vector<std::u16string> mStrings;
};

// Index of a normalised value among stepCount + 1 discrete steps.
int32 stepOfNormalized(ParamValue valueNormalized, int32 stepCount);

class ParameterContainer
{
public:
  // Takes ownership. A null parameter, or one whose id is already registered, is refused
  // (and deleted): ids must be unique. Returns the parameter or null.
  Parameter* addParameter(Parameter* p);
  Parameter* addParameter(const ParameterInfo& info);

  int32 getParameterCount() const { return static_cast<int32>(mParams.size()); }
  Parameter* getParameterByIndex(int32 index) const;
  Parameter* getParameter(ParamID id) const;
  void removeAll();

private:
  std::vector<std::unique_ptr<Parameter>> mParams;
  std::map<ParamID, Parameter*> mById;
};

}  // namespace vst3
