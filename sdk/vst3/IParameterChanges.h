// Parameter changes the host hands to process: one queue of (sample offset, normalised
// value) points per parameter.
#pragma once

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

using ParamID = uint32;
using ParamValue = double;
constexpr ParamID kNoParamId = 0xFFFFFFFFu;

class IParamValueQueue : public FUnknown
{
public:
  virtual ParamID PLUGIN_API getParameterId() = 0;
  virtual int32 PLUGIN_API getPointCount() = 0;
  virtual tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
  virtual tresult PLUGIN_API addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;
  TQ_VST3_IID(01263A18, ED074F6F, 98C9D356, 4686F9BA);
};

class IParameterChanges : public FUnknown
{
public:
  virtual int32 PLUGIN_API getParameterCount() = 0;
  virtual IParamValueQueue* PLUGIN_API getParameterData(int32 index) = 0;
  virtual IParamValueQueue* PLUGIN_API addParameterData(const ParamID& id, int32& index) = 0;
  TQ_VST3_IID(A4779663, 0BB64A56, B44384A8, 466FEB9D);
};

}  // namespace vst3
