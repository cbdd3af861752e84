#include "hosts/vst2/HostCallback.h"

#include <cstring>
#include <map>

namespace vst2host {
namespace {

std::mutex gRegistryLock;
std::map<vst2::AEffect*, HostCallback*> gHosts;
thread_local HostCallback* tCreating = nullptr;

HostCallback* HostOf(vst2::AEffect* effect)
{
  std::lock_guard<std::mutex> lock(gRegistryLock);
  const auto found = gHosts.find(effect);
  return found != gHosts.end() ? found->second : tCreating;
}

void CopyEvents(const vst2::VstEvents* events, HostCall* call)
{
  if (!events)
    return;
  for (int32_t i = 0; i < events->numEvents; ++i)
  {
    const vst2::VstEvent* event = events->events[i];
    if (event && event->type == vst2::kVstMidiType)
      call->midi.push_back(*reinterpret_cast<const vst2::VstMidiEvent*>(event));
    else if (event && event->type == vst2::kVstSysExType)
      call->sysex.push_back(*reinterpret_cast<const vst2::VstMidiSysexEvent*>(event));
  }
}

}  // namespace

HostCallback::HostCallback()
{
  timeInfo = MakeTimeInfo(44100.0, 0.0, 120.0);
}

HostCallback::~HostCallback()
{
  Release();
}

vst2::AEffect* HostCallback::Create(vst2::PluginEntryProc entry)
{
  tCreating = this;
  vst2::AEffect* effect = entry ? entry(&AudioMaster) : nullptr;
  tCreating = nullptr;
  Release();
  if (effect)
  {
    std::lock_guard<std::mutex> lock(gRegistryLock);
    gHosts[effect] = this;
  }
  mEffect = effect;
  return effect;
}

void HostCallback::Release()
{
  std::lock_guard<std::mutex> lock(gRegistryLock);
  const auto found = gHosts.find(mEffect);
  if (found != gHosts.end() && found->second == this)
    gHosts.erase(found);
  mEffect = nullptr;
}

intptr_t HostCallback::AudioMaster(vst2::AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                   float opt)
{
  if (opcode == vst2::audioMasterVersion)
    return 2400;
  HostCallback* host = HostOf(effect);
  return host ? host->Answer(effect, opcode, index, value, ptr, opt) : 0;
}

intptr_t HostCallback::Answer(vst2::AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
  HostCall call{opcode, index, value, opt, {}, {}};
  intptr_t answer = 0;
  switch (opcode)
  {
  case vst2::audioMasterGetTime:
    answer = hasTimeInfo ? reinterpret_cast<intptr_t>(&timeInfo) : 0;
    break;
  case vst2::audioMasterProcessEvents:
    CopyEvents(static_cast<const vst2::VstEvents*>(ptr), &call);
    answer = processEventsAnswer;
    break;
  case vst2::audioMasterGetCurrentProcessLevel:
    answer = processLevel;
    break;
  case vst2::audioMasterGetProductString:
    if (ptr)
    {
      // The whole buffer, unterminated when the name fills it: the plug-in must cope.
      const size_t n = std::min(productString.size(), size_t(vst2::kHostProductStringSize));
      std::memcpy(ptr, productString.data(), n);
      if (n < size_t(vst2::kHostProductStringSize))
        static_cast<char*>(ptr)[n] = 0;
    }
    answer = ptr ? 1 : 0;
    break;
  case vst2::audioMasterGetVendorVersion:
    answer = vendorVersion;
    break;
  case vst2::audioMasterGetSampleRate:
    answer = static_cast<intptr_t>(timeInfo.sampleRate);
    break;
  default:
    answer = 0;
    break;
  }
  std::lock_guard<std::mutex> lock(mCallsLock);
  mCalls.push_back(std::move(call));
  return answer;
}

std::vector<HostCall> HostCallback::Calls() const
{
  std::lock_guard<std::mutex> lock(mCallsLock);
  return mCalls;
}

std::vector<HostCall> HostCallback::CallsOf(int32_t opcode) const
{
  std::vector<HostCall> found;
  std::lock_guard<std::mutex> lock(mCallsLock);
  for (const HostCall& call : mCalls)
  {
    if (call.opcode == opcode)
      found.push_back(call);
  }
  return found;
}

void HostCallback::ClearCalls()
{
  std::lock_guard<std::mutex> lock(mCallsLock);
  mCalls.clear();
}

vst2::VstTimeInfo MakeTimeInfo(double sampleRate, double samplePos, double tempo)
{
  vst2::VstTimeInfo info{};
  info.sampleRate = sampleRate;
  info.samplePos = samplePos;
  if (tempo <= 0.0)
    return info;
  info.tempo = tempo;
  info.ppqPos = samplePos / sampleRate * tempo / 60.0;
  info.barStartPos = static_cast<double>(static_cast<int64_t>(info.ppqPos / 4.0)) * 4.0;
  info.timeSigNumerator = 4;
  info.timeSigDenominator = 4;
  info.flags = vst2::kVstTransportPlaying | vst2::kVstPpqPosValid | vst2::kVstTempoValid | vst2::kVstBarsValid |
               vst2::kVstTimeSigValid;
  return info;
}

}  // namespace vst2host
