// The module's factory and the component calls: identity, interfaces and their shared count,
// initialisation, buses and bus arrangements.
#include "tests/vst3/binding/BindingTestSupport.h"

#include "sdk/vst3/FUID.h"

#include <cstring>
#include <string>

using namespace vst3binding;

TEST(Factory, AnnouncesOneEffectClassAndKeepsOneFactory)
{
  IPluginFactory* factory = GetPluginFactory();
  ASSERT_EQ(factory->countClasses(), 1);
  void* p = nullptr;
  ASSERT_EQ(factory->queryInterface(IPluginFactory2::iid, &p), kResultOk);
  auto* factory2 = static_cast<IPluginFactory2*>(p);
  PClassInfo2 c{};
  ASSERT_EQ(factory2->getClassInfo2(0, &c), kResultOk);
  factory2->release();
  EXPECT_STREQ(c.category, "Audio Module Class");
  EXPECT_STREQ(c.name, "TarvexQuoxel");
  EXPECT_STREQ(c.subCategories, "Fx|Dynamics");
  EXPECT_STREQ(c.version, "1.0.4");

  // The class is the same four words everywhere; Windows hosts see exactly these bytes.
  EXPECT_EQ(FUID::fromTUID(c.cid), FUID(0xF2AEE70D, 0x00DE4F4E, 0x54767872, 0x51786C73));
#if defined(_WIN32)
  EXPECT_EQ(std::memcmp(c.cid, "\x0D\xE7\xAE\xF2\xDE\x00\x4E\x4FTvxrQxls", 16), 0);
#endif

  // A second call hands out the same factory with one more reference.
  IPluginFactory* again = GetPluginFactory();
  EXPECT_EQ(again, factory);
  EXPECT_EQ(again->release(), 1u);

  TUID other = {};
  void* obj = &other;
  EXPECT_EQ(factory->createInstance(other, IComponent::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(factory->release(), 0u);
}

TEST(Component, EveryInterfaceAnswersForTheOneObjectAndItsCount)
{
  Session s;
  FUnknown* identity = s.Query<FUnknown>();
  ASSERT_NE(identity, nullptr);
  const auto ask = [&](FUnknown* from) {
    for (const char* iid : {IComponent::iid, IAudioProcessor::iid, IEditController::iid, IUnitInfo::iid,
                            IMidiMapping::iid, IEditController2::iid, IConnectionPoint::iid, FUnknown::iid})
    {
      void* p = nullptr;
      ASSERT_EQ(from->queryInterface(iid, &p), kResultOk);
      FUnknown* asked = static_cast<FUnknown*>(p);
      void* back = nullptr;
      ASSERT_EQ(asked->queryInterface(FUnknown::iid, &back), kResultOk);
      EXPECT_EQ(back, identity) << "one identity from every entry";
      static_cast<FUnknown*>(back)->release();
      asked->release();
    }
  };
  IUnitInfo* units = s.Query<IUnitInfo>();
  IMidiMapping* midi = s.Query<IMidiMapping>();
  ask(s.driver->component());
  ask(units);
  ask(midi);
  units->release();
  midi->release();
  EXPECT_EQ(identity->release(), 3u) << "only the host's component, processor and controller remain";
  EXPECT_TRUE(s.Plug().isTypeOf("SingleComponentEffect"));
  EXPECT_STREQ(s.Plug().isA(), "IPlugVST3");
}

TEST(Component, InitializeAddsBusesAndParametersOnce)
{
  Session s;
  const auto in = s.driver->buses(kAudio, kInput);
  ASSERT_EQ(in.size(), 1u);
  EXPECT_EQ(vst3host::narrow(in[0].name), "Main Input");
  EXPECT_EQ(in[0].channelCount, 2);
  EXPECT_EQ(s.driver->buses(kEvent, kInput).size(), 1u);

  // A second initialize is refused and changes nothing: no buses, no parameters, and the
  // user's values stay.
  s.Controller().setParamNormalized(TarvexQuoxel::kHiPass, 1.0);
  EXPECT_EQ(s.driver->component()->initialize(nullptr), kResultFalse);
  EXPECT_EQ(s.Controller().getParameterCount(), 139);
  EXPECT_EQ(s.driver->component()->getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(s.Plug().ParamAt(TarvexQuoxel::kHiPass)->Value(), 400.0);
  EXPECT_EQ(s.driver->component()->terminate(), kResultOk);
  EXPECT_EQ(s.driver->component()->initialize(nullptr), kResultOk);
  EXPECT_EQ(s.Controller().getParameterCount(), 139);
}

TEST(Component, HostNameBecomesTheHostCode)
{
  vst3host::HostApplication host(u"VST3PluginTestHost Application");
  FUnknown* unknown = CreateTarvexQuoxelProcessor(nullptr);
  void* p = nullptr;
  ASSERT_EQ(unknown->queryInterface(IComponent::iid, &p), kResultOk);
  auto* component = static_cast<IComponent*>(p);
  ASSERT_EQ(component->initialize(&host), kResultOk);
  EXPECT_EQ(static_cast<IPlugVST3*>(component)->HostCode(), 27);
  EXPECT_EQ(host.heldByPlugin(), 1) << "the context is kept, the host application released";
  component->terminate();
  EXPECT_EQ(host.heldByPlugin(), 0);
  component->release();
  EXPECT_EQ(unknown->release(), 0u);
}

TEST(Component, OnlyLegalArrangementsAreAcceptedAndBusesKeepTheirActivation)
{
  Session s;
  IAudioProcessor& proc = s.Processor();
  SpeakerArrangement mono = arrangement::kMono, stereo = arrangement::kStereo, two[2] = {stereo, stereo};
  const auto arrange = [&](SpeakerArrangement* in, int32 nIn, SpeakerArrangement* out, int32 nOut) {
    return proc.setBusArrangements(in, nIn, out, nOut);
  };
  EXPECT_EQ(arrange(&mono, 1, &stereo, 1), kResultFalse);
  EXPECT_EQ(arrange(&stereo, 1, &mono, 1), kResultFalse);
  EXPECT_EQ(arrange(two, 2, &stereo, 1), kResultFalse);
  EXPECT_EQ(arrange(nullptr, 1, nullptr, 1), kResultFalse);
  for (int ch = 0; ch < 2; ++ch)
  {
    EXPECT_FALSE(s.Plug().IsInChannelConnected(ch)) << "a refused arrangement leaves channels unconnected";
    EXPECT_FALSE(s.Plug().IsOutChannelConnected(ch));
  }

  s.driver->component()->activateBus(kAudio, kOutput, 0, 1);
  EXPECT_EQ(arrange(&mono, 1, &mono, 1), kResultOk);
  EXPECT_EQ(s.driver->buses(kAudio, kInput)[0].channelCount, 1);
  EXPECT_TRUE(s.Plug().getAudioOutput(0)->isActive()) << "the host's activation survives the change";
  EXPECT_EQ(arrange(&stereo, 1, &stereo, 1), kResultOk);
  EXPECT_EQ(s.driver->buses(kAudio, kOutput)[0].channelCount, 2);

  for (int n = 0; n <= 7; ++n)
    EXPECT_EQ(channelCount(IPlugVST3::ArrangementForChannelCount(n)), n <= 6 ? n : 0);
}
