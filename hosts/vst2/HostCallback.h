#pragma once

#include "sdk/vst2/AEffect.h"
#include "sdk/vst2/VstRecords.h"

#include <mutex>
#include <string>
#include <vector>

namespace vst2host {

// One call the plug-in made to its host, in order.
struct HostCall
{
  int32_t opcode;
  int32_t index;
  intptr_t value;
  float opt;
  // For audioMasterProcessEvents: the events sent, copied.
  std::vector<vst2::VstMidiEvent> midi;
  std::vector<vst2::VstMidiSysexEvent> sysex;
};

// The host side of one effect record: answers the plug-in's callbacks as the host was set
// up to, and records every call. Records are found by their AEffect; calls made while a
// plug-in is being created (before its record is known) go to the host creating it.
class HostCallback
{
public:
  HostCallback();
  ~HostCallback();
  HostCallback(const HostCallback&) = delete;
  HostCallback& operator=(const HostCallback&) = delete;

  // The function given to the plug-in's entry.
  static intptr_t VST2_CALLBACK AudioMaster(vst2::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                            void* ptr, float opt);

  // Runs a plug-in entry with this host's callback and takes the record it returns.
  vst2::AEffect* Create(vst2::PluginEntryProc entry);
  // Forgets the record (after effClose).
  void Release();
  vst2::AEffect* Effect() const { return mEffect; }

  // What the host answers.
  std::string productString = "TestHost";
  intptr_t vendorVersion = 10203;
  int32_t processLevel = 2;  // realtime
  bool hasTimeInfo = true;
  vst2::VstTimeInfo timeInfo{};
  intptr_t processEventsAnswer = 1;

  // What reached the host, and the calls of one opcode.
  std::vector<HostCall> Calls() const;
  std::vector<HostCall> CallsOf(int32_t opcode) const;
  void ClearCalls();

private:
  intptr_t Answer(vst2::AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

  vst2::AEffect* mEffect = nullptr;
  mutable std::mutex mCallsLock;
  std::vector<HostCall> mCalls;
};

// A time info of a playing transport at the given tempo in 4/4, every field valid; or,
// with tempo 0, one that reports a position only.
vst2::VstTimeInfo MakeTimeInfo(double sampleRate, double samplePos, double tempo);

}  // namespace vst2host
