// Plug-ins of other shapes than the effect: parameter groups as units, undefined parameters,
// many presets, MIDI input, a side-chain bus, and an instrument with two output buses.
#include "framework/bindings/vst3/IPlugVST3.h"
#include "hosts/vst3/AudioBuffers.h"
#include "hosts/vst3/EventList.h"
#include "hosts/vst3/HostObject.h"
#include "hosts/vst3/ParameterChanges.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vst3;

namespace {
int gLiving = 0;

class ShapedPlug : public IPlugVST3
{
public:
  ShapedPlug(const char* channelIO, int nPresets, bool isInstrument, int sideChain)
    : IPlugVST3(nullptr, 4, channelIO, nPresets, "Shaped", "", "Maker", 0x10000, 0x53687064, 0x4D6B7220, 0, true, false,
                isInstrument, sideChain)
  {
    ++gLiving;
    ParamAt(0)->DefineDouble("Attack", 10.0, 1.0, 100.0, 1.0, "ms", "Envelope");
    ParamAt(1)->DefineBool("Hold", false, "", "Mode");
    ParamAt(2)->DefineDouble("Decay", 50.0, 1.0, 500.0, 0.5, "ms", "Envelope");
    // Parameter 3 is never defined.
  }
  ~ShapedPlug() override { --gLiving; }
  void HandleMidiMessage(const MidiMessage* msg) override { received.push_back(*msg); }

  std::vector<MidiMessage> received;
};

// A plug-in made and initialised as a host does; released (and destroyed) at the end.
struct Instance
{
  Instance(const char* channelIO, int nPresets = 1, bool isInstrument = false, int sideChain = 0)
    : plug(new ShapedPlug(channelIO, nPresets, isInstrument, sideChain))
  {
    EXPECT_EQ(plug->initialize(nullptr), kResultOk);
  }
  ~Instance()
  {
    plug->terminate();
    EXPECT_EQ(static_cast<IComponent*>(plug)->release(), 0u);
    EXPECT_EQ(gLiving, 0);
  }
  tresult Process(int32 frames, vst3host::AudioBuffers* in, vst3host::AudioBuffers* out,
                  IParameterChanges* changes = nullptr, IEventList* events = nullptr)
  {
    ProcessData d{};
    d.numSamples = frames;
    d.numInputs = in ? in->busCount() : 0;
    d.inputs = in ? in->buses() : nullptr;
    d.numOutputs = out ? out->busCount() : 0;
    d.outputs = out ? out->buses() : nullptr;
    d.inputParameterChanges = changes;
    d.inputEvents = events;
    return plug->process(d);
  }
  std::u16string BusName(BusDirection dir, int32 index)
  {
    BusInfo info{};
    EXPECT_EQ(plug->getBusInfo(kAudio, dir, index, info), kResultTrue);
    return info.name;
  }

  ShapedPlug* plug;
};

ParameterInfo InfoOf(IPlugVST3* plug, ParamID id)
{
  for (int32 i = 0; i < plug->getParameterCount(); ++i)
  {
    ParameterInfo info{};
    plug->getParameterInfo(i, info);
    if (info.id == id)
      return info;
  }
  ADD_FAILURE() << "no parameter " << id;
  return {};
}
}  // namespace

TEST(PlugShapes, GroupsBecomeUnitsAndUndefinedParametersStayHidden)
{
  Instance s("2-2");
  ShapedPlug* p = s.plug;
  EXPECT_EQ(p->getParameterCount(), 2 + 3 + 128);
  EXPECT_EQ(InfoOf(p, 1).unitId, 2);
  EXPECT_EQ(InfoOf(p, 2).unitId, 1);
  EXPECT_EQ(p->getParameterObject(3), nullptr);
  EXPECT_EQ(p->getUnitCount(), 3);
  UnitInfo u{};
  ASSERT_EQ(p->getUnitInfo(2, u), kResultOk);
  EXPECT_EQ(u.parentUnitId, kRootUnitId);
  EXPECT_EQ(std::u16string(u.name), u"Mode");

  // A parameter with a fractional step shows its decimals.
  String128 text = {};
  ASSERT_EQ(p->getParamStringByValue(2, p->plainParamToNormalized(2, 250.5), text), kResultOk);
  EXPECT_EQ(std::u16string(text), u"250.5");

  // Re-initialising after terminate numbers the groups the same way.
  p->terminate();
  ASSERT_EQ(p->initialize(nullptr), kResultOk);
  EXPECT_EQ(p->getUnitCount(), 3);
  EXPECT_EQ(InfoOf(p, 2).unitId, 1);
}

TEST(PlugShapes, ListParametersOfferTheDisplayTextsInTableOrder)
{
  Instance s("2-2");
  ShapedPlug* p = s.plug;
  p->terminate();
  p->ParamAt(1)->AddDisplayText(3, "three");
  p->ParamAt(1)->AddDisplayText(2, "two");
  ASSERT_EQ(p->initialize(nullptr), kResultOk);
  const Parameter* hold = p->getParameterObject(1);
  ASSERT_NE(hold, nullptr);
  ASSERT_EQ(hold->getInfo().stepCount, 3);
  std::vector<std::u16string> texts;
  for (int i = 0; i <= 3; ++i)
  {
    String128 text = {};
    hold->toString(i / 3.0, text);
    texts.push_back(text);
  }
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"off", u"on", u"three", u"two"}));
}

TEST(PlugShapes, PresetParameterSelectsEveryOneOfManyPresets)
{
  Instance s("2-2", 49);
  vst3host::ParameterChanges changes;
  for (int k = 0; k < 49; ++k)
  {
    changes.clear();
    changes.add(IPlugVST3::kPresetParamId, 0, k / 49.0);
    ASSERT_EQ(s.Process(0, nullptr, nullptr, &changes), kResultOk);
    EXPECT_EQ(s.plug->CurrentPresetIdx(), k);
  }
}

TEST(PlugShapes, MidiEventsAndControllersReachTheHandler)
{
  Instance s("2-2");
  vst3host::EventList events;
  events.addNoteOn(5, 3, 60, 0.5f);
  events.addNoteOff(9, 3, 60, 0.0f);
  events.addNoteOn(1, 2, 61, 7.0f);  // velocity beyond 1 is full velocity
  vst3host::ParameterChanges changes;
  changes.add(4 + 7, 0, 1.0);  // controller 7
  ASSERT_EQ(s.Process(0, nullptr, nullptr, &changes, &events), kResultOk);
  const std::vector<MidiMessage>& m = s.plug->received;
  ASSERT_EQ(m.size(), 4u);
  const int expected[4][4] = {{0xB0, 7, 127, 0}, {0x93, 60, 63, 5}, {0x83, 60, 0, 9}, {0x92, 61, 127, 1}};
  for (int i = 0; i < 4; ++i)  // parameter changes come before events
    EXPECT_EQ((std::vector<int>{m[i].status, m[i].data1, m[i].data2, m[i].offset}),
              std::vector<int>(expected[i], expected[i] + 4))
      << i;
}

TEST(PlugShapes, SideChainBusFollowsItsActivation)
{
  Instance s("2-2 3-2", 1, false, 1);
  ShapedPlug* p = s.plug;
  ASSERT_EQ(p->getBusCount(kAudio, kInput), 2);
  BusInfo aux{};
  p->getBusInfo(kAudio, kInput, 1, aux);
  EXPECT_EQ(aux.busType, kAux);
  EXPECT_EQ(aux.channelCount, 1);

  SpeakerArrangement one[1] = {arrangement::kStereo}, two[2] = {arrangement::kStereo, arrangement::kStereo};
  SpeakerArrangement out = arrangement::kStereo;
  EXPECT_EQ(p->setBusArrangements(one, 1, &out, 1), kResultFalse);
  EXPECT_EQ(p->setBusArrangements(two, 2, &out, 1), kResultOk);
  EXPECT_EQ(s.BusName(kInput, 1), u"Sidechain Input");

  ProcessSetup setup{kRealtime, kSample32, 64, 48000.0};
  ASSERT_EQ(p->setupProcessing(setup), kResultOk);
  p->activateBus(kAudio, kOutput, 0, 1);
  vst3host::AudioBuffers in, outBuffers;
  in.configure(kSample32, {2, 1}, 64);
  outBuffers.configure(kSample32, {2}, 64);
  ASSERT_EQ(s.Process(64, &in, &outBuffers), kResultOk);
  EXPECT_FALSE(p->IsSideChainActive());
  EXPECT_FALSE(p->IsInChannelConnected(2));
  p->activateBus(kAudio, kInput, 1, 1);
  ASSERT_EQ(s.Process(64, &in, &outBuffers), kResultOk);
  EXPECT_TRUE(p->IsSideChainActive());
  EXPECT_TRUE(p->IsInChannelConnected(2));
  EXPECT_TRUE(in.guardsIntact() && outBuffers.guardsIntact());
}

TEST(PlugShapes, InstrumentOutputBusesTakeConsecutiveChannels)
{
  Instance s("0-4", 1, true, 0);
  ShapedPlug* p = s.plug;
  EXPECT_EQ(p->getBusCount(kAudio, kInput), 0);
  ASSERT_EQ(p->getBusCount(kAudio, kOutput), 2);
  EXPECT_EQ(s.BusName(kOutput, 1), u"Output 2");
  EXPECT_EQ(p->getParameterObject(IPlugVST3::kBypassParamId), nullptr) << "instruments have no bypass";

  ProcessSetup setup{kRealtime, kSample64, 32, 48000.0};
  ASSERT_EQ(p->setupProcessing(setup), kResultOk);
  p->activateBus(kAudio, kOutput, 0, 1);
  vst3host::AudioBuffers out;
  out.configure(kSample64, {2, 2}, 32);
  out.fill(0.5);
  ASSERT_EQ(s.Process(32, nullptr, &out), kResultOk);
  EXPECT_EQ(out.sample(0, 1, 7), 0.0) << "the active bus is written (silence: no inputs)";
  EXPECT_EQ(out.sample(1, 0, 7), 0.5) << "the inactive bus is left alone";
  EXPECT_TRUE(p->IsOutChannelConnected(1));
  EXPECT_FALSE(p->IsOutChannelConnected(2));
  p->activateBus(kAudio, kOutput, 1, 1);
  ASSERT_EQ(s.Process(32, nullptr, &out), kResultOk);
  EXPECT_EQ(out.sample(1, 0, 7), 0.0);
  EXPECT_TRUE(p->IsOutChannelConnected(3));
  EXPECT_TRUE(out.guardsIntact());
}
