#pragma once

#include "framework/bindings/aax/AAX_VController.h"
#include "framework/bindings/aax/OwnedMutex.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class AAX_CEffectParameters;

// One data packet for the host's processing side.
struct PacketRecord
{
  uint32_t packetId = 0;
  bool dirty = false;
  int32_t size = 0;
  std::vector<uint8_t> data;
};

// Fills a packet from the parameter it is subscribed to; 0 means "post it".
class PacketHandler
{
public:
  virtual ~PacketHandler() = default;
  // The slot between the destructor and FillPacket: an operation nothing here calls.
  virtual void Unused() {}
  virtual int32_t FillPacket(const char* parameterId, PacketRecord& packet) = 0;
};

// Packets tied to parameter identifiers: marked dirty when the host changes such a parameter,
// posted through the host's controller when the host asks for them. All three run under the
// queue's mutex, so a handler or controller that calls back on the same thread goes through.
class PacketQueue
{
public:
  static constexpr int32_t kPostedBytes = 4;

  PacketQueue() = default;
  ~PacketQueue();

  PacketQueue(const PacketQueue&) = delete;
  PacketQueue& operator=(const PacketQueue&) = delete;

  void Attach(AAX_IController* controller, AAX_CEffectParameters* owner);
  // Registration: a packet under a key (false for a key already taken), and a parameter
  // feeding it through a handler (false, and nothing kept, for an unknown key or a missing
  // handler).
  bool AddPacket(uint32_t key, uint32_t packetId);
  bool Subscribe(const char* parameterId, uint32_t key, std::unique_ptr<PacketHandler> handler);

  ACFResult MarkDirty(const char* parameterId, bool dirty);
  // Posts every dirty packet whose handler fills it and clears every dirty flag; answers the
  // last post's result, 0 when nothing was posted.
  ACFResult SendDirty();

private:
  struct Subscription
  {
    PacketRecord* packet;
    std::unique_ptr<PacketHandler> handler;
  };

  std::map<uint32_t, std::unique_ptr<PacketRecord>> mPackets;
  std::multimap<std::string, Subscription> mSubscriptions;
  AAX_IController* mController = nullptr;
  AAX_CEffectParameters* mOwner = nullptr;
  OwnedMutex mMutex;
};
