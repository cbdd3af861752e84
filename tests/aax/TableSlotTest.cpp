// Operation N of the host's numbering is table slot N: each slot is called the way the other
// side of the module boundary calls it, through the raw table with the host compiler's
// convention written out (on 32-bit Windows stdcall for slots 0 to 2 of the ACF interfaces,
// thiscall for every other slot), and must reach its operation (of the unused slots, the last
// of each table, which a shifted table would miss).
#include "framework/bindings/aax/AAX_CParameter.h"
#include "hosts/aax/HostString.h"
#include "hosts/aax/InstanceHost.h"
#include "hosts/aax/InstanceRender.h"
#include "hosts/aax/RegistrationHost.h"
#include "hosts/aax/ViewContainerHost.h"
#include "sdk/aax/AAX_IACFEffectParameters.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {
using namespace aaxhost;

#if defined(_WIN32) && defined(__i386__)
#define TQ_SLOT_STDCALL __stdcall
#define TQ_SLOT_THISCALL __attribute__((thiscall))
#else
#define TQ_SLOT_STDCALL
#define TQ_SLOT_THISCALL
#endif

// Slots 0 to 2 of an ACF interface, the unknown's operations.
constexpr int kUnknownSlots = 3;

template <typename R, typename... A>
R CallUnknownSlot(void* object, int slot, A... arguments)
{
  using Entry = R(TQ_SLOT_STDCALL*)(void*, A...);
  return (*static_cast<Entry**>(object))[slot](object, arguments...);
}

// Any other slot, and every slot of the plain C++ interfaces (string, parameter, render
// nodes).
template <typename R, typename... A>
R CallSlot(void* object, int slot, A... arguments)
{
  using Entry = R(TQ_SLOT_THISCALL*)(void*, A...);
  return (*static_cast<Entry**>(object))[slot](object, arguments...);
}

using Probe = std::function<void(void*)>;

// One function per convention: g++ merges calls through one table entry that differ only in
// their convention when they share a function.
template <typename R = ACFResult, typename... A>
Probe At(int slot, A... arguments)
{
  if (slot < kUnknownSlots)
    return [=](void* object) { CallUnknownSlot<R>(object, slot, arguments...); };
  return [=](void* object) { CallSlot<R>(object, slot, arguments...); };
}

using Slots = std::vector<std::pair<const char*, Probe>>;

// The first call the probe causes names the operation that the slot reached; queries are
// answered, and logged, by the object behind the face.
void ExpectSlots(void* face, const std::string& label, CallLog& log, const Slots& slots)
{
  for (const auto& [operation, probe] : slots)
  {
    log.Clear();
    probe(face);
    ASSERT_FALSE(log.Calls().empty()) << operation;
    const std::string& call = log.Calls().front();
    const size_t dot = call.find('.');
    EXPECT_EQ(call.substr(dot + 1, call.find('(') - dot - 1), operation);
    if (std::string(operation) != "QueryInterface")
    {
      EXPECT_EQ(call.substr(0, dot), label);
    }
  }
}

const ACFWord w = 1;
float rateOut;
uint32_t wordOut;
double doubleOut;
int32_t intOut;
bool boolOut;
int64_t ticksOut;
const AAX_Point point = {1.0f, 2.0f};
void Procedure() {}
const ACFProcedure procedure = &Procedure;
void* const none = nullptr;
const char* const id = "1";

const Slots kUnknown = {
  {"QueryInterface", At(0, &kIID_ACFUnknown, static_cast<void**>(nullptr))},
  {"AddRef", At<uint32_t>(1)},
  {"Release", At<uint32_t>(2)},
};

TEST(TableSlots, InstanceInterfaces)
{
  CallLog log;
  InstanceHost host(log);
  ExpectSlots(host.Controller2(), "Controller2", log, kUnknown);
  ExpectSlots(host.Controller2(), "Controller2", log,
              {{"ReadSampleRate", At(4, &rateOut)},
               {"InStemLayout", At(5, &wordOut)},
               {"OutStemLayout", At(6, &wordOut)},
               {"ReportLatency", At(10, int32_t(3))},
               {"SendPacket", At(12, w, none, w)},
               {"Unused23", At(23, w)}});
  ExpectSlots(host.Automation(), "Automation", log,
              {{"EnrolParameter", At(3, id)},
               {"WithdrawParameter", At(4, id)},
               {"RequestValue", At(5, id, 0.5)},
               {"AnnounceValue", At(6, id, 0.5)},
               {"StartTouch", At(7, id)},
               {"StopTouch", At(8, id)},
               {"Unused9", At(9, w, w)}});
  ExpectSlots(host.Transport2(), "Transport2", log,
              {{"ReadTempo", At(3, &doubleOut)},
               {"ReadTimeSignature", At(4, &intOut, &intOut)},
               {"ReadPlayState", At(5, &boolOut)},
               {"ReadTicks", At(6, &ticksOut)},
               {"ReadCycle", At(7, &boolOut, &ticksOut, &ticksOut)},
               {"ReadSamplePosition", At(8, &ticksOut)},
               {"Unused16", At(16, w)}});
}

TEST(TableSlots, DescriptionInterfaces)
{
  CallLog log;
  RegistrationHost host(log);
  ExpectSlots(&host, "Host", log, kUnknown);
  auto make = [&](const ACFGuid& classId, const ACFGuid& iid) {
    void* factory = nullptr;
    host.QueryInterface(HostComponentFactoryInterface::kIID, &factory);
    void* made = nullptr;
    static_cast<HostComponentFactoryInterface*>(factory)->CreateInstance(classId, nullptr, iid, &made);
    void* probed = nullptr;
    ExpectSlots(factory, "Factory", log, {{"CreateInstance", At(3, &classId, none, &iid, &probed)}});
    return made;
  };
  ExpectSlots(make(HostCollectionInterface::kCLSID, HostCollectionInterface::kIID), "Collection1", log,
              {{"Unused6", At(6)},
               {"RegisterEffect", At(7, id, none)},
               {"AppendMakerName", At(8, id)},
               {"AppendBundleName", At(9, id)},
               {"StoreBundleVersion", At(10, w)},
               {"AttachPropertyMap", At(11, none)}});
  ExpectSlots(make(HostEffectDescriptorInterface::kCLSID, HostEffectDescriptorInterface2::kIID), "Effect1/2", log,
              {{"AttachComponent", At(3, none)},
               {"AppendEffectName", At(4, id)},
               {"AppendCategory", At(5, w)},
               {"RegisterProcedure", At(7, procedure, w)},
               {"Unused11", At(11, w, w, w, w)}});
  ExpectSlots(make(HostComponentDescriptorInterface::kCLSID, HostComponentDescriptorInterface2::kIID), "Component1/2",
              log,
              {{"DeclareAudioInput", At(5, w)},
               {"DeclareAudioOutput", At(6, w)},
               {"DeclareBufferLength", At(7, w)},
               {"DeclareAuxStem", At(12, w, w, id)},
               {"DeclarePrivateData", At(13, w, w, w)},
               {"DeclareMidiNode", At(15, w, w, id, w)},
               {"RegisterProcessProcedure", At(16, procedure, none, none, none, none)},
               {"DeclareMeters", At(18, w, none, w)},
               {"Unused19", At(19, w, w)}});
  ExpectSlots(
    make(HostPropertyMapInterface::kCLSID, HostPropertyMapInterface2::kIID), "Map1/2", log,
    {{"ReadProperty", At<bool>(3, w, &wordOut)}, {"StoreProperty", At(4, w, w)}, {"Unused7", At<bool>(7, w, w, w)}});
  ExpectSlots(make(HostServicesInterface::kCLSID, HostServicesInterface::kIID), "Services1", log,
              {{"Unused3", At(3, w, w, w)}, {"SendTrace", At(4, int32_t(1), id)}});
}

TEST(TableSlots, ViewContainer)
{
  CallLog log;
  ViewContainerHost host(log);
  ExpectSlots(host.View(), "View", log,
              {{"NativeWindow", At<void*>(4)},
               {"CurrentModifiers", At(5, &wordOut)},
               {"ChangeViewSize", At(6, &point)},
               {"ForwardParameterClick", At(7, id, w)},
               {"Unused9", At(9, w, w)}});
}

// The string interface has one destructor slot, so "set text" is slot 4 for the host. (The
// host's strings share the declaration, and with it the table.)
TEST(TableSlots, String)
{
  AAX_CString string;
  EXPECT_EQ(CallSlot<AAX_IString*>(&string, 5, "abc"), &string);
  EXPECT_EQ(CallSlot<uint32_t>(&string, 1), 3u);
  EXPECT_EQ(std::string(CallSlot<const char*>(&string, 3)), "abc");
  CallSlot<void>(&string, 4, "de");
  AAX_CString other;
  EXPECT_EQ(CallSlot<AAX_IString*>(&other, 6, static_cast<AAX_IString*>(&string)), &other);
  EXPECT_EQ(std::string(other.Chars()), "de");
  EXPECT_EQ(CallSlot<uint32_t>(&string, 2), string.CapacityLimit());
  // Destroyed and freed through slot 0: the leak check sees whether it was freed.
  CallSlot<void>(new AAX_CString("gone"), 0, kAAX_DestroyFreesMemory);
}

// The parameter a host finds by identifier, of each kind the plug-in makes (a number with a
// unit, the master bypass's on/off switch, a list), called through its raw table. Its one
// destructor slot frees the memory only with bit 0 set: a stack object freed trips the
// address check, a heap one kept the leak check.
template <typename T, typename... Delegates>
AAX_IParameter* MakeParameter(void* place, const char* name, T value, const Delegates&... delegates)
{
  if (place)
    return new (place) AAX_CParameter<T>("7", name, value, delegates..., true);
  return new AAX_CParameter<T>("7", name, value, delegates..., true);
}

TEST(TableSlots, Parameter)
{
  const struct
  {
    AAX_IParameter* (*make)(void* place);
    uint32_t steps;
    double applied;                      // a normalised value the host applies
    const char *text, *textIn3, *typed;  // the applied value's, whole and in three characters; one typed
    double typedNormalized;
    int readSlot;  // the read of its own type; its write is five slots on
  } kinds[] = {
    {[](void* place) {
       return MakeParameter(place, "Level", 25.0, AAX_CIPlugTaperDelegate<double>(0.0, 100.0, 1.0),
                            AAX_CUnitDisplayDelegateDecorator<double>(AAX_CNumberDisplayDelegate<double>(), "dB"));
     },
     5, 0.5, "50.00dB", "50", "75dB", 0.75, 29},
    {[](void* place) {
       return MakeParameter(place, "Master Bypass", false, AAX_CBinaryTaperDelegate<bool>(),
                            AAX_CBinaryDisplayDelegate<bool>("bypass", "on"));
     },
     2, 1.0, "on", "on", "bypass", 0.0, 26},
    {[](void* place) {
       return MakeParameter(place, "Switch", int32_t(0), AAX_CLinearTaperDelegate<int32_t>(0, 1),
                            AAX_CStringDisplayDelegate<int32_t>({{0, "off"}, {1, "on"}}));
     },
     2, 1.0, "on", "on", "off", 0.0, 27},
  };
  std::aligned_union_t<0, AAX_CParameter<double>, AAX_CParameter<bool>, AAX_CParameter<int32_t>> place;
  for (const auto& kind : kinds)
    for (const uint32_t flags : {0u, kAAX_DestroyFreesMemory | 0x2u})
    {
      SCOPED_TRACE(::testing::Message() << "kind " << &kind - kinds << (flags ? " on the heap" : " in place"));
      AAX_IParameter* parameter = kind.make(flags ? nullptr : &place);
      EXPECT_EQ(std::string(CallSlot<const char*>(parameter, 1)), "7");
      EXPECT_TRUE(CallSlot<bool>(parameter, 7));
      const auto setAndGet = [&](int set, int get, auto value) {
        CallSlot<void>(parameter, set, value);
        EXPECT_EQ(CallSlot<decltype(value)>(parameter, get), value) << set;
      };
      setAndGet(16, 17, kind.steps);
      setAndGet(42, 12, kind.applied);
      EXPECT_EQ(CallSlot<int32_t>(parameter, 18), int32_t(kind.applied * (kind.steps - 1)));
      CallSlot<void>(parameter, 19, 0u);
      EXPECT_EQ(CallSlot<double>(parameter, 12), 0.0);
      setAndGet(11, 12, kind.applied);
      setAndGet(13, 14, kind.applied);
      setAndGet(36, 37, int32_t(AAX_IParameter::kDiscrete));
      setAndGet(38, 39, int32_t(9));

      // Texts whole and limited, of the current value and of a normalised one; one typed; the
      // default back.
      HostString text;
      AAX_IString* out = &text;
      const auto expectText = [&](bool answered, const char* expected) {
        EXPECT_TRUE(answered);
        EXPECT_EQ(text.Text(), expected);
      };
      expectText(CallSlot<bool>(parameter, 21, out), kind.text);
      expectText(CallSlot<bool>(parameter, 20, int32_t(3), out), kind.textIn3);
      expectText(CallSlot<bool>(parameter, 24, kind.applied, out), kind.text);
      expectText(CallSlot<bool>(parameter, 23, kind.applied, int32_t(3), out), kind.textIn3);
      const HostString typed(kind.typed);
      const AAX_IString* in = &typed;
      double normalized = -1.0;
      EXPECT_TRUE(CallSlot<bool>(parameter, 22, in, &normalized));
      EXPECT_EQ(normalized, kind.typedNormalized);
      EXPECT_TRUE(CallSlot<bool>(parameter, 25, in));
      EXPECT_EQ(CallSlot<double>(parameter, 12), kind.typedNormalized);
      CallSlot<void>(parameter, 15);
      EXPECT_EQ(CallSlot<double>(parameter, 12), kind.applied) << "the default";

      // Reads and writes of its own type only, never of floats or strings.
      alignas(double) unsigned char value[sizeof(double)] = {};
      for (int slot = 26; slot < 30; ++slot)
        EXPECT_EQ(CallSlot<bool>(parameter, slot, static_cast<void*>(value)), slot == kind.readSlot) << slot;
      EXPECT_FALSE(CallSlot<bool>(parameter, 30, out));
      const bool written[] = {CallSlot<bool>(parameter, 31, true), CallSlot<bool>(parameter, 32, int32_t(1)),
                              CallSlot<bool>(parameter, 33, 1.0f), CallSlot<bool>(parameter, 34, 1.0),
                              CallSlot<bool>(parameter, 35, in)};
      for (int i = 0; i < 5; ++i)
        EXPECT_EQ(written[i], 26 + i == kind.readSlot) << 31 + i;

      // Names through the interface: a host cannot know the module's string class they pass.
      parameter->AssignName("Output Level");
      parameter->AddShortName("OutL");
      EXPECT_STREQ(parameter->FullName().Chars(), "Output Level");
      EXPECT_STREQ(parameter->ShortNameForLength(5).Chars(), "OutL");
      CallSlot<void>(parameter, 6);
      EXPECT_STREQ(parameter->ShortNameForLength(5).Chars(), "Output Level");

      // Enrolled, touched, withdrawn when destroyed. On/off delegates replace only an on/off
      // parameter's own, which then asks for its value anew and announces it.
      CallLog log;
      InstanceHost host(log);
      AAX_VAutomationDelegate automation(&host);
      log.Clear();
      const AAX_CBinaryTaperDelegate<bool> onOffTaper;
      const AAX_CBinaryDisplayDelegate<bool> onOffDisplay("bypass", "on");
      CallSlot<void>(parameter, 8, static_cast<AAX_IAutomationDelegate*>(&automation));
      CallSlot<void>(parameter, 9);
      CallSlot<void>(parameter, 10);
      CallSlot<void>(parameter, 40, static_cast<const AAX_ITaperDelegateBase*>(&onOffTaper), true);
      CallSlot<void>(parameter, 41, static_cast<const AAX_IDisplayDelegateBase*>(&onOffDisplay));
      CallSlot<void>(parameter, 0, flags);
      std::vector<std::string> expected = {"Automation.EnrolParameter(\"7\")", "Automation.StartTouch(\"7\")",
                                           "Automation.StopTouch(\"7\")"};
      if (kind.readSlot == 26)
        expected.insert(expected.end(), {"Automation.StartTouch(\"7\")", "Automation.RequestValue(\"7\", 1)",
                                         "Automation.StopTouch(\"7\")", "Automation.AnnounceValue(\"7\", 1)"});
      expected.push_back("Automation.WithdrawParameter(\"7\")");
      EXPECT_EQ(log.Calls(), expected);
    }
}

TEST(TableSlots, RenderNodes)
{
  CallLog log;
  InstanceHost host(log);
  InstanceRender render(host);
  AAX_RenderContext& context = *render.Context();
  int64_t position = 0;
  log.Clear();
  EXPECT_NE(CallSlot<AAX_MidiBuffer*>(context.midiIn, 1), nullptr);
  void* transport = CallSlot<HostRenderTransport*>(context.transport, 3);
  ASSERT_NE(transport, nullptr);
  host.samplePosition = 77;
  EXPECT_EQ(CallSlot<ACFResult>(transport, 6, &position), kAAX_Success);
  EXPECT_EQ(position, 77);
  CallSlot<void>(transport, 0, 0u);
  EXPECT_EQ(log.Calls(), (std::vector<std::string>{"MidiNode.MidiBuffer()", "RenderTransport.ReadSamplePosition()",
                                                   "RenderTransport.DeletingDestructor(0)"}));
}

// The effect-parameters table as the host sees it: every operation records its name.
class EffectParametersProbe : public AAX_IACFEffectParameters_V2
{
public:
  std::string last;

#define TQ_PROBE(op, ...)                                                                                              \
  ACFResult op(__VA_ARGS__) override                                                                                   \
  {                                                                                                                    \
    last = #op;                                                                                                        \
    return 0;                                                                                                          \
  }
#define TQ_CPROBE(op, ...)                                                                                             \
  ACFResult op(__VA_ARGS__) const override                                                                             \
  {                                                                                                                    \
    const_cast<EffectParametersProbe*>(this)->last = #op;                                                              \
    return 0;                                                                                                          \
  }
  ACFResult ACF_STDCALL QueryInterface(const ACFGuid&, void**) override
  {
    last = "QueryInterface";
    return 0;
  }
  uint32_t ACF_STDCALL AddRef() override
  {
    return last = "AddRef", 0;
  }
  uint32_t ACF_STDCALL Release() override
  {
    return last = "Release", 0;
  }
  TQ_PROBE(StartInstance, IACFUnknown*)
  TQ_PROBE(StopInstance)
  TQ_PROBE(HandleHostNotification, uint32_t, const void*, uint32_t)
  TQ_CPROBE(CountParameters, int32_t*)
  TQ_CPROBE(CopyBypassParameterId, AAX_IString*)
  TQ_CPROBE(QueryParameterAutomatable, const char*, bool*)
  TQ_CPROBE(QueryParameterStepCount, const char*, int32_t*)
  TQ_CPROBE(CopyParameterName, const char*, AAX_IString*)
  TQ_CPROBE(CopyParameterShortName, const char*, AAX_IString*, int32_t)
  TQ_CPROBE(QueryParameterDefault, const char*, double*)
  TQ_PROBE(ChangeParameterDefault, const char*, double)
  TQ_CPROBE(QueryParameterKind, const char*, int32_t*)
  TQ_CPROBE(QueryParameterLayoutWord, const char*, int32_t*)
  TQ_PROBE(FindParameter, const char*, AAX_IParameter**)
  TQ_CPROBE(FindParameterIndex, const char*, int32_t*)
  TQ_CPROBE(CopyParameterIdAt, int32_t, AAX_IString*)
  TQ_CPROBE(QueryParameterExtra, const char*, uint32_t, int32_t*)
  TQ_CPROBE(ParseParameterText, const char*, double*, const AAX_IString*)
  TQ_CPROBE(FormatNormalizedValue, const char*, double, AAX_IString*, int32_t)
  TQ_CPROBE(FormatCurrentValue, const char*, AAX_IString*, int32_t)
  TQ_CPROBE(QueryNormalizedValue, const char*, double*)
  TQ_PROBE(ChangeNormalizedValue, const char*, double)
  TQ_PROBE(ChangeNormalizedValueBy, const char*, double)
  TQ_PROBE(BeginParameterGesture, const char*)
  TQ_PROBE(EndParameterGesture, const char*)
  TQ_PROBE(IdleTwoArgsA, ACFWord, ACFWord)
  TQ_PROBE(ApplyHostValue, const char*, double, uint32_t)
  TQ_PROBE(ApplyHostValueBy, const char*, double)
  TQ_PROBE(FlushPackets)
  TQ_PROBE(FillCustomData, uint32_t, void*, uint32_t)
  TQ_CPROBE(CountChunks, int32_t*)
  TQ_CPROBE(ChunkIdAt, int32_t, uint32_t*)
  TQ_PROBE(MeasureChunk, uint32_t, int32_t*)
  TQ_PROBE(WriteChunk, uint32_t, AAX_ChunkHeader*)
  TQ_PROBE(ReadChunk, uint32_t, const AAX_ChunkHeader*)
  TQ_PROBE(MatchChunk, const AAX_ChunkHeader*, bool*)
  TQ_CPROBE(CountChanges, int32_t*)
  TQ_PROBE(IdleNoArgsA)
  TQ_PROBE(UnsupportedFourArgs, ACFWord, ACFWord, ACFWord, ACFWord)
  TQ_PROBE(EmptyAnswer, ACFWord, ACFWord, ACFWord, uint32_t*)
  TQ_PROBE(IdleThreeArgs, ACFWord, ACFWord, ACFWord)
  TQ_PROBE(IdleNoArgsB)
  TQ_PROBE(UnsupportedOneArg, ACFWord)
  TQ_PROBE(IdleTwoArgsB, ACFWord, ACFWord)
  TQ_PROBE(IdleTwoArgsC, ACFWord, ACFWord)
#undef TQ_PROBE
#undef TQ_CPROBE
};

TEST(TableSlots, EffectParameters)
{
  const char* text = "x";
  const Slots slots = {
    {"QueryInterface", At(0, &kIID_ACFUnknown, static_cast<void**>(nullptr))},
    {"AddRef", At<uint32_t>(1)},
    {"Release", At<uint32_t>(2)},
    {"StartInstance", At(3, none)},
    {"StopInstance", At(4)},
    {"HandleHostNotification", At(5, w, none, w)},
    {"CountParameters", At(6, none)},
    {"CopyBypassParameterId", At(7, none)},
    {"QueryParameterAutomatable", At(8, text, none)},
    {"QueryParameterStepCount", At(9, text, none)},
    {"CopyParameterName", At(10, text, none)},
    {"CopyParameterShortName", At(11, text, none, int32_t(4))},
    {"QueryParameterDefault", At(12, text, none)},
    {"ChangeParameterDefault", At(13, text, 0.5)},
    {"QueryParameterKind", At(14, text, none)},
    {"QueryParameterLayoutWord", At(15, text, none)},
    {"FindParameter", At(16, text, none)},
    {"FindParameterIndex", At(17, text, none)},
    {"CopyParameterIdAt", At(18, int32_t(0), none)},
    {"QueryParameterExtra", At(19, text, w, none)},
    {"ParseParameterText", At(20, text, none, none)},
    {"FormatNormalizedValue", At(21, text, 0.5, none, int32_t(4))},
    {"FormatCurrentValue", At(22, text, none, int32_t(4))},
    {"QueryNormalizedValue", At(23, text, none)},
    {"ChangeNormalizedValue", At(24, text, 0.5)},
    {"ChangeNormalizedValueBy", At(25, text, 0.5)},
    {"BeginParameterGesture", At(26, text)},
    {"EndParameterGesture", At(27, text)},
    {"IdleTwoArgsA", At(28, w, w)},
    {"ApplyHostValue", At(29, text, 0.5, w)},
    {"ApplyHostValueBy", At(30, text, 0.5)},
    {"FlushPackets", At(31)},
    {"FillCustomData", At(32, w, none, w)},
    {"CountChunks", At(33, none)},
    {"ChunkIdAt", At(34, int32_t(0), none)},
    {"MeasureChunk", At(35, w, none)},
    {"WriteChunk", At(36, w, none)},
    {"ReadChunk", At(37, w, none)},
    {"MatchChunk", At(38, none, none)},
    {"CountChanges", At(39, none)},
    {"IdleNoArgsA", At(40)},
    {"UnsupportedFourArgs", At(41, w, w, w, w)},
    {"EmptyAnswer", At(42, w, w, w, none)},
    {"IdleThreeArgs", At(43, w, w, w)},
    {"IdleNoArgsB", At(44)},
    {"UnsupportedOneArg", At(45, w)},
    {"IdleTwoArgsB", At(46, w, w)},
    {"IdleTwoArgsC", At(47, w, w)},
  };
  EffectParametersProbe probe;
  for (const auto& [operation, call] : slots)
  {
    probe.last.clear();
    call(static_cast<AAX_IACFEffectParameters*>(&probe));
    EXPECT_EQ(probe.last, operation);
  }
}
}  // namespace
