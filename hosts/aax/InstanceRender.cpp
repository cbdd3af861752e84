#include "hosts/aax/InstanceRender.h"

#include <cstring>

namespace aaxhost {

class InstanceRender::MidiNode final : public HostMidiNode
{
public:
  MidiNode(InstanceHost& host, const std::vector<unsigned char>& packets) : mHost(host), mPackets(packets) {}
  void* AAX_CALL Unused0() override
  {
    Record("Unused0");
    return nullptr;
  }
  AAX_MidiBuffer* AAX_CALL MidiBuffer() override
  {
    Record("MidiBuffer");
    mBuffer.count = uint32_t(mPackets.size() / kAAX_MidiPacketBytes);
    mBuffer.packets = mPackets.empty() ? nullptr : mPackets.data();
    return &mBuffer;
  }

private:
  void Record(const char* operation) { mHost.Record("MidiNode", operation, ArgText(mHost.Log())); }

  InstanceHost& mHost;
  const std::vector<unsigned char>& mPackets;
  AAX_MidiBuffer mBuffer{};
};

namespace {
class RenderTransport final : public HostRenderTransport
{
public:
  explicit RenderTransport(InstanceHost& host) : mHost(host) {}

  void AAX_CALL Unused0() override {}
  ACFResult AAX_CALL ReadTempo(double* bpm) override { return Answer("ReadTempo", bpm, mHost.tempo); }
  ACFResult AAX_CALL ReadTimeSignature(int32_t* numerator, int32_t* denominator) override
  {
    const ACFResult result = Record("ReadTimeSignature");
    if (result == kAAX_Success)
    {
      *numerator = mHost.numerator;
      *denominator = mHost.denominator;
    }
    return result;
  }
  ACFResult AAX_CALL ReadPlayState(bool* playing) override { return Answer("ReadPlayState", playing, mHost.playing); }
  ACFResult AAX_CALL ReadTicks(int64_t* ticks) override { return Answer("ReadTicks", ticks, mHost.ticks); }
  ACFResult AAX_CALL ReadCycle(bool* looping, int64_t* startTicks, int64_t* endTicks) override
  {
    const ACFResult result = Record("ReadCycle");
    if (result == kAAX_Success)
    {
      *looping = mHost.looping;
      *startTicks = mHost.cycleStart;
      *endTicks = mHost.cycleEnd;
    }
    return result;
  }
  ACFResult AAX_CALL ReadSamplePosition(int64_t* samples) override
  {
    return Answer("ReadSamplePosition", samples, mHost.samplePosition);
  }

private:
  ACFResult Record(const char* operation) { return mHost.Record("RenderTransport", operation, ArgText(mHost.Log())); }
  template <typename T>
  ACFResult Answer(const char* operation, T* out, T value)
  {
    const ACFResult result = Record(operation);
    if (result == kAAX_Success)
      *out = value;
    return result;
  }

  InstanceHost& mHost;
};
}  // namespace

class InstanceRender::TransportNode final : public HostTransportNode
{
public:
  explicit TransportNode(InstanceHost& host) : mTransport(host) {}
  void* AAX_CALL Unused0() override { return nullptr; }
  void* AAX_CALL Unused1() override { return nullptr; }
  void* AAX_CALL Unused2() override { return nullptr; }
  HostRenderTransport* AAX_CALL Transport() override { return &mTransport; }

private:
  RenderTransport mTransport;
};

InstanceRender::InstanceRender(InstanceHost& host)
  : mHost(host),
    mMidiNode(std::make_unique<MidiNode>(host, mPackets)),
    mTransportNode(std::make_unique<TransportNode>(host))
{
  mContext.bufferLength = &mFrames;
  mContext.instance = &mInstanceBlock;
  OmitMidiNode(false);
  OmitTransportNode(false);
}

InstanceRender::~InstanceRender() = default;

ACFResult InstanceRender::Bind(AAX_IACFEffectParameters* parameters)
{
  mInstanceBlock = nullptr;
  return parameters->FillCustomData(kAAX_FieldInstance, &mInstanceBlock, sizeof mInstanceBlock);
}

void InstanceRender::SetBlock(float** inputs, float** outputs, int32_t frames)
{
  mContext.audioIn = inputs;
  mContext.audioOut = outputs;
  mFrames = frames;
}

void InstanceRender::AddMidi(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2)
{
  unsigned char packet[kAAX_MidiPacketBytes] = {};
  std::memcpy(packet, &offset, sizeof offset);
  packet[kAAX_MidiMessageOffset] = status;
  packet[kAAX_MidiMessageOffset + 1] = data1;
  packet[kAAX_MidiMessageOffset + 2] = data2;
  mPackets.insert(mPackets.end(), packet, packet + sizeof packet);
}

void InstanceRender::OmitMidiNode(bool omit)
{
  mContext.midiIn = omit ? nullptr : mMidiNode.get();
}

void InstanceRender::OmitTransportNode(bool omit)
{
  mContext.transport = omit ? nullptr : mTransportNode.get();
}

void RenderContexts(AAX_RenderProcedure render, const std::vector<AAX_RenderContext*>& contexts)
{
  render(contexts.data(), contexts.data() + contexts.size());
}

}  // namespace aaxhost
