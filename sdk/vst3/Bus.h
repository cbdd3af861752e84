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

class Bus
{
public:
  Bus(const TChar* name, BusType busType, int32 flags);
  virtual ~Bus() = default;

  // The host activates buses on its user-interface thread; process reads the flag on the
  // audio thread.
  bool isActive() const { return mActive.load(std::memory_order_relaxed); }
  void setActive(bool state) { mActive.store(state, std::memory_order_relaxed); }
  const std::u16string& getName() const { return mName; }
  void setName(const TChar* name) { mName = name ? name : u""; }
  BusType getBusType() const { return mBusType; }
  void setBusType(BusType type) { mBusType = type; }
  int32 getFlags() const { return mFlags; }
  void setFlags(int32 flags) { mFlags = flags; }

  // Fills name, bus type and flags (and the subclass's channel count); the media type and
  // direction belong to the list.
  virtual void getInfo(BusInfo& info) const;

private:
  std::u16string mName;
  BusType mBusType;
  int32 mFlags;
  std::atomic<bool> mActive{false};
};

class AudioBus : public Bus
{
public:
  AudioBus(const TChar* name, BusType busType, int32 flags, SpeakerArrangement arr);

  SpeakerArrangement getArrangement() const { return mArrangement; }
  void setArrangement(SpeakerArrangement arr) { mArrangement = arr; }
  void getInfo(BusInfo& info) const override;  // channel count = speakers of the arrangement

private:
  SpeakerArrangement mArrangement;
};

class EventBus : public Bus
{
public:
  EventBus(const TChar* name, BusType busType, int32 flags, int32 channelCount);

  int32 getChannelCount() const { return mChannelCount; }
  void getInfo(BusInfo& info) const override;

private:
  int32 mChannelCount;
};

class BusList
{
public:
  BusList(MediaType type, BusDirection direction) : mType(type), mDirection(direction) {}

  MediaType getType() const { return mType; }
  BusDirection getDirection() const { return mDirection; }
  int32 size() const { return static_cast<int32>(mBuses.size()); }
  Bus* at(int32 index) const;  // null out of range
  Bus* append(std::unique_ptr<Bus> bus);
  void clear() { mBuses.clear(); }

private:
  MediaType mType;
  BusDirection mDirection;
  std::vector<std::unique_ptr<Bus>> mBuses;
};

}  // namespace vst3
