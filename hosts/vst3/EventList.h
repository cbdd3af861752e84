#pragma once
// Events as a host hands them to process.

#include "sdk/vst3/IEventList.h"
#include "hosts/vst3/HostObject.h"

#include <vector>

namespace vst3host {

class EventList : public HostObject<vst3::IEventList>
{
public:
  vst3::int32 PLUGIN_API getEventCount() override { return static_cast<vst3::int32>(mEvents.size()); }
  // Copies the whole record, as hosts do; out-of-range indices give kInvalidArgument.
  vst3::tresult PLUGIN_API getEvent(vst3::int32 index, vst3::Event& e) override;
  vst3::tresult PLUGIN_API addEvent(vst3::Event& e) override;

  void addNoteOn(vst3::int32 sampleOffset, vst3::int16 channel, vst3::int16 pitch, float velocity);
  void addNoteOff(vst3::int32 sampleOffset, vst3::int16 channel, vst3::int16 pitch, float velocity);
  void clear() { mEvents.clear(); }
  const std::vector<vst3::Event>& events() const { return mEvents; }

private:
  std::vector<vst3::Event> mEvents;
};

}  // namespace vst3host
