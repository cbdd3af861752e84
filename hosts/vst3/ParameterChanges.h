#pragma once
// Parameter changes as a host hands them to process: one queue of points per parameter.
// The same classes collect the plug-in's output changes.

#include "sdk/vst3/IParameterChanges.h"
#include "hosts/vst3/HostObject.h"

#include <memory>
#include <utility>
#include <vector>

namespace vst3host {

class ParamValueQueue : public HostObject<vst3::IParamValueQueue>
{
public:
  explicit ParamValueQueue(vst3::ParamID id) : mId(id) {}

  vst3::ParamID PLUGIN_API getParameterId() override { return mId; }
  vst3::int32 PLUGIN_API getPointCount() override { return static_cast<vst3::int32>(mPoints.size()); }
  vst3::tresult PLUGIN_API getPoint(vst3::int32 index, vst3::int32& sampleOffset, vst3::ParamValue& value) override;
  // Points stay ordered by offset; a second point at the same offset replaces the first.
  vst3::tresult PLUGIN_API addPoint(vst3::int32 sampleOffset, vst3::ParamValue value, vst3::int32& index) override;

  const std::vector<std::pair<vst3::int32, vst3::ParamValue>>& points() const { return mPoints; }

private:
  vst3::ParamID mId;
  std::vector<std::pair<vst3::int32, vst3::ParamValue>> mPoints;
};

class ParameterChanges : public HostObject<vst3::IParameterChanges>
{
public:
  vst3::int32 PLUGIN_API getParameterCount() override { return static_cast<vst3::int32>(mQueues.size()); }
  // Out-of-range indices give null, as hosts do.
  vst3::IParamValueQueue* PLUGIN_API getParameterData(vst3::int32 index) override;
  // The queue of an id already present is returned again, never duplicated.
  vst3::IParamValueQueue* PLUGIN_API addParameterData(const vst3::ParamID& id, vst3::int32& index) override;

  // Host side: adds a point to the queue of id, making the queue when needed.
  void add(vst3::ParamID id, vst3::int32 sampleOffset, vst3::ParamValue value);
  // A queue without points, as some hosts send for parameters that are not automated.
  void addEmptyQueue(vst3::ParamID id);
  void clear() { mQueues.clear(); }
  // The queue for id, or null.
  const ParamValueQueue* find(vst3::ParamID id) const;
  // Every queue has been released by the plug-in as often as it was referenced.
  bool referencesBalanced() const;

private:
  std::vector<std::unique_ptr<ParamValueQueue>> mQueues;
};

}  // namespace vst3host
