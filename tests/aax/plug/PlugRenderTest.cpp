// IPlugAAX's render side on a probe plug-in that records what it is told while it processes:
// the render procedure over several contexts, MIDI, and the transport of the block.
#include "hosts/aax/InstanceRender.h"
#include "tests/aax/plug/PlugTestSupport.h"

#include <limits>
#include <stdexcept>

namespace {
using namespace aaxhost;
using namespace aaxtest;

class Probe : public IPlugAAX
{
public:
  Probe()
    : IPlugAAX(nullptr, 1, "1-1 2-2", 1, "Probe", "", "Maker", 0x10000, int(FourCC("Prob")), int(FourCC("Mker")), 0,
               true, false, false)
  {
    ParamAt(0)->DefineDouble("Gain", 0.0, -1.0, 1.0, 0.01);
  }

  void ProcessBlockDouble(double** inputs, double** outputs, int nFrames) override
  {
    ++blocks;
    if (throwWhileProcessing)
      throw std::runtime_error("processing failed");
    seen = TransportInfo{};
    HostTransport(&seen);
    samplePosition = HostSamplePosition();
    HostTimeSignature(&numerator, &denominator);
    IPlugBase::ProcessBlockDouble(inputs, outputs, nFrames);
  }
  void HandleMidiMessage(const MidiMessage* msg) override { midi.push_back(*msg); }

  int blocks = 0;
  bool throwWhileProcessing = false;
  TransportInfo seen;
  int samplePosition = -1;
  int numerator = 0;
  int denominator = 0;
  std::vector<MidiMessage> midi;
};

// One probe instance as a host holds it: started, with its render context and buffers.
struct ProbeInstance
{
  ProbeInstance() : probe(new Probe)
  {
    void* face = nullptr;
    probe->QueryInterface(AAX_IACFEffectParameters::kIID, &face);
    EXPECT_EQ(probe->StartInstance(&host), kAAX_Success);
    EXPECT_EQ(render.Bind(probe), kAAX_Success);
    render.SetBlock(in, out, kFrames);
  }
  ~ProbeInstance()
  {
    probe->StopInstance();
    probe->Release();
    EXPECT_EQ(host.RefCount(), 0);
  }

  static constexpr int kFrames = 64;
  CallLog log;
  InstanceHost host{log};
  InstanceRender render{host};
  Probe* probe;
  float left[kFrames] = {0.5f};
  float right[kFrames] = {-0.5f};
  float outLeft[kFrames] = {};
  float outRight[kFrames] = {};
  float* in[2] = {left, right};
  float* out[2] = {outLeft, outRight};
};

void Render(const std::vector<AAX_RenderContext*>& contexts)
{
  RenderContexts(&AAX_CIPlugParameters::RenderEntry, contexts);
}

TEST(PlugRender, TransportComesFromTheBlockBeingRendered)
{
  ProbeInstance a;
  InstanceHost& host = a.host;
  host.tempo = 140.0;
  host.numerator = 7;
  host.denominator = 8;
  host.playing = true;
  host.ticks = 960000;
  host.looping = true;
  host.cycleStart = 480000;
  host.cycleEnd = 1920000;
  host.samplePosition = (int64_t(1) << 32) + 5;
  Render({a.render.Context()});
  const TransportInfo& seen = a.probe->seen;
  EXPECT_EQ(seen.tempo, 140.0);
  EXPECT_TRUE(seen.playing);
  EXPECT_EQ(seen.numerator, 7);
  EXPECT_EQ(seen.denominator, 8);
  EXPECT_EQ(seen.ppqPos, 1.0);
  EXPECT_TRUE(seen.cycling);
  EXPECT_EQ(seen.cycleStart, 0.5);
  EXPECT_EQ(seen.cycleEnd, 2.0);
  EXPECT_EQ(seen.samplePos, 4294967301.0);
  EXPECT_EQ(a.probe->samplePosition, 5);
  EXPECT_EQ(seen.lastBarPos, -1.0);

  // Outside a render nothing of the host's block is read; the last good tempo stays.
  a.log.Clear();
  TransportInfo outside;
  outside.ppqPos = 3.0;
  a.probe->HostTransport(&outside);
  EXPECT_EQ(outside.ppqPos, 3.0);
  EXPECT_EQ(outside.tempo, 140.0);
  EXPECT_TRUE(a.log.Matching("RenderTransport").empty());
}

TEST(PlugRender, WhatTheHostFailsToReportKeepsItsLastGoodValue)
{
  ProbeInstance a;
  a.host.ticks = 960000;
  Render({a.render.Context()});
  ASSERT_EQ(a.probe->seen.tempo, 120.0);

  const double kBadTempos[] = {std::numeric_limits<double>::quiet_NaN(), -5.0, 0.0,
                               std::numeric_limits<double>::infinity()};
  for (double bad : kBadTempos)
  {
    a.host.tempo = bad;
    Render({a.render.Context()});
    EXPECT_EQ(a.probe->seen.tempo, 120.0) << bad;
  }
  a.host.tempo = 90.0;
  a.log.FailWith("RenderTransport.ReadTempo", -1);
  a.log.FailWith("RenderTransport.ReadTicks", -1);
  a.log.FailWith("RenderTransport.ReadTimeSignature", -1);
  a.probe->numerator = 0;
  Render({a.render.Context()});
  EXPECT_EQ(a.probe->seen.tempo, 120.0);
  EXPECT_EQ(a.probe->seen.ppqPos, -1.0);
  EXPECT_EQ(a.probe->numerator, 0);

  a.render.OmitTransportNode(true);
  a.probe->samplePosition = -1;
  Render({a.render.Context()});
  EXPECT_EQ(a.probe->seen.samplePos, -1.0);
  EXPECT_EQ(a.probe->samplePosition, 0);
}

TEST(PlugRender, OneCallRendersEveryInstanceAndAFailureStaysInItsOwn)
{
  ProbeInstance a;
  ProbeInstance b;
  a.probe->throwWhileProcessing = true;
  AAX_RenderContext empty{};
  Render({a.render.Context(), nullptr, &empty, b.render.Context()});
  EXPECT_EQ(a.probe->blocks, 1);
  EXPECT_EQ(b.probe->blocks, 1);
  EXPECT_EQ(b.outLeft[0], 0.5f);
  EXPECT_EQ(b.outRight[0], -0.5f);

  // The failed block let go of the plug-in lock.
  a.probe->throwWhileProcessing = false;
  std::vector<AAX_RenderContext*> contexts = {a.render.Context()};
  AAX_CIPlugParameters::RenderEntry(contexts.data() + 1, contexts.data());
  EXPECT_EQ(a.probe->blocks, 1);
  Render(contexts);
  EXPECT_EQ(a.probe->blocks, 2);
  EXPECT_EQ(a.outLeft[0], 0.5f);
}

TEST(PlugRender, MidiReachesTheFrameworkInPacketOrder)
{
  ProbeInstance a;
  a.render.AddMidi(0, 0x90, 60, 100);
  a.render.AddMidi(17, 0x80, 60, 0);
  a.render.AddMidi(63, 0xB0, 7, 127);
  Render({a.render.Context()});
  ASSERT_EQ(a.probe->midi.size(), 3u);
  EXPECT_EQ(a.probe->midi[1].offset, 17);
  EXPECT_EQ(a.probe->midi[1].status, 0x80);
  EXPECT_EQ(a.probe->midi[2].offset, 63);
  EXPECT_EQ(a.probe->midi[2].data1, 7);
  EXPECT_EQ(a.probe->midi[2].data2, 127);

  a.render.OmitMidiNode(true);
  Render({a.render.Context()});
  EXPECT_EQ(a.probe->midi.size(), 3u);
  EXPECT_EQ(a.probe->blocks, 2);
}

TEST(PlugRender, TheInstanceFieldHoldsTheAddressOnlyWhereItFits)
{
  ProbeInstance a;
  void* block[2] = {&a, &a};
  EXPECT_EQ(a.probe->FillCustomData(kAAX_FieldInstance, block, sizeof block), kAAX_Success);
  EXPECT_EQ(block[0], static_cast<AAX_CIPlugParameters*>(a.probe));
  EXPECT_EQ(block[1], nullptr);
  unsigned char small[sizeof(void*)] = {1, 1, 1, 1};
  EXPECT_EQ(a.probe->FillCustomData(kAAX_FieldInstance, small, 2), kAAX_Success);
  EXPECT_EQ(small[1], 0);
  EXPECT_EQ(small[2], 1);
}
}  // namespace
