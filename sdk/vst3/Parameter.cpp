#include "sdk/vst3/Parameter.h"

#include <cmath>

#include "sdk/vst3/StringConvert.h"

namespace vst3 {

namespace {

ParamValue clampNormalized(ParamValue v)
{
  if (std::isnan(v))
    return 0.0;
  return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

}  // namespace

int32 stepOfNormalized(ParamValue valueNormalized, int32 stepCount)
{
  if (stepCount <= 0)
    return 0;
  const double step = std::floor(clampNormalized(valueNormalized) * (stepCount + 1.0));
  return step >= stepCount ? stepCount : static_cast<int32>(step);
}

// --- Parameter ---

Parameter::Parameter(const TChar* title, ParamID tag, const TChar* units, ParamValue defaultValueNormalized,
                     int32 stepCount, int32 flags, UnitID unitID, const TChar* shortTitle)
  : mInfo{}
{
  mInfo.id = tag;
  copyStr16(mInfo.title, title, 128);
  copyStr16(mInfo.shortTitle, shortTitle, 128);
  copyStr16(mInfo.units, units, 128);
  mInfo.stepCount = stepCount < 0 ? 0 : stepCount;
  mInfo.defaultNormalizedValue = clampNormalized(defaultValueNormalized);
  mInfo.unitId = unitID;
  mInfo.flags = flags;
  mValueNormalized = mInfo.defaultNormalizedValue;
}

Parameter::Parameter(const ParameterInfo& info) : mInfo(info)
{
  mInfo.title[127] = mInfo.shortTitle[127] = mInfo.units[127] = 0;
  mInfo.defaultNormalizedValue = clampNormalized(mInfo.defaultNormalizedValue);
  mValueNormalized = mInfo.defaultNormalizedValue;
}

bool Parameter::setNormalized(ParamValue v)
{
  if (std::isnan(v))
    return false;
  v = clampNormalized(v);
  if (v == mValueNormalized)
    return false;
  mValueNormalized = v;
  return true;
}

void Parameter::printValue(ParamValue value, TChar* string) const
{
  if (mInfo.stepCount == 1)
    str8ToStr16(string, value > 0.5 ? "On" : "Off", 128);
  else
    printFloat(string, 128, value, mPrecision);
}

void Parameter::toString(ParamValue valueNormalized, TChar* string) const
{
  if (string)
    printValue(clampNormalized(valueNormalized), string);
}

bool Parameter::fromString(const TChar* string, ParamValue& valueNormalized) const
{
  double v = 0.0;
  if (!scanFloat(string, v))
    return false;
  valueNormalized = clampNormalized(v);
  return true;
}

ParamValue Parameter::toPlain(ParamValue valueNormalized) const
{
  return valueNormalized;
}
ParamValue Parameter::toNormalized(ParamValue plainValue) const
{
  return plainValue;
}

// --- RangeParameter ---

RangeParameter::RangeParameter(const TChar* title, ParamID tag, const TChar* units, ParamValue minPlain,
                               ParamValue maxPlain, ParamValue defaultValuePlain, int32 stepCount, int32 flags,
                               UnitID unitID, const TChar* shortTitle)
  : Parameter(title, tag, units, 0.0, stepCount, flags, unitID, shortTitle), mMinPlain(minPlain), mMaxPlain(maxPlain)
{
  mInfo.defaultNormalizedValue = toNormalized(defaultValuePlain);
  mValueNormalized = mInfo.defaultNormalizedValue;
}

ParamValue RangeParameter::toPlain(ParamValue valueNormalized) const
{
  const ParamValue v = clampNormalized(valueNormalized);
  if (mInfo.stepCount > 1)
    return mMinPlain + stepOfNormalized(v, mInfo.stepCount);
  return v * (mMaxPlain - mMinPlain) + mMinPlain;
}

ParamValue RangeParameter::toNormalized(ParamValue plainValue) const
{
  if (std::isnan(plainValue))
    return 0.0;
  const ParamValue span = mInfo.stepCount > 1 ? mInfo.stepCount : mMaxPlain - mMinPlain;
  if (!(span > 0.0))
    return 0.0;  // an empty range has only one value
  return clampNormalized((plainValue - mMinPlain) / span);
}

void RangeParameter::toString(ParamValue valueNormalized, TChar* string) const
{
  if (!string)
    return;
  const ParamValue plain = toPlain(valueNormalized);
  if (mInfo.stepCount > 1)
    printFloat(string, 128, plain, 0);  // whole steps; no integer cast of a huge minimum
  else
    printValue(plain, string);
}

bool RangeParameter::fromString(const TChar* string, ParamValue& valueNormalized) const
{
  double plain = 0.0;
  if (mInfo.stepCount > 1)
  {
    int64 i = 0;
    if (!scanInt(string, i))
      return false;
    plain = static_cast<double>(i);
  }
  else if (!scanFloat(string, plain))
  {
    return false;
  }
  const ParamValue lo = mMinPlain < mMaxPlain ? mMinPlain : mMaxPlain;
  const ParamValue hi = mMinPlain < mMaxPlain ? mMaxPlain : mMinPlain;
  plain = plain < lo ? lo : (plain > hi ? hi : plain);
  valueNormalized = toNormalized(plain);
  return true;
}

// --- StringListParameter ---

StringListParameter::StringListParameter(const TChar* title, ParamID tag, const TChar* units, int32 flags,
                                         UnitID unitID, const TChar* shortTitle)
  : Parameter(title, tag, units, 0.0, 0, flags, unitID, shortTitle)
{
  mInfo.stepCount = -1;  // no string yet
}

void StringListParameter::appendString(const TChar* string)
{
  mStrings.emplace_back(string ? string : u"");
  ++mInfo.stepCount;
}

ParamValue StringListParameter::toPlain(ParamValue valueNormalized) const
{
  return stepOfNormalized(valueNormalized, mInfo.stepCount);
}

ParamValue StringListParameter::toNormalized(ParamValue plainValue) const
{
  if (mInfo.stepCount <= 0 || std::isnan(plainValue))
    return 0.0;
  return clampNormalized(plainValue / mInfo.stepCount);
}

void StringListParameter::toString(ParamValue valueNormalized, TChar* string) const
{
  if (!string)
    return;
  const auto index = static_cast<size_t>(toPlain(valueNormalized));
  copyStr16(string, index < mStrings.size() ? mStrings[index].c_str() : nullptr, 128);
}

bool StringListParameter::fromString(const TChar* string, ParamValue& valueNormalized) const
{
  for (size_t i = 0; i < mStrings.size(); ++i)
  {
    if (equalStr16(mStrings[i].c_str(), string))
    {
      valueNormalized = toNormalized(static_cast<ParamValue>(i));
      return true;
    }
  }
  return false;
}

// --- ParameterContainer ---

Parameter* ParameterContainer::addParameter(Parameter* p)
{
  std::unique_ptr<Parameter> owned(p);
  if (!p || mById.count(p->getID()) != 0)
    return nullptr;
  mById[p->getID()] = p;
  mParams.push_back(std::move(owned));
  return p;
}

Parameter* ParameterContainer::addParameter(const ParameterInfo& info)
{
  return addParameter(new Parameter(info));
}

Parameter* ParameterContainer::getParameterByIndex(int32 index) const
{
  if (index < 0 || index >= getParameterCount())
    return nullptr;
  return mParams[static_cast<size_t>(index)].get();
}

Parameter* ParameterContainer::getParameter(ParamID id) const
{
  const auto it = mById.find(id);
  return it == mById.end() ? nullptr : it->second;
}

void ParameterContainer::removeAll()
{
  mById.clear();
  mParams.clear();
}

}  // namespace vst3
