#include "hosts/aax/InstanceRender.h"

#include <cstring>

namespace aaxhost {

namespace {
// The host owns the render nodes and destroys them itself: a module that calls a node's
// destructor slot shows in the log instead.
void RecordDestruction(InstanceHost& host, const char* node, uint32_t flags)
{
  ArgText arguments(host.Log());
  arguments << flags;
  host.Record(node, "DeletingDestructor", arguments);
}
}  // namespace

class InstanceRender::MidiNode final : public HostMidiNode
{
public:
  MidiNode(InstanceHost& host, const std::vector<unsigned char>& packets) : mHost(host), mPackets(packets) {}
  void DeletingDestructor(uint32_t flags) override { RecordDestruction(mHost, "MidiNode", flags); }
  AAX_MidiBuffer* MidiBuffer() override
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

  void DeletingDestructor(uint32_t flags) override { RecordDestruction(mHost, "RenderTransport", flags); }
  ACFResult ReadTempo(double* bpm) override { return Answer("ReadTempo", bpm, mHost.tempo); }
  ACFResult ReadTimeSignature(int32_t* numerator, int32_t* denominator) override
  {
    const ACFResult result = Record("ReadTimeSignature");
    if (result == kAAX_Success)
    {
      *numerator = mHost.numerator;
      *denominator = mHost.denominator;
    }
    return result;
  }
  ACFResult ReadPlayState(bool* playing) override { return Answer("ReadPlayState", playing, mHost.playing); }
  ACFResult ReadTicks(int64_t* ticks) override { return Answer("ReadTicks", ticks, mHost.ticks); }
  ACFResult ReadCycle(bool* looping, int64_t* startTicks, int64_t* endTicks) override
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
  ACFResult ReadSamplePosition(int64_t* samples) override
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
  explicit TransportNode(InstanceHost& host) : mHost(host), mTransport(host) {}
  void DeletingDestructor(uint32_t flags) override { RecordDestruction(mHost, "TransportNode", flags); }
  void* Unused1() override { return nullptr; }
  void* Unused2() override { return nullptr; }
  HostRenderTransport* Transport() override { return &mTransport; }

private:
  InstanceHost& mHost;
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
