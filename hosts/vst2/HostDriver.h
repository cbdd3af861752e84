#pragma once

#include "hosts/vst2/HostCallback.h"

#include <string>
#include <vector>

namespace vst2host {

// Plays the host's side of a VST2 plug-in's life: create, open, set rate and block size,
// resume, process, parameters, programs and chunks, suspend, close.
class HostDriver
{
public:
  using Channels = std::vector<std::vector<double>>;

  explicit HostDriver(vst2::PluginEntryProc entry);
  // Closes a plug-in still open.
  ~HostDriver();
  HostDriver(const HostDriver&) = delete;
  HostDriver& operator=(const HostDriver&) = delete;

  // Calls the entry; false when it gives no record or not an effect record.
  bool Create();
  // effOpen, the rate, the block size, then resume.
  void Open(double sampleRate, int maxBlockSize);
  void Suspend();
  void Resume();
  // Suspends and closes; the record is gone afterwards.
  void Close();

  vst2::AEffect* Effect() const { return mEffect; }
  HostCallback& Host() { return mHost; }
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);

  int NumParams() const { return mEffect ? mEffect->numParams : 0; }
  float GetParameter(int idx);
  void SetParameter(int idx, float value);
  std::string ParamName(int idx);
  std::string ParamLabel(int idx);
  std::string ParamDisplay(int idx);
  std::string EffectName();
  // The index of the parameter of that name, or -1.
  int FindParam(const std::string& name);
  // Sets a parameter from its text as the user types it; false when the plug-in refuses.
  bool SetParamText(int idx, const std::string& text);

  // The state (bank false) or the whole bank, as the plug-in hands it out.
  std::vector<unsigned char> GetChunk(bool bank);
  bool SetChunk(bool bank, const std::vector<unsigned char>& data);

  // Offers the plug-in this many channels (1 or 2) each way through the speaker
  // arrangements, suspended as hosts do it; false when it refuses. Taken, the render feeds
  // and keeps that many channels.
  bool Arrange(int channels);
  // The channels a render keeps: those of the arrangement taken, else all outputs.
  int OutputChannels() const;
  // The plug-in's latency in frames, as its record gives it.
  int Latency() const { return mEffect ? mEffect->initialDelay : 0; }

  // Processes the signal in blocks of the given size through the replacing entry of the
  // chosen width, in buffers with guard zones. Input channel c takes channel c of the signal
  // (repeated when the plug-in has more); the output has OutputChannels() channels.
  Channels Render(const Channels& input, int blockSize, bool doublePrecision);
  // Breaches of the host contract seen in renders (writes outside the buffers, non-finite
  // output), each named once.
  const std::vector<std::string>& Problems() const { return mProblems; }

private:
  template <class Sample>
  void RenderBlocks(const Channels& input, Channels& output, int blockSize);
  void Problem(const std::string& what);

  vst2::PluginEntryProc mEntry;
  HostCallback mHost;
  vst2::AEffect* mEffect = nullptr;
  double mSampleRate = 44100.0;
  double mSamplePos = 0.0;
  int mArrangedChannels = 0;  // 0: none taken
  std::vector<std::string> mProblems;
};

}  // namespace vst2host
