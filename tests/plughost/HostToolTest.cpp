// The host tool: level figures against closed forms, the generated signal, the state file,
// the command line, and whole runs against the gain module.
#include "tools/plughost/AudioFile.h"
#include "tools/plughost/CommandLine.h"
#include "tools/plughost/HostTool.h"
#include "tools/plughost/SignalStats.h"
#include "tools/plughost/StateFile.h"
#include "tools/plughost/ProgressBar.h"
#include "tools/plughost/Render.h"
#include "tools/plughost/TestSignal.h"
#include "tests/vst3/host/FakeGainEffect.h"
#include "tests/vst3/host/FakeGainFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

using namespace plughost;

namespace {

struct RunResult
{
  int code;
  std::string out;
  std::string err;
};

RunResult run(const std::vector<std::string>& args)
{
  HostOptions options;
  std::string error;
  if (!parseCommandLine(args, options, error))
    return {-1, "", error};
  std::ostringstream out, err;
  const int code = runHost(options, out, err);
  return {code, out.str(), err.str()};
}

double peakOf(const std::string& path)
{
  AudioBuffer a;
  std::string error;
  EXPECT_TRUE(readAudioFile(path, a, error)) << error;
  std::remove(path.c_str());
  return SignalStats::measure(a).peak;
}

}  // namespace

TEST(SignalStats, MatchesClosedForms)
{
  AudioBuffer sine;
  sine.channels.assign(1, std::vector<double>(4800));
  for (std::size_t i = 0; i < 4800; ++i)
    sine.channels[0][i] = 0.8 * std::sin(6.283185307179586 * 10 * i / 4800.0);
  SignalStats s = SignalStats::measure(sine);
  EXPECT_NEAR(s.peak, 0.8, 1e-12);
  EXPECT_NEAR(s.rms, 0.8 / std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(toDecibels(s.crest), 3.0103, 1e-4);

  AudioBuffer silence;
  silence.resize(2, 100);
  s = SignalStats::measure(silence);
  EXPECT_EQ(s.crest, 0.0);
  EXPECT_NE(formatStats(s).find("silence"), std::string::npos);
}

// Gathered a chunk at a time the figures are those of the whole, and levels whose squares
// overflow a double still give a finite RMS.
TEST(SignalStats, ChunksAddUpAndLoudSignalsDoNotOverflow)
{
  TestSignalShape shape;
  shape.seconds = 0.3;
  AudioBuffer whole;
  ASSERT_TRUE(makeTestSignal(shape, whole));
  SignalMeter meter;
  SampleDigest digest;
  for (std::size_t at = 0; at < whole.numFrames(); at += 1000)
  {
    AudioBuffer chunk;
    chunk.resize(whole.numChannels(), std::min<std::size_t>(1000, whole.numFrames() - at));
    for (std::size_t c = 0; c < chunk.channels.size(); ++c)
      std::copy_n(whole.channels[c].begin() + static_cast<std::ptrdiff_t>(at), chunk.numFrames(),
                  chunk.channels[c].begin());
    meter.add(chunk);
    digest.add(chunk);
  }
  const SignalStats once = SignalStats::measure(whole), chunked = meter.stats();
  EXPECT_EQ(chunked.peak, once.peak);
  EXPECT_NEAR(chunked.rms, once.rms, 1e-15);
  EXPECT_EQ(digest.value(), sampleDigest(whole));

  AudioBuffer loud;
  loud.channels = {{1e200, -1e200, 0.0, 1e200}};
  const SignalStats s = SignalStats::measure(loud);
  EXPECT_EQ(s.peak, 1e200);
  EXPECT_NEAR(s.rms / 1e200, std::sqrt(0.75), 1e-15);
  loud.channels[0][2] = INFINITY;  // left out of the figures
  EXPECT_NEAR(SignalStats::measure(loud).rms / 1e200, std::sqrt(0.75), 1e-15);
}

TEST(ProgressBar, AppearsOnlyForLongRendersAndIsWipedAtTheEnd)
{
  double now = 0.0;
  std::ostringstream terminal, elsewhere;
  ProgressBar bar(terminal, true, [&] { return now; });
  ProgressBar quiet(elsewhere, false, [&] { return now; });
  bar.update(10, 100);
  EXPECT_EQ(terminal.str(), "") << "nothing in the first seconds";
  now = 5.0;
  bar.update(50, 100);
  quiet.update(50, 100);
  EXPECT_NE(terminal.str().find("50%"), std::string::npos);
  now = 5.01;
  bar.update(51, 100);
  EXPECT_EQ(terminal.str().find("51%"), std::string::npos) << "redrawn a few times a second at most";
  bar.finish();
  quiet.finish();
  EXPECT_EQ(terminal.str().back(), '\r');
  EXPECT_EQ(elsewhere.str(), "");
}

TEST(TestSignal, HasTransientsAndRefusesNonsense)
{
  TestSignalShape shape;
  shape.seconds = 1.0;
  AudioBuffer a, b;
  ASSERT_TRUE(makeTestSignal(shape, a));
  ASSERT_TRUE(makeTestSignal(shape, b));
  EXPECT_EQ(a.channels, b.channels) << "deterministic";
  EXPECT_LE(SignalStats::measure(a).peak, 1.0);
  // Each hit starts at a multiple of the period: the 2 ms after it far louder than the 2 ms before.
  const std::size_t period = 44100 / 4;
  for (std::size_t onset = period; onset < a.numFrames(); onset += period)
  {
    double before = 0.0, after = 0.0;
    for (std::size_t i = 0; i < 88; ++i)
    {
      before = std::max(before, std::fabs(a.channels[0][onset - 1 - i]));
      after = std::max(after, std::fabs(a.channels[0][onset + i]));
    }
    EXPECT_GT(after, 4 * before) << "onset " << onset;
  }

  for (auto mutate : std::vector<void (*)(TestSignalShape&)>{
         [](TestSignalShape& x) { x.sampleRate = std::nan(""); }, [](TestSignalShape& x) { x.seconds = 1e9; },
         [](TestSignalShape& x) { x.channels = 65; }, [](TestSignalShape& x) { x.hitsPerSecond = 0; }})
  {
    TestSignalShape bad = shape;
    mutate(bad);
    AudioBuffer untouched = a;
    EXPECT_FALSE(makeTestSignal(bad, untouched));
    EXPECT_EQ(untouched.channels, a.channels);
  }
}

TEST(StateFile, RoundTripsAndRefusesDamage)
{
  SavedState state{StateFormat::Aax, {1, 2, 3}, std::vector<std::uint8_t>(300, 9)};
  const auto bytes = encodeState(state);
  SavedState back;
  std::string error;
  ASSERT_TRUE(decodeState(bytes, back, error)) << error;
  EXPECT_EQ(back.format, StateFormat::Aax);
  EXPECT_EQ(back.component, state.component);
  EXPECT_EQ(back.controller, state.controller);

  for (std::size_t cut = 0; cut < bytes.size(); ++cut)
  {
    const std::vector<std::uint8_t> shorter(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_FALSE(decodeState(shorter, back, error)) << "cut at " << cut;
  }
  auto longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(decodeState(longer, back, error));
  auto huge = bytes;
  huge[8] = 0xFF;
  huge[11] = 0xFF;  // component length near 4 GiB
  EXPECT_FALSE(decodeState(huge, back, error));
  EXPECT_EQ(back.controller, state.controller) << "a refused file leaves the state alone";
}

TEST(StateFile, AStateOfAnotherFormatIsRefusedByName)
{
  const std::string path = "hosttool-format.state";
  std::string error;
  ASSERT_TRUE(writeStateFile(path, SavedState{StateFormat::Vst2, {1}, {}}, error)) << error;
  SavedState back;
  EXPECT_FALSE(readStateFile(path, StateFormat::Vst3, back, error));
  EXPECT_NE(error.find("VST2 state"), std::string::npos) << error;
  EXPECT_TRUE(back.component.empty());
  EXPECT_TRUE(readStateFile(path, StateFormat::Vst2, back, error)) << error;
  std::remove(path.c_str());
}

TEST(CommandLine, ParsesOptionsAndRefusesBadValues)
{
  HostOptions o;
  std::string error;
  ASSERT_TRUE(
    parseCommandLine({"m.vst3",           "--out", "o.wav",     "--format",         "pcm24",     "--block",     "256",
                      "--double",         "--set", "Gain=6",    "--set-normalized", "Bypass=1",  "--seconds",   "0.5",
                      "--editor-picture", "e.png", "--pointer", "drag:1,-2,3,4",    "--pointer", "wheel:5,6,-2"},
                     o, error))
    << error;
  EXPECT_EQ(o.editorPicturePath, "e.png");
  ASSERT_EQ(o.pointerActions.size(), 2u);
  const hostwindow::PointerAction& drag = o.pointerActions[0];
  EXPECT_EQ(std::vector<int>({drag.kind, drag.x, drag.y, drag.x2, drag.y2}),
            std::vector<int>({hostwindow::PointerAction::Drag, 1, -2, 3, 4}));
  EXPECT_EQ(o.pointerActions[1].notches, -2);
  EXPECT_EQ(o.modulePath, "m.vst3");
  EXPECT_EQ(o.outputFormat, WavFormat::Pcm24);
  EXPECT_EQ(o.blockSize, 256);
  EXPECT_TRUE(o.doublePrecision);
  ASSERT_EQ(o.settings.size(), 2u);
  EXPECT_EQ(o.settings[0].value, "6");
  EXPECT_TRUE(o.settings[1].normalised);

  const std::vector<std::vector<std::string>> bad = {
    {},
    {"m", "--block", "0"},
    {"m", "--block", "1.5"},
    {"m", "--block"},
    {"m", "--rate", "nan"},
    {"m", "--rate", "44100x"},
    {"m", "--channels", "65"},
    {"m", "--format", "pcm8"},
    {"m", "--set", "=3"},
    {"m", "--set", "Gain"},
    {"m", "--set-normalized", "Gain=1.5"},
    {"m", "--seconds", "-1"},
    {"m", "--frobnicate", "1"},
    {"m", "n"},
    {"m", "--pointer", "click:1"},
    {"m", "--pointer", "click:1,2,3"},
    {"m", "--pointer", "drag:1,2,3,x"},
    {"m", "--pointer", "hover:1,2"},
  };
  for (const auto& args : bad)
  {
    HostOptions untouched;
    untouched.blockSize = 77;
    EXPECT_FALSE(parseCommandLine(args, untouched, error)) << (args.empty() ? "" : args.back());
    EXPECT_EQ(untouched.blockSize, 77);
  }
}

// The input a chunk at a time from a buffer.
class BufferReader : public AudioReader
{
public:
  explicit BufferReader(const AudioBuffer& audio) : mAudio(audio) {}
  double sampleRate() const override { return mAudio.sampleRate; }
  int numChannels() const override { return mAudio.numChannels(); }
  std::uint64_t numFrames() const override { return mAudio.numFrames(); }
  bool read(std::size_t maxFrames, AudioBuffer& chunk, std::string&) override
  {
    const std::size_t n = std::min(maxFrames, mAudio.numFrames() - mDone);
    chunk.resize(mAudio.numChannels(), n);
    for (std::size_t c = 0; c < chunk.channels.size(); ++c)
      std::copy_n(mAudio.channels[c].begin() + static_cast<std::ptrdiff_t>(mDone), n, chunk.channels[c].begin());
    mDone += n;
    return true;
  }

private:
  const AudioBuffer& mAudio;
  std::size_t mDone = 0;
};

TEST(Render, CompensatesThePlugInsLatencyAcrossChunksAndBlocks)
{
  TestSignalShape shape;
  shape.seconds = 0.05;
  AudioBuffer in;
  ASSERT_TRUE(makeTestSignal(shape, in));
  for (vst3::uint32 latency : {0u, 1u, 100u, 1000u})
  {
    SCOPED_TRACE(latency);
    fakegain::FakeGainEffect::setLatencyForNewInstances(latency);
    vst3::IPluginFactory* factory = fakegain::obtainFactory();
    {
      vst3host::HostDriver driver(factory);
      ASSERT_EQ(driver.load(), vst3::kResultOk);
      driver.arrange({vst3::arrangement::kStereo}, {vst3::arrangement::kStereo});
      vst3host::ProcessSettings settings;
      settings.maxBlock = 256;  // the latency spans blocks and chunks
      settings.sampleSize = vst3::kSample64;
      ASSERT_EQ(driver.start(settings), vst3::kResultOk);
      ChunkProcess process;
      std::uint64_t reported = 0;
      std::string error;
      ASSERT_TRUE(vst3ChunkProcess(driver, in.sampleRate, process, reported, error)) << error;
      EXPECT_EQ(reported, latency);
      BufferReader reader(in);
      RenderSink sink("", WavFormat::Float32, in.sampleRate);
      SignalMeter inputMeter;
      std::ostringstream terminal;
      ProgressBar progress(terminal, false);
      ASSERT_TRUE(streamRender(reader, 300, reported, process, sink, inputMeter, progress, error)) << error;
      EXPECT_EQ(sink.digest(), sampleDigest(in)) << "0 dB, 64-bit: the very same samples, aligned";
      EXPECT_EQ(terminal.str(), "");
    }
    factory->release();
  }
  fakegain::FakeGainEffect::setLatencyForNewInstances(0);
}

TEST(HostTool, RendersThroughTheModuleAndCarriesStateIntoTheNextRun)
{
  TestSignalShape shape;
  shape.seconds = 0.2;
  shape.channels = 1;
  AudioBuffer in;
  ASSERT_TRUE(makeTestSignal(shape, in));
  const double expected = SignalStats::measure(in).peak * std::pow(10.0, 6.0 / 20.0);

  const std::string state = "hosttool-state.bin";
  RunResult r = run({FAKE_GAIN_FILE, "--seconds", "0.2", "--channels", "1", "--set", "Gain=6", "--save-state", state,
                     "--out", "hosttool-render.wav", "--list", "--double"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Fake Gain"), std::string::npos);
  EXPECT_NE(r.out.find("crest"), std::string::npos);
  EXPECT_NEAR(peakOf("hosttool-render.wav"), expected, 1e-5);

  r = run(
    {FAKE_GAIN_FILE, "--seconds", "0.2", "--channels", "1", "--load-state", state, "--out", "hosttool-restored.wav"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NEAR(peakOf("hosttool-restored.wav"), expected, 1e-5);
  std::remove(state.c_str());

  r = run({FAKE_GAIN_FILE, "--list"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Gain"), std::string::npos);
  EXPECT_EQ(r.out.find("output digest"), std::string::npos) << "a listing alone renders nothing";
}

TEST(HostTool, RunsTheConformanceChecksAndFailsClearly)
{
  RunResult r = run({FAKE_GAIN_FILE, "--check"});
  EXPECT_EQ(r.code, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("passed  Bypass persistence (64-bit)"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("FAILED"), std::string::npos);

  r = run({"no-such-module.vst3"});
  EXPECT_EQ(r.code, 1);
  EXPECT_FALSE(r.err.empty());
  r = run({FAKE_GAIN_FILE, "--seconds", "0.1", "--set", "Volume=3"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Volume"), std::string::npos);
  r = run({FAKE_GAIN_FILE, "--seconds", "0.1", "--load-state", "no-such-state.bin"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.find("contract"), std::string::npos) << "failures of the inputs are not the plug-in's";
}

TEST(HostTool, EmptyStateLoadsNothingAndTheInputIsNeverOverwritten)
{
  const std::string state = "hosttool-empty-state.bin", audio = "hosttool-in.wav";
  std::string error;
  ASSERT_TRUE(writeStateFile(state, SavedState{}, error)) << error;
  RunResult r = run({FAKE_GAIN_FILE, "--seconds", "0.1", "--load-state", state});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("nothing was loaded"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("state restored"), std::string::npos);
  std::remove(state.c_str());

  TestSignalShape shape;
  shape.seconds = 0.1;
  AudioBuffer in;
  ASSERT_TRUE(makeTestSignal(shape, in));
  ASSERT_TRUE(writeAudioFile(audio, in, WavFormat::Float32, error)) << error;
  AudioBuffer before, after;
  ASSERT_TRUE(readAudioFile(audio, before, error)) << error;
  r = run({FAKE_GAIN_FILE, "--in", audio, "--out", audio, "--set", "Gain=6"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("input file"), std::string::npos) << r.err;
  ASSERT_TRUE(readAudioFile(audio, after, error)) << error;
  EXPECT_EQ(after.channels, before.channels);
  std::remove(audio.c_str());
}
