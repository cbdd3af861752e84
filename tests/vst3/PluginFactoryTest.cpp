#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "sdk/vst3/CPluginFactory.h"
#include "sdk/vst3/FUID.h"
#include "sdk/vst3/SingleComponentEffect.h"
#include "tests/vst3/FakeHostObjects.h"

using namespace vst3;
using vst3test::junkPointer;

namespace {

int gLive = 0;
void* gLastContext = nullptr;

class Plug : public SingleComponentEffect
{
public:
  Plug() { ++gLive; }
  ~Plug() override { --gLive; }
};

FUnknown* createPlug(void* context)
{
  gLastContext = context;
  return static_cast<IAudioProcessor*>(new Plug);
}
FUnknown* createNothing(void*)
{
  return nullptr;
}
FUnknown* createThrowing(void*)
{
  throw std::runtime_error("out of luck");
}

const FUID kPlugId(0xF2AEE70D, 0x00DE4F4E, 0x54767872, 0x51786C73);
const FUID kNullId(1, 2, 3, 4);
const FUID kThrowId(5, 6, 7, 8);

PFactoryInfo vendorInfo()
{
  return makeFactoryInfo("Tarvex", "https://tarvex.example", "support@tarvex.example", PFactoryInfo::kUnicode);
}

PClassInfo2 plugInfo()
{
  return makeClassInfo2(kPlugId.toTUID(), kManyInstances, kVstAudioEffectClass, "TarvexQuoxel", kSimpleModeSupported,
                        "Fx|Dynamics", "", "1.0.4", "VST 3.5.2");
}

int gRegistrations = 0;
int gContextTag = 0;

void registerAll(CPluginFactory& f)
{
  ++gRegistrations;
  const PClassInfo2 info = plugInfo();
  f.registerClass(&info, createPlug, &gContextTag);
  PClassInfo old{};
  std::memcpy(old.cid, kNullId.toTUID(), 16);
  old.cardinality = 1;
  std::strcpy(old.category, kVstAudioEffectClass);
  std::strcpy(old.name, "Nothing");
  f.registerClass(&old, createNothing);
  PClassInfo2 throwing = plugInfo();
  std::memcpy(throwing.cid, kThrowId.toTUID(), 16);
  f.registerClass(&throwing, createThrowing);
}

class FactoryTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    gLive = 0;
    registerAll(*factory);
  }
  void TearDown() override
  {
    if (factory)
      factory->release();
    EXPECT_EQ(gLive, 0);
  }
  CPluginFactory* factory = new CPluginFactory(vendorInfo());
};

}  // namespace

TEST(FactoryRecords, TextsAreCutAndTerminated)
{
  const std::string longText(300, 'v');
  const PFactoryInfo f = makeFactoryInfo(longText.c_str(), longText.c_str(), nullptr, 16);
  EXPECT_EQ(std::string(f.vendor), std::string(63, 'v'));
  EXPECT_EQ(std::string(f.url), std::string(255, 'v'));
  EXPECT_EQ(std::string(f.email), "");
  EXPECT_EQ(f.flags, 16);

  const PClassInfo2 c = makeClassInfo2(kPlugId.toTUID(), 1, longText.c_str(), longText.c_str(), 2, longText.c_str(), "",
                                       "1.0.4", "VST 3.5.2");
  EXPECT_EQ(std::string(c.category), std::string(31, 'v'));
  EXPECT_EQ(std::string(c.name), std::string(63, 'v'));
  EXPECT_EQ(std::string(c.subCategories), std::string(127, 'v'));
  EXPECT_EQ(std::string(c.vendor), "");
}

TEST_F(FactoryTest, InformationCalls)
{
  PFactoryInfo f;
  std::memset(&f, 0xEE, sizeof f);
  EXPECT_EQ(factory->getFactoryInfo(&f), kResultOk);
  EXPECT_EQ(std::string(f.vendor), "Tarvex");
  EXPECT_EQ(factory->getFactoryInfo(nullptr), kInvalidArgument);

  ASSERT_EQ(factory->countClasses(), 3);
  PClassInfo2 c2;
  ASSERT_EQ(factory->getClassInfo2(0, &c2), kResultOk);
  EXPECT_EQ(std::memcmp(c2.cid, kPlugId.toTUID(), 16), 0);
  EXPECT_EQ(std::string(c2.subCategories), "Fx|Dynamics");

  // The old record is the first bytes of the new one.
  PClassInfo c1;
  ASSERT_EQ(factory->getClassInfo(0, &c1), kResultOk);
  EXPECT_EQ(std::memcmp(&c1, &c2, sizeof c1), 0);

  // A class registered with the old record only has no second form.
  std::memset(&c2, 0xEE, sizeof c2);
  EXPECT_EQ(factory->getClassInfo2(1, &c2), kResultFalse);
  EXPECT_EQ(c2.name[0], 0);

  for (int32 bad : {-1, 3})
  {
    EXPECT_EQ(factory->getClassInfo(bad, &c1), kInvalidArgument);
    EXPECT_EQ(factory->getClassInfo2(bad, &c2), kInvalidArgument);
  }
  EXPECT_EQ(factory->getClassInfo2(0, nullptr), kInvalidArgument);
  EXPECT_FALSE(factory->registerClass(static_cast<PClassInfo2*>(nullptr), createPlug));
  const PClassInfo2 info = plugInfo();
  EXPECT_FALSE(factory->registerClass(&info, nullptr));
  EXPECT_EQ(factory->countClasses(), 3);
}

TEST_F(FactoryTest, QueryInterface)
{
  void* p = junkPointer();
  for (const char* id : {FUnknown::iid, IPluginFactory::iid, IPluginFactory2::iid})
  {
    ASSERT_EQ(factory->queryInterface(id, &p), kResultOk);
    EXPECT_EQ(p, static_cast<IPluginFactory2*>(factory));
    factory->release();
  }
  EXPECT_EQ(factory->queryInterface(IPluginFactory3::iid, &p), kNoInterface);
  EXPECT_EQ(p, nullptr);
}

TEST_F(FactoryTest, CreateInstanceHandsOverOneReferenceOrLeavesNothing)
{
  void* obj = junkPointer();
  ASSERT_EQ(factory->createInstance(kPlugId.toTUID(), IComponent::iid, &obj), kResultOk);
  EXPECT_EQ(gLastContext, &gContextTag);  // the registered context reaches the create function
  EXPECT_EQ(gLive, 1);
  EXPECT_EQ(static_cast<IComponent*>(obj)->release(), 0u);  // the only reference was the caller's

  // A refused interface destroys the object that was made; failing or throwing create
  // functions and unknown classes give nothing.
  const FUID unknown(9, 9, 9, 9);
  const struct
  {
    const char* cid;
    const char* iid;
  } refused[] = {{kPlugId.toTUID(), IPlugView::iid},
                 {unknown.toTUID(), IComponent::iid},
                 {kNullId.toTUID(), IComponent::iid},
                 {kThrowId.toTUID(), IComponent::iid}};
  for (const auto& r : refused)
  {
    obj = junkPointer();
    EXPECT_EQ(factory->createInstance(r.cid, r.iid, &obj), kNoInterface);
    EXPECT_EQ(obj, nullptr);
  }
  EXPECT_EQ(factory->createInstance(nullptr, IComponent::iid, &obj), kInvalidArgument);
  EXPECT_EQ(factory->createInstance(kPlugId.toTUID(), nullptr, &obj), kInvalidArgument);
  EXPECT_EQ(factory->createInstance(kPlugId.toTUID(), IComponent::iid, nullptr), kInvalidArgument);
  EXPECT_EQ(gLive, 0);
}

TEST(FactoryObtain, ConcurrentFirstCallsShareOneFactory)
{
  gRegistrations = 0;
  constexpr int kThreads = 8;
  std::vector<IPluginFactory*> got(kThreads);
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.emplace_back([&, i] {
      while (!go.load())
        std::this_thread::yield();
      got[i] = CPluginFactory::obtain(vendorInfo(), registerAll);
    });
  go = true;
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(gRegistrations, 1);
  for (IPluginFactory* f : got)
    EXPECT_EQ(f, got[0]);
  for (IPluginFactory* f : got)
    f->release();
}

TEST(FactoryObtain, ARegistrationThatRunsOutOfMemoryGivesNoFactoryAndNoException)
{
  IPluginFactory* none = nullptr;
  EXPECT_NO_THROW(none = CPluginFactory::obtain(vendorInfo(), [](CPluginFactory&) { throw std::bad_alloc(); }));
  EXPECT_EQ(none, nullptr);
  // Nothing half-built is kept: the next call builds a whole factory.
  gRegistrations = 0;
  IPluginFactory* whole = CPluginFactory::obtain(vendorInfo(), registerAll);
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(gRegistrations, 1);
  EXPECT_EQ(whole->countClasses(), 3);
  EXPECT_EQ(whole->release(), 0u);
}
