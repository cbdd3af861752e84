#include "framework/core/BypassDelayLine.h"
#include "tests/core/FailingAllocator.h"
#include "tests/core/TestPlug.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
// An effect that scales each channel by its index + 2 and notes the pointers it saw.
class GainPlug : public TestPlug
{
public:
  using TestPlug::TestPlug;

  void ProcessBlockDouble(double** in, double** out, int nFrames) override
  {
    ++calls;
    frames.push_back(nFrames);
    seenIn.assign(in, in + NInChannels());
    seenOut.assign(out, out + NOutChannels());
    for (int c = 0; c < NOutChannels(); ++c)
    {
      const double* src = in[c < NInChannels() ? c : 0];
      for (int f = 0; f < nFrames; ++f)
        out[c][f] = src[f] * (c + 2);
    }
  }

  int calls = 0;
  std::vector<int> frames;
  std::vector<double*> seenIn, seenOut;
};

std::vector<float> Ramp(int n, float start)
{
  std::vector<float> v(n);
  for (int i = 0; i < n; ++i)
    v[i] = start + 0.1f * i;
  return v;
}

TEST(BlockProcessing, FloatHostBuffersGoThroughScratchAndComeBackNarrowed)
{
  GainPlug plug(PlugArgs(0));
  ASSERT_TRUE(plug.ChangeBlockSize(64));
  std::vector<float> inL = Ramp(64, 0.01f), inR = Ramp(64, -3.3f), outL(64, 9.f), outR(64, 9.f);
  float* ins[] = { inL.data(), inR.data() };
  float* outs[] = { outL.data(), outR.data() };
  plug.ConnectInputs(0, 2, true);
  plug.ConnectOutputs(0, 2, true);
  plug.BindInputsFloat(0, 2, ins, 64);
  plug.BindOutputsFloat(0, 2, outs);
  plug.RunFloat(64);
  ASSERT_EQ(plug.calls, 1);
  EXPECT_NE(plug.seenIn[0], nullptr);
  EXPECT_NE(static_cast<void*>(plug.seenOut[0]), static_cast<void*>(outL.data()));
  for (int f = 0; f < 64; ++f)
  {
    EXPECT_EQ(outL[f], static_cast<float>(double(inL[f]) * 2));
    EXPECT_EQ(outR[f], static_cast<float>(double(inR[f]) * 3));
  }

  // The accumulating process adds to what the host buffer held.
  std::vector<float> acc(64, 1.0f);
  float* accOuts[] = { acc.data(), acc.data() };
  plug.ConnectOutputs(1, 1, false);
  plug.BindInputsFloat(0, 2, ins, 64);
  plug.BindOutputsFloat(0, 2, accOuts);
  plug.RunFloatAccumulate(64);
  for (int f = 0; f < 64; ++f)
    EXPECT_EQ(acc[f], 1.0f + static_cast<float>(double(inL[f]) * 2));

  // In and out may be the same float buffers.
  std::vector<float> shared = Ramp(64, 0.5f);
  const std::vector<float> original = shared;
  float* same[] = { shared.data(), shared.data() };
  plug.ConnectInputs(1, 1, false);
  plug.ConnectOutputs(0, 1, true);
  plug.BindInputsFloat(0, 2, same, 64);
  plug.BindOutputsFloat(0, 2, same);
  plug.RunFloat(64);
  for (int f = 0; f < 64; ++f)
    EXPECT_EQ(shared[f], static_cast<float>(double(original[f]) * 2));
}

TEST(BlockProcessing, DoubleHostBuffersAreUsedDirectlyAndMaySlice)
{
  GainPlug plug(PlugArgs(0));
  plug.ChangeBlockSize(16);
  std::vector<double> inL(40), inR(40), outL(40), outR(40);
  for (int f = 0; f < 40; ++f)
  {
    inL[f] = f;
    inR[f] = -f;
  }
  double* ins[] = { inL.data(), inR.data() };
  double* outs[] = { outL.data(), outR.data() };
  plug.ConnectInputs(0, 2, true);
  plug.ConnectOutputs(0, 2, true);
  plug.BindInputsDouble(0, 2, ins);
  plug.BindOutputsDouble(0, 2, outs);
  EXPECT_EQ(plug.InputPointers()[0], inL.data());
  plug.RunDouble(40); // longer than the scratch: processed as 16 + 16 + 8
  EXPECT_EQ(plug.frames, (std::vector<int>{ 16, 16, 8 }));
  for (int f = 0; f < 40; ++f)
  {
    EXPECT_EQ(outL[f], 2.0 * f);
    EXPECT_EQ(outR[f], -3.0 * f);
  }

  // The same slicing for 32-bit buffers.
  std::vector<float> fin = Ramp(40, 1.0f), fout(40, 0.0f);
  float* fins[] = { fin.data(), fin.data() };
  float* fouts[] = { fout.data(), fout.data() };
  plug.ConnectOutputs(1, 1, false);
  plug.BindInputsFloat(0, 2, fins, 40);
  plug.BindOutputsFloat(0, 2, fouts);
  plug.RunFloat(40);
  for (int f = 0; f < 40; ++f)
    EXPECT_EQ(fout[f], static_cast<float>(double(fin[f]) * 2)) << f;
}

TEST(BlockProcessing, DisconnectedChannelsAlwaysSeeZeroedScratch)
{
  GainPlug plug(PlugArgs(0));
  // Disconnected before any scratch exists, then the block size arrives: no null slots.
  plug.ConnectInputs(0, 2, false);
  plug.ConnectOutputs(0, 2, false);
  plug.ChangeBlockSize(32);
  for (int c = 0; c < 2; ++c)
  {
    ASSERT_NE(plug.InputPointers()[c], nullptr);
    ASSERT_NE(plug.OutputPointers()[c], nullptr);
  }

  // Stereo block, then mono: the right input must not keep the last stereo block.
  std::vector<float> l(32, 0.5f), r(32, 0.25f), ol(32), orr(32);
  float* ins[] = { l.data(), r.data() };
  float* outs[] = { ol.data(), orr.data() };
  plug.ConnectInputs(0, 2, true);
  plug.ConnectOutputs(0, 2, true);
  plug.BindInputsFloat(0, 2, ins, 32);
  plug.BindOutputsFloat(0, 2, outs);
  plug.RunFloat(32);
  EXPECT_EQ(orr[0], 0.75f);

  plug.ConnectInputs(1, 1, false);
  plug.ConnectOutputs(1, 1, false);
  std::fill(orr.begin(), orr.end(), 7.0f);
  plug.BindInputsFloat(0, 2, ins, 32);
  plug.BindOutputsFloat(0, 2, outs);
  plug.RunFloat(32);
  for (int f = 0; f < 32; ++f)
    EXPECT_EQ(plug.seenIn[1][f], 0.0);
  EXPECT_EQ(orr[0], 7.0f); // a disconnected output's host buffer is not touched
  EXPECT_EQ(ol[0], 1.0f);

  // Null host pointers read as silence and are never written.
  float* nullIns[] = { nullptr, nullptr };
  float* nullOuts[] = { nullptr, nullptr };
  plug.ConnectInputs(0, 2, true);
  plug.ConnectOutputs(0, 2, true);
  plug.BindInputsFloat(0, 2, nullIns, 32);
  plug.BindOutputsFloat(0, 2, nullOuts);
  plug.RunFloat(32);
  plug.BindInputsDouble(0, 2, nullptr);
  plug.BindOutputsDouble(0, 2, nullptr);
  plug.RunDouble(32);
  EXPECT_EQ(plug.seenIn[0][5], 0.0);
  EXPECT_EQ(plug.seenIn[1][5], 0.0);
}

TEST(BlockProcessing, BlockSizeChangesAreAllOrNothing)
{
  GainPlug plug(PlugArgs(0));
  ASSERT_TRUE(plug.ChangeBlockSize(8));
  plug.InputPointers()[0][3] = 42.0; // a disconnected scratch someone wrote
  EXPECT_TRUE(plug.ChangeBlockSize(8)); // same size: contents kept
  EXPECT_EQ(plug.InputPointers()[0][3], 42.0);

  EXPECT_FALSE(plug.ChangeBlockSize(-1));
  EXPECT_FALSE(plug.ChangeBlockSize(INT32_MAX / 4));
  {
    FailingAllocator fail(2); // the third of four scratch blocks fails
    EXPECT_FALSE(plug.ChangeBlockSize(2048));
  }
  EXPECT_EQ(plug.BlockSize(), 8);
  EXPECT_EQ(plug.InputPointers()[0][3], 42.0);

  EXPECT_TRUE(plug.ChangeBlockSize(4096));
  EXPECT_EQ(plug.InputPointers()[0][3], 0.0);
  EXPECT_EQ(plug.OutputPointers()[1][4095], 0.0);
  plug.InputPointers()[1][7] = 1.0;
  plug.ClearScratch();
  EXPECT_EQ(plug.InputPointers()[1][7], 0.0);

  // Without a block size nothing can be processed: the host hears silence.
  GainPlug unset(PlugArgs(0));
  std::vector<double> in(8, 1.0), out(8, 5.0);
  double* ins[] = { in.data() };
  double* outs[] = { out.data() };
  unset.ConnectInputs(0, 1, true);
  unset.ConnectOutputs(0, 1, true);
  unset.BindInputsDouble(0, 1, ins);
  unset.BindOutputsDouble(0, 1, outs);
  unset.RunDouble(8);
  EXPECT_EQ(unset.calls, 0);
  EXPECT_EQ(out[0], 0.0);
}

TEST(BlockProcessing, BaseBodyCopiesMatchingChannelsAndSilencesTheRest)
{
  GainPlug twoToOne(PlugArgs(0, "2-1"));
  double a[4] = { 1, 2, 3, 4 }, b[4] = { 5, 6, 7, 8 }, o[4] = { 9, 9, 9, 9 };
  double* ins[] = { a, b };
  double* outs[] = { o };
  twoToOne.IPlugBase::ProcessBlockDouble(ins, outs, 4);
  EXPECT_EQ(o[3], 4.0);

  GainPlug oneToTwo(PlugArgs(0, "1-2"));
  double o2[4] = { 9, 9, 9, 9 };
  double* outs2[] = { o, o2 };
  oneToTwo.IPlugBase::ProcessBlockDouble(ins, outs2, 4);
  EXPECT_EQ(o[0], 1.0);
  EXPECT_EQ(o2[0], 0.0);
  EXPECT_EQ(o2[3], 0.0);

  // In place: the same buffer in and out stays intact.
  double* inPlace[] = { a };
  double* inPlaceOut[] = { a, o2 };
  oneToTwo.IPlugBase::ProcessBlockDouble(inPlace, inPlaceOut, 4);
  EXPECT_EQ(a[2], 3.0);

  float fa[3] = { 1, 2, 3 }, fo[3] = { 0, 0, 0 }, fo2[3] = { 4, 4, 4 };
  float* fins[] = { fa };
  float* fouts[] = { fo, fo2 };
  oneToTwo.IPlugBase::ProcessBlockFloat(fins, fouts, 3);
  EXPECT_EQ(fo[2], 3.0f);
  EXPECT_EQ(fo2[2], 0.0f);
}

// Runs bypass in blocks and returns the concatenated left output.
std::vector<double> BypassRun(GainPlug& plug, const std::vector<double>& input, int block, bool inPlace)
{
  std::vector<double> result;
  for (size_t start = 0; start < input.size(); start += block)
  {
    std::vector<double> in(input.begin() + start, input.begin() + start + block);
    std::vector<double> out(block, 99.0);
    double* ins[] = { in.data(), in.data() };
    double* outs[] = { inPlace ? in.data() : out.data(), inPlace ? in.data() : out.data() };
    plug.ConnectInputs(0, 1, true);
    plug.ConnectOutputs(0, 1, true);
    plug.BindInputsDouble(0, 1, ins);
    plug.BindOutputsDouble(0, 1, outs);
    plug.BypassDouble(block);
    const std::vector<double>& got = inPlace ? in : out;
    result.insert(result.end(), got.begin(), got.end());
  }
  return result;
}

TEST(Bypass, DelaysByTheLatencyAcrossBlocksAlsoInPlace)
{
  std::vector<double> input(20);
  for (int i = 0; i < 20; ++i)
    input[i] = i + 1;
  for (bool inPlace : { false, true })
  {
    GainPlug plug(PlugArgs(0));
    plug.ChangeBlockSize(8);
    EXPECT_EQ(BypassRun(plug, input, 5, inPlace), input); // latency 0: a plain copy
    EXPECT_EQ(plug.calls, 0);                              // the effect is never run

    plug.SetBypassDelayLine(new BypassDelayLine(2, 2));
    plug.ChangeLatency(3);
    const std::vector<double> out = BypassRun(plug, input, 5, inPlace);
    for (int i = 0; i < 20; ++i)
      EXPECT_EQ(out[i], i < 3 ? 0.0 : input[i - 3]) << i << (inPlace ? " in place" : "");
  }
}

TEST(Bypass, LatencyWithoutRingsStillPassesAudio)
{
  IPlugTestBinding::Args args = PlugArgs(0);
  args.latency = 4;
  GainPlug plug(args);
  plug.ChangeBlockSize(8);
  std::vector<double> input(8, 0.5);
  EXPECT_EQ(BypassRun(plug, input, 8, false), input); // no delay line at all

  plug.SetBypassDelayLine(new BypassDelayLine(2, 2)); // takes the latency given at construction
  EXPECT_EQ(plug.GetBypassDelayLine()->Length(), 4);
  const std::vector<double> out = BypassRun(plug, input, 8, false);
  EXPECT_EQ(out[3], 0.0);
  EXPECT_EQ(out[4], 0.5);

  {
    FailingAllocator fail(0);
    plug.ChangeLatency(1000);
  }
  EXPECT_EQ(plug.GetBypassDelayLine()->Length(), 0);
  EXPECT_EQ(BypassRun(plug, input, 8, false), input);
  plug.ChangeLatency(-7);
  EXPECT_EQ(plug.Latency(), 0);
  EXPECT_EQ(plug.EventsOf(IPlugTestBinding::HostEvent::kLatency).size(), 2u);
}

TEST(Bypass, OutputsWithoutAnInputAreSilenced)
{
  BypassDelayLine line(1, 2);
  ASSERT_TRUE(line.SetLength(2));
  double in[4] = { 1, 2, 3, 4 }, o0[4], o1[4] = { 9, 9, 9, 9 };
  double* ins[] = { in };
  double* outs[] = { o0, o1 };
  line.Run(ins, outs, 4);
  EXPECT_EQ(o0[2], 1.0);
  EXPECT_EQ(o1[0], 0.0);
  EXPECT_EQ(o1[3], 0.0);
}

TEST(Channels, RangesAreClippedAndStereoClampDisconnectsExtraInputs)
{
  GainPlug plug(PlugArgs(0, "4-4"));
  plug.ChangeBlockSize(4);
  plug.ConnectInputs(-2, 4, true); // visits 0 and 1 only
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_FALSE(plug.IsInChannelConnected(2));
  EXPECT_EQ(plug.ConnectOutputs(3, 10, true), 4);
  EXPECT_EQ(plug.ConnectOutputs(9, 1, true), 4);
  plug.ConnectInputs(0, 4, true);
  plug.ClampToStereo();
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_FALSE(plug.IsInChannelConnected(2));
  EXPECT_FALSE(plug.IsInChannelConnected(3));
  EXPECT_TRUE(plug.IsOutChannelConnected(3));
}
} // namespace
