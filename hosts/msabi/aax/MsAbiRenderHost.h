#pragma once

// The host's side of a render: one instance's context with its MIDI node and transport node,
// the transport answering a timeline that plays at a fixed tempo.
#include "hosts/msabi/aax/MsAbiSupport.h"

namespace msabi {

struct Timeline
{
  double tempo = 120.0;
  int32 numerator = 4;
  int32 denominator = 4;
  bool playing = true;
  int64 ticks = 0;
  int64 samplePosition = 0;
};

class HostRenderTransport final : public RenderTransport
{
public:
  explicit HostRenderTransport(const Timeline& timeline) : mTimeline(timeline) {}

  void Destroy(unsigned) override {}
  Result ReadTempo(double* bpm) const override { return Put(bpm, mTimeline.tempo); }
  Result ReadTimeSignature(int32* numerator, int32* denominator) const override
  {
    Put(numerator, mTimeline.numerator);
    return Put(denominator, mTimeline.denominator);
  }
  Result ReadPlayState(bool* playing) const override { return Put(playing, mTimeline.playing); }
  Result ReadTicks(int64* ticks) const override { return Put(ticks, mTimeline.ticks); }
  Result ReadCycle(bool* looping, int64* startTicks, int64* endTicks) const override
  {
    Put(looping, false);
    Put(startTicks, 0ll);
    return Put(endTicks, 0ll);
  }
  Result ReadSamplePosition(int64* samples) const override { return Put(samples, mTimeline.samplePosition); }

private:
  template <typename T>
  static Result Put(T* out, T value)
  {
    if (!out)
      return kBadPointer;
    *out = value;
    return kOk;
  }

  const Timeline& mTimeline;
};

class HostMidiNode final : public MidiNode
{
public:
  void Destroy(unsigned) override {}
  MidiBuffer* Buffer() override { return &mBuffer; }

private:
  MidiBuffer mBuffer = {0, nullptr};
};

class HostTransportNode final : public TransportNode
{
public:
  explicit HostTransportNode(const Timeline& timeline) : mTransport(timeline) {}

  void Destroy(unsigned) override {}
  void* Unused1() override { return nullptr; }
  void* Unused2() override { return nullptr; }
  RenderTransport* Transport() override { return &mTransport; }

private:
  HostRenderTransport mTransport;
};

}  // namespace msabi
