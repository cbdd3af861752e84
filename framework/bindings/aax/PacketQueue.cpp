#include "framework/bindings/aax/PacketQueue.h"

PacketQueue::~PacketQueue()
{
  OwnedMutexGuard guard(mMutex);
  mPackets.clear();
  mSubscriptions.clear();
}

void PacketQueue::Attach(AAX_IController* controller, AAX_CEffectParameters* owner)
{
  OwnedMutexGuard guard(mMutex);
  mController = controller;
  mOwner = owner;
}

bool PacketQueue::AddPacket(uint32_t key, uint32_t packetId)
{
  OwnedMutexGuard guard(mMutex);
  // A key taken keeps its record: subscriptions point at it.
  if (mPackets.count(key) != 0)
    return false;
  auto packet = std::make_unique<PacketRecord>();
  packet->packetId = packetId;
  mPackets.emplace(key, std::move(packet));
  return true;
}

bool PacketQueue::Subscribe(const char* parameterId, uint32_t key, std::unique_ptr<PacketHandler> handler)
{
  OwnedMutexGuard guard(mMutex);
  const auto packet = mPackets.find(key);
  if (!parameterId || !handler || packet == mPackets.end())
    return false;
  mSubscriptions.emplace(parameterId, Subscription{packet->second.get(), std::move(handler)});
  return true;
}

ACFResult PacketQueue::MarkDirty(const char* parameterId, bool dirty)
{
  OwnedMutexGuard guard(mMutex);
  if (!parameterId)
    return kAAX_Success;
  const auto [first, end] = mSubscriptions.equal_range(parameterId);
  for (auto it = first; it != end; ++it)
    it->second.packet->dirty = dirty;
  return kAAX_Success;
}

ACFResult PacketQueue::SendDirty()
{
  OwnedMutexGuard guard(mMutex);
  ACFResult result = kAAX_Success;
  for (auto& [parameterId, subscription] : mSubscriptions)
  {
    PacketRecord& packet = *subscription.packet;
    if (!packet.dirty)
      continue;
    if (subscription.handler->FillPacket(parameterId.c_str(), packet) == 0)
    {
      packet.size = kPostedBytes;
      packet.data.resize(kPostedBytes);
      result = mController ? mController->SendPacket(packet.packetId, packet.data.data(), kPostedBytes)
                           : kAAX_ErrMissingInterface;
    }
    packet.dirty = false;
  }
  return result;
}
