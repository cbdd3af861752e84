#include "framework/bindings/aax/AAX_VController.h"
#include "framework/bindings/aax/PacketQueue.h"
#include "hosts/aax/InstanceHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {
using namespace aaxhost;

using Calls = std::vector<std::string>;

// Fills packets with a fixed answer and counts its calls.
class Handler : public PacketHandler
{
public:
  Handler(int32_t answer, int& calls) : mAnswer(answer), mCalls(calls) {}
  int32_t FillPacket(const char*, PacketRecord& packet) override
  {
    ++mCalls;
    packet.data.assign(9, 0xAB);
    return mAnswer;
  }

private:
  int32_t mAnswer;
  int& mCalls;
};

TEST(PacketQueue, PostsDirtyPacketsThatTheirHandlersFill)
{
  CallLog log;
  InstanceHost host(log);
  {
    AAX_VController controller(&host);
    PacketQueue queue;
    int fills = 0;
    EXPECT_EQ(queue.MarkDirty("1", true), kAAX_Success);
    EXPECT_EQ(queue.SendDirty(), kAAX_Success);

    ASSERT_TRUE(queue.AddPacket(1, 101));
    ASSERT_TRUE(queue.AddPacket(2, 102));
    EXPECT_FALSE(queue.Subscribe("1", 3, std::make_unique<Handler>(0, fills)));
    ASSERT_TRUE(queue.Subscribe("1", 1, std::make_unique<Handler>(0, fills)));
    ASSERT_TRUE(queue.Subscribe("1", 2, std::make_unique<Handler>(7, fills)));
    EXPECT_FALSE(queue.AddPacket(1, 111)) << "the subscribed record stays";
    EXPECT_EQ(queue.MarkDirty("1", true), kAAX_Success);
    // Without a controller nothing can be posted.
    EXPECT_EQ(queue.SendDirty(), kAAX_ErrMissingInterface);

    queue.Attach(&controller, nullptr);
    log.Clear();
    EXPECT_EQ(queue.SendDirty(), kAAX_Success);
    queue.MarkDirty("1", true);
    EXPECT_EQ(queue.SendDirty(), kAAX_Success);
    // Both subscriptions were marked and filled; only the accepted packet went out, with 4 bytes.
    EXPECT_EQ(fills, 4);
    EXPECT_EQ(log.Matching("Controller."), (Calls{"Controller.SendPacket(101, ptr, 4)"}));
    queue.MarkDirty("2", true);
    EXPECT_EQ(queue.SendDirty(), kAAX_Success);
    EXPECT_EQ(fills, 4);
  }
  EXPECT_EQ(host.RefCount(), 0);
}

TEST(OwnedMutex, OnlyTheOutermostGuardOfAThreadLocksAndUnlocks)
{
  OwnedMutex mutex;
  std::atomic<bool> acquiredElsewhere{false};
  auto outer = std::make_unique<OwnedMutexGuard>(mutex);
  {
    OwnedMutexGuard inner(mutex);
    EXPECT_FALSE(mutex.Acquire());
  }
  // The inner guard released nothing; a thread that does not hold the mutex can neither
  // release it nor take it.
  std::thread other([&] {
    mutex.Relinquish();
    OwnedMutexGuard guard(mutex);
    acquiredElsewhere = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(acquiredElsewhere);
  outer.reset();
  other.join();
  EXPECT_TRUE(acquiredElsewhere);
}

TEST(OwnedMutex, AMutexThatWasNeverMadeLocksNothing)
{
  OwnedMutex mutex{OwnedMutex::Unavailable{}};
  EXPECT_FALSE(mutex.Acquire());
  mutex.Relinquish();
  OwnedMutexGuard guard(mutex);
}

TEST(PacketQueue, MarkingAndSendingFromTwoThreadsKeepTheQueueWhole)
{
  PacketQueue queue;
  int fills = 0;
  queue.AddPacket(1, 1);
  queue.Subscribe("a", 1, std::make_unique<Handler>(1, fills));
  std::thread marker([&] {
    for (int i = 0; i < 2000; ++i)
      queue.MarkDirty("a", true);
  });
  for (int i = 0; i < 2000; ++i)
    queue.SendDirty();
  marker.join();
  queue.SendDirty();
  EXPECT_GT(fills, 0);
  EXPECT_LE(fills, 2001);
}
}  // namespace
