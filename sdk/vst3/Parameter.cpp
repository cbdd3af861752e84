#include "sdk/vst3/Parameter.h"

#include <cmath>

#include "sdk/vst3/StringConvert.h"

namespace vst3 {

namespace {

ParamValue clampNormalized(ParamValue v) {
  if (std::isnan(v)) return 0.0;
  return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

}  // namespace

int32 stepOfNormalized(ParamValue valueNormalized, int32 stepCount) {
  if (stepCount <= 0) return 0;
  const double step = std::floor(clampNormalized(valueNormalized) * (stepCount + 1.0));
  return step >= stepCount ? stepCount : static_cast<int32>(step);
}

// --- Parameter ---

Parameter::Parameter(const TChar* title, ParamID tag, const TChar* units,
                     ParamValue defaultValueNormalized, int32 stepCount, int32 flags,
                     UnitID unitID, const TChar* shortTitle)
    : info_{} {
  info_.id = tag;
  copyStr16(info_.title, title, 128);
  copyStr16(info_.shortTitle, shortTitle, 128);
  copyStr16(info_.units, units, 128);
  info_.stepCount = stepCount < 0 ? 0 : stepCount;
  info_.defaultNormalizedValue = clampNormalized(defaultValueNormalized);
  info_.unitId = unitID;
  info_.flags = flags;
  valueNormalized_ = info_.defaultNormalizedValue;
}

Parameter::Parameter(const ParameterInfo& info) : info_(info) {
  info_.title[127] = info_.shortTitle[127] = info_.units[127] = 0;
  info_.defaultNormalizedValue = clampNormalized(info_.defaultNormalizedValue);
  valueNormalized_ = info_.defaultNormalizedValue;
}

bool Parameter::setNormalized(ParamValue v) {
  if (std::isnan(v)) return false;
  v = clampNormalized(v);
  if (v == valueNormalized_) return false;
  valueNormalized_ = v;
  return true;
}

void Parameter::printValue(ParamValue value, TChar* string) const {
  if (info_.stepCount == 1)
    str8ToStr16(string, value > 0.5 ? "On" : "Off", 128);
  else
    printFloat(string, 128, value, precision_);
}

void Parameter::toString(ParamValue valueNormalized, TChar* string) const {
  if (string) printValue(clampNormalized(valueNormalized), string);
}

bool Parameter::fromString(const TChar* string, ParamValue& valueNormalized) const {
  double v = 0.0;
  if (!scanFloat(string, v)) return false;
  valueNormalized = clampNormalized(v);
  return true;
}

ParamValue Parameter::toPlain(ParamValue valueNormalized) const { return valueNormalized; }
ParamValue Parameter::toNormalized(ParamValue plainValue) const { return plainValue; }

// --- RangeParameter ---

RangeParameter::RangeParameter(const TChar* title, ParamID tag, const TChar* units,
                               ParamValue minPlain, ParamValue maxPlain,
                               ParamValue defaultValuePlain, int32 stepCount, int32 flags,
                               UnitID unitID, const TChar* shortTitle)
    : Parameter(title, tag, units, 0.0, stepCount, flags, unitID, shortTitle),
      minPlain_(minPlain),
      maxPlain_(maxPlain) {
  info_.defaultNormalizedValue = toNormalized(defaultValuePlain);
  valueNormalized_ = info_.defaultNormalizedValue;
}

ParamValue RangeParameter::toPlain(ParamValue valueNormalized) const {
  const ParamValue v = clampNormalized(valueNormalized);
  if (info_.stepCount > 1) return minPlain_ + stepOfNormalized(v, info_.stepCount);
  return v * (maxPlain_ - minPlain_) + minPlain_;
}

ParamValue RangeParameter::toNormalized(ParamValue plainValue) const {
  if (std::isnan(plainValue)) return 0.0;
  const ParamValue span = info_.stepCount > 1 ? info_.stepCount : maxPlain_ - minPlain_;
  if (!(span > 0.0)) return 0.0;  // an empty range has only one value
  return clampNormalized((plainValue - minPlain_) / span);
}

void RangeParameter::toString(ParamValue valueNormalized, TChar* string) const {
  if (!string) return;
  const ParamValue plain = toPlain(valueNormalized);
  if (info_.stepCount > 1)
    printFloat(string, 128, plain, 0);  // whole steps; no integer cast of a huge minimum
  else
    printValue(plain, string);
}

bool RangeParameter::fromString(const TChar* string, ParamValue& valueNormalized) const {
  double plain = 0.0;
  if (info_.stepCount > 1) {
    int64 i = 0;
    if (!scanInt(string, i)) return false;
    plain = static_cast<double>(i);
  } else if (!scanFloat(string, plain)) {
    return false;
  }
  const ParamValue lo = minPlain_ < maxPlain_ ? minPlain_ : maxPlain_;
  const ParamValue hi = minPlain_ < maxPlain_ ? maxPlain_ : minPlain_;
  plain = plain < lo ? lo : (plain > hi ? hi : plain);
  valueNormalized = toNormalized(plain);
  return true;
}

// --- StringListParameter ---

StringListParameter::StringListParameter(const TChar* title, ParamID tag, const TChar* units,
                                         int32 flags, UnitID unitID, const TChar* shortTitle)
    : Parameter(title, tag, units, 0.0, 0, flags, unitID, shortTitle) {
  info_.stepCount = -1;  // no string yet
}

void StringListParameter::appendString(const TChar* string) {
  strings_.emplace_back(string ? string : u"");
  ++info_.stepCount;
}

ParamValue StringListParameter::toPlain(ParamValue valueNormalized) const {
  return stepOfNormalized(valueNormalized, info_.stepCount);
}

ParamValue StringListParameter::toNormalized(ParamValue plainValue) const {
  if (info_.stepCount <= 0 || std::isnan(plainValue)) return 0.0;
  return clampNormalized(plainValue / info_.stepCount);
}

void StringListParameter::toString(ParamValue valueNormalized, TChar* string) const {
  if (!string) return;
  const auto index = static_cast<size_t>(toPlain(valueNormalized));
  copyStr16(string, index < strings_.size() ? strings_[index].c_str() : nullptr, 128);
}

bool StringListParameter::fromString(const TChar* string, ParamValue& valueNormalized) const {
  for (size_t i = 0; i < strings_.size(); ++i) {
    if (equalStr16(strings_[i].c_str(), string)) {
      valueNormalized = toNormalized(static_cast<ParamValue>(i));
      return true;
    }
  }
  return false;
}

// --- ParameterContainer ---

Parameter* ParameterContainer::addParameter(Parameter* p) {
  std::unique_ptr<Parameter> owned(p);
  if (!p || byId_.count(p->getID()) != 0) return nullptr;
  byId_[p->getID()] = p;
  params_.push_back(std::move(owned));
  return p;
}

Parameter* ParameterContainer::addParameter(const ParameterInfo& info) {
  return addParameter(new Parameter(info));
}

Parameter* ParameterContainer::getParameterByIndex(int32 index) const {
  if (index < 0 || index >= getParameterCount()) return nullptr;
  return params_[static_cast<size_t>(index)].get();
}

Parameter* ParameterContainer::getParameter(ParamID id) const {
  const auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : it->second;
}

void ParameterContainer::removeAll() {
  byId_.clear();
  params_.clear();
}

}  // namespace vst3
