#include "hosts/vst3/EventList.h"

#include <cstring>

namespace vst3host {

vst3::tresult PLUGIN_API EventList::getEvent(vst3::int32 index, vst3::Event& e)
{
  if (index < 0 || index >= getEventCount())
    return vst3::kInvalidArgument;
  std::memcpy(&e, &mEvents[static_cast<std::size_t>(index)], sizeof e);
  return vst3::kResultOk;
}

vst3::tresult PLUGIN_API EventList::addEvent(vst3::Event& e)
{
  mEvents.push_back(e);
  return vst3::kResultOk;
}

namespace {

// A live note event of the given type at the offset, everything else zero.
vst3::Event liveEvent(vst3::int32 sampleOffset, vst3::uint16 type)
{
  vst3::Event e;
  std::memset(&e, 0, sizeof e);
  e.sampleOffset = sampleOffset;
  e.flags = vst3::Event::kIsLive;
  e.type = type;
  return e;
}

}  // namespace

void EventList::addNoteOn(vst3::int32 sampleOffset, vst3::int16 channel, vst3::int16 pitch, float velocity)
{
  vst3::Event e = liveEvent(sampleOffset, vst3::Event::kNoteOnEvent);
  e.noteOn = {channel, pitch, 0.0f, velocity, 0, -1};
  mEvents.push_back(e);
}

void EventList::addNoteOff(vst3::int32 sampleOffset, vst3::int16 channel, vst3::int16 pitch, float velocity)
{
  vst3::Event e = liveEvent(sampleOffset, vst3::Event::kNoteOffEvent);
  e.noteOff = {channel, pitch, velocity, -1, 0.0f};
  mEvents.push_back(e);
}

}  // namespace vst3host
