// The built module seen as a host sees it: loaded from its bundle, its exports looked up by
// name, every call made through a numbered table slot with the ids, result codes and
// record offsets typed in by hand. Nothing here comes from our interface declarations.
#include "tests/vst3/abi/RawAbi.h"
#include "tests/vst3/abi/RawHost.h"
#include "tests/vst3/abi/RawModule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <vector>

using namespace rawabi;
using I32 = std::int32_t;
using U32 = std::uint32_t;
using U64 = std::uint64_t;

namespace {

constexpr bool k64Bit = sizeof(void*) == 8;

// ---- Slots --------------------------------------------------------------------------------------
namespace factory {
constexpr int getFactoryInfo = 3, countClasses = 4, getClassInfo = 5, createInstance = 6, getClassInfo2 = 7;
}
namespace component {
constexpr int initialize = 3, terminate = 4, getControllerClassId = 5, setIoMode = 6, getBusCount = 7, getBusInfo = 8,
              getRoutingInfo = 9, activateBus = 10, setActive = 11, setState = 12, getState = 13;
}
namespace processor {
constexpr int setBusArrangements = 3, getBusArrangement = 4, canProcessSampleSize = 5, getLatencySamples = 6,
              setupProcessing = 7, setProcessing = 8, process = 9, getTailSamples = 10;
}
namespace controller {
constexpr int setComponentState = 5, setState = 6, getState = 7, getParameterCount = 8, getParameterInfo = 9,
              getParamStringByValue = 10, getParamValueByString = 11, normalizedParamToPlain = 12,
              plainParamToNormalized = 13, getParamNormalized = 14, setParamNormalized = 15, setComponentHandler = 16,
              createView = 17;
}
namespace units {
constexpr int getUnitCount = 3, getUnitInfo = 4, getProgramListCount = 5, getProgramListInfo = 6, getProgramName = 7,
              getProgramInfo = 8, hasProgramPitchNames = 9, getProgramPitchName = 10, getSelectedUnit = 11,
              selectUnit = 12, getUnitByBus = 13, setUnitProgramData = 14;
}
namespace controller2 {
constexpr int setKnobMode = 3, openHelp = 4, openAboutBox = 5;
}
namespace view {
constexpr int isPlatformTypeSupported = 3, attached = 4, removed = 5, getSize = 9;
}
constexpr int kGetMidiControllerAssignment = 3;

// ---- Records: sizes and offsets ------------------------------------------------------------------
constexpr std::size_t kFactoryInfoSize = 452, kClassInfoSize = 116, kClassInfo2Size = 440;
constexpr std::size_t kBusInfoSize = 276, kParameterInfoSize = 792, kUnitInfoSize = 268, kProgramListInfoSize = 264;
constexpr std::size_t kProcessSetupSize = 24, kAudioBusBuffersSize = 24;
constexpr std::size_t kProcessDataSize = k64Bit ? 80 : 48;
constexpr std::size_t kPdInputs = k64Bit ? 24 : 20, kPdOutputs = k64Bit ? 32 : 24, kPdInputChanges = k64Bit ? 40 : 28,
                      kPdInputEvents = k64Bit ? 56 : 36;

constexpr U32 kBypassId = 0x62706173;  // 'bpas'
constexpr U32 kPresetId = 0x70727374;  // 'prst'

#if defined(_WIN32)
const char* const kClassIdBytes = "0D E7 AE F2 DE 00 4E 4F 54 76 78 72 51 78 6C 73";
#else
const char* const kClassIdBytes = "F2 AE E7 0D 00 DE 4F 4E 54 76 78 72 51 78 6C 73";
#endif

std::string bundlePath()
{
  return TQ_ABI_BUNDLE;
}

// The module loaded and entered, with its factory; left and unloaded at the end.
class Module
{
public:
  Module() : mFile(RawModule::binaryPath(bundlePath()))
  {
    if (!mFile.loaded())
      return;
#if defined(_WIN32)
    auto init = reinterpret_cast<bool (*)()>(mFile.symbol("InitDll"));
    mEntered = init != nullptr && init();
#else
    auto entry = reinterpret_cast<bool (*)(void*)>(mFile.symbol("ModuleEntry"));
    mEntered = entry != nullptr && entry(mFile.handle());
#endif
    mGetFactory = reinterpret_cast<void*(RAW_CALL*)()>(mFile.symbol("GetPluginFactory"));
  }
  ~Module()
  {
    if (mEntered)
      leave();
  }

  bool ready() const
  {
    return mEntered && mGetFactory != nullptr;
  }
  std::string error() const
  {
    return mFile.error();
  }
  void* getFactory()
  {
    return mGetFactory();
  }
  const RawModule& file() const
  {
    return mFile;
  }
  bool leave()
  {
    mEntered = false;
#if defined(_WIN32)
    auto exit = reinterpret_cast<bool (*)()>(mFile.symbol("ExitDll"));
#else
    auto exit = reinterpret_cast<bool (*)()>(mFile.symbol("ModuleExit"));
#endif
    return exit != nullptr && exit();
  }

private:
  RawModule mFile;
  bool mEntered = false;
  void*(RAW_CALL* mGetFactory)() = nullptr;
};

#define REQUIRE_MODULE(m) ASSERT_TRUE((m).ready()) << RawModule::binaryPath(bundlePath()) << ": " << (m).error()

void* query(void* object, const char* name)
{
  void* out = reinterpret_cast<void*>(1);
  const I32 r = queryInterface(object, knownId(name), &out);
  return r == kOk ? out : nullptr;
}

// An instance made through the factory as hosts make it, with its interfaces.
struct Instance
{
  explicit Instance(void* factoryObject)
  {
    const Id cid = idFromHex(kClassIdBytes);
    void* obj = nullptr;
    created = callSlot<I32>(factoryObject, factory::createInstance, cid.ptr(), knownId("IComponent").ptr(), &obj);
    component = obj;
    if (!component)
      return;
    processor = query(component, "IAudioProcessor");
    editController = query(component, "IEditController");
    unitInfo = query(component, "IUnitInfo");
    midiMapping = query(component, "IMidiMapping");
  }
  // Releases every interface; the answer of the last release.
  U32 releaseAll()
  {
    for (void* p : {processor, editController, unitInfo, midiMapping})
      if (p)
        release(p);
    processor = editController = unitInfo = midiMapping = nullptr;
    const U32 left = component ? release(component) : 0;
    component = nullptr;
    return left;
  }

  I32 created = kFalse;
  void* component = nullptr;
  void* processor = nullptr;
  void* editController = nullptr;
  void* unitInfo = nullptr;
  void* midiMapping = nullptr;
};

void* hostPointer(RawObject& object)
{
  return static_cast<void*>(&object);
}

// A process record built by offsets, with stereo buses of `frames` samples.
struct RawProcess
{
  RawProcess(I32 sampleSize, I32 frames, bool withBuffers) : size(sampleSize)
  {
    std::memset(data, 0, sizeof data);
    std::memset(in, 0, sizeof in);
    std::memset(out, 0, sizeof out);
    setFieldAt<I32>(data, 0, 0);  // realtime
    setFieldAt<I32>(data, 4, sampleSize);
    setFieldAt<I32>(data, 8, frames);
    for (int c = 0; c < 2; ++c)
    {
      in32[c].assign(static_cast<std::size_t>(frames), 0.0f);
      out32[c].assign(static_cast<std::size_t>(frames), 0.0f);
      in64[c].assign(static_cast<std::size_t>(frames), 0.0);
      out64[c].assign(static_cast<std::size_t>(frames), 0.0);
      for (I32 i = 0; i < frames; ++i)
      {
        in32[c][static_cast<std::size_t>(i)] = 0.25f + 0.001f * static_cast<float>(i % 100) * (c ? -1.0f : 1.0f);
        in64[c][static_cast<std::size_t>(i)] = in32[c][static_cast<std::size_t>(i)];
      }
      in32p[c] = in32[c].data();
      out32p[c] = out32[c].data();
      in64p[c] = in64[c].data();
      out64p[c] = out64[c].data();
    }
    if (!withBuffers)
      return;
    setFieldAt<I32>(data, 12, 1);
    setFieldAt<I32>(data, 16, 1);
    setFieldAt<I32>(in, 0, 2);
    setFieldAt<I32>(out, 0, 2);
    setFieldAt<U64>(in, 8, 0);
    setFieldAt<void*>(in, 16, sampleSize == 1 ? static_cast<void*>(in64p) : static_cast<void*>(in32p));
    setFieldAt<void*>(out, 16, sampleSize == 1 ? static_cast<void*>(out64p) : static_cast<void*>(out32p));
    setFieldAt<void*>(data, kPdInputs, in);
    setFieldAt<void*>(data, kPdOutputs, out);
  }
  void changes(RawChanges* c) { setFieldAt<void*>(data, kPdInputChanges, c ? hostPointer(*c) : nullptr); }
  void events(RawEventList* e) { setFieldAt<void*>(data, kPdInputEvents, e ? hostPointer(*e) : nullptr); }
  I32 run(void* processorObject)
  {
    return callSlot<I32>(processorObject, processor::process, static_cast<void*>(data));
  }
  double outputAt(int channel, std::size_t i) const
  {
    return size == 1 ? out64[channel][i] : static_cast<double>(out32[channel][i]);
  }
  double inputAt(int channel, std::size_t i) const
  {
    return size == 1 ? in64[channel][i] : static_cast<double>(in32[channel][i]);
  }

  I32 size;
  alignas(8) unsigned char data[kProcessDataSize];
  alignas(8) unsigned char in[kAudioBusBuffersSize];
  alignas(8) unsigned char out[kAudioBusBuffersSize];
  std::vector<float> in32[2], out32[2];
  std::vector<double> in64[2], out64[2];
  float* in32p[2];
  float* out32p[2];
  double* in64p[2];
  double* out64p[2];
};

I32 setup(void* processorObject, I32 sampleSize, I32 maxBlock, double rate)
{
  alignas(8) unsigned char record[kProcessSetupSize];
  std::memset(record, 0xEE, sizeof record);
  setFieldAt<I32>(record, 0, 0);
  setFieldAt<I32>(record, 4, sampleSize);
  setFieldAt<I32>(record, 8, maxBlock);
  setFieldAt<double>(record, 16, rate);
  return callSlot<I32>(processorObject, processor::setupProcessing, static_cast<void*>(record));
}

}  // namespace

// ---- The typed facts themselves ----------------------------------------------------------------------

TEST(TypedIds, WindowsBytesFollowFromTheWordsAndAllAreDistinct)
{
  std::set<std::string> distinct;
  for (std::size_t i = 0; i < kKnownIdCount; ++i)
  {
    const KnownId& k = kKnownIds[i];
    SCOPED_TRACE(k.name);
    const Id fromWords = guidOrderFromWords(k.words);
    EXPECT_EQ(hexOf(fromWords.bytes, 16), hexOf(idFromHex(k.windows).bytes, 16));
    distinct.insert(hexOf(idFromHex(k.words).bytes, 16));
  }
  EXPECT_EQ(distinct.size(), kKnownIdCount);
}

// ---- Exports and entry --------------------------------------------------------------------------------

TEST(ModuleAbi, ExportsThePlainEntryNamesAndCountsEntries)
{
  Module m;
  REQUIRE_MODULE(m);
#if defined(_WIN32)
  EXPECT_NE(m.file().symbol("InitDll"), nullptr);
  EXPECT_NE(m.file().symbol("ExitDll"), nullptr);
  EXPECT_EQ(m.file().symbol("GetPluginFactory@0"), nullptr);
  EXPECT_EQ(m.file().symbol("ModuleEntry"), nullptr);
#else
  EXPECT_NE(m.file().symbol("ModuleEntry"), nullptr);
  EXPECT_NE(m.file().symbol("ModuleExit"), nullptr);
  // Everything but the three entry points stays inside the module.
  EXPECT_EQ(m.file().symbol("InitDll"), nullptr);
  EXPECT_EQ(m.file().symbol("ExitDll"), nullptr);
#endif
  EXPECT_TRUE(m.leave());
  EXPECT_FALSE(m.leave()) << "an exit without its entry must fail";
}

// ---- Factory -----------------------------------------------------------------------------------------

TEST(ModuleAbi, FactoryAnswersThroughItsSlotsWithTheTypedRecords)
{
  Module m;
  REQUIRE_MODULE(m);
  void* f = m.getFactory();
  ASSERT_NE(f, nullptr);
  // A second call hands out the same factory with another reference.
  void* again = m.getFactory();
  EXPECT_EQ(again, f);
  EXPECT_EQ(release(again), 1u);

  void* out = reinterpret_cast<void*>(1);
  for (const char* name : {"FUnknown", "IPluginFactory", "IPluginFactory2"})
  {
    SCOPED_TRACE(name);
    out = nullptr;
    ASSERT_EQ(queryInterface(f, knownId(name), &out), kOk);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(addRef(out), 3u);
    EXPECT_EQ(release(out), 2u);
    EXPECT_EQ(release(out), 1u);
  }
  for (const char* name : {"IComponent", "IPluginBase", "IPluginFactory3"})
  {
    SCOPED_TRACE(name);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(queryInterface(f, knownId(name), &out), kNoInterface);
    EXPECT_EQ(out, nullptr);
  }

  GuardedRecord factoryInfo(kFactoryInfoSize);
  ASSERT_EQ(callSlot<I32>(f, factory::getFactoryInfo, factoryInfo.data()), kOk);
  EXPECT_TRUE(factoryInfo.guardIntact());
  EXPECT_EQ(text8At(factoryInfo.data(), 0, 64), "Tarvex");
  EXPECT_FALSE(text8At(factoryInfo.data(), 64, 256).empty());
  EXPECT_FALSE(text8At(factoryInfo.data(), 320, 128).empty());
  EXPECT_EQ(fieldAt<I32>(factoryInfo.data(), 448), 16);  // Unicode

  ASSERT_EQ(callSlot<I32>(f, factory::countClasses), 1);

  GuardedRecord info(kClassInfoSize);
  ASSERT_EQ(callSlot<I32>(f, factory::getClassInfo, I32{0}, info.data()), kOk);
  EXPECT_TRUE(info.guardIntact());
  EXPECT_EQ(hexOf(info.data(), 16), kClassIdBytes);
  EXPECT_EQ(fieldAt<I32>(info.data(), 16), 0x7FFFFFFF);
  EXPECT_EQ(text8At(info.data(), 20, 32), "Audio Module Class");
  EXPECT_EQ(text8At(info.data(), 52, 64), "TarvexQuoxel");

  void* f2 = query(f, "IPluginFactory2");
  ASSERT_NE(f2, nullptr);
  GuardedRecord info2(kClassInfo2Size);
  ASSERT_EQ(callSlot<I32>(f2, factory::getClassInfo2, I32{0}, info2.data()), kOk);
  EXPECT_TRUE(info2.guardIntact());
  EXPECT_EQ(std::memcmp(info2.data(), info.data(), kClassInfoSize), 0) << "PClassInfo2 begins with PClassInfo";
  EXPECT_EQ(fieldAt<U32>(info2.data(), 116), 2u);  // simple mode supported
  EXPECT_EQ(text8At(info2.data(), 120, 128), "Fx|Dynamics");
  EXPECT_EQ(text8At(info2.data(), 248, 64), "");
  EXPECT_EQ(text8At(info2.data(), 312, 64), "1.0.4");
  EXPECT_EQ(text8At(info2.data(), 376, 64), "VST 3.5.2");

  for (I32 bad : {I32{1}, I32{-1}})
  {
    EXPECT_EQ(callSlot<I32>(f, factory::getClassInfo, bad, info.data()), kInvalidArgument);
    EXPECT_EQ(callSlot<I32>(f2, factory::getClassInfo2, bad, info2.data()), kInvalidArgument);
  }
  EXPECT_EQ(release(f2), 1u);
  EXPECT_EQ(release(f), 0u);

  // After the last release a new factory is built.
  void* fresh = m.getFactory();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(callSlot<I32>(fresh, factory::countClasses), 1);
  EXPECT_EQ(release(fresh), 0u);
}

TEST(ModuleAbi, CreateInstanceAnswersTheTypedIdsAndRefusesOthers)
{
  Module m;
  REQUIRE_MODULE(m);
  void* f = m.getFactory();
  ASSERT_NE(f, nullptr);
  const Id cid = idFromHex(kClassIdBytes);

  for (const char* name : {"IComponent", "IAudioProcessor", "FUnknown", "IEditController"})
  {
    SCOPED_TRACE(name);
    void* obj = nullptr;
    ASSERT_EQ(callSlot<I32>(f, factory::createInstance, cid.ptr(), knownId(name).ptr(), &obj), kOk);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(release(obj), 0u) << "a new instance comes with exactly one reference";
  }

  void* obj = reinterpret_cast<void*>(1);
  const Id otherClass = idFromHex("F2 AE E7 0D 00 DE 4F 4E 54 76 78 72 51 78 6C 74");
  EXPECT_EQ(callSlot<I32>(f, factory::createInstance, otherClass.ptr(), knownId("IComponent").ptr(), &obj),
            kNoInterface);
  EXPECT_EQ(obj, nullptr);
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(callSlot<I32>(f, factory::createInstance, cid.ptr(), knownId("IPluginFactory").ptr(), &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(release(f), 0u);
}

TEST(ModuleAbi, InstanceAnswersItsInterfacesWithOneIdentityAndOneCount)
{
  Module m;
  REQUIRE_MODULE(m);
  void* f = m.getFactory();
  Instance x(f);
  ASSERT_EQ(x.created, kOk);
  ASSERT_NE(x.component, nullptr);
  ASSERT_NE(x.processor, nullptr);
  ASSERT_NE(x.editController, nullptr);
  ASSERT_NE(x.unitInfo, nullptr);
  ASSERT_NE(x.midiMapping, nullptr);

  // One count shared by every interface: 1 (creation) + 4 queries.
  EXPECT_EQ(addRef(x.component), 6u);
  EXPECT_EQ(release(x.processor), 5u);

  // FUnknown is one pointer whichever interface is asked.
  void* identity = query(x.component, "FUnknown");
  ASSERT_NE(identity, nullptr);
  for (void* from : {x.processor, x.editController, x.unitInfo, x.midiMapping})
  {
    void* again = query(from, "FUnknown");
    EXPECT_EQ(again, identity);
    if (again)
      release(again);
  }
  release(identity);

  for (const char* name : {"IPluginBase", "IComponent", "IAudioProcessor", "IEditController", "IEditController2",
                           "IUnitInfo", "IMidiMapping", "IConnectionPoint"})
  {
    SCOPED_TRACE(name);
    void* p = query(x.processor, name);
    EXPECT_NE(p, nullptr);
    if (p)
      release(p);
  }
  // Refused: "VST 3.5.2" needs no context requirements; and every interface hosts probe that
  // the plug-in does not offer.
  std::vector<Id> refused = {knownId("IProcessContextRequirements"), knownId("IPluginFactory"), knownId("IPlugView"),
                             knownId("IBStream"), knownId("IPlugViewContentScaleSupport")};
  for (std::size_t i = 0; i < kForeignIdCount; ++i)
    refused.push_back(idFromWords(kForeignIdWords[i]));
  for (const Id& id : refused)
  {
    SCOPED_TRACE(hexOf(id.bytes, 16));
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(queryInterface(x.editController, id, &out), kNoInterface);
    EXPECT_EQ(out, nullptr);
  }
  EXPECT_EQ(x.releaseAll(), 0u);
  EXPECT_EQ(release(f), 0u);
}

// ---- Component and processor ------------------------------------------------------------------------

TEST(ModuleAbi, ComponentAndProcessorSlotsWithTypedRecords)
{
  Module m;
  REQUIRE_MODULE(m);
  void* f = m.getFactory();
  Instance x(f);
  ASSERT_NE(x.processor, nullptr);
  RawHostApplication host;

  void* c = x.component;
  void* p = x.processor;
  char controllerClass[16] = {};
  EXPECT_EQ(callSlot<I32>(c, component::getControllerClassId, static_cast<char*>(controllerClass)), kNotImplemented);
  EXPECT_EQ(callSlot<I32>(c, component::setIoMode, I32{1}), kNotImplemented);
  ASSERT_EQ(callSlot<I32>(c, component::initialize, hostPointer(host)), kOk);
  EXPECT_EQ(host.queries, 1) << "the context is asked for IHostApplication by its typed id";
  EXPECT_EQ(host.nameCalls, 1);

  // Buses: stereo main in and out, one MIDI input of one channel.
  EXPECT_EQ(callSlot<I32>(c, component::getBusCount, I32{0}, I32{0}), 1);
  EXPECT_EQ(callSlot<I32>(c, component::getBusCount, I32{0}, I32{1}), 1);
  EXPECT_EQ(callSlot<I32>(c, component::getBusCount, I32{1}, I32{0}), 1);
  EXPECT_EQ(callSlot<I32>(c, component::getBusCount, I32{1}, I32{1}), 0);
  struct BusCase
  {
    I32 type, dir, channels;
    const char* name;
  };
  for (const BusCase& b : {BusCase{0, 0, 2, "Main Input"}, BusCase{0, 1, 2, "Output"}, BusCase{1, 0, 1, "MIDI Input"}})
  {
    SCOPED_TRACE(b.name);
    GuardedRecord bus(kBusInfoSize);
    ASSERT_EQ(callSlot<I32>(c, component::getBusInfo, b.type, b.dir, I32{0}, bus.data()), kOk);
    EXPECT_TRUE(bus.guardIntact());
    EXPECT_EQ(fieldAt<I32>(bus.data(), 0), b.type);
    EXPECT_EQ(fieldAt<I32>(bus.data(), 4), b.dir);
    EXPECT_EQ(fieldAt<I32>(bus.data(), 8), b.channels);
    EXPECT_EQ(text16At(bus.data(), 12, 128), b.name);
    EXPECT_EQ(fieldAt<I32>(bus.data(), 268), 0);   // main
    EXPECT_EQ(fieldAt<U32>(bus.data(), 272), 1u);  // default active
    EXPECT_EQ(callSlot<I32>(c, component::getBusInfo, b.type, b.dir, I32{1}, bus.data()), kInvalidArgument);
    EXPECT_EQ(callSlot<I32>(c, component::activateBus, b.type, b.dir, I32{0}, std::uint8_t{1}), kOk);
  }

  unsigned char routeIn[12] = {}, routeOut[12] = {};
  EXPECT_EQ(callSlot<I32>(c, component::getRoutingInfo, static_cast<void*>(routeIn), static_cast<void*>(routeOut)),
            kNotImplemented);

  // Arrangements travel as 64-bit masks: mono 0x80000, stereo 3.
  U64 arrangement = 0;
  ASSERT_EQ(callSlot<I32>(p, processor::getBusArrangement, I32{0}, I32{0}, &arrangement), kOk);
  EXPECT_EQ(arrangement, 3u);
  U64 mono = 0x80000, stereo = 3;
  EXPECT_EQ(callSlot<I32>(p, processor::setBusArrangements, &mono, I32{1}, &mono, I32{1}), kOk);
  ASSERT_EQ(callSlot<I32>(p, processor::getBusArrangement, I32{1}, I32{0}, &arrangement), kOk);
  EXPECT_EQ(arrangement, 0x80000u);
  GuardedRecord monoBus(kBusInfoSize);
  ASSERT_EQ(callSlot<I32>(c, component::getBusInfo, I32{0}, I32{1}, I32{0}, monoBus.data()), kOk);
  EXPECT_EQ(fieldAt<I32>(monoBus.data(), 8), 1);
  EXPECT_EQ(callSlot<I32>(p, processor::setBusArrangements, &stereo, I32{1}, &stereo, I32{1}), kOk);
  ASSERT_EQ(callSlot<I32>(p, processor::getBusArrangement, I32{1}, I32{0}, &arrangement), kOk);
  EXPECT_EQ(arrangement, 3u);

  EXPECT_EQ(callSlot<U32>(p, processor::getLatencySamples), 0u);
  callSlot<U32>(p, processor::getTailSamples);
  EXPECT_EQ(callSlot<I32>(p, processor::canProcessSampleSize, I32{0}), kOk);
  EXPECT_EQ(callSlot<I32>(p, processor::canProcessSampleSize, I32{1}), kOk);

  for (I32 size : {I32{0}, I32{1}})
  {
    SCOPED_TRACE(size == 1 ? "64-bit" : "32-bit");
    ASSERT_EQ(setup(p, size, 8192, 48000.0), kOk);
    ASSERT_EQ(callSlot<I32>(c, component::setActive, std::uint8_t{1}), kOk);
    callSlot<I32>(p, processor::setProcessing, std::uint8_t{1});

    // Bypass on through a parameter queue: the block comes out as it went in.
    RawQueue bypassOn(kBypassId, {{0, 1.0}});
    RawChanges changes;
    changes.queues.push_back(&bypassOn);
    RawProcess block(size, 64, true);
    block.changes(&changes);
    ASSERT_EQ(block.run(p), kOk);
    EXPECT_GT(bypassOn.pointReads, 0);
    for (std::size_t i = 0; i < 64; ++i)
    {
      EXPECT_EQ(block.outputAt(0, i), block.inputAt(0, i)) << i;
      EXPECT_EQ(block.outputAt(1, i), block.inputAt(1, i)) << i;
    }
    EXPECT_EQ(callSlot<double>(x.editController, controller::getParamNormalized, kBypassId), 1.0);

    // A flush without buffers turns it off again; a processed block stays finite.
    RawQueue bypassOff(kBypassId, {{0, 0.0}});
    RawChanges offChanges;
    offChanges.queues.push_back(&bypassOff);
    RawProcess flush(size, 0, false);
    flush.changes(&offChanges);
    ASSERT_EQ(flush.run(p), kOk);
    EXPECT_EQ(callSlot<double>(x.editController, controller::getParamNormalized, kBypassId), 0.0);
    // Events are copied whole into the plug-in's record, one getEvent per event.
    RawEventList notes;
    notes.addNote(true, 3, 60, 0.8f);
    notes.addNote(false, 300, 60, 0.0f);
    RawProcess plain(size, 512, true);
    plain.events(&notes);
    ASSERT_EQ(plain.run(p), kOk);
    EXPECT_EQ(notes.reads, 2);
    EXPECT_EQ(notes.references, 1);
    for (std::size_t i = 0; i < 512; ++i)
      ASSERT_TRUE(std::isfinite(plain.outputAt(0, i)));
    // Nothing keeps the host's change lists past the call.
    EXPECT_EQ(changes.references, 1);
    EXPECT_EQ(bypassOn.references, 1);

    callSlot<I32>(p, processor::setProcessing, std::uint8_t{0});
    ASSERT_EQ(callSlot<I32>(c, component::setActive, std::uint8_t{0}), kOk);
  }

  // The component's own state slots are the unimplemented ones.
  RawStream stream;
  EXPECT_EQ(callSlot<I32>(c, component::getState, hostPointer(stream)), kNotImplemented);
  EXPECT_EQ(callSlot<I32>(c, component::setState, hostPointer(stream)), kNotImplemented);
  EXPECT_EQ(stream.references, 1);

  ASSERT_EQ(callSlot<I32>(c, component::terminate), kOk);
  EXPECT_EQ(host.references, 1) << "terminate releases the host context";
  EXPECT_EQ(x.releaseAll(), 0u);
  EXPECT_EQ(release(f), 0u);
}

// ---- Controller, units, MIDI mapping -------------------------------------------------------------------

TEST(ModuleAbi, ControllerSlotsWithTypedRecords)
{
  Module m;
  REQUIRE_MODULE(m);
  void* f = m.getFactory();
  Instance x(f);
  ASSERT_NE(x.editController, nullptr);
  RawHostApplication host;
  RawHandler handler;
  void* e = x.editController;
  ASSERT_EQ(callSlot<I32>(x.component, component::initialize, hostPointer(host)), kOk);
  ASSERT_EQ(callSlot<I32>(e, controller::setComponentHandler, hostPointer(handler)), kOk);
  EXPECT_EQ(handler.references, 2) << "the handler is kept with a reference";

  // 'prst', 'bpas', the nine effect parameters, then 128 MIDI controllers.
  const I32 count = callSlot<I32>(e, controller::getParameterCount);
  ASSERT_EQ(count, 2 + 9 + 128);
  std::set<U32> ids;
  for (I32 i = 0; i < count; ++i)
  {
    SCOPED_TRACE(i);
    GuardedRecord info(kParameterInfoSize);
    ASSERT_EQ(callSlot<I32>(e, controller::getParameterInfo, i, info.data()), kOk);
    EXPECT_TRUE(info.guardIntact());
    const U32 id = fieldAt<U32>(info.data(), 0);
    const I32 flags = fieldAt<I32>(info.data(), 788);
    const double byDefault = fieldAt<double>(info.data(), 776);
    EXPECT_TRUE(ids.insert(id).second);
    EXPECT_LE(id, 0x7FFFFFFFu);
    EXPECT_FALSE(text16At(info.data(), 4, 128).empty());
    EXPECT_GE(fieldAt<I32>(info.data(), 772), 0);
    EXPECT_TRUE(byDefault >= 0.0 && byDefault <= 1.0);
    EXPECT_EQ(fieldAt<I32>(info.data(), 784), 0);  // the root unit
    if (i == 0)
    {
      EXPECT_EQ(id, kPresetId);
      EXPECT_EQ(flags, 0x8000);
    }
    else if (i == 1)
    {
      EXPECT_EQ(id, kBypassId);
      EXPECT_EQ(flags, 0x10009);
      EXPECT_EQ(fieldAt<I32>(info.data(), 772), 1);
    }
    else if (i == 2)
    {
      EXPECT_EQ(id, 0u);
      EXPECT_EQ(text16At(info.data(), 4, 128), "Quoxel Level");
      EXPECT_EQ(text16At(info.data(), 516, 128), "%");
      EXPECT_EQ(byDefault, 0.5);
      EXPECT_EQ(flags, 1);
    }
    else if (i >= 11)
    {
      EXPECT_EQ(id, static_cast<U32>(9 + i - 11));
      EXPECT_EQ(text16At(info.data(), 4, 128), "MIDI CC");
    }
  }
  GuardedRecord beyond(kParameterInfoSize);
  EXPECT_NE(callSlot<I32>(e, controller::getParameterInfo, count, beyond.data()), kOk);

  // Values through the double-carrying slots.
  EXPECT_EQ(callSlot<double>(e, controller::normalizedParamToPlain, U32{0}, 0.75), 50.0);
  EXPECT_EQ(callSlot<double>(e, controller::plainParamToNormalized, U32{0}, 50.0), 0.75);
  EXPECT_EQ(callSlot<I32>(e, controller::setParamNormalized, U32{0}, 0.75), kOk);
  EXPECT_EQ(callSlot<double>(e, controller::getParamNormalized, U32{0}), 0.75);
  EXPECT_EQ(handler.edits, 0) << "a host's own change is not reported back to it";
  char16_t text[128];
  std::memset(text, 0xFF, sizeof text);
  ASSERT_EQ(callSlot<I32>(e, controller::getParamStringByValue, U32{0}, 0.75, static_cast<char16_t*>(text)), kOk);
  EXPECT_EQ(text16At(text, 0, 128).rfind("50", 0), 0u) << text16At(text, 0, 128);
  char16_t typed[] = u"25";
  double parsed = -1.0;
  ASSERT_EQ(callSlot<I32>(e, controller::getParamValueByString, U32{0}, static_cast<char16_t*>(typed), &parsed), kOk);
  EXPECT_EQ(parsed, 0.625);

  // A host change of the level makes the automatic output gain follow, reported to the
  // host through the handler's performEdit slot: out gain (id 1) at |1 - level|.
  RawQueue level(U32{0}, {{0, 0.75}});
  RawChanges levelChange;
  levelChange.queues.push_back(&level);
  ASSERT_EQ(setup(x.processor, 0, 1024, 44100.0), kOk);
  RawProcess levelFlush(0, 0, false);
  levelFlush.changes(&levelChange);
  ASSERT_EQ(levelFlush.run(x.processor), kOk);
  EXPECT_EQ(handler.performs, 1);
  EXPECT_EQ(handler.lastId, 1u);
  EXPECT_EQ(handler.lastValue, 0.25);

  // Controller state: written, then read back with the bypass it carried.
  RawQueue bypassOn(kBypassId, {{0, 1.0}});
  RawChanges on;
  on.queues.push_back(&bypassOn);
  RawProcess flush(0, 0, false);
  flush.changes(&on);
  ASSERT_EQ(flush.run(x.processor), kOk);
  RawStream saved;
  ASSERT_EQ(callSlot<I32>(e, controller::getState, hostPointer(saved)), kOk);
  EXPECT_EQ(saved.bytes.size(), 9u * 8u + 4u) << "a double per parameter, then the bypass";
  ASSERT_GE(saved.bytes.size(), 4u);
  EXPECT_EQ(fieldAt<I32>(saved.bytes.data(), saved.bytes.size() - 4), 1);
  RawQueue bypassOff(kBypassId, {{0, 0.0}});
  RawChanges off;
  off.queues.push_back(&bypassOff);
  RawProcess flushOff(0, 0, false);
  flushOff.changes(&off);
  ASSERT_EQ(flushOff.run(x.processor), kOk);
  ASSERT_EQ(callSlot<double>(e, controller::getParamNormalized, kBypassId), 0.0);
  saved.position = 0;
  const I32 componentState = callSlot<I32>(e, controller::setComponentState, hostPointer(saved));
  EXPECT_TRUE(componentState == kOk || componentState == kNotImplemented);
  saved.position = 0;
  ASSERT_EQ(callSlot<I32>(e, controller::setState, hostPointer(saved)), kOk);
  EXPECT_EQ(callSlot<double>(e, controller::getParamNormalized, kBypassId), 1.0);
  EXPECT_EQ(callSlot<double>(e, controller::getParamNormalized, U32{0}), 0.75);
  EXPECT_EQ(saved.references, 1);

  // The editor's view: 650 x 410, shown in an HWND by the Windows modules and nowhere else.
  void* editor = callSlot<void*>(e, controller::createView, "editor");
  ASSERT_NE(editor, nullptr);
  I32 size[4] = {-1, -1, -1, -1};
  EXPECT_EQ(callSlot<I32>(editor, view::getSize, size), kOk);
  EXPECT_EQ(std::vector<I32>(size, size + 4), (std::vector<I32>{0, 0, 650, 410}));
#if defined(_WIN32)
  EXPECT_EQ(callSlot<I32>(editor, view::isPlatformTypeSupported, "HWND"), kOk);
#else
  EXPECT_EQ(callSlot<I32>(editor, view::isPlatformTypeSupported, "HWND"), kFalse);
  I32 parent = 0;
  EXPECT_EQ(callSlot<I32>(editor, view::attached, &parent, "X11EmbedWindowID"), kFalse);
#endif
  EXPECT_EQ(callSlot<I32>(editor, view::removed), kOk);
  EXPECT_EQ(release(editor), 0u);

  // Units: the root alone, no program lists.
  ASSERT_EQ(callSlot<I32>(x.unitInfo, units::getUnitCount), 1);
  GuardedRecord unit(kUnitInfoSize);
  ASSERT_EQ(callSlot<I32>(x.unitInfo, units::getUnitInfo, I32{0}, unit.data()), kOk);
  EXPECT_TRUE(unit.guardIntact());
  EXPECT_EQ(fieldAt<I32>(unit.data(), 0), 0);
  EXPECT_EQ(fieldAt<I32>(unit.data(), 4), -1);
  EXPECT_FALSE(text16At(unit.data(), 8, 128).empty());
  EXPECT_EQ(fieldAt<I32>(unit.data(), 264), -1);
  EXPECT_EQ(callSlot<I32>(x.unitInfo, units::getProgramListCount), 0);
  EXPECT_EQ(callSlot<I32>(x.unitInfo, units::getSelectedUnit), 0);
  // The preset list answers by its id 'prst' although none is counted; the rest is not offered.
  GuardedRecord list(kProgramListInfoSize);
  ASSERT_EQ(callSlot<I32>(x.unitInfo, units::getProgramListInfo, I32{0}, list.data()), kOk);
  EXPECT_TRUE(list.guardIntact());
  EXPECT_EQ(fieldAt<U32>(list.data(), 0), kPresetId);
  EXPECT_EQ(text16At(list.data(), 4, 128), "Factory Presets");
  EXPECT_EQ(fieldAt<I32>(list.data(), 260), 1);
  char16_t name[128];
  std::memset(name, 0xFF, sizeof name);
  ASSERT_EQ(
    callSlot<I32>(x.unitInfo, units::getProgramName, static_cast<I32>(kPresetId), I32{0}, static_cast<char16_t*>(name)),
    kOk);
  EXPECT_EQ(text16At(name, 0, 128), "-");
  const I32 listId = static_cast<I32>(kPresetId);
  EXPECT_EQ(callSlot<I32>(x.unitInfo, units::getProgramInfo, listId, I32{0}, "name", static_cast<char16_t*>(name)),
            kNotImplemented);
  EXPECT_EQ(callSlot<I32>(x.unitInfo, units::hasProgramPitchNames, listId, I32{0}), kNotImplemented);
  EXPECT_EQ(callSlot<I32>(x.unitInfo, units::getProgramPitchName, listId, I32{0}, std::int16_t{60},
                          static_cast<char16_t*>(name)),
            kNotImplemented);
  EXPECT_EQ(callSlot<I32>(x.unitInfo, units::selectUnit, I32{0}), kNotImplemented);
  I32 unitOfBus = 7;
  EXPECT_EQ(callSlot<I32>(x.unitInfo, units::getUnitByBus, I32{0}, I32{0}, I32{0}, I32{0}, &unitOfBus),
            kNotImplemented);
  EXPECT_EQ(callSlot<I32>(x.unitInfo, units::setUnitProgramData, I32{0}, I32{0}, static_cast<void*>(nullptr)),
            kNotImplemented);

  // The second controller interface: knob mode kept, no help or about box.
  void* e2 = query(x.component, "IEditController2");
  ASSERT_NE(e2, nullptr);
  EXPECT_EQ(callSlot<I32>(e2, controller2::setKnobMode, I32{2}), kOk);
  EXPECT_EQ(callSlot<I32>(e2, controller2::openHelp, std::uint8_t{1}), kFalse);
  EXPECT_EQ(callSlot<I32>(e2, controller2::openAboutBox, std::uint8_t{1}), kFalse);
  release(e2);

  // MIDI controllers 0..127 map to ids 9..136; aftertouch, pitch bend and beyond do not.
  for (std::int16_t ctrl : {std::int16_t{0}, std::int16_t{7}, std::int16_t{127}})
  {
    U32 id = 0xFFFFFFFFu;
    ASSERT_EQ(callSlot<I32>(x.midiMapping, kGetMidiControllerAssignment, I32{0}, std::int16_t{0}, ctrl, &id), kOk);
    EXPECT_EQ(id, static_cast<U32>(9 + ctrl));
  }
  for (std::int16_t ctrl : {std::int16_t{128}, std::int16_t{129}, std::int16_t{130}, std::int16_t{-1}})
  {
    U32 id = 0xFFFFFFFFu;
    EXPECT_EQ(callSlot<I32>(x.midiMapping, kGetMidiControllerAssignment, I32{0}, std::int16_t{0}, ctrl, &id), kFalse);
  }

  ASSERT_EQ(callSlot<I32>(x.component, component::terminate), kOk);
  EXPECT_EQ(handler.references, 1) << "terminate releases the handler";
  EXPECT_EQ(host.references, 1);
  EXPECT_EQ(x.releaseAll(), 0u);
  EXPECT_EQ(release(f), 0u);
}

TEST(ModuleAbi, ReleaseWithoutTerminateGivesBackTheHostObjects)
{
  Module m;
  REQUIRE_MODULE(m);
  void* f = m.getFactory();
  Instance x(f);
  ASSERT_NE(x.editController, nullptr);
  RawHostApplication host;
  RawHandler handler;
  ASSERT_EQ(callSlot<I32>(x.component, component::initialize, hostPointer(host)), kOk);
  ASSERT_EQ(callSlot<I32>(x.editController, controller::setComponentHandler, hostPointer(handler)), kOk);
  EXPECT_EQ(host.references, 2);
  EXPECT_EQ(handler.references, 2);
  EXPECT_EQ(x.releaseAll(), 0u);
  EXPECT_EQ(host.references, 1);
  EXPECT_EQ(handler.references, 1);
  EXPECT_EQ(release(f), 0u);
}
