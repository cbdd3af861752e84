#include "sdk/vst3/Bus.h"

#include "sdk/vst3/StringConvert.h"

namespace vst3 {

Bus::Bus(const TChar* name, BusType busType, int32 flags) : mName(name ? name : u""), mBusType(busType), mFlags(flags)
{}

void Bus::getInfo(BusInfo& info) const
{
  copyStr16(info.name, mName.c_str(), 128);
  info.busType = mBusType;
  info.flags = static_cast<uint32>(mFlags);
}

AudioBus::AudioBus(const TChar* name, BusType busType, int32 flags, SpeakerArrangement arr)
  : Bus(name, busType, flags), mArrangement(arr)
{}

void AudioBus::getInfo(BusInfo& info) const
{
  Bus::getInfo(info);
  info.channelCount = channelCount(mArrangement);
}

EventBus::EventBus(const TChar* name, BusType busType, int32 flags, int32 channelCount)
  : Bus(name, busType, flags), mChannelCount(channelCount)
{}

void EventBus::getInfo(BusInfo& info) const
{
  Bus::getInfo(info);
  info.channelCount = mChannelCount;
}

Bus* BusList::at(int32 index) const
{
  if (index < 0 || index >= size())
    return nullptr;
  return mBuses[static_cast<size_t>(index)].get();
}

Bus* BusList::append(std::unique_ptr<Bus> bus)
{
  if (!bus)
    return nullptr;
  mBuses.push_back(std::move(bus));
  return mBuses.back().get();
}

}  // namespace vst3
