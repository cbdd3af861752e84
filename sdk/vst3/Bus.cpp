#include "sdk/vst3/Bus.h"

#include "sdk/vst3/StringConvert.h"

namespace vst3 {

Bus::Bus(const TChar* name, BusType busType, int32 flags)
    : name_(name ? name : u""), busType_(busType), flags_(flags) {}

void Bus::getInfo(BusInfo& info) const {
  copyStr16(info.name, name_.c_str(), 128);
  info.busType = busType_;
  info.flags = static_cast<uint32>(flags_);
}

AudioBus::AudioBus(const TChar* name, BusType busType, int32 flags, SpeakerArrangement arr)
    : Bus(name, busType, flags), arrangement_(arr) {}

void AudioBus::getInfo(BusInfo& info) const {
  Bus::getInfo(info);
  info.channelCount = channelCount(arrangement_);
}

EventBus::EventBus(const TChar* name, BusType busType, int32 flags, int32 channelCount)
    : Bus(name, busType, flags), channelCount_(channelCount) {}

void EventBus::getInfo(BusInfo& info) const {
  Bus::getInfo(info);
  info.channelCount = channelCount_;
}

Bus* BusList::at(int32 index) const {
  if (index < 0 || index >= size()) return nullptr;
  return buses_[static_cast<size_t>(index)].get();
}

Bus* BusList::append(std::unique_ptr<Bus> bus) {
  if (!bus) return nullptr;
  buses_.push_back(std::move(bus));
  return buses_.back().get();
}

}  // namespace vst3
