#pragma once

#include "framework/core/IPlugBase.h"

#include <vector>

// A binding for tests: implements what a format binding must tell or ask the host, and
// records what reached the "host" so tests can check it. Effects and bindings under test
// derive from it.
class IPlugTestBinding : public IPlugBase
{
public:
  struct Args
  {
    int nParams = 0;
    const char* channelIOStr = "1-1 2-2";
    int nPresets = 1;
    const char* effectName = "TestEffect";
    const char* productName = "";
    const char* makerName = "TestMaker";
    int vendorVersion = 0x00010000;
    int uniqueId = 0x54657374;
    int makerId = 0x4D616B72;
    int latency = 0;
    bool doesMidi = false;
    bool doesStateChunks = false;
    bool isInstrument = false;
    int bindingKind = kBindingVST3;
  };

  // One notice that reached the host, in order.
  struct HostEvent
  {
    enum EKind
    {
      kBeginEdit,
      kPerformEdit,
      kEndEdit,
      kLatency,
      kDisplayUpdate,
      kResize,
    };
    EKind kind;
    int index;     // parameter index, latency samples, or width
    double value;  // normalised value, or height
  };

  // What the host hands the plug-in at creation; nothing, for tests.
  using InstanceInfo = void*;

  explicit IPlugTestBinding(const Args& args);
  // The constructor shape of the format bindings, so that an effect written against them
  // builds against this one: instance information first, a binding-specific value last
  // (both unused here).
  IPlugTestBinding(void* instanceInfo, int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                   const char* productName, const char* makerName, int vendorVersion, int uniqueId, int makerId,
                   int latency, bool doesMidi, bool doesStateChunks, bool isInstrument, int extra = 0);

  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalised) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void RequestDisplayUpdate() override;
  bool RendersOffline() override { return offline; }
  int HostSamplePosition() override;
  double HostTempo() override { return transport.tempo; }
  void HostTimeSignature(int* numerator, int* denominator) override;
  void HostTransport(TransportInfo* info) override;
  void ResizeEditor(int width, int height) override;
  void ChangeLatency(int samples) override;
  bool SendMidiToHost(const MidiMessage* msg) override;

  // Plays the host's set-up as a binding does: rate, maximum block size, then the reset.
  // False (nothing changed) when the host's values are refused.
  bool Setup(double sampleRate, int maxBlockSize);

  // Plays one block as a binding does, under the plug-in lock: the first nIn inputs and
  // nOut outputs are connected (the rest not), the host's buffers bound, then the block is
  // processed, or passed through when bypassed.
  void ProcessFloat(float** in, int nIn, float** out, int nOut, int nFrames, bool bypass = false);
  void ProcessDouble(double** in, int nIn, double** out, int nOut, int nFrames, bool bypass = false);

  // Events of one kind, in order.
  std::vector<HostEvent> EventsOf(HostEvent::EKind kind) const;

  // What the host answers when asked.
  TransportInfo transport;
  bool offline = false;
  bool acceptsMidi = false;  // MIDI output: sent when true, reported as not sent otherwise

  // What reached the host.
  std::vector<HostEvent> events;
  std::vector<MidiMessage> midiOffered;
  std::vector<MidiMessage> midiSent;
};
