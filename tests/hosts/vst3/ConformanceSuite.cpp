#include "tests/hosts/vst3/ConformanceSuite.h"

#include "tests/hosts/vst3/HostDriver.h"
#include "tests/hosts/vst3/MemoryStream.h"
#include "tests/hosts/vst3/ParameterChanges.h"
#include "tests/hosts/vst3/ProcessDataBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <set>
#include <thread>

namespace fakehost {

using namespace vst3;

namespace {

constexpr int32 kMaxBlock = 8192;
constexpr int32 kBlock = 64;
constexpr double kRate = 44100.0;

template <class I>
I* query(FUnknown* from)
{
  void* p = nullptr;
  if (from == nullptr || from->queryInterface(I::iid, &p) != kResultOk) return nullptr;
  return static_cast<I*>(p);
}

template <class I>
void releaseAndClear(I*& p)
{
  if (p != nullptr) p->release();
  p = nullptr;
}

bool okOrNotImplemented(tresult r) { return r == kResultOk || r == kNotImplemented; }

void fail(CheckResult& r, const std::string& message)
{
  r.passed = false;
  r.messages.push_back(message);
}

bool expectOk(CheckResult& r, tresult result, const std::string& call)
{
  if (result == kResultOk) return true;
  fail(r, call + " answered " + resultName(result));
  return false;
}

std::string sizeName(int32 sampleSize) { return sampleSize == kSample64 ? " (64-bit)" : " (32-bit)"; }

}  // namespace

std::vector<std::string> failedChecks(const std::vector<CheckResult>& results)
{
  std::vector<std::string> out;
  for (const auto& r : results)
    if (!r.passed) out.push_back(r.name);
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
    const int32 n = suite.component_->getBusCount(kAudio, dir);
    for (int32 i = 0; i < n; ++i) {
      BusInfo info;
      std::memset(&info, 0, sizeof info);
      suite.component_->getBusInfo(kAudio, dir, i, info);
      out.push_back(std::max(0, info.channelCount));
    }
    return out;
  }

  // False (with the check failed) when the set-up is refused; supported is false when the
  // sample size is not offered, which passes the check.
  bool setUp(CheckResult& r, bool& supported)
  {
    supported = suite.processor_->canProcessSampleSize(sampleSize) == kResultOk;
    if (!supported) {
      r.messages.push_back("sample size not supported");
      return false;
    }
    ProcessSetup setup{kRealtime, sampleSize, kMaxBlock, kRate};
    if (!expectOk(r, suite.processor_->setupProcessing(setup), "setupProcessing")) return false;
    inputs.configure(sampleSize, channels(kInput), kMaxBlock);
    outputs.configure(sampleSize, channels(kOutput), kMaxBlock);
    return expectOk(r, suite.component_->setActive(1), "setActive(true)");
  }

  void tearDown(CheckResult& r) { expectOk(r, suite.component_->setActive(0), "setActive(false)"); }

  // One block; samples past the block are guarded, so a write beyond it is noticed.
  tresult process(int32 frames, IParameterChanges* changes = nullptr)
  {
    inputs.guardTail(frames);
    outputs.guardTail(frames);
    ProcessDataBuilder data(sampleSize, frames);
    data.inputs(inputs).outputs(outputs).changes(changes);
    const tresult r = suite.processor_->process(data.data());
    if (!inputs.guardsIntact() || !outputs.guardsIntact()) overrun = true;
    return r;
  }

  // A process call that carries only parameters: no samples, and no buses at all or buses
  // without channels.
  tresult flush(IParameterChanges* changes, bool withEmptyBusArrays)
  {
    ProcessDataBuilder data(sampleSize, 0);
    if (withEmptyBusArrays) data.emptyBuses(inputs, outputs);
    data.changes(changes);
    return suite.processor_->process(data.data());
  }

  ConformanceSuite& suite;
  int32 sampleSize;
  AudioBuffers inputs;
  AudioBuffers outputs;
  bool overrun = false;
};

ConformanceSuite::ConformanceSuite(IPluginFactory* factory, const TUID cid)
    : ConformanceSuite(factory, cid, Options{})
{
}

ConformanceSuite::ConformanceSuite(IPluginFactory* factory, const TUID cid, const Options& options)
    : factory_(factory), options_(options)
{
  std::memcpy(cid_, cid, sizeof cid_);
  if (factory_ != nullptr) factory_->addRef();
}

ConformanceSuite::~ConformanceSuite()
{
  CheckResult ignored;
  destroy(ignored);
  if (factory_ != nullptr) factory_->release();
}

bool ConformanceSuite::create(CheckResult& r)
{
  void* obj = nullptr;
  if (!expectOk(r, factory_ != nullptr ? factory_->createInstance(cid_, IComponent::iid, &obj) : kNoInterface,
                "createInstance(IComponent)"))
    return false;
  component_ = static_cast<IComponent*>(obj);
  if (!expectOk(r, component_->initialize(static_cast<IHostApplication*>(&application_)), "initialize")) {
    releaseAndClear(component_);
    return false;
  }
  processor_ = query<IAudioProcessor>(component_);
  controller_ = query<IEditController>(component_);
  units_ = query<IUnitInfo>(component_);
  midi_ = query<IMidiMapping>(component_);
  if (processor_ == nullptr) fail(r, "the component offers no IAudioProcessor");
  if (controller_ == nullptr) fail(r, "the component is not its own controller");
  if (processor_ == nullptr || controller_ == nullptr) return false;
  controller_->setComponentHandler(&handler_);
  return true;
}

void ConformanceSuite::destroy(CheckResult& r)
{
  if (component_ == nullptr) return;
  expectOk(r, component_->terminate(), "terminate");
  releaseAndClear(processor_);
  releaseAndClear(controller_);
  releaseAndClear(units_);
  releaseAndClear(midi_);
  const uint32 left = component_->release();
  component_ = nullptr;
  if (left != 0) fail(r, "the plug-in keeps " + std::to_string(left) + " reference(s) after the last release");
  if (application_.heldByPlugin() != 0 || handler_.heldByPlugin() != 0)
    fail(r, "the plug-in still holds host objects after it was released");
}

std::vector<CheckResult> ConformanceSuite::run()
{
  std::vector<CheckResult> results;
  CheckResult setup{"Create and initialize", true, {}};
  const bool created = create(setup);
  results.push_back(setup);
  if (!created) {
    CheckResult teardown{"Release", true, {}};
    destroy(teardown);
    return results;
  }
  runGeneral(results);
  runProcessing(kSample32, results);
  runProcessing(kSample64, results);
  CheckResult teardown{"Terminate and release", true, {}};
  destroy(teardown);
  results.push_back(teardown);
  return results;
}

void ConformanceSuite::runGeneral(std::vector<CheckResult>& results)
{
  IComponent* c = component_;
  auto activateMain = [&](CheckResult& r, bool on) {
    for (BusDirection dir : {kInput, kOutput})
      if (c->getBusCount(kAudio, dir) > 0 && c->activateBus(kAudio, dir, 0, on ? 1 : 0) == kResultFalse)
        fail(r, std::string("activateBus(main ") + (dir == kInput ? "input" : "output") + ") refused");
  };
  auto check = [&](const char* name, auto body) {
    CheckResult r{name, true, {}};
    activateMain(r, true);
    body(r);
    activateMain(r, false);
    results.push_back(r);
  };

  check("Scan buses", [&](CheckResult& r) {
    int32 total = 0;
    for (MediaType type : {kAudio, kEvent}) {
      for (BusDirection dir : {kInput, kOutput}) {
        const int32 n = c->getBusCount(type, dir);
        total += std::max(0, n);
        for (int32 i = 0; i < n; ++i) {
          BusInfo info;
          std::memset(&info, 0, sizeof info);
          if (!expectOk(r, c->getBusInfo(type, dir, i, info), "getBusInfo(" + std::to_string(i) + ")")) continue;
          if (info.name[0] == 0) fail(r, "bus " + std::to_string(i) + " has no name");
        }
      }
    }
    if (total == 0) fail(r, "the component has no bus");
  });

  std::set<ParamID> paramIds;
  std::set<UnitID> unitIds;
  if (units_ != nullptr) {
    for (int32 i = 0; i < units_->getUnitCount(); ++i) {
      UnitInfo u;
      std::memset(&u, 0, sizeof u);
      if (units_->getUnitInfo(i, u) == kResultOk) unitIds.insert(u.id);
    }
  }

  check("Scan parameters", [&](CheckResult& r) {
    const int32 n = controller_->getParameterCount();
    if (n < 0) fail(r, "negative parameter count");
    int bypassCount = 0;
    for (int32 i = 0; i < n; ++i) {
      ParameterInfo p;
      std::memset(&p, 0, sizeof p);
      const std::string at = "parameter " + std::to_string(i);
      if (!expectOk(r, controller_->getParameterInfo(i, p), "getParameterInfo(" + std::to_string(i) + ")")) continue;
      if (static_cast<int32>(p.id) < 0) fail(r, at + ": id in the host's reserved range");
      if (!paramIds.insert(p.id).second) fail(r, at + ": duplicate id " + std::to_string(p.id));
      if (p.stepCount < 0) fail(r, at + ": negative step count");
      if (p.title[0] == 0) fail(r, at + ": no title");
      if (!(p.defaultNormalizedValue >= 0.0 && p.defaultNormalizedValue <= 1.0)) fail(r, at + ": default outside 0..1");
      if (p.unitId < kNoParentUnitId) fail(r, at + ": unit id below -1");
      if (p.unitId > kRootUnitId && unitIds.count(p.unitId) == 0) fail(r, at + ": unit " + std::to_string(p.unitId) + " not defined");
      const int32 f = p.flags;
      if ((f & ParameterInfo::kCanAutomate) && (f & ParameterInfo::kIsReadOnly)) fail(r, at + ": automatable and read-only");
      if ((f & ParameterInfo::kIsProgramChange) && (f & ParameterInfo::kIsReadOnly)) fail(r, at + ": program change and read-only");
      if (f & ParameterInfo::kIsBypass) {
        ++bypassCount;
        if (f & (ParameterInfo::kIsReadOnly | ParameterInfo::kIsProgramChange)) fail(r, at + ": a bypass must be settable");
      }
      if ((f & ParameterInfo::kIsProgramChange) && !(f & ParameterInfo::kIsList))
        r.messages.push_back(at + ": program change without the list flag");
    }
    if (bypassCount > 1) fail(r, "more than one bypass parameter");
    if (bypassCount == 0) r.messages.push_back("no bypass parameter");
  });

  check("MIDI mapping", [&](CheckResult& r) {
    if (midi_ == nullptr) {
      r.messages.push_back("no MIDI mapping");
      return;
    }
    const int32 buses = c->getBusCount(kEvent, kInput);
    for (int32 b = 0; b < buses; ++b) {
      BusInfo info;
      std::memset(&info, 0, sizeof info);
      if (c->getBusInfo(kEvent, kInput, b, info) != kResultOk) break;
      for (int16 ch = 0; ch < info.channelCount && ch < 16; ++ch) {
        for (int16 ctrl = 0; ctrl <= kCountCtrlNumber; ++ctrl) {
          ParamID id = kNoParamId;
          if (midi_->getMidiControllerAssignment(b, ch, ctrl, id) != kResultTrue || paramIds.count(id) != 0) continue;
          const std::string what = "controller " + std::to_string(ctrl) + " maps to unknown id " + std::to_string(id);
          if (ctrl == kCountCtrlNumber)
            r.messages.push_back(what);
          else
            fail(r, what);
        }
      }
    }
  });

  check("Unit info", [&](CheckResult& r) {
    if (units_ == nullptr) {
      r.messages.push_back("no unit information");
      return;
    }
    const int32 n = units_->getUnitCount();
    if (n < 1) fail(r, "no root unit");
    std::set<UnitID> seen;
    std::vector<UnitInfo> all;
    for (int32 i = 0; i < n; ++i) {
      UnitInfo u;
      std::memset(&u, 0, sizeof u);
      if (units_->getUnitInfo(i, u) != kResultOk) continue;
      const std::string at = "unit " + std::to_string(i);
      if (u.id < 0) fail(r, at + ": negative id");
      if (!seen.insert(u.id).second) fail(r, at + ": duplicate id");
      if (u.name[0] == 0) fail(r, at + ": no name");
      if (u.parentUnitId < kNoParentUnitId || u.parentUnitId == u.id) fail(r, at + ": bad parent");
      if (u.programListId < kNoProgramListId) fail(r, at + ": bad program list");
      const tresult sel = units_->selectUnit(u.id);
      if (!okOrNotImplemented(sel)) r.messages.push_back(at + ": selectUnit answered " + resultName(sel));
      all.push_back(u);
    }
    for (const UnitInfo& u : all) {
      if (u.parentUnitId == kNoParentUnitId && u.id != kRootUnitId) fail(r, "a unit without parent is not the root");
      if (u.parentUnitId != kNoParentUnitId && seen.count(u.parentUnitId) == 0) fail(r, "a unit's parent does not exist");
    }
  });

  check("Program info", [&](CheckResult& r) {
    if (units_ == nullptr) return;
    const int32 n = units_->getProgramListCount();
    std::set<ProgramListID> seen;
    for (int32 i = 0; i < n; ++i) {
      ProgramListInfo pl;
      std::memset(&pl, 0, sizeof pl);
      if (!expectOk(r, units_->getProgramListInfo(i, pl), "getProgramListInfo(" + std::to_string(i) + ")")) continue;
      if (pl.id < 0 || !seen.insert(pl.id).second) fail(r, "program list " + std::to_string(i) + ": bad or duplicate id");
      if (pl.name[0] == 0) fail(r, "program list " + std::to_string(i) + ": no name");
      for (int32 p = 0; p < pl.programCount && p < 1024; ++p) {
        String128 name{};
        if (units_->getProgramName(pl.id, p, name) == kResultOk && name[0] == 0)
          fail(r, "program " + std::to_string(p) + " has an empty name");
      }
    }
  });

  check("Terminate and initialize again", [&](CheckResult& r) {
    if (expectOk(r, c->terminate(), "terminate"))
      expectOk(r, c->initialize(static_cast<IHostApplication*>(&application_)), "initialize");
  });

  for (int32 size : {kSample32, kSample64}) {
    check(size == kSample32 ? "Valid state transitions (32-bit)" : "Valid state transitions (64-bit)", [&](CheckResult& r) {
      if (processor_->canProcessSampleSize(size) != kResultOk) {
        r.messages.push_back("sample size not supported");
        return;
      }
      expectOk(r, c->setActive(0), "setActive(false)");
      for (int round = 0; round < 4 && r.passed; ++round) {
        ProcessSetup setup{kRealtime, size, kMaxBlock, kRate};
        expectOk(r, processor_->setupProcessing(setup), "setupProcessing");
        expectOk(r, c->setActive(1), "setActive(true)");
        expectOk(r, c->setActive(0), "setActive(false)");
        activateMain(r, false);
        expectOk(r, c->terminate(), "terminate");
        expectOk(r, c->initialize(static_cast<IHostApplication*>(&application_)), "initialize");
        if (round < 2) activateMain(r, true);
      }
    });
  }

  check("Bus consistency", [&](CheckResult& r) {
    for (MediaType type : {kAudio, kEvent})
      for (BusDirection dir : {kInput, kOutput})
        for (int32 i = 0; i < c->getBusCount(type, dir); ++i) {
          BusInfo a, b;
          std::memset(&a, 0, sizeof a);
          std::memset(&b, 0, sizeof b);
          c->getBusInfo(type, dir, i, a);
          c->getBusInfo(type, dir, i, b);
          if (std::memcmp(&a, &b, sizeof a) != 0) fail(r, "bus " + std::to_string(i) + " is described differently twice");
        }
  });

  check("Bus activation", [&](CheckResult& r) {
    for (MediaType type : {kAudio, kEvent})
      for (BusDirection dir : {kInput, kOutput})
        for (int32 i = 0; i < c->getBusCount(type, dir); ++i) {
          BusInfo info;
          std::memset(&info, 0, sizeof info);
          c->getBusInfo(type, dir, i, info);
          const TBool first = (info.flags & BusInfo::kDefaultActive) ? 0 : 1;
          expectOk(r, c->activateBus(type, dir, i, first), "activateBus(" + std::to_string(i) + ")");
          expectOk(r, c->activateBus(type, dir, i, first ? 0 : 1), "activateBus(" + std::to_string(i) + ")");
        }
  });

  check("Audio bus arrangements", [&](CheckResult& r) {
    for (BusDirection dir : {kInput, kOutput})
      for (int32 i = 0; i < c->getBusCount(kAudio, dir); ++i) {
        BusInfo info;
        std::memset(&info, 0, sizeof info);
        c->getBusInfo(kAudio, dir, i, info);
        SpeakerArrangement arr = 0;
        if (!expectOk(r, processor_->getBusArrangement(dir, i, arr), "getBusArrangement(" + std::to_string(i) + ")")) continue;
        if (channelCount(arr) != info.channelCount) fail(r, "bus " + std::to_string(i) + ": arrangement and channel count disagree");
      }
  });

  check("Suspend and resume", [&](CheckResult& r) {
    for (int round = 0; round < 3; ++round)
      for (int32 size : {kSample32, kSample64}) {
        if (processor_->canProcessSampleSize(size) != kResultOk) continue;
        ProcessSetup setup{kRealtime, size, kMaxBlock, kRate};
        expectOk(r, processor_->setupProcessing(setup), "setupProcessing");
        expectOk(r, c->setActive(1), "setActive(true)");
        expectOk(r, c->setActive(0), "setActive(false)");
      }
  });
}

void ConformanceSuite::runProcessing(int32 sampleSize, std::vector<CheckResult>& results)
{
  std::mt19937 rng(options_.seed + static_cast<std::uint32_t>(sampleSize));
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  IComponent* c = component_;

  std::vector<ParameterInfo> params;
  for (int32 i = 0; i < controller_->getParameterCount(); ++i) {
    ParameterInfo p;
    std::memset(&p, 0, sizeof p);
    if (controller_->getParameterInfo(i, p) == kResultOk) params.push_back(p);
  }
  // The queues for the first `count` parameters: automatable ones get a value at offset 0,
  // others an empty queue without a valid id, as conformance tools send them.
  auto queuesFor = [&](std::size_t count, ParameterChanges& changes) {
    for (std::size_t i = 0; i < count && i < params.size(); ++i) {
      if (params[i].flags & ParameterInfo::kCanAutomate)
        changes.add(params[i].id, 0, unit(rng));
      else
        changes.addEmptyQueue(kNoParamId);
    }
  };
  auto activateMain = [&](bool on) {
    for (BusDirection dir : {kInput, kOutput})
      if (c->getBusCount(kAudio, dir) > 0) c->activateBus(kAudio, dir, 0, on ? 1 : 0);
  };
  auto check = [&](const std::string& name, auto body) {
    CheckResult r{name + sizeName(sampleSize), true, {}};
    activateMain(true);
    Context ctx(*this, sampleSize);
    bool supported = false;
    if (ctx.setUp(r, supported)) {
      body(r, ctx);
      ctx.tearDown(r);
    }
    if (ctx.overrun) fail(r, "process wrote outside the block in the host's buffers");
    activateMain(false);
    results.push_back(r);
  };

  check("Process", [&](CheckResult& r, Context& ctx) {
    processor_->setProcessing(1);
    for (int i = 0; i < 3; ++i) expectOk(r, ctx.process(kBlock), "process");
    processor_->setProcessing(0);
  });

  check("Process from a second thread", [&](CheckResult& r, Context& ctx) {
    int failures = 0;
    std::thread audio([&] {
      for (int i = 0; i < options_.threadBlocks; ++i)
        if (ctx.process(kBlock) != kResultOk) ++failures;
    });
    audio.join();
    if (failures != 0) fail(r, std::to_string(failures) + " process calls failed");
  });

  check("Silence flags", [&](CheckResult& r, Context& ctx) {
    if (ctx.inputs.busCount() == 0) return;
    const int32 channels = std::min(ctx.inputs.channelCount(0), 4);
    for (uint64 flags = 0; flags < (uint64{1} << channels); ++flags) {
      ctx.inputs.buses()[0].silenceFlags = flags;
      expectOk(r, ctx.process(kBlock), "process with silence flags " + std::to_string(flags));
    }
    ctx.inputs.buses()[0].silenceFlags = 0;
  });

  check("Silence processing", [&](CheckResult& r, Context& ctx) {
    ctx.inputs.fill(0.0);
    for (int32 b = 0; b < ctx.inputs.busCount(); ++b)
      ctx.inputs.buses()[b].silenceFlags = (uint64{1} << std::min(ctx.inputs.channelCount(b), 63)) - 1;
    for (int i = 0; i < options_.silenceBlocks && r.passed; ++i) expectOk(r, ctx.process(kBlock), "process");
    if (!ctx.outputs.allFinite(kBlock)) fail(r, "silence produced non-finite samples");
  });

  check("Flush parameters", [&](CheckResult& r, Context& ctx) {
    ParameterChanges changes;
    queuesFor(1, changes);
    expectOk(r, ctx.flush(&changes, false), "process without buses");
    expectOk(r, ctx.flush(&changes, true), "process with empty buses");
    changes.clear();
    queuesFor(params.size(), changes);
    expectOk(r, ctx.flush(&changes, false), "process without buses (all parameters)");
    if (!changes.referencesBalanced()) fail(r, "the plug-in kept a parameter queue");
  });

  check("Variable block sizes", [&](CheckResult& r, Context& ctx) {
    for (int i = 0; i < options_.variableBlocks; ++i) {
      const auto frames = i == 0 ? 0 : static_cast<int32>(rng() % kMaxBlock);
      const tresult result = ctx.process(frames);
      if (i > 0) expectOk(r, result, "process(" + std::to_string(frames) + " samples)");
    }
  });

  check("Process formats", [&](CheckResult& r, Context& ctx) {
    expectOk(r, c->setActive(0), "setActive(false)");
    for (double rate : {22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0, 384000.0, 1234.5678,
                        12345.678, 123456.78, 1234567.8}) {
      const std::string at = " at " + std::to_string(rate) + " Hz";
      ProcessSetup setup{kRealtime, sampleSize, kMaxBlock, rate};
      if (processor_->setupProcessing(setup) != kResultOk) r.messages.push_back("setupProcessing refused" + at);
      if (!expectOk(r, c->setActive(1), "setActive(true)" + at)) continue;
      ctx.inputs.fill(0.25);
      if (ctx.process(kBlock) != kResultOk) r.messages.push_back("process failed" + at);
      if (!ctx.outputs.allFinite(kBlock)) fail(r, "non-finite output" + at);
      expectOk(r, c->setActive(0), "setActive(false)" + at);
    }
    expectOk(r, c->setActive(1), "setActive(true)");
  });

  check("Bypass persistence", [&](CheckResult& r, Context& ctx) {
    const ParameterInfo* bypass = nullptr;
    for (const auto& p : params)
      if (p.flags & ParameterInfo::kIsBypass) bypass = &p;
    if (bypass == nullptr) {
      r.messages.push_back("no bypass parameter");
      return;
    }
    ParameterChanges on;
    on.add(bypass->id, 0, 1.0);
    expectOk(r, ctx.flush(&on, false), "process (bypass on)");
    controller_->setParamNormalized(bypass->id, 1.0);
    if (controller_->getParamNormalized(bypass->id) < 1.0) r.messages.push_back("the controller does not follow the bypass");
    MemoryStream componentState, controllerState;
    tresult result = c->getState(&componentState);
    if (!okOrNotImplemented(result)) fail(r, "component getState answered " + resultName(result));
    result = controller_->getState(&controllerState);
    if (!okOrNotImplemented(result)) fail(r, "controller getState answered " + resultName(result));
    ParameterChanges off;
    off.add(bypass->id, 0, 0.0);
    expectOk(r, ctx.flush(&off, false), "process (bypass off)");
    componentState.rewind();
    controllerState.rewind();
    bool loaded = okOrNotImplemented(result = c->setState(&componentState));
    componentState.rewind();
    loaded = loaded && okOrNotImplemented(result = controller_->setComponentState(&componentState));
    loaded = loaded && okOrNotImplemented(result = controller_->setState(&controllerState));
    if (!loaded) fail(r, "loading the saved state answered " + resultName(result));
    if (controller_->getParamNormalized(bypass->id) != 1.0) fail(r, "the bypass did not come back with the saved state");
    if (componentState.heldByPlugin() != 0 || controllerState.heldByPlugin() != 0) fail(r, "the plug-in kept a state stream");
  });

  check("Automation", [&](CheckResult& r, Context& ctx) {
    struct Variant
    {
      std::size_t count;  // parameters automated (0: all)
      int32 every;        // samples between points
      bool sampleAccurate;
    };
    for (const Variant v : {Variant{1, 100, false}, Variant{1, 100, true}, Variant{0, 50, true}}) {
      const std::size_t count = v.count == 0 ? params.size() : v.count;
      for (int block = 0; block < 16; ++block) {
        ParameterChanges changes;
        for (std::size_t i = 0; i < count && i < params.size(); ++i) {
          if (!(params[i].flags & ParameterInfo::kCanAutomate)) {
            changes.addEmptyQueue(kNoParamId);
            continue;
          }
          if (!v.sampleAccurate) {
            changes.add(params[i].id, 0, unit(rng));
            continue;
          }
          // Points at every multiple of `every` samples, and a jump at offsets 0 and 1 first.
          if (block == 0) changes.add(params[i].id, 1, unit(rng));
          const int32 start = block * kBlock;
          for (int32 at = (start + v.every - 1) / v.every * v.every - start; at < kBlock; at += v.every)
            changes.add(params[i].id, at, unit(rng));
        }
        expectOk(r, ctx.process(kBlock, &changes), "process with automation");
      }
    }
    if (!ctx.outputs.allFinite(kBlock)) fail(r, "automation produced non-finite samples");
  });

  // Last: mono leaves the shared instance in mono for whatever runs after it.
  for (SpeakerArrangement arr : {arrangement::kStereo, arrangement::kMono}) {
    CheckResult r{std::string(arr == arrangement::kMono ? "Speaker arrangement mono" : "Speaker arrangement stereo") +
                      sizeName(sampleSize),
                  true,
                  {}};
    std::vector<SpeakerArrangement> ins(static_cast<std::size_t>(c->getBusCount(kAudio, kInput)), arr);
    std::vector<SpeakerArrangement> outs(static_cast<std::size_t>(c->getBusCount(kAudio, kOutput)), arr);
    processor_->setBusArrangements(ins.data(), static_cast<int32>(ins.size()), outs.data(), static_cast<int32>(outs.size()));
    for (BusDirection dir : {kInput, kOutput})
      for (int32 i = 1; i < c->getBusCount(kAudio, dir); ++i) c->activateBus(kAudio, dir, i, 1);
    Context ctx(*this, sampleSize);
    bool supported = false;
    if (ctx.setUp(r, supported)) {
      for (BusDirection dir : {kInput, kOutput}) {
        for (int32 i = 0; i < c->getBusCount(kAudio, dir); ++i) {
          SpeakerArrangement got = 0;
          if (!expectOk(r, processor_->getBusArrangement(dir, i, got), "getBusArrangement")) continue;
          BusInfo info;
          std::memset(&info, 0, sizeof info);
          c->getBusInfo(kAudio, dir, i, info);
          if (got == arr && info.channelCount != channelCount(arr)) fail(r, "the bus reports the arrangement but not its channels");
        }
      }
      for (int i = 0; i < 3; ++i) expectOk(r, ctx.process(kBlock), "process");
      ctx.tearDown(r);
    }
    results.push_back(r);
  }
}

}  // namespace fakehost
