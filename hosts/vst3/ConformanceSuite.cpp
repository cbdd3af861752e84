#include "hosts/vst3/ConformanceSuite.h"

#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/MemoryStream.h"
#include "hosts/vst3/ParameterChanges.h"
#include "hosts/vst3/ProcessDataBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <thread>

namespace vst3host {

using namespace vst3;

namespace {

constexpr int32 kMaxBlock = 8192;
constexpr int32 kBlock = 64;
constexpr double kRate = 44100.0;

template <class I>
I* query(FUnknown* from)
{
  void* p = nullptr;
  if (from == nullptr || from->queryInterface(I::iid, &p) != kResultOk)
    return nullptr;
  return static_cast<I*>(p);
}

template <class I>
void releaseAndClear(I*& p)
{
  if (p != nullptr)
    p->release();
  p = nullptr;
}

bool okOrNotImplemented(tresult r)
{
  return r == kResultOk || r == kNotImplemented;
}

void fail(CheckResult& r, const std::string& message)
{
  r.passed = false;
  r.messages.push_back(message);
}

bool expectOk(CheckResult& r, tresult result, const std::string& call)
{
  if (result == kResultOk)
    return true;
  fail(r, call + " answered " + resultName(result));
  return false;
}

std::string sizeName(int32 sampleSize)
{
  return sampleSize == kSample64 ? " (64-bit)" : " (32-bit)";
}

}  // namespace

std::vector<std::string> failedChecks(const std::vector<CheckResult>& results)
{
  std::vector<std::string> out;
  for (const auto& r : results)
    if (!r.passed)
      out.push_back(r.name);
  return out;
}

// Everything a processing check needs: buffers sized from the buses, change lists, and the
// set-up and tear-down every processing check shares.
struct ConformanceSuite::Context
{
  Context(ConformanceSuite& s, int32 size) : suite(s), sampleSize(size) {}

  std::vector<int32> channels(BusDirection dir)
  {
    std::vector<int32> out;
    const int32 n = suite.mComponent->getBusCount(kAudio, dir);
    for (int32 i = 0; i < n; ++i)
    {
      BusInfo info;
      std::memset(&info, 0, sizeof info);
      suite.mComponent->getBusInfo(kAudio, dir, i, info);
      out.push_back(std::max(0, info.channelCount));
    }
    return out;
  }

  // False (with the check failed) when the set-up is refused; supported is false when the
  // sample size is not offered, which passes the check.
  bool setUp(CheckResult& r, bool& supported)
  {
    supported = suite.mProcessor->canProcessSampleSize(sampleSize) == kResultOk;
    if (!supported)
    {
      r.messages.push_back("sample size not supported");
      return false;
    }
    ProcessSetup setup{kRealtime, sampleSize, kMaxBlock, kRate};
    if (!expectOk(r, suite.mProcessor->setupProcessing(setup), "setupProcessing"))
      return false;
    inputs.configure(sampleSize, channels(kInput), kMaxBlock);
    outputs.configure(sampleSize, channels(kOutput), kMaxBlock);
    return expectOk(r, suite.mComponent->setActive(1), "setActive(true)");
  }

  void tearDown(CheckResult& r) { expectOk(r, suite.mComponent->setActive(0), "setActive(false)"); }

  // One block; samples past the block are guarded, so a write beyond it is noticed.
  tresult process(int32 frames, IParameterChanges* changes = nullptr)
  {
    inputs.guardTail(frames);
    outputs.guardTail(frames);
    ProcessDataBuilder data(sampleSize, frames);
    data.inputs(inputs).outputs(outputs).changes(changes);
    const tresult r = suite.mProcessor->process(data.data());
    if (!inputs.guardsIntact() || !outputs.guardsIntact())
      overrun = true;
    return r;
  }

  // A process call that carries only parameters: no samples, and no buses at all or buses
  // without channels.
  tresult flush(IParameterChanges* changes, bool withEmptyBusArrays)
  {
    ProcessDataBuilder data(sampleSize, 0);
    if (withEmptyBusArrays)
    {
      // The buffers behind the empty bus records are reachable but must stay untouched.
      inputs.guardTail(0);
      outputs.guardTail(0);
      data.emptyBuses(inputs, outputs);
    }
    data.changes(changes);
    const tresult r = suite.mProcessor->process(data.data());
    if (withEmptyBusArrays && (!inputs.guardsIntact() || !outputs.guardsIntact()))
      overrun = true;
    return r;
  }

  ConformanceSuite& suite;
  int32 sampleSize;
  AudioBuffers inputs;
  AudioBuffers outputs;
  bool overrun = false;
};

ConformanceSuite::ConformanceSuite(IPluginFactory* factory, const TUID cid) : ConformanceSuite(factory, cid, Options{})
{}

ConformanceSuite::ConformanceSuite(IPluginFactory* factory, const TUID cid, const Options& options)
  : mFactory(factory), mOptions(options), mRng(options.seed)
{
  std::memcpy(mCid, cid, sizeof mCid);
  if (mFactory != nullptr)
    mFactory->addRef();
}

ConformanceSuite::~ConformanceSuite()
{
  CheckResult ignored;
  destroy(ignored);
  if (mFactory != nullptr)
    mFactory->release();
}

bool ConformanceSuite::create(CheckResult& r)
{
  void* obj = nullptr;
  if (!expectOk(r, mFactory != nullptr ? mFactory->createInstance(mCid, IComponent::iid, &obj) : kNoInterface,
                "createInstance(IComponent)"))
    return false;
  mComponent = static_cast<IComponent*>(obj);
  if (!expectOk(r, mComponent->initialize(static_cast<IHostApplication*>(&mApplication)), "initialize"))
  {
    releaseAndClear(mComponent);
    return false;
  }
  mProcessor = query<IAudioProcessor>(mComponent);
  mController = query<IEditController>(mComponent);
  mUnits = query<IUnitInfo>(mComponent);
  mMidi = query<IMidiMapping>(mComponent);
  if (mProcessor == nullptr)
    fail(r, "the component offers no IAudioProcessor");
  if (mController == nullptr)
    fail(r, "the component is not its own controller");
  if (mProcessor == nullptr || mController == nullptr)
    return false;
  mController->setComponentHandler(&mHandler);
  return true;
}

void ConformanceSuite::destroy(CheckResult& r)
{
  if (mComponent == nullptr)
    return;
  expectOk(r, mComponent->terminate(), "terminate");
  releaseAndClear(mProcessor);
  releaseAndClear(mController);
  releaseAndClear(mUnits);
  releaseAndClear(mMidi);
  const uint32 left = mComponent->release();
  mComponent = nullptr;
  if (left != 0)
    fail(r, "the plug-in keeps " + std::to_string(left) + " reference(s) after the last release");
  if (mApplication.heldByPlugin() != 0 || mHandler.heldByPlugin() != 0)
    fail(r, "the plug-in still holds host objects after it was released");
}

std::vector<CheckResult> ConformanceSuite::run()
{
  std::vector<CheckResult> results;
  CheckResult setup{"Create and initialize", true, {}};
  const bool created = create(setup);
  results.push_back(setup);
  if (!created)
  {
    CheckResult teardown{"Release", true, {}};
    destroy(teardown);
    return results;
  }
  auto bind = [this](void (ConformanceSuite::*check)(CheckResult&)) {
    return [this, check](CheckResult& r) { (this->*check)(r); };
  };
  general("Scan buses", bind(&ConformanceSuite::scanBuses), results);
  general("Scan parameters", bind(&ConformanceSuite::scanParameters), results);
  general("MIDI mapping", bind(&ConformanceSuite::midiMapping), results);
  general("Unit info", bind(&ConformanceSuite::unitInfo), results);
  general("Program info", bind(&ConformanceSuite::programInfo), results);
  general("Terminate and initialize again", bind(&ConformanceSuite::terminateAndInitialize), results);
  for (int32 size : {kSample32, kSample64})
    processing("Valid state transitions", size, &ConformanceSuite::stateTransitions, results);
  general("Bus consistency", bind(&ConformanceSuite::busConsistency), results);
  general("Bus activation", bind(&ConformanceSuite::busActivation), results);
  general("Audio bus arrangements", bind(&ConformanceSuite::audioArrangements), results);
  general("Suspend and resume", bind(&ConformanceSuite::suspendAndResume), results);
  general("Process context requirements", bind(&ConformanceSuite::processContextRequirements), results);

  for (int32 size : {kSample32, kSample64})
  {
    mParams = parameterInfos();
    processing("Process", size, &ConformanceSuite::processBlocks, results);
    processing("Process from a second thread", size, &ConformanceSuite::processOnSecondThread, results);
    processing("Silence flags", size, &ConformanceSuite::silenceFlags, results);
    processing("Silence processing", size, &ConformanceSuite::silenceProcessing, results);
    processing("Flush parameters", size, &ConformanceSuite::flushParameters, results);
    processing("Variable block sizes", size, &ConformanceSuite::variableBlockSizes, results);
    processing("Process formats", size, &ConformanceSuite::processFormats, results);
    processing("Bypass persistence", size, &ConformanceSuite::bypassPersistence, results);
    processing("Automation", size, &ConformanceSuite::automation, results);
    // Last: mono leaves the shared instance in mono for whatever runs after it.
    speakerArrangement(size, arrangement::kStereo, results);
    speakerArrangement(size, arrangement::kMono, results);
  }

  CheckResult teardown{"Terminate and release", true, {}};
  destroy(teardown);
  results.push_back(teardown);
  return results;
}

void ConformanceSuite::activateMainBuses(CheckResult& r, bool on)
{
  for (BusDirection dir : {kInput, kOutput})
    if (mComponent->getBusCount(kAudio, dir) > 0 && mComponent->activateBus(kAudio, dir, 0, on ? 1 : 0) == kResultFalse)
      fail(r, std::string("activateBus(main ") + (dir == kInput ? "input" : "output") + ") refused");
}

void ConformanceSuite::general(const std::string& name, const Check& check, std::vector<CheckResult>& results)
{
  CheckResult r{name, true, {}};
  activateMainBuses(r, true);
  check(r);
  activateMainBuses(r, false);
  results.push_back(r);
}

void ConformanceSuite::processing(const std::string& name, int32 sampleSize, ProcessCheck check,
                                  std::vector<CheckResult>& results)
{
  CheckResult r{name + sizeName(sampleSize), true, {}};
  activateMainBuses(r, true);
  Context ctx(*this, sampleSize);
  bool supported = false;
  if (ctx.setUp(r, supported))
  {
    (this->*check)(r, ctx);
    ctx.tearDown(r);
  }
  if (ctx.overrun)
    fail(r, "process wrote outside the block in the host's buffers");
  activateMainBuses(r, false);
  results.push_back(r);
}

std::vector<ParameterInfo> ConformanceSuite::parameterInfos()
{
  std::vector<ParameterInfo> out;
  for (int32 i = 0; i < mController->getParameterCount(); ++i)
  {
    ParameterInfo p;
    std::memset(&p, 0, sizeof p);
    if (mController->getParameterInfo(i, p) == kResultOk)
      out.push_back(p);
  }
  return out;
}

double ConformanceSuite::random()
{
  return std::uniform_real_distribution<double>(0.0, 1.0)(mRng);
}

void ConformanceSuite::parameterQueues(std::size_t count, ParameterChanges& changes)
{
  // Automatable parameters get a value at offset 0, others an empty queue without a valid id,
  // as conformance tools send them.
  for (std::size_t i = 0; i < count && i < mParams.size(); ++i)
  {
    if (mParams[i].flags & ParameterInfo::kCanAutomate)
      changes.add(mParams[i].id, 0, random());
    else
      changes.addEmptyQueue(kNoParamId);
  }
}

void ConformanceSuite::scanBuses(CheckResult& r)
{
  int32 total = 0;
  for (MediaType type : {kAudio, kEvent})
  {
    for (BusDirection dir : {kInput, kOutput})
    {
      const int32 n = mComponent->getBusCount(type, dir);
      total += std::max(0, n);
      for (int32 i = 0; i < n; ++i)
      {
        BusInfo info;
        std::memset(&info, 0, sizeof info);
        if (!expectOk(r, mComponent->getBusInfo(type, dir, i, info), "getBusInfo(" + std::to_string(i) + ")"))
          continue;
        if (info.name[0] == 0)
          fail(r, "bus " + std::to_string(i) + " has no name");
      }
    }
  }
  if (total == 0)
    fail(r, "the component has no bus");
}

void ConformanceSuite::scanParameters(CheckResult& r)
{
  std::set<UnitID> units;
  if (mUnits != nullptr)
  {
    for (int32 i = 0; i < mUnits->getUnitCount(); ++i)
    {
      UnitInfo u;
      std::memset(&u, 0, sizeof u);
      if (mUnits->getUnitInfo(i, u) == kResultOk)
        units.insert(u.id);
    }
  }
  const int32 n = mController->getParameterCount();
  if (n < 0)
    fail(r, "negative parameter count");
  std::set<ParamID> ids;
  std::map<UnitID, int> perUnit;
  std::set<std::pair<UnitID, std::u16string>> titles;
  int bypassCount = 0;
  for (int32 i = 0; i < n; ++i)
  {
    ParameterInfo p;
    std::memset(&p, 0, sizeof p);
    const std::string at = "parameter " + std::to_string(i);
    if (!expectOk(r, mController->getParameterInfo(i, p), "getParameterInfo(" + std::to_string(i) + ")"))
      continue;
    if (static_cast<int32>(p.id) < 0)
      fail(r, at + ": id in the host's reserved range");
    if (!ids.insert(p.id).second)
      fail(r, at + ": duplicate id " + std::to_string(p.id));
    if (p.stepCount < 0)
      fail(r, at + ": negative step count");
    if (p.title[0] == 0)
      fail(r, at + ": no title");
    if (!(p.defaultNormalizedValue >= 0.0 && p.defaultNormalizedValue <= 1.0))
      fail(r, at + ": default outside 0..1");
    if (p.unitId < kNoParentUnitId)
      fail(r, at + ": unit id below -1");
    // Any unit but the root must be one the unit information lists; -1 never is.
    if (p.unitId != kRootUnitId && units.count(p.unitId) == 0)
      fail(r, at + ": unit " + std::to_string(p.unitId) + " not defined");
    if (++perUnit[p.unitId] == 129)
      r.messages.push_back("unit " + std::to_string(p.unitId) + " has more than 128 parameters");
    if (!titles.insert({p.unitId, std::u16string(p.title, std::find(p.title, p.title + 128, u'\0'))}).second)
      r.messages.push_back(at + ": title used twice in its unit");
    const int32 f = p.flags;
    if ((f & ParameterInfo::kCanAutomate) && (f & ParameterInfo::kIsReadOnly))
      fail(r, at + ": automatable and read-only");
    if ((f & ParameterInfo::kIsProgramChange) && (f & ParameterInfo::kIsReadOnly))
      fail(r, at + ": program change and read-only");
    if (f & ParameterInfo::kIsBypass)
    {
      ++bypassCount;
      if (f & (ParameterInfo::kIsReadOnly | ParameterInfo::kIsProgramChange))
        fail(r, at + ": a bypass must be settable");
    }
    if ((f & ParameterInfo::kIsProgramChange) && !(f & ParameterInfo::kIsList))
      r.messages.push_back(at + ": program change without the list flag");
  }
  if (bypassCount > 1)
    fail(r, "more than one bypass parameter");
  if (bypassCount == 0)
    r.messages.push_back("no bypass parameter");
}

void ConformanceSuite::midiMapping(CheckResult& r)
{
  if (mMidi == nullptr)
  {
    r.messages.push_back("no MIDI mapping");
    return;
  }
  std::set<ParamID> ids;
  for (const ParameterInfo& p : parameterInfos())
    ids.insert(p.id);
  const int32 buses = mComponent->getBusCount(kEvent, kInput);
  for (int32 b = 0; b < buses; ++b)
  {
    BusInfo info;
    std::memset(&info, 0, sizeof info);
    if (mComponent->getBusInfo(kEvent, kInput, b, info) != kResultOk)
      break;
    for (int16 ch = 0; ch < info.channelCount && ch < 16; ++ch)
    {
      for (int16 ctrl = 0; ctrl <= kCountCtrlNumber; ++ctrl)
      {
        ParamID id = kNoParamId;
        if (mMidi->getMidiControllerAssignment(b, ch, ctrl, id) != kResultTrue || ids.count(id) != 0)
          continue;
        const std::string what = "controller " + std::to_string(ctrl) + " maps to unknown id " + std::to_string(id);
        if (ctrl == kCountCtrlNumber)
          r.messages.push_back(what);
        else
          fail(r, what);
      }
    }
  }
}

void ConformanceSuite::unitInfo(CheckResult& r)
{
  if (mUnits == nullptr)
  {
    r.messages.push_back("no unit information");
    return;
  }
  const int32 n = mUnits->getUnitCount();
  if (n < 1)
    fail(r, "no root unit");
  std::set<UnitID> seen;
  std::vector<UnitInfo> all;
  for (int32 i = 0; i < n; ++i)
  {
    UnitInfo u;
    std::memset(&u, 0, sizeof u);
    if (mUnits->getUnitInfo(i, u) != kResultOk)
      continue;
    const std::string at = "unit " + std::to_string(i);
    if (u.id < 0)
      fail(r, at + ": negative id");
    if (!seen.insert(u.id).second)
      fail(r, at + ": duplicate id");
    if (u.name[0] == 0)
      fail(r, at + ": no name");
    if (u.parentUnitId < kNoParentUnitId || u.parentUnitId == u.id)
      fail(r, at + ": bad parent");
    if (u.programListId < kNoProgramListId)
      fail(r, at + ": bad program list");
    const tresult selected = mUnits->selectUnit(u.id);
    if (!okOrNotImplemented(selected))
      r.messages.push_back(at + ": selectUnit answered " + resultName(selected));
    all.push_back(u);
  }
  for (const UnitInfo& u : all)
  {
    if (u.parentUnitId == kNoParentUnitId && u.id != kRootUnitId)
      fail(r, "a unit without parent is not the root");
    if (u.parentUnitId != kNoParentUnitId && seen.count(u.parentUnitId) == 0)
      fail(r, "a unit's parent does not exist");
  }
}

void ConformanceSuite::programInfo(CheckResult& r)
{
  if (mUnits == nullptr)
    return;
  const int32 n = mUnits->getProgramListCount();
  std::set<ProgramListID> seen;
  for (int32 i = 0; i < n; ++i)
  {
    ProgramListInfo pl;
    std::memset(&pl, 0, sizeof pl);
    if (!expectOk(r, mUnits->getProgramListInfo(i, pl), "getProgramListInfo(" + std::to_string(i) + ")"))
      continue;
    if (pl.id < 0 || !seen.insert(pl.id).second)
      fail(r, "program list " + std::to_string(i) + ": bad or duplicate id");
    if (pl.name[0] == 0)
      fail(r, "program list " + std::to_string(i) + ": no name");
    for (int32 p = 0; p < pl.programCount && p < 1024; ++p)
    {
      String128 name{};
      if (mUnits->getProgramName(pl.id, p, name) == kResultOk && name[0] == 0)
        fail(r, "program " + std::to_string(p) + " has an empty name");
    }
  }
}

void ConformanceSuite::terminateAndInitialize(CheckResult& r)
{
  if (expectOk(r, mComponent->terminate(), "terminate"))
    expectOk(r, mComponent->initialize(static_cast<IHostApplication*>(&mApplication)), "initialize");
}

// Starts inside a processing set-up (active), and leaves the re-initialized instance to the
// set-up's tear-down, which must still be able to deactivate it.
void ConformanceSuite::stateTransitions(CheckResult& r, Context& ctx)
{
  expectOk(r, mComponent->setActive(0), "setActive(false)");
  for (int round = 0; round < 4 && r.passed; ++round)
  {
    ProcessSetup setup{kRealtime, ctx.sampleSize, kMaxBlock, kRate};
    expectOk(r, mProcessor->setupProcessing(setup), "setupProcessing");
    expectOk(r, mComponent->setActive(1), "setActive(true)");
    expectOk(r, mComponent->setActive(0), "setActive(false)");
    activateMainBuses(r, false);
    expectOk(r, mComponent->terminate(), "terminate");
    expectOk(r, mComponent->initialize(static_cast<IHostApplication*>(&mApplication)), "initialize");
    if (round < 2)
      activateMainBuses(r, true);
  }
}

void ConformanceSuite::busConsistency(CheckResult& r)
{
  for (MediaType type : {kAudio, kEvent})
    for (BusDirection dir : {kInput, kOutput})
      for (int32 i = 0; i < mComponent->getBusCount(type, dir); ++i)
      {
        BusInfo a, b;
        std::memset(&a, 0, sizeof a);
        std::memset(&b, 0, sizeof b);
        mComponent->getBusInfo(type, dir, i, a);
        mComponent->getBusInfo(type, dir, i, b);
        if (std::memcmp(&a, &b, sizeof a) != 0)
          fail(r, "bus " + std::to_string(i) + " is described differently twice");
      }
}

void ConformanceSuite::busActivation(CheckResult& r)
{
  for (MediaType type : {kAudio, kEvent})
    for (BusDirection dir : {kInput, kOutput})
      for (int32 i = 0; i < mComponent->getBusCount(type, dir); ++i)
      {
        BusInfo info;
        std::memset(&info, 0, sizeof info);
        mComponent->getBusInfo(type, dir, i, info);
        const TBool first = (info.flags & BusInfo::kDefaultActive) ? 0 : 1;
        expectOk(r, mComponent->activateBus(type, dir, i, first), "activateBus(" + std::to_string(i) + ")");
        expectOk(r, mComponent->activateBus(type, dir, i, first ? 0 : 1), "activateBus(" + std::to_string(i) + ")");
      }
}

void ConformanceSuite::audioArrangements(CheckResult& r)
{
  for (BusDirection dir : {kInput, kOutput})
    for (int32 i = 0; i < mComponent->getBusCount(kAudio, dir); ++i)
    {
      BusInfo info;
      std::memset(&info, 0, sizeof info);
      mComponent->getBusInfo(kAudio, dir, i, info);
      SpeakerArrangement arr = 0;
      if (!expectOk(r, mProcessor->getBusArrangement(dir, i, arr), "getBusArrangement(" + std::to_string(i) + ")"))
        continue;
      if (channelCount(arr) != info.channelCount)
        fail(r, "bus " + std::to_string(i) + ": arrangement and channel count disagree");
    }
}

void ConformanceSuite::suspendAndResume(CheckResult& r)
{
  for (int round = 0; round < 3; ++round)
    for (int32 size : {kSample32, kSample64})
    {
      if (mProcessor->canProcessSampleSize(size) != kResultOk)
        continue;
      ProcessSetup setup{kRealtime, size, kMaxBlock, kRate};
      expectOk(r, mProcessor->setupProcessing(setup), "setupProcessing");
      expectOk(r, mComponent->setActive(1), "setActive(true)");
      expectOk(r, mComponent->setActive(0), "setActive(false)");
    }
}

// A class that claims SDK 3.7 or later in its version text must tell the host which
// transport fields it needs; hosts may send none otherwise. Older version texts are exempt.
void ConformanceSuite::processContextRequirements(CheckResult& r)
{
  IPluginFactory2* factory2 = query<IPluginFactory2>(mFactory);
  if (factory2 == nullptr)
  {
    r.messages.push_back("no extended class information: no SDK version to judge");
    return;
  }
  std::string version;
  for (int32 i = 0; i < factory2->countClasses(); ++i)
  {
    PClassInfo2 info;
    std::memset(&info, 0, sizeof info);
    if (factory2->getClassInfo2(i, &info) == kResultOk && std::memcmp(info.cid, mCid, sizeof mCid) == 0)
      version.assign(info.sdkVersion, std::find(info.sdkVersion, info.sdkVersion + sizeof info.sdkVersion, '\0'));
  }
  factory2->release();
  const std::size_t first = version.find_first_of("0123456789");
  int major = 0, minor = 0;
  if (first == std::string::npos || std::sscanf(version.c_str() + first, "%d.%d", &major, &minor) < 1)
  {
    r.messages.push_back("SDK version \"" + version + "\" not understood");
    return;
  }
  if (major < 3 || (major == 3 && minor < 7))
    return;
  IProcessContextRequirements* requirements = query<IProcessContextRequirements>(mProcessor);
  if (requirements == nullptr)
    fail(r, "SDK version " + version + " without process context requirements");
  releaseAndClear(requirements);
}

void ConformanceSuite::processBlocks(CheckResult& r, Context& ctx)
{
  mProcessor->setProcessing(1);
  for (int i = 0; i < 3; ++i)
    expectOk(r, ctx.process(kBlock), "process");
  mProcessor->setProcessing(0);
}

void ConformanceSuite::processOnSecondThread(CheckResult& r, Context& ctx)
{
  int failures = 0;
  std::thread audio([&] {
    for (int i = 0; i < mOptions.threadBlocks; ++i)
      if (ctx.process(kBlock) != kResultOk)
        ++failures;
  });
  audio.join();
  if (failures != 0)
    fail(r, std::to_string(failures) + " process calls failed");
}

void ConformanceSuite::silenceFlags(CheckResult& r, Context& ctx)
{
  if (ctx.inputs.busCount() == 0)
    return;
  const int32 channels = std::min(ctx.inputs.channelCount(0), 4);
  for (uint64 flags = 0; flags < (uint64{1} << channels); ++flags)
  {
    ctx.inputs.buses()[0].silenceFlags = flags;
    expectOk(r, ctx.process(kBlock), "process with silence flags " + std::to_string(flags));
  }
  ctx.inputs.buses()[0].silenceFlags = 0;
}

void ConformanceSuite::silenceProcessing(CheckResult& r, Context& ctx)
{
  ctx.inputs.fill(0.0);
  for (int32 b = 0; b < ctx.inputs.busCount(); ++b)
    ctx.inputs.buses()[b].silenceFlags = (uint64{1} << std::min(ctx.inputs.channelCount(b), 63)) - 1;
  for (int i = 0; i < mOptions.silenceBlocks && r.passed; ++i)
    expectOk(r, ctx.process(kBlock), "process");
  if (!ctx.outputs.allFinite(kBlock))
    fail(r, "silence produced non-finite samples");
}

void ConformanceSuite::flushParameters(CheckResult& r, Context& ctx)
{
  ParameterChanges changes;
  parameterQueues(1, changes);
  expectOk(r, ctx.flush(&changes, false), "process without buses");
  expectOk(r, ctx.flush(&changes, true), "process with empty buses");
  changes.clear();
  parameterQueues(mParams.size(), changes);
  expectOk(r, ctx.flush(&changes, false), "process without buses (all parameters)");
  if (!changes.referencesBalanced())
    fail(r, "the plug-in kept a parameter queue");
}

void ConformanceSuite::variableBlockSizes(CheckResult& r, Context& ctx)
{
  for (int i = 0; i < mOptions.variableBlocks; ++i)
  {
    const auto frames = i == 0 ? 0 : static_cast<int32>(mRng() % kMaxBlock);
    const tresult result = ctx.process(frames);
    if (i > 0)
      expectOk(r, result, "process(" + std::to_string(frames) + " samples)");
  }
}

void ConformanceSuite::processFormats(CheckResult& r, Context& ctx)
{
  expectOk(r, mComponent->setActive(0), "setActive(false)");
  for (double rate : {22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0, 384000.0, 1234.5678, 12345.678,
                      123456.78, 1234567.8})
  {
    const std::string at = " at " + std::to_string(rate) + " Hz";
    ProcessSetup setup{kRealtime, ctx.sampleSize, kMaxBlock, rate};
    if (mProcessor->setupProcessing(setup) != kResultOk)
      r.messages.push_back("setupProcessing refused" + at);
    if (!expectOk(r, mComponent->setActive(1), "setActive(true)" + at))
      continue;
    ctx.inputs.fill(0.25);
    if (ctx.process(kBlock) != kResultOk)
      r.messages.push_back("process failed" + at);
    if (!ctx.outputs.allFinite(kBlock))
      fail(r, "non-finite output" + at);
    expectOk(r, mComponent->setActive(0), "setActive(false)" + at);
  }
  expectOk(r, mComponent->setActive(1), "setActive(true)");
}

void ConformanceSuite::bypassPersistence(CheckResult& r, Context& ctx)
{
  const ParameterInfo* bypass = nullptr;
  for (const auto& p : mParams)
    if (p.flags & ParameterInfo::kIsBypass)
      bypass = &p;
  if (bypass == nullptr)
  {
    r.messages.push_back("no bypass parameter");
    return;
  }
  // Bypass on, through the processor and the controller, then a preset is saved.
  ParameterChanges on;
  on.add(bypass->id, 0, 1.0);
  expectOk(r, ctx.flush(&on, false), "process (bypass on)");
  mController->setParamNormalized(bypass->id, 1.0);
  if (mController->getParamNormalized(bypass->id) < 1.0)
    r.messages.push_back("the controller does not follow the bypass");
  MemoryStream componentState, controllerState;
  tresult result = mComponent->getState(&componentState);
  if (!okOrNotImplemented(result))
    fail(r, "component getState answered " + resultName(result));
  result = mController->getState(&controllerState);
  if (!okOrNotImplemented(result))
    fail(r, "controller getState answered " + resultName(result));
  // Bypass off, then the preset is loaded again: the bypass must come back.
  ParameterChanges off;
  off.add(bypass->id, 0, 0.0);
  expectOk(r, ctx.flush(&off, false), "process (bypass off)");
  componentState.rewind();
  controllerState.rewind();
  bool loaded = okOrNotImplemented(result = mComponent->setState(&componentState));
  componentState.rewind();
  loaded = loaded && okOrNotImplemented(result = mController->setComponentState(&componentState));
  loaded = loaded && okOrNotImplemented(result = mController->setState(&controllerState));
  if (!loaded)
    fail(r, "loading the saved state answered " + resultName(result));
  if (mController->getParamNormalized(bypass->id) != 1.0)
    fail(r, "the bypass did not come back with the saved state");
  if (componentState.heldByPlugin() != 0 || controllerState.heldByPlugin() != 0)
    fail(r, "the plug-in kept a state stream");
}

void ConformanceSuite::automation(CheckResult& r, Context& ctx)
{
  struct Variant
  {
    std::size_t count;  // parameters automated (0: all)
    int32 every;        // samples between points
    bool sampleAccurate;
  };
  for (const Variant v : {Variant{1, 100, false}, Variant{1, 100, true}, Variant{0, 50, true}})
  {
    const std::size_t count = v.count == 0 ? mParams.size() : std::min(v.count, mParams.size());
    for (int block = 0; block < 16; ++block)
    {
      ParameterChanges changes;
      for (std::size_t i = 0; i < count; ++i)
      {
        const ParamID id = mParams[i].id;
        if (!(mParams[i].flags & ParameterInfo::kCanAutomate))
        {
          changes.addEmptyQueue(kNoParamId);
        }
        else if (!v.sampleAccurate)
        {
          changes.add(id, 0, random());
        }
        else
        {
          // Points at every multiple of `every` samples, and a jump at offsets 0 and 1 first.
          if (block == 0)
            changes.add(id, 1, random());
          const int32 start = block * kBlock;
          for (int32 at = (start + v.every - 1) / v.every * v.every - start; at < kBlock; at += v.every)
            changes.add(id, at, random());
        }
      }
      expectOk(r, ctx.process(kBlock, &changes), "process with automation");
    }
  }
  if (!ctx.outputs.allFinite(kBlock))
    fail(r, "automation produced non-finite samples");
}

void ConformanceSuite::speakerArrangement(int32 sampleSize, SpeakerArrangement arr, std::vector<CheckResult>& results)
{
  CheckResult r{std::string(arr == arrangement::kMono ? "Speaker arrangement mono" : "Speaker arrangement stereo") +
                  sizeName(sampleSize),
                true,
                {}};
  // As every check, this one starts with the main buses active: an arrangement that replaces
  // a bus must not lose that activation, since hosts do not activate again.
  activateMainBuses(r, true);
  std::vector<SpeakerArrangement> ins(static_cast<std::size_t>(mComponent->getBusCount(kAudio, kInput)), arr);
  std::vector<SpeakerArrangement> outs(static_cast<std::size_t>(mComponent->getBusCount(kAudio, kOutput)), arr);
  mProcessor->setBusArrangements(ins.data(), static_cast<int32>(ins.size()), outs.data(),
                                 static_cast<int32>(outs.size()));
  for (BusDirection dir : {kInput, kOutput})
    for (int32 i = 1; i < mComponent->getBusCount(kAudio, dir); ++i)
      mComponent->activateBus(kAudio, dir, i, 1);
  Context ctx(*this, sampleSize);
  bool supported = false;
  if (ctx.setUp(r, supported))
  {
    for (BusDirection dir : {kInput, kOutput})
    {
      for (int32 i = 0; i < mComponent->getBusCount(kAudio, dir); ++i)
      {
        SpeakerArrangement got = 0;
        if (!expectOk(r, mProcessor->getBusArrangement(dir, i, got), "getBusArrangement"))
          continue;
        BusInfo info;
        std::memset(&info, 0, sizeof info);
        mComponent->getBusInfo(kAudio, dir, i, info);
        if (got == arr && info.channelCount != channelCount(arr))
          fail(r, "the bus reports the arrangement but not its channels");
      }
    }
    for (int i = 0; i < 3; ++i)
      expectOk(r, ctx.process(kBlock), "process");
    ctx.tearDown(r);
  }
  activateMainBuses(r, false);
  results.push_back(r);
}

}  // namespace vst3host
