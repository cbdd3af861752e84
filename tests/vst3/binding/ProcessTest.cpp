// The audio side: set-up, parameter queues, events, 32- and 64-bit blocks, bypass, transport
// and notices to the host, and process data as careless hosts send it.
#include "hosts/vst3/ProcessDataBuilder.h"
#include "tests/vst3/binding/BindingTestSupport.h"

#include <cmath>
#include <limits>
#include <random>

using namespace vst3binding;
using T = TarvexQuoxel;
using Call = vst3host::ComponentHandler::Kind;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Renders drums through a started session in blocks of the given sizes, repeated `rounds`
// times, and returns the left output.
std::vector<double> Render(Session& s, int rounds, std::vector<int> blocks)
{
  std::vector<double> out;
  for (int r = 0; r < rounds; ++r)
    for (int frames : blocks)
    {
      s.FillDrums(frames, static_cast<int>(out.size()));
      EXPECT_EQ(s.driver->process(frames), kResultOk);
      const std::vector<double> block = s.Output(0, frames);
      out.insert(out.end(), block.begin(), block.end());
    }
  return out;
}

}  // namespace

TEST(Setup, RefusesWhatCannotRunAndKeepsThePreviousSetup)
{
  Session s;
  ProcessSetup good{kRealtime, kSample64, 256, 48000.0};
  ASSERT_EQ(s.Processor().setupProcessing(good), kResultOk);
  for (ProcessSetup bad : {ProcessSetup{kRealtime, 2, 256, 96000.0}, ProcessSetup{kRealtime, kSample32, 0, 96000.0},
                           ProcessSetup{kRealtime, kSample32, 64, 0.0}, ProcessSetup{kRealtime, kSample32, 64, kNaN}})
  {
    EXPECT_EQ(s.Processor().setupProcessing(bad), kResultFalse);
    EXPECT_EQ(s.Plug().SampleRate(), 48000.0);
    EXPECT_EQ(s.Plug().BlockSize(), 256);
    EXPECT_EQ(s.Plug().getProcessSetup().symbolicSampleSize, kSample64);
  }
  EXPECT_EQ(s.Processor().canProcessSampleSize(2), kResultFalse);
  ProcessSetup offline{kOffline, kSample32, 64, 1234567.8};
  ASSERT_EQ(s.Processor().setupProcessing(offline), kResultOk);
  EXPECT_TRUE(s.Plug().RendersOffline());
  // An absurd block size is taken, but claims no more scratch than a bounded slice.
  ProcessSetup huge{kRealtime, kSample32, 0x7FFFFFFF, 96000.0};
  ASSERT_EQ(s.Processor().setupProcessing(huge), kResultOk);
  EXPECT_EQ(s.Plug().BlockSize(), IPlugVST3::kMaxScratchFrames);
}

TEST(Queues, LastPointOfEachQueueCountsAndHostValuesAreChecked)
{
  Session s;
  s.Start();
  auto& changes = s.driver->inputChanges();
  changes.add(T::kHiPass, 0, 1.0);
  changes.add(T::kHiPass, 10, 0.0);
  changes.add(T::kHiPass, 20, 0.5);
  changes.add(T::kLength, 0, 7.0);    // clamped
  changes.add(T::kRelease, 0, kNaN);  // skipped
  changes.addEmptyQueue(0xFFFFFFFF);
  changes.add(0x12345678, 0, 1.0);  // unknown: ignored
  s.driver->handler().clear();
  changes.add(T::kLevel, 0, 1.0);
  ASSERT_EQ(s.driver->process(64), kResultOk);
  EXPECT_EQ(s.Plug().Engine().HighPassFrequency(), 210.0);
  EXPECT_EQ(s.Plug().ParamAt(T::kLength)->Value(), 100.0);
  EXPECT_EQ(s.Plug().ParamAt(T::kRelease)->Value(), 50.0);
  // The handler ran: full amount with the automatic gain takes the output 12 dB down and
  // tells the host.
  EXPECT_EQ(s.Plug().ParamAt(T::kOutGain)->Value(), -12.0);
  ASSERT_FALSE(s.driver->handler().calls().empty());
  EXPECT_EQ(s.driver->handler().calls().back().id, static_cast<ParamID>(T::kOutGain));

  // Bypass switches on above one half.
  for (double v : {0.5, 0.51})
  {
    changes.add(kBypass, 0, v);
    ASSERT_EQ(s.driver->process(64), kResultOk);
    EXPECT_EQ(s.Controller().getParamNormalized(kBypass), v > 0.5 ? 1.0 : 0.0);
  }

  // The preset parameter: 1.0 is past the one preset and does nothing; below it loads preset 0.
  for (double v : {1.0, 0.99})
  {
    changes.add(kPreset, 0, v);
    ASSERT_EQ(s.driver->process(64), kResultOk);
    EXPECT_EQ(s.Plug().ParamAt(T::kHiPass)->Value(), v < 1.0 ? 20.0 : 210.0);
  }

  // A new set-up switches bypass off.
  ProcessSetup setup{kRealtime, kSample32, 512, 44100.0};
  ASSERT_EQ(s.Processor().setupProcessing(setup), kResultOk);
  EXPECT_EQ(s.Controller().getParamNormalized(kBypass), 0.0);
}

TEST(Audio, BypassIsExactPassThroughInBothWidths)
{
  for (int32 width : {kSample32, kSample64})
  {
    Session s;
    s.Start(width);
    s.driver->inputChanges().add(kBypass, 0, 1.0);
    s.driver->inputChanges().add(T::kLevel, 0, 1.0);
    s.FillDrums(300);
    ASSERT_EQ(s.driver->process(300), kResultOk);
    for (int ch = 0; ch < 2; ++ch)
      for (int i = 0; i < 300; ++i)
        ASSERT_EQ(s.driver->outputs().sample(0, ch, i), Session::Drum(i, ch)) << width << " " << ch << " " << i;
  }
}

TEST(Audio, ThirtyTwoAndSixtyFourBitAgreeAndLargeBlocksAreSliced)
{
  Session narrow, wide, sliced, reference;
  narrow.Start(kSample32, 512);
  wide.Start(kSample64, 512);
  sliced.Start(kSample64, 512);
  reference.Start(kSample64, 512);
  // The host lies about its block: 512-frame blocks after a set-up of 100.
  ProcessSetup small{kRealtime, kSample64, 100, 44100.0};
  ASSERT_EQ(sliced.Processor().setupProcessing(small), kResultOk);
  ASSERT_EQ(reference.Processor().setupProcessing(small), kResultOk);
  for (Session* s : {&narrow, &wide, &sliced, &reference})
    s->driver->inputChanges().add(T::kLevel, 0, 1.0);
  const std::vector<double> a = Render(narrow, 8, {512}), b = Render(wide, 8, {512});
  double difference = 0.0, change = 0.0;
  for (size_t i = 0; i < a.size(); ++i)
  {
    difference = std::max(difference, std::fabs(a[i] - b[i]));
    change += std::fabs(b[i] - Session::Drum(static_cast<int>(i), 0));
  }
  EXPECT_LT(difference, 1e-6);
  EXPECT_GT(change, 1.0) << "the effect changed the signal";
  // Every frame of a long block is processed, in slices of the set-up's block size.
  EXPECT_EQ(Render(sliced, 8, {512}), Render(reference, 8, {100, 100, 100, 100, 100, 12}));
}

TEST(Audio, MonoInactiveBusesAndMissingBuffers)
{
  Session s;
  ASSERT_EQ(s.driver->arrange({arrangement::kMono}, {arrangement::kMono}), kResultOk);
  ASSERT_EQ(s.driver->start(ProcessSettings{}), kResultOk);
  s.driver->inputChanges().add(kBypass, 0, 1.0);
  s.driver->inputs().setSample(0, 0, 3, 0.25);
  ASSERT_EQ(s.driver->process(64), kResultOk);
  EXPECT_EQ(s.driver->outputs().sample(0, 0, 3), 0.25);

  // An output bus the host switched off is not written.
  s.driver->component()->activateBus(kAudio, kOutput, 0, 0);
  s.driver->outputs().fill(0.75);
  ASSERT_EQ(s.driver->process(64), kResultOk);
  EXPECT_EQ(s.driver->outputs().sample(0, 0, 3), 0.75);
  s.driver->component()->activateBus(kAudio, kOutput, 0, 1);

  // A null channel pointer counts as no buffer.
  s.driver->outputs().clearPointer(0, 0);
  ASSERT_EQ(s.driver->process(64), kResultOk);
}

TEST(Audio, FlushesAndHostsThatSendLittleOrNothing)
{
  using vst3host::ProcessDataBuilder;
  Session s;
  // Before any set-up a block is answered with silence.
  vst3host::AudioBuffers in, out;
  in.configure(kSample32, {2}, 64);
  out.configure(kSample32, {2}, 64);
  in.fill(0.5);
  out.fill(0.5);
  s.driver->component()->activateBus(kAudio, kOutput, 0, 1);
  ASSERT_EQ(s.Processor().process(ProcessDataBuilder(kSample32, 64).inputs(in).outputs(out).data()), kResultOk);
  EXPECT_EQ(out.sample(0, 0, 10), 0.0);

  // Flushes without buses, and with bus arrays whose first bus has no channels.
  s.Start(kSample64, 128);
  vst3host::AudioBuffers& hostOut = s.driver->outputs();
  hostOut.fill(0.125);
  vst3host::ParameterChanges bypassOn;
  bypassOn.add(kBypass, 0, 1.0);
  ASSERT_EQ(s.driver->processRaw(ProcessDataBuilder(kSample64, 0).changes(&bypassOn).data()), kResultOk);
  ASSERT_EQ(s.driver->processRaw(
              ProcessDataBuilder(kSample64, 0).emptyBuses(s.driver->inputs(), hostOut).changes(&bypassOn).data()),
            kResultOk);
  EXPECT_EQ(hostOut.sample(0, 1, 0), 0.125) << "a flush touches no buffer";
  EXPECT_EQ(s.Controller().getParamNormalized(kBypass), 1.0);

  // Last block's host inputs are gone; a block without inputs must not read them. The
  // record claims 32-bit samples, but the set-up decides.
  {
    vst3host::AudioBuffers gone;
    gone.configure(kSample64, {2}, 128);
    gone.fill(0.5);
    ASSERT_EQ(s.driver->processRaw(ProcessDataBuilder(kSample64, 128).inputs(gone).outputs(hostOut).data()), kResultOk);
  }
  ASSERT_EQ(s.driver->processRaw(ProcessDataBuilder(kSample32, 128).outputs(hostOut).data()), kResultOk);
  EXPECT_EQ(hostOut.sample(0, 0, 5), 0.0) << "bypassed silence";
}

TEST(Transport, QueriesAnswerFromTheLastContext)
{
  Session s;
  TransportInfo info;
  s.Start();
  s.driver->transport().tempo(90.0).timeSignature(7, 8).cycle(4.0, 12.0, true).position((int64(1) << 32) + 5);
  const ProcessContext sent = *s.driver->transport().context();
  ASSERT_EQ(s.driver->process(64), kResultOk);
  s.Plug().HostTransport(&info);
  EXPECT_EQ(info.tempo, 90.0);
  EXPECT_EQ(info.samplePos, double((int64(1) << 32) + 5));
  EXPECT_EQ(info.lastBarPos, sent.barPositionMusic);
  EXPECT_EQ(info.cycleEnd, 12.0);
  EXPECT_EQ(info.denominator, 8);
  EXPECT_TRUE(info.playing && info.cycling);
  EXPECT_EQ(s.Plug().HostSamplePosition(), 5);
  int numerator = 0, denominator = 0;
  s.Plug().HostTimeSignature(&numerator, &denominator);
  EXPECT_EQ(numerator * 100 + denominator, 708);
  EXPECT_EQ(s.Plug().Engine().Tempo(), 90.0);

  // Blocks without a context keep the last one; a stopped host rests the gain meters.
  s.driver->sendTransport(false);
  s.driver->inputChanges().add(T::kLevel, 0, 1.0);
  s.FillDrums(512);
  ASSERT_EQ(s.driver->process(512), kResultOk);
  EXPECT_NE(s.Plug().MeterValue(T::kGainMeter0), 0.5);
  s.driver->sendTransport(true);
  s.driver->transport().playing(false).tempo(0.0);
  ASSERT_EQ(s.driver->process(512), kResultOk);
  EXPECT_EQ(s.Plug().MeterValue(T::kGainMeter0), 0.5);
  EXPECT_EQ(s.Plug().Engine().Tempo(), 90.0) << "a tempo of 0 is not followed";
}

TEST(Notices, EditsAndLatencyReachTheHandler)
{
  Session s;
  s.driver->handler().clear();
  s.Plug().BeginInformHostOfParamChange(3);
  s.Plug().InformHostOfParamChange(3, 0.25);
  s.Plug().EndInformHostOfParamChange(3);
  s.Plug().ChangeLatency(64);
  const auto calls = s.driver->handler().calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[1].value, 0.25);
  EXPECT_TRUE(s.driver->handler().gesturesBalanced(3));
  EXPECT_EQ(calls[3].kind, Call::Restart);
  EXPECT_EQ(calls[3].flags, kLatencyChanged);
  EXPECT_EQ(s.Processor().getLatencySamples(), 64u);
  EXPECT_EQ(s.Plug().GetBypassDelayLine()->Length(), 64);

  // Without a handler nothing is sent, and nothing breaks.
  s.Controller().setComponentHandler(nullptr);
  s.Plug().InformHostOfParamChange(3, 0.5);
  s.Plug().ChangeLatency(0);
  s.Plug().ShowHostParamMenu(3, 10, 10);
}

TEST(State, SavedStateGivesANewInstanceIdenticalAudio)
{
  std::vector<uint8_t> saved;
  std::vector<double> original, restored;
  {
    Session a;
    a.Start();
    for (auto [id, v] : {std::pair<int, double>{T::kLevel, 0.9},
                         {T::kHiPass, 0.3},
                         {T::kAutoRelease, 0.0},
                         {T::kRelease, 0.6},
                         {T::kUpperLimit, 0.5}})
      a.driver->setParameter(id, v);
    original = Render(a, 6, {256});
    saved = a.SaveController();
  }
  Session b;
  b.Start();
  ASSERT_EQ(b.LoadController(saved), kResultOk);
  restored = Render(b, 6, {256});
  EXPECT_EQ(original, restored);
}

// Process data as hosts control it: odd counts, missing pieces, null and partial buffers,
// wild parameter values and events. Nothing may crash, write outside the host's buffers or
// put a non-finite sample out.
TEST(Fuzz, ProcessDataFromCarelessHosts)
{
  std::mt19937 rng(99);
  const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int32 width : {kSample32, kSample64})
  {
    Session s;
    s.Start(width, 256);
    auto& in = s.driver->inputs();
    auto& out = s.driver->outputs();
    for (int round = 0; round < 300; ++round)
    {
      in.configure(width, {pick(3)}, 600);
      out.configure(width, {pick(3)}, 600);
      if (pick(4) == 0 && in.channelCount(0) > 0)
        in.clearPointer(0, 0);
      if (pick(4) == 0 && out.channelCount(0) > 0)
        out.clearPointer(0, 0);
      const int frames = pick(610) - 10;
      for (int ch = 0; ch < in.channelCount(0); ++ch)
        for (int i = 0; i < std::max(frames, 0); ++i)
          in.setSample(0, ch, i, std::sin(i * 0.3 + ch) * (pick(50) == 0 ? 1e6 : 0.8));
      in.guardTail(std::max(frames, 0));
      out.guardTail(std::max(frames, 0));

      vst3host::ParameterChanges changes;
      for (int q = pick(6); q > 0; --q)
      {
        const ParamID ids[] = {kBypass, kPreset, ParamID(pick(kNumParams)), ParamID(kNumParams + pick(140)),
                               ParamID(rng())};
        const double values[] = {kNaN, -1e300, 1e300, std::numeric_limits<double>::infinity(),
                                 0.5,  0.0,    1.0,   rng() / 4294967296.0};
        if (pick(5) == 0)
          changes.addEmptyQueue(ids[pick(5)]);
        else
          changes.add(ids[pick(5)], pick(frames > 0 ? frames : 1), values[pick(8)]);
      }
      vst3host::EventList events;
      for (int e = pick(4); e > 0; --e)
        events.addNoteOn(pick(700) - 50, static_cast<int16>(pick(40) - 5), static_cast<int16>(pick(300) - 20),
                         pick(3) ? 1e9f : std::numeric_limits<float>::quiet_NaN());
      ProcessContext context = *s.driver->transport().context();
      context.tempo = pick(2) ? kNaN : pick(400) - 100.0;

      ProcessData d{};
      d.symbolicSampleSize = width;
      d.numSamples = frames;
      d.numInputs = pick(3) ? 1 : 0;
      d.numOutputs = pick(3) ? 1 : 0;
      d.inputs = pick(5) ? in.buses() : nullptr;
      d.outputs = pick(5) ? out.buses() : nullptr;
      d.inputParameterChanges = pick(4) ? &changes : nullptr;
      d.inputEvents = pick(4) ? &events : nullptr;
      d.processContext = pick(3) ? &context : nullptr;
      if (d.inputs == nullptr)
        d.numInputs = 0;
      if (d.outputs == nullptr)
        d.numOutputs = 0;
      ASSERT_EQ(s.driver->processRaw(d), kResultOk);
      ASSERT_TRUE(out.allFinite(std::max(frames, 0))) << "round " << round;
      ASSERT_TRUE(changes.referencesBalanced() && events.heldByPlugin() == 0);
    }
    s.driver->inputs().configure(width, {2}, 256);
    s.driver->outputs().configure(width, {2}, 256);
  }
}
