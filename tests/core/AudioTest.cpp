#include "framework/core/BypassDelayLine.h"
#include "tests/core/FailingAllocator.h"
#include "tests/core/TestPlug.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <type_traits>
#include <vector>

namespace {
// An effect that scales output c by c + 2 and notes the block sizes and inputs it saw.
class GainPlug : public TestPlug
{
public:
  using TestPlug::TestPlug;

  void ProcessBlockDouble(double** in, double** out, int nFrames) override
  {
    frames.push_back(nFrames);
    seenIn.assign(in, in + NInChannels());
    for (int c = 0; c < NOutChannels(); ++c)
      for (int f = 0; f < nFrames; ++f)
        out[c][f] = in[c < NInChannels() ? c : 0][f] * (c + 2);
  }

  std::vector<int> frames;
  std::vector<double*> seenIn;
};

std::vector<float> Ramp(int n, float start)
{
  std::vector<float> v(n);
  for (int i = 0; i < n; ++i)
    v[i] = start + 0.1f * i;
  return v;
}

float Narrowed(float in, int gain)
{
  return static_cast<float>(double(in) * gain);
}

TEST(BlockProcessing, FloatBuffersGoThroughScratchReplacingAccumulatingAndInPlace)
{
  GainPlug plug(PlugArgs(0));
  ASSERT_TRUE(plug.ChangeBlockSize(64));
  std::vector<float> inL = Ramp(64, 0.01f), inR = Ramp(64, -3.3f), outL(64, 9.f), outR(64, 9.f);
  float* ins[] = {inL.data(), inR.data()};
  float* outs[] = {outL.data(), outR.data()};
  plug.ProcessFloat(ins, 2, outs, 2, 64);
  for (int f = 0; f < 64; ++f)
  {
    ASSERT_EQ(outL[f], Narrowed(inL[f], 2));
    ASSERT_EQ(outR[f], Narrowed(inR[f], 3));
  }

  std::vector<float> acc(64, 1.0f);
  float* accOuts[] = {acc.data()};
  plug.ConnectHostOutputs(1);
  plug.ProcessHostBlock(ins, accOuts, 64, IPlugBase::kBlockAccumulate);
  for (int f = 0; f < 64; ++f)
    ASSERT_EQ(acc[f], 1.0f + Narrowed(inL[f], 2));

  // 64-bit buffers are the effect's own output: there is nothing to add to.
  std::vector<double> dIn(64, 0.25), dOut(64, 1.0);
  double* dIns[] = {dIn.data(), dIn.data()};
  double* dOuts[] = {dOut.data()};
  plug.ProcessHostBlock(dIns, dOuts, 64, IPlugBase::kBlockAccumulate);
  EXPECT_EQ(dOut, std::vector<double>(64, 0.5));

  std::vector<float> shared = Ramp(64, 0.5f);
  const std::vector<float> original = shared;
  float* same[] = {shared.data()};
  plug.ProcessFloat(same, 1, same, 1, 64);
  for (int f = 0; f < 64; ++f)
    ASSERT_EQ(shared[f], Narrowed(original[f], 2));
}

// Output beyond the float range (finite input, gain 2) reaches 32-bit hosts as the largest
// float of its sign, never as an infinity; NaN as silence.
TEST(BlockProcessing, FloatOutputStaysInTheFloatRange)
{
  GainPlug plug(PlugArgs(0));
  ASSERT_TRUE(plug.ChangeBlockSize(8));
  std::vector<float> in = {3e38f, -3e38f, 1.0f, std::nanf(""), FLT_MAX, 0.5f, -2e38f, 0.0f};
  std::vector<float> out(8, 9.0f), acc(8, FLT_MAX);
  float* ins[] = {in.data()};
  float* outs[] = {out.data()};
  plug.ProcessFloat(ins, 1, outs, 1, 8);
  EXPECT_EQ(out, (std::vector<float>{FLT_MAX, -FLT_MAX, 2.0f, 0.0f, FLT_MAX, 1.0f, -FLT_MAX, 0.0f}));

  float* accOuts[] = {acc.data()};
  plug.ConnectHostOutputs(1);
  plug.ProcessHostBlock(ins, accOuts, 8, IPlugBase::kBlockAccumulate);
  EXPECT_EQ(acc, (std::vector<float>{FLT_MAX, 0.0f, FLT_MAX, FLT_MAX, FLT_MAX, FLT_MAX, 0.0f, FLT_MAX}));
}

TEST(BlockProcessing, BlocksLongerThanTheScratchAreProcessedInSlices)
{
  GainPlug plug(PlugArgs(0));
  plug.ChangeBlockSize(16);
  std::vector<double> in(40), out(40);
  for (int f = 0; f < 40; ++f)
    in[f] = f;
  double* ins[] = {in.data()};
  double* outs[] = {out.data()};
  plug.ProcessDouble(ins, 1, outs, 1, 40);
  EXPECT_EQ(plug.InputPointers()[0], in.data());  // 64-bit buffers are used directly
  EXPECT_EQ(plug.frames, (std::vector<int>{16, 16, 8}));
  for (int f = 0; f < 40; ++f)
    ASSERT_EQ(out[f], 2.0 * f);

  std::vector<float> fin = Ramp(40, 1.0f), fout(40, 0.0f);
  float* fins[] = {fin.data()};
  float* fouts[] = {fout.data()};
  plug.ProcessFloat(fins, 1, fouts, 1, 40);
  for (int f = 0; f < 40; ++f)
    ASSERT_EQ(fout[f], Narrowed(fin[f], 2)) << f;
}

TEST(BlockProcessing, DisconnectedAndNullChannelsSeeZeroedScratch)
{
  GainPlug plug(PlugArgs(0));
  // Disconnected before any scratch exists, then the block size arrives: no null slots.
  plug.ConnectInputs(0, 2, false);
  plug.ChangeBlockSize(32);
  for (int c = 0; c < 2; ++c)
    ASSERT_TRUE(plug.InputPointers()[c] && plug.OutputPointers()[c]);

  // Stereo, then mono: the right input must not keep the last stereo block, and the
  // disconnected output's host buffer is not written.
  std::vector<float> l(32, 0.5f), r(32, 0.25f), ol(32), orr(32);
  float* ins[] = {l.data(), r.data()};
  float* outs[] = {ol.data(), orr.data()};
  plug.ProcessFloat(ins, 2, outs, 2, 32);
  EXPECT_EQ(orr[0], 0.75f);
  std::fill(orr.begin(), orr.end(), 7.0f);
  plug.ProcessFloat(ins, 1, outs, 1, 32);
  for (int f = 0; f < 32; ++f)
    ASSERT_EQ(plug.seenIn[1][f], 0.0);
  EXPECT_EQ(orr[0], 7.0f);

  // Null host buffers read as silence and are never written.
  float* nulls[] = {nullptr, nullptr};
  plug.ProcessFloat(nulls, 2, nulls, 2, 32);
  plug.ProcessDouble(nullptr, 2, nullptr, 2, 32);
  EXPECT_EQ(plug.seenIn[0][5], 0.0);
  EXPECT_EQ(plug.seenIn[1][5], 0.0);
}

TEST(BlockProcessing, BlockSizeChangesAreAllOrNothing)
{
  GainPlug plug(PlugArgs(0));
  ASSERT_TRUE(plug.ChangeBlockSize(8));
  plug.InputPointers()[0][3] = 42.0;
  EXPECT_TRUE(plug.ChangeBlockSize(8));  // same size: contents kept
  EXPECT_FALSE(plug.ChangeBlockSize(-1));
  EXPECT_FALSE(plug.ChangeBlockSize(INT32_MAX / 4));  // bytes beyond 32 bits
  {
    FailingAllocator fail(2);  // a later scratch block fails
    EXPECT_FALSE(plug.ChangeBlockSize(2048));
  }
  EXPECT_EQ(plug.BlockSize(), 8);
  EXPECT_EQ(plug.InputPointers()[0][3], 42.0);
  EXPECT_TRUE(plug.ChangeBlockSize(4096));
  EXPECT_EQ(plug.InputPointers()[0][3], 0.0);
  EXPECT_EQ(plug.OutputPointers()[1][4095], 0.0);

  // Without a block size nothing can be processed: the host hears silence.
  GainPlug unset(PlugArgs(0));
  std::vector<double> in(8, 1.0), out(8, 5.0);
  double* ins[] = {in.data()};
  double* outs[] = {out.data()};
  unset.ProcessDouble(ins, 1, outs, 1, 8);
  EXPECT_TRUE(unset.frames.empty());
  EXPECT_EQ(out[0], 0.0);
}

template <class Sample>
void RunBaseBody(IPlugBase& plug, Sample** in, Sample** out, int nFrames)
{
  if constexpr (std::is_same_v<Sample, float>)
    plug.IPlugBase::ProcessBlockFloat(in, out, nFrames);
  else
    plug.IPlugBase::ProcessBlockDouble(in, out, nFrames);
}

template <class Sample>
void CheckBaseBody()
{
  Sample a[4] = {1, 2, 3, 4}, b[4] = {5, 6, 7, 8}, o[4] = {9, 9, 9, 9}, o2[4] = {9, 9, 9, 9};
  Sample* ins[] = {a, b};
  Sample* outs[] = {o, o2};
  GainPlug twoToOne(PlugArgs(0, "2-1"));
  RunBaseBody(twoToOne, ins, outs, 4);
  EXPECT_EQ(o[3], 4);
  EXPECT_EQ(o2[3], 9);
  GainPlug oneToTwo(PlugArgs(0, "1-2"));
  RunBaseBody(oneToTwo, ins, outs, 4);
  EXPECT_EQ(o2[0], 0);
  Sample* inPlace[] = {a, o2};
  RunBaseBody(oneToTwo, inPlace, inPlace, 4);  // same buffer in and out
  EXPECT_EQ(a[2], 3);
  EXPECT_TRUE(twoToOne.frames.empty());  // the effect's own body never ran
}

// The base body in both widths (the 64-bit one is also every binding's bypass).
TEST(BlockProcessing, BaseBodyCopiesMatchingChannelsAndSilencesTheRest)
{
  {
    SCOPED_TRACE("64-bit");
    CheckBaseBody<double>();
  }
  {
    SCOPED_TRACE("32-bit");
    CheckBaseBody<float>();
  }
}

// Runs bypass over the input in blocks and returns the output of channel 0.
std::vector<double> BypassRun(GainPlug& plug, const std::vector<double>& input, int block, bool inPlace)
{
  std::vector<double> result;
  for (size_t start = 0; start < input.size(); start += block)
  {
    std::vector<double> in(input.begin() + start, input.begin() + start + block), out(block, 99.0);
    double* ins[] = {in.data()};
    double* outs[] = {inPlace ? in.data() : out.data()};
    plug.ProcessDouble(ins, 1, outs, 1, block, true);
    result.insert(result.end(), outs[0], outs[0] + block);
  }
  return result;
}

TEST(Bypass, DelaysByTheLatencyAcrossBlocksAlsoInPlace)
{
  std::vector<double> input(20);
  for (int i = 0; i < 20; ++i)
    input[i] = i + 1;
  for (bool inPlace : {false, true})
  {
    GainPlug plug(PlugArgs(0));
    plug.ChangeBlockSize(8);
    EXPECT_EQ(BypassRun(plug, input, 5, inPlace), input);  // latency 0: a plain copy
    plug.SetBypassDelayLine(new BypassDelayLine(2, 2));
    plug.ChangeLatency(3);
    const std::vector<double> out = BypassRun(plug, input, 5, inPlace);
    for (int i = 0; i < 20; ++i)
      EXPECT_EQ(out[i], i < 3 ? 0.0 : input[i - 3]) << i << (inPlace ? " in place" : "");
    EXPECT_TRUE(plug.frames.empty());  // the effect never runs while bypassed
  }
}

TEST(Bypass, LatencyWithoutUsableRingsStillPassesAudio)
{
  IPlugTestBinding::Args args = PlugArgs(0);
  args.latency = 4;
  GainPlug plug(args);
  plug.ChangeBlockSize(8);
  const std::vector<double> input(8, 0.5);
  EXPECT_EQ(BypassRun(plug, input, 8, false), input);  // no delay line at all

  plug.SetBypassDelayLine(new BypassDelayLine(2, 2));  // takes the constructor's latency
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

  BypassDelayLine line(1, 2);  // an output without an input is silenced
  line.SetLength(2);
  double in[4] = {1, 2, 3, 4}, o0[4], o1[4] = {9, 9, 9, 9};
  double* lineIn[] = {in};
  double* lineOut[] = {o0, o1};
  line.Run(lineIn, lineOut, 4);
  EXPECT_EQ(o0[2], 1.0);
  EXPECT_EQ(o1[3], 0.0);
}

TEST(Channels, RangesAreClippedAndStereoClampDisconnectsExtraInputs)
{
  GainPlug plug(PlugArgs(0, "4-4"));
  plug.ConnectInputs(-2, 4, true);  // visits 0 and 1 only
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_FALSE(plug.IsInChannelConnected(2));
  EXPECT_EQ(plug.ConnectOutputs(3, 10, true), 4);
  EXPECT_EQ(plug.ConnectOutputs(9, 1, true), 4);
  plug.ConnectInputs(0, 4, true);
  plug.ClampToStereo();
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_FALSE(plug.IsInChannelConnected(3));
  EXPECT_TRUE(plug.IsOutChannelConnected(3));
}
}  // namespace

namespace {
// Random host block sequences: channel counts, block lengths beyond the scratch, 32- and
// 64-bit buffers, missing buffers and block-size changes. The base body passes audio
// through, so every connected output must equal its input (or silence), exactly.
TEST(BlockProcessing, FuzzedHostBlocksPassAudioThroughExactly)
{
  TestPlug plug(PlugArgs(0));
  std::mt19937 random(7);
  for (int iteration = 0; iteration < 3000; ++iteration)
  {
    if (random() % 8 == 0 || plug.BlockSize() == 0)
      plug.ChangeBlockSize(1 + random() % 64);
    const int nIn = random() % 3, nOut = random() % 3;
    const int frames = random() % (3 * plug.BlockSize() + 1);
    const bool useFloat = random() % 2;
    std::vector<double> dbuf(4 * frames);
    std::vector<float> fbuf(4 * frames);
    for (int i = 0; i < 4 * frames; ++i)
      fbuf[i] = static_cast<float>(dbuf[i] = std::uniform_real_distribution<double>(-1, 1)(random));
    double* din[2];
    double* dout[2];
    float* fin[2];
    float* fout[2];
    for (int c = 0; c < 2; ++c)
    {
      const bool missingIn = random() % 6 == 0, missingOut = random() % 6 == 0;
      din[c] = missingIn ? nullptr : dbuf.data() + c * frames;
      fin[c] = missingIn ? nullptr : fbuf.data() + c * frames;
      dout[c] = missingOut ? nullptr : dbuf.data() + (2 + c) * frames;
      fout[c] = missingOut ? nullptr : fbuf.data() + (2 + c) * frames;
    }
    useFloat ? plug.ProcessFloat(fin, nIn, fout, nOut, frames) : plug.ProcessDouble(din, nIn, dout, nOut, frames);
    for (int c = 0; c < nOut; ++c)
    {
      for (int f = 0; f < frames && (useFloat ? fout[c] != nullptr : dout[c] != nullptr); ++f)
      {
        const double expected = c < nIn && din[c] ? (useFloat ? double(fin[c][f]) : din[c][f]) : 0.0;
        ASSERT_EQ(useFloat ? double(fout[c][f]) : dout[c][f], expected) << iteration << " " << c << " " << f;
      }
    }
  }
}
}  // namespace
