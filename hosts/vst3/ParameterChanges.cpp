#include "hosts/vst3/ParameterChanges.h"

#include <algorithm>

namespace vst3host {

vst3::tresult PLUGIN_API ParamValueQueue::getPoint(vst3::int32 index, vst3::int32& sampleOffset,
                                                   vst3::ParamValue& value)
{
  if (index < 0 || index >= getPointCount())
    return vst3::kResultFalse;
  sampleOffset = mPoints[static_cast<std::size_t>(index)].first;
  value = mPoints[static_cast<std::size_t>(index)].second;
  return vst3::kResultOk;
}

vst3::tresult PLUGIN_API ParamValueQueue::addPoint(vst3::int32 sampleOffset, vst3::ParamValue value, vst3::int32& index)
{
  auto at = std::lower_bound(mPoints.begin(), mPoints.end(), sampleOffset,
                             [](const auto& point, vst3::int32 offset) { return point.first < offset; });
  if (at != mPoints.end() && at->first == sampleOffset)
  {
    at->second = value;
  }
  else
  {
    at = mPoints.insert(at, {sampleOffset, value});
  }
  index = static_cast<vst3::int32>(at - mPoints.begin());
  return vst3::kResultOk;
}

vst3::IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(vst3::int32 index)
{
  if (index < 0 || index >= getParameterCount())
    return nullptr;
  return mQueues[static_cast<std::size_t>(index)].get();
}

vst3::IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const vst3::ParamID& id, vst3::int32& index)
{
  for (std::size_t i = 0; i < mQueues.size(); ++i)
  {
    if (mQueues[i]->getParameterId() == id)
    {
      index = static_cast<vst3::int32>(i);
      return mQueues[i].get();
    }
  }
  mQueues.push_back(std::make_unique<ParamValueQueue>(id));
  index = static_cast<vst3::int32>(mQueues.size() - 1);
  return mQueues.back().get();
}

void ParameterChanges::add(vst3::ParamID id, vst3::int32 sampleOffset, vst3::ParamValue value)
{
  vst3::int32 index = 0;
  addParameterData(id, index)->addPoint(sampleOffset, value, index);
}

void ParameterChanges::addEmptyQueue(vst3::ParamID id)
{
  vst3::int32 index = 0;
  addParameterData(id, index);
}

const ParamValueQueue* ParameterChanges::find(vst3::ParamID id) const
{
  for (const auto& q : mQueues)
    if (q->getParameterId() == id)
      return q.get();
  return nullptr;
}

bool ParameterChanges::referencesBalanced() const
{
  return std::all_of(mQueues.begin(), mQueues.end(),
                     [](const auto& q) { return q->refCount() == 1 && !q->overReleased(); });
}

}  // namespace vst3host
