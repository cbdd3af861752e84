// Audio and event buses of a component, and the ordered lists that hold them. A bus starts
// inactive: the host activates the ones it uses.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "sdk/vst3/IAudioProcessor.h"
#include "sdk/vst3/IComponent.h"

namespace vst3 {

class Bus {
public:
  Bus(const TChar* name, BusType busType, int32 flags);
  virtual ~Bus() = default;

  // The host activates buses on its user-interface thread; process reads the flag on the
  // audio thread.
  bool isActive() const { return active_.load(std::memory_order_relaxed); }
  void setActive(bool state) { active_.store(state, std::memory_order_relaxed); }
  const std::u16string& getName() const { return name_; }
  void setName(const TChar* name) { name_ = name ? name : u""; }
  BusType getBusType() const { return busType_; }
  void setBusType(BusType type) { busType_ = type; }
  int32 getFlags() const { return flags_; }
  void setFlags(int32 flags) { flags_ = flags; }

  // Fills name, bus type and flags (and the subclass's channel count); the media type and
  // direction belong to the list.
  virtual void getInfo(BusInfo& info) const;

private:
  std::u16string name_;
  BusType busType_;
  int32 flags_;
  std::atomic<bool> active_{false};
};

class AudioBus : public Bus {
public:
  AudioBus(const TChar* name, BusType busType, int32 flags, SpeakerArrangement arr);

  SpeakerArrangement getArrangement() const { return arrangement_; }
  void setArrangement(SpeakerArrangement arr) { arrangement_ = arr; }
  void getInfo(BusInfo& info) const override;  // channel count = speakers of the arrangement

private:
  SpeakerArrangement arrangement_;
};

class EventBus : public Bus {
public:
  EventBus(const TChar* name, BusType busType, int32 flags, int32 channelCount);

  int32 getChannelCount() const { return channelCount_; }
  void getInfo(BusInfo& info) const override;

private:
  int32 channelCount_;
};

class BusList {
public:
  BusList(MediaType type, BusDirection direction) : type_(type), direction_(direction) {}

  MediaType getType() const { return type_; }
  BusDirection getDirection() const { return direction_; }
  int32 size() const { return static_cast<int32>(buses_.size()); }
  Bus* at(int32 index) const;  // null out of range
  Bus* append(std::unique_ptr<Bus> bus);
  void clear() { buses_.clear(); }

private:
  MediaType type_;
  BusDirection direction_;
  std::vector<std::unique_ptr<Bus>> buses_;
};

}  // namespace vst3
