#include "framework/bindings/test/IPlugTestBinding.h"

#include "platform/ScopedLock.h"

#include <cmath>
#include <cstdint>

IPlugTestBinding::IPlugTestBinding(const Args& a)
  : IPlugBase(a.nParams, a.channelIOStr, a.nPresets, a.effectName, a.productName, a.makerName, a.vendorVersion,
              a.uniqueId, a.makerId, a.latency, a.doesMidi, a.doesStateChunks, a.isInstrument, a.bindingKind)
{}

IPlugTestBinding::IPlugTestBinding(void*, int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                                   const char* productName, const char* makerName, int vendorVersion, int uniqueId,
                                   int makerId, int latency, bool doesMidi, bool doesStateChunks, bool isInstrument,
                                   int)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, makerName, vendorVersion, uniqueId, makerId,
              latency, doesMidi, doesStateChunks, isInstrument, kBindingVST3)
{}

void IPlugTestBinding::BeginInformHostOfParamChange(int paramIdx)
{
  events.push_back({HostEvent::kBeginEdit, paramIdx, 0.0});
}

void IPlugTestBinding::InformHostOfParamChange(int paramIdx, double normalised)
{
  events.push_back({HostEvent::kPerformEdit, paramIdx, normalised});
}

void IPlugTestBinding::EndInformHostOfParamChange(int paramIdx)
{
  events.push_back({HostEvent::kEndEdit, paramIdx, 0.0});
}

void IPlugTestBinding::RequestDisplayUpdate()
{
  events.push_back({HostEvent::kDisplayUpdate, 0, 0.0});
}

int IPlugTestBinding::HostSamplePosition()
{
  // Positions beyond 2^31 samples keep their low 32 bits, as every binding reports them.
  if (!(std::fabs(transport.samplePos) < 9.0e18))
    return 0;
  return static_cast<int>(static_cast<uint32_t>(static_cast<int64_t>(transport.samplePos)));
}

void IPlugTestBinding::HostTimeSignature(int* numerator, int* denominator)
{
  if (numerator)
    *numerator = transport.numerator;
  if (denominator)
    *denominator = transport.denominator;
}

void IPlugTestBinding::HostTransport(TransportInfo* info)
{
  if (info)
    *info = transport;
}

void IPlugTestBinding::ResizeEditor(int width, int height)
{
  events.push_back({HostEvent::kResize, width, static_cast<double>(height)});
}

void IPlugTestBinding::ChangeLatency(int samples)
{
  IPlugBase::ChangeLatency(samples);
  events.push_back({HostEvent::kLatency, Latency(), 0.0});
}

bool IPlugTestBinding::SendMidiToHost(const MidiMessage* msg)
{
  if (!msg)
    return false;
  midiOffered.push_back(*msg);
  if (acceptsMidi)
    midiSent.push_back(*msg);
  return acceptsMidi;
}

bool IPlugTestBinding::Setup(double sampleRate, int maxBlockSize)
{
  ScopedLock lock(Mutex());
  if (!std::isfinite(sampleRate) || sampleRate <= 0.0 || maxBlockSize < 0)
    return false;
  if (!ChangeBlockSize(maxBlockSize))
    return false;
  ChangeSampleRate(sampleRate);
  RestartProcessing();
  return true;
}

void IPlugTestBinding::ProcessFloat(float** in, int nIn, float** out, int nOut, int nFrames, bool bypass)
{
  ScopedLock lock(Mutex());
  ConnectHostInputs(nIn);
  ConnectHostOutputs(nOut);
  ProcessHostBlock(in, out, nFrames, bypass ? kBlockBypass : kBlockProcess);
}

void IPlugTestBinding::ProcessDouble(double** in, int nIn, double** out, int nOut, int nFrames, bool bypass)
{
  ScopedLock lock(Mutex());
  ConnectHostInputs(nIn);
  ConnectHostOutputs(nOut);
  ProcessHostBlock(in, out, nFrames, bypass ? kBlockBypass : kBlockProcess);
}

std::vector<IPlugTestBinding::HostEvent> IPlugTestBinding::EventsOf(HostEvent::EKind kind) const
{
  std::vector<HostEvent> result;
  for (const HostEvent& e : events)
  {
    if (e.kind == kind)
      result.push_back(e);
  }
  return result;
}
