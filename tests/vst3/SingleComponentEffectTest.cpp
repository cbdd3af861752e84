// The single-component effect as hosts see it: one object behind every interface, one
// reference count, buses, and the edit controller's parameter, handler and message calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <algorithm>
#include <random>

#include "sdk/vst3/SingleComponentEffect.h"
#include "tests/vst3/FakeHostObjects.h"

using namespace vst3;
using vst3test::FakeConnection;
using vst3test::FakeHandler;
using vst3test::FakeHandler2;
using vst3test::FakeHost;
using vst3test::FakeMessage;
using vst3test::junkPointer;

namespace {

class TestEffect : public SingleComponentEffect
{
public:
  TestEffect()
  {
    addAudioInput(u"Main Input", arrangement::kStereo);
    addAudioOutput(u"Output", arrangement::kStereo);
    addEventInput(u"MIDI Input", 1);
  }

  tresult setEditorState(IBStream*) override { return kResultTrue; }
  tresult getEditorState(IBStream*) override { return kResultTrue; }
  tresult receiveText(const char* text) override
  {
    received = text;
    return kResultOk;
  }

  void addParameters()
  {
    auto* gain = new RangeParameter(u"Gain", 0, u"dB", -60, 12, 0);
    gain->setPrecision(1);
    mParameters.addParameter(gain);
    auto* list = new StringListParameter(u"Mode", 1);
    list->appendString(u"off");
    list->appendString(u"on");
    mParameters.addParameter(list);
  }

  std::string received;
  TQ_VST3_OBJECT(TestEffect, SingleComponentEffect)
};

template <typename I>
I* query(FUnknown* from)
{
  void* p = junkPointer();
  return from->queryInterface(I::iid, &p) == kResultOk ? static_cast<I*>(p) : nullptr;
}

class SingleComponentEffectTest : public ::testing::Test
{
protected:
  TestEffect* fx = new TestEffect;
  void TearDown() override
  {
    if (fx)
      fx->release();
  }
  IComponent* component() { return static_cast<IComponent*>(fx); }
  IEditController* controller() { return static_cast<IEditController*>(fx); }
  IAudioProcessor* processor() { return static_cast<IAudioProcessor*>(fx); }
};

}  // namespace

TEST_F(SingleComponentEffectTest, AnswersItsInterfacesWithOneIdentityAndOneCount)
{
  EXPECT_EQ(fx->refCount(), 1u);
  FUnknown* entries[] = {component(), controller(), processor(), static_cast<IEditController2*>(fx)};
  FUnknown* identity = nullptr;
  for (FUnknown* entry : entries)
  {
    FUnknown* unknown = query<FUnknown>(entry);
    ASSERT_NE(unknown, nullptr);
    if (!identity)
      identity = unknown;
    EXPECT_EQ(unknown, identity);  // the same FUnknown from every entry
    EXPECT_EQ(query<IComponent>(entry), component());
    EXPECT_EQ(query<IAudioProcessor>(entry), processor());
    EXPECT_EQ(query<IEditController>(entry), controller());
    EXPECT_NE(query<IEditController2>(entry), nullptr);
    EXPECT_NE(query<IPluginBase>(entry), nullptr);
    EXPECT_EQ(query<IConnectionPoint>(entry), static_cast<IConnectionPoint*>(fx));
  }
  EXPECT_EQ(fx->refCount(), 1u + 4 * 7);
  for (int i = 0; i < 4 * 7; ++i)
    entries[i % 4]->release();

  for (const char* id : {IUnitInfo::iid, IPlugView::iid})
  {
    void* p = junkPointer();
    EXPECT_EQ(processor()->queryInterface(id, &p), kNoInterface);
    EXPECT_EQ(p, nullptr);
  }
  EXPECT_EQ(component()->queryInterface(IComponent::iid, nullptr), kInvalidArgument);
  EXPECT_EQ(fx->refCount(), 1u);
}

TEST_F(SingleComponentEffectTest, InitializeKeepsTheContextOnceAndTerminateClears)
{
  FakeHost host;
  EXPECT_EQ(component()->initialize(host.unknown()), kResultOk);
  EXPECT_EQ(host.refs, 2);
  EXPECT_EQ(fx->getHostContext(), host.unknown());
  EXPECT_EQ(controller()->initialize(host.unknown()), kResultFalse);  // already initialised
  EXPECT_EQ(host.refs, 2);

  fx->addParameters();
  EXPECT_EQ(component()->terminate(), kResultOk);
  EXPECT_EQ(host.refs, 1);
  EXPECT_EQ(fx->getHostContext(), nullptr);
  EXPECT_EQ(controller()->getParameterCount(), 0);
  EXPECT_EQ(component()->getBusCount(kEvent, kInput), 0);
  EXPECT_EQ(component()->initialize(host.unknown()), kResultOk);
  EXPECT_EQ(host.refs, 2);
  fx->release();  // destruction without terminate still gives the context back
  fx = nullptr;
  EXPECT_EQ(host.refs, 1);
}

// Bad indices and media types are covered by the fuzzed calls below.
TEST_F(SingleComponentEffectTest, BusesAnswerWholeRecordsAndKeepActivationAcrossArrangements)
{
  BusInfo a, b;
  std::memset(&a, 0xAB, sizeof a);
  std::memset(&b, 0xCD, sizeof b);
  ASSERT_EQ(component()->getBusInfo(kAudio, kInput, 0, a), kResultTrue);
  ASSERT_EQ(component()->getBusInfo(kAudio, kInput, 0, b), kResultTrue);
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);  // no stale bytes, not even in padding
  EXPECT_EQ(std::u16string(a.name), u"Main Input");
  EXPECT_EQ(a.flags, uint32(BusInfo::kDefaultActive));

  EXPECT_FALSE(fx->getAudioOutput(0)->isActive());  // buses start inactive
  EXPECT_EQ(component()->activateBus(kAudio, kOutput, 0, 1), kResultTrue);
  AudioBus* out = fx->getAudioOutput(0);
  SpeakerArrangement mono = arrangement::kMono, two[2] = {arrangement::kStereo, arrangement::kStereo};
  EXPECT_EQ(processor()->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
  EXPECT_EQ(fx->getAudioOutput(0), out);  // changed in place
  EXPECT_TRUE(out->isActive());
  EXPECT_EQ(processor()->setBusArrangements(two, 2, two, 1), kResultFalse);
  EXPECT_EQ(processor()->setBusArrangements(nullptr, 1, two, 1), kInvalidArgument);
}

// Texts and mappings of known parameters are checked through the binding; here the refusals.
TEST_F(SingleComponentEffectTest, ParameterCallsRefuseUnknownIdsAndNaN)
{
  fx->addParameters();
  IEditController* c = controller();
  ParameterInfo info{};
  EXPECT_EQ(c->getParameterInfo(2, info), kResultFalse);
  String128 s;
  EXPECT_EQ(c->getParamStringByValue(5, 0.0, s), kResultFalse);
  EXPECT_EQ(c->getParamStringByValue(0, 0.0, nullptr), kResultFalse);
  ParamValue v = -1;
  TChar typed[] = u"-42";
  EXPECT_EQ(c->getParamValueByString(5, typed, v), kResultFalse);
  EXPECT_EQ(c->normalizedParamToPlain(77, 0.3), 0.3);  // unknown id: unchanged
  EXPECT_EQ(c->setParamNormalized(0, 0.75), kResultTrue);
  EXPECT_EQ(c->setParamNormalized(0, std::nan("")), kResultTrue);
  EXPECT_EQ(c->getParamNormalized(0), 0.75);  // NaN never stored
  EXPECT_EQ(c->setParamNormalized(77, 0.5), kResultFalse);
}

// A host's text is a String128: one that fills all 128 units without a terminator is read no
// further (the sanitizer sees a read past the heap block), and the numbers in it still count.
TEST_F(SingleComponentEffectTest, TypedTextIsReadWithinItsString128)
{
  fx->addParameters();
  IEditController* c = controller();
  auto zeros = std::make_unique<TChar[]>(128);
  std::fill(zeros.get(), zeros.get() + 128, u'0');
  ParamValue v = -1;
  ASSERT_EQ(c->getParamValueByString(0, zeros.get(), v), kResultTrue);
  EXPECT_DOUBLE_EQ(v, 60.0 / 72.0);
  auto gain = std::make_unique<TChar[]>(128);
  std::fill(gain.get(), gain.get() + 128, u' ');
  std::copy_n(u"-6", 2, gain.get());
  ASSERT_EQ(c->getParamValueByString(0, gain.get(), v), kResultTrue);
  EXPECT_DOUBLE_EQ(v, 54.0 / 72.0);
}

TEST_F(SingleComponentEffectTest, ComponentHandlerReferencesAndEdits)
{
  EXPECT_EQ(fx->beginEdit(3), kResultFalse);  // no handler yet
  FakeHandler first;
  FakeHandler2 second;
  EXPECT_EQ(controller()->setComponentHandler(&first), kResultTrue);
  EXPECT_EQ(controller()->setComponentHandler(&first), kResultTrue);  // same one again
  EXPECT_EQ(first.refs, 2);
  EXPECT_EQ(fx->performEdit(3, 0.5), kResultOk);
  EXPECT_EQ(first.edits, std::vector<double>{0.5});
  EXPECT_EQ(fx->setDirty(true), kNotImplemented);  // the first handler has no second interface

  EXPECT_EQ(controller()->setComponentHandler(&second), kResultTrue);
  EXPECT_EQ(first.refs, 1);
  EXPECT_EQ(second.refs, 3);  // kept, plus its second interface
  EXPECT_EQ(fx->startGroupEdit(), kResultOk);
  EXPECT_EQ(second.groupEdits, 1);
  EXPECT_EQ(fx->setDirty(true), kResultOk);
  EXPECT_TRUE(second.dirty);
  controller()->terminate();  // terminate gives the handler back
  EXPECT_EQ(second.refs, 1);
}

TEST_F(SingleComponentEffectTest, ConnectionPeerAndTextMessages)
{
  IConnectionPoint* point = static_cast<IConnectionPoint*>(fx);
  FakeConnection peer, other;
  EXPECT_EQ(point->connect(nullptr), kInvalidArgument);
  EXPECT_EQ(point->connect(&peer), kResultOk);
  EXPECT_EQ(peer.refs, 2);
  EXPECT_EQ(point->connect(&other), kResultFalse);  // one peer at a time
  EXPECT_EQ(point->disconnect(&other), kResultFalse);
  component()->terminate();  // terminate disconnects and gives the peer back
  EXPECT_EQ(peer.refs, 1);
  EXPECT_EQ(peer.disconnects, 1);

  FakeMessage message;
  message.attributes.text = u"hello";
  EXPECT_EQ(point->notify(&message), kResultOk);
  EXPECT_EQ(fx->received, "hello");
  // A host that fills the whole buffer without a terminator: the text is cut, not overrun.
  message.attributes.text = std::u16string(300, u'x');
  EXPECT_EQ(point->notify(&message), kResultOk);
  EXPECT_EQ(fx->received, std::string(127, 'x'));
  message.id = "OtherMessage";
  EXPECT_EQ(point->notify(&message), kResultFalse);
}

// A host that connects "component" and "controller" connects this one object to itself, both
// ways: every call succeeds, no reference to itself is kept, and terminate, or a release
// without terminate, ends cleanly.
TEST_F(SingleComponentEffectTest, ConnectedToItselfKeepsNoReferenceToItself)
{
  IConnectionPoint* self = query<IConnectionPoint>(component());
  ASSERT_NE(self, nullptr);
  self->release();
  EXPECT_EQ(self->connect(self), kResultOk);
  EXPECT_EQ(self->connect(self), kResultOk);
  EXPECT_EQ(fx->refCount(), 1u);
  FakeConnection peer;
  EXPECT_EQ(self->connect(&peer), kResultOk);  // the self-connection holds no place
  EXPECT_EQ(self->disconnect(self), kResultOk);
  EXPECT_EQ(fx->getPeer(), &peer);
  component()->terminate();
  EXPECT_EQ(peer.refs, 1);

  EXPECT_EQ(self->connect(self), kResultOk);
  EXPECT_EQ(fx->release(), 0u);  // destroyed: nothing held it
  fx = nullptr;
}

// A peer that answers our disconnect by disconnecting us in turn, as a host's connection
// proxy does, is let go of once.
TEST_F(SingleComponentEffectTest, PeerThatDisconnectsBackIsReleasedOnce)
{
  struct Echo : FakeConnection
  {
    IConnectionPoint* back = nullptr;
    tresult PLUGIN_API disconnect(IConnectionPoint* other) override
    {
      FakeConnection::disconnect(other);
      return back->disconnect(this);
    }
  } echo;
  IConnectionPoint* point = static_cast<IConnectionPoint*>(fx);
  echo.back = point;
  ASSERT_EQ(point->connect(&echo), kResultOk);
  component()->terminate();
  EXPECT_EQ(echo.refs, 1);
  EXPECT_EQ(echo.disconnects, 1);
}

// Random host-controlled arguments: every answer defined, every text terminated, every value
// inside 0..1, bus information always agreeing with the arrangements.
TEST_F(SingleComponentEffectTest, FuzzedHostCallsStayWellDefined)
{
  fx->addParameters();
  std::mt19937 rng(20261208);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const double specials[] = {0.0, 1.0, 0.5, -0.0, -1e-300, 1.0000001, 1e308, -1e308, INFINITY, -INFINITY, std::nan("")};
  auto value = [&]() {
    return pick(0, 1) ? specials[pick(0, 10)] : std::uniform_real_distribution<double>(-2, 3)(rng);
  };
  const ParamID ids[] = {0, 1, 2, 0x62706173, 0xFFFFFFFF};

  for (int round = 0; round < 20000; ++round)
  {
    switch (pick(0, 4))
    {
    case 0:
    {
      BusInfo info;
      std::memset(&info, 0x7F, sizeof info);
      const tresult r = component()->getBusInfo(pick(-2, 3), pick(-2, 3), pick(-3, 4), info);
      ASSERT_TRUE(r == kResultTrue || r == kInvalidArgument);
      if (r == kResultTrue)
      {
        EXPECT_LT(strlen16(info.name), 128);
        EXPECT_GE(info.channelCount, 0);
      }
      const tresult a = component()->activateBus(pick(-2, 3), pick(-2, 3), pick(-3, 4), pick(0, 1));
      ASSERT_TRUE(a == kResultTrue || a == kInvalidArgument);
      break;
    }
    case 1:
    {
      SpeakerArrangement in[3], out[3];
      for (int i = 0; i < 3; ++i)
      {
        in[i] = SpeakerArrangement(rng()) << pick(0, 40);
        out[i] = SpeakerArrangement(rng()) << pick(0, 40);
      }
      processor()->setBusArrangements(pick(0, 5) ? in : nullptr, pick(-1, 3), pick(0, 5) ? out : nullptr, pick(-1, 3));
      for (BusDirection dir : {kInput, kOutput})
      {
        SpeakerArrangement arr = 0;
        BusInfo info{};
        ASSERT_EQ(processor()->getBusArrangement(dir, 0, arr), kResultTrue);
        ASSERT_EQ(component()->getBusInfo(kAudio, dir, 0, info), kResultTrue);
        EXPECT_EQ(info.channelCount, channelCount(arr));
      }
      break;
    }
    case 2:
    {
      std::u16string s(130, u'\x7F7F');
      if (controller()->getParamStringByValue(ids[pick(0, 4)], value(), &s[0]) == kResultTrue)
      {
        EXPECT_LT(strlen16(s.c_str()), 128);
      }
      EXPECT_EQ(s[128], u'\x7F7F');  // nothing written past the host's String128
      break;
    }
    case 3:
    {
      std::u16string s;
      const int n = pick(0, 40);
      for (int i = 0; i < n; ++i)
        s.push_back(pick(0, 3) ? char16_t(u"0123456789.-+e dBon"[pick(0, 18)]) : char16_t(pick(1, 0xFFFF)));
      ParamValue v = 0.5;
      if (controller()->getParamValueByString(ids[pick(0, 4)], &s[0], v) == kResultTrue)
      {
        EXPECT_GE(v, 0.0);
        EXPECT_LE(v, 1.0);
      }
      break;
    }
    default:
    {
      const ParamID id = ids[pick(0, 4)];
      controller()->setParamNormalized(id, value());
      const ParamValue v = controller()->getParamNormalized(id);
      EXPECT_GE(v, 0.0);
      EXPECT_LE(v, 1.0);
      EXPECT_GE(controller()->normalizedParamToPlain(0, v), -60.0);
      break;
    }
    }
  }
}
