#pragma once
// The checks VST3 conformance tools run, played on one shared instance of a class:
// general checks (buses, parameters, units, MIDI mapping, state transitions, activation,
// the process context requirements a class's SDK version calls for)
// and, for 32- and 64-bit samples, the processing checks (plain blocks, a second thread,
// silence, parameter flushes without audio, variable block sizes, many sample rates,
// bypass persistence through saved state, speaker arrangements, automation).
//
// A check fails when the plug-in answers a call the way no host accepts; the messages say
// which call. Informational findings are kept as messages of passing checks.

#include "sdk/vst3/Interfaces.h"
#include "hosts/vst3/AudioBuffers.h"
#include "hosts/vst3/ComponentHandler.h"
#include "hosts/vst3/HostApplication.h"
#include "hosts/vst3/ParameterChanges.h"

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace vst3host {

struct CheckResult
{
  std::string name;
  bool passed = true;
  std::vector<std::string> messages;
};

class ConformanceSuite
{
public:
  struct Options
  {
    int threadBlocks = 999;       // process calls from the second thread
    int silenceBlocks = 1378;     // blocks of 64 zero samples (about 2 s)
    int variableBlocks = 21;      // random block sizes 0..8191
    std::uint32_t seed = 0x5EED;  // random values for blocks and automation
  };

  ConformanceSuite(vst3::IPluginFactory* factory, const vst3::TUID cid);
  ConformanceSuite(vst3::IPluginFactory* factory, const vst3::TUID cid, const Options& options);
  ~ConformanceSuite();
  ConformanceSuite(const ConformanceSuite&) = delete;
  ConformanceSuite& operator=(const ConformanceSuite&) = delete;

  // Creates the instance, runs every check, releases the instance.
  std::vector<CheckResult> run();

private:
  struct Context;
  using Check = std::function<void(CheckResult&)>;
  using ProcessCheck = void (ConformanceSuite::*)(CheckResult&, Context&);

  bool create(CheckResult& result);
  void destroy(CheckResult& result);
  void activateMainBuses(CheckResult& result, bool on);
  // Runs one check between the activation and deactivation of the main buses.
  void general(const std::string& name, const Check& check, std::vector<CheckResult>& results);
  // Runs one check inside a processing set-up at the sample size.
  void processing(const std::string& name, vst3::int32 sampleSize, ProcessCheck check,
                  std::vector<CheckResult>& results);
  std::vector<vst3::ParameterInfo> parameterInfos();
  double random();
  // One queue per parameter for the first count parameters.
  void parameterQueues(std::size_t count, ParameterChanges& changes);

  void scanBuses(CheckResult& r);
  void scanParameters(CheckResult& r);
  void midiMapping(CheckResult& r);
  void unitInfo(CheckResult& r);
  void programInfo(CheckResult& r);
  void terminateAndInitialize(CheckResult& r);
  void stateTransitions(CheckResult& r, Context& ctx);
  void busConsistency(CheckResult& r);
  void busActivation(CheckResult& r);
  void audioArrangements(CheckResult& r);
  void suspendAndResume(CheckResult& r);
  void processContextRequirements(CheckResult& r);

  void processBlocks(CheckResult& r, Context& ctx);
  void processOnSecondThread(CheckResult& r, Context& ctx);
  void silenceFlags(CheckResult& r, Context& ctx);
  void silenceProcessing(CheckResult& r, Context& ctx);
  void flushParameters(CheckResult& r, Context& ctx);
  void variableBlockSizes(CheckResult& r, Context& ctx);
  void processFormats(CheckResult& r, Context& ctx);
  void bypassPersistence(CheckResult& r, Context& ctx);
  void automation(CheckResult& r, Context& ctx);
  void speakerArrangement(vst3::int32 sampleSize, vst3::SpeakerArrangement arr, std::vector<CheckResult>& results);

  vst3::IPluginFactory* mFactory;
  vst3::TUID mCid;
  Options mOptions;
  std::mt19937 mRng;
  std::vector<vst3::ParameterInfo> mParams;  // as listed when the processing checks began
  HostApplication mApplication;
  ComponentHandler mHandler;
  vst3::IComponent* mComponent = nullptr;
  vst3::IAudioProcessor* mProcessor = nullptr;
  vst3::IEditController* mController = nullptr;
  vst3::IUnitInfo* mUnits = nullptr;
  vst3::IMidiMapping* mMidi = nullptr;
};

// Names of the failed checks (empty when all passed).
std::vector<std::string> failedChecks(const std::vector<CheckResult>& results);

}  // namespace vst3host
