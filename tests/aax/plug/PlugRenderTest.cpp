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
    IPlugBase::ProcessBlockDouble(inputs, outputs, nFrames);
  }
  // Recorded, then handled as the plug-in does (sent on to the host, which takes none).
  void HandleMidiMessage(const MidiMessage* msg) override
  {
    midi.push_back(*msg);
    IPlugAAX::HandleMidiMessage(msg);
  }

  int blocks = 0;
  bool throwWhileProcessing = false;
  TransportInfo seen;
  int samplePosition = -1;
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

TEST(PlugRender, TransportComesFromTheBlockAndOnlyGoodValuesAreKept)
{
  ProbeInstance a;
  InstanceHost& host = a.host;
  host.tempo = 140.0;
  host.playing = host.looping = true;
  host.ticks = 960000;
  host.cycleStart = 480000;
  host.cycleEnd = 1920000;
  host.samplePosition = (int64_t(1) << 32) + 5;
  Render({a.render.Context()});
  const TransportInfo& seen = a.probe->seen;
  EXPECT_TRUE(seen.tempo == 140.0 && seen.playing && seen.cycling);
  EXPECT_EQ(seen.ppqPos, 1.0);
  EXPECT_EQ(seen.cycleStart, 0.5);
  EXPECT_EQ(seen.cycleEnd, 2.0);
  EXPECT_EQ(seen.samplePos, 4294967301.0);
  EXPECT_EQ(a.probe->samplePosition, 5);

  // A tempo the release cannot use, or a failed query, leaves the last good one; a field the
  // host failed to write is not touched.
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), -5.0, 0.0})
  {
    host.tempo = bad;
    Render({a.render.Context()});
    EXPECT_EQ(seen.tempo, 140.0) << bad;
  }
  host.tempo = 90.0;
  a.log.FailWith("RenderTransport.ReadTempo", -1);
  a.log.FailWith("RenderTransport.ReadTicks", -1);
  Render({a.render.Context()});
  EXPECT_EQ(seen.tempo, 140.0);
  EXPECT_EQ(seen.ppqPos, -1.0);

  // Outside a render, and without a transport node, nothing of the host's is read.
  a.log.Clear();
  a.render.OmitTransportNode(true);
  Render({a.render.Context()});
  EXPECT_EQ(seen.samplePos, -1.0);
  EXPECT_EQ(a.probe->HostSamplePosition(), 0);
  EXPECT_TRUE(a.log.Matching("RenderTransport").empty());
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

TEST(PlugRender, MidiReachesTheFrameworkInPacketOrderAndTheInstanceFieldHoldsTheAddress)
{
  ProbeInstance a;
  a.render.AddMidi(0, 0x90, 60, 100);
  a.render.AddMidi(63, 0xB0, 7, 127);
  Render({a.render.Context()});
  ASSERT_EQ(a.probe->midi.size(), 2u);
  const MidiMessage& last = a.probe->midi[1];
  EXPECT_TRUE(last.offset == 63 && last.status == 0xB0 && last.data1 == 7 && last.data2 == 127);
  a.render.OmitMidiNode(true);
  Render({a.render.Context()});
  EXPECT_EQ(a.probe->midi.size(), 2u);

  void* block[2] = {&a, &a};
  EXPECT_EQ(a.probe->FillCustomData(kAAX_FieldInstance, block, sizeof block), kAAX_Success);
  EXPECT_EQ(block[0], static_cast<AAX_CIPlugParameters*>(a.probe));
  EXPECT_EQ(block[1], nullptr);
  // A block too small for an address is zero-filled, and no further.
  unsigned char small[4] = {1, 1, 1, 1};
  a.probe->FillCustomData(kAAX_FieldInstance, small, 2);
  EXPECT_TRUE(small[1] == 0 && small[2] == 1);
}
}  // namespace
