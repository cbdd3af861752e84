// A host's two threads at once, as every real host runs them: the audio thread processes
// blocks carrying parameter changes while the user-interface thread reads and writes the
// same parameters, their texts and the state, and now and then sets processing up again.
// Both run a fixed number of iterations; the ThreadSanitizer build (preset native-tsan)
// reports any access the two make unguarded.
#include "tests/vst3/binding/BindingTestSupport.h"

#include <atomic>
#include <cmath>
#include <thread>

namespace vst3binding {
namespace {

constexpr int kBlocks = 400;
constexpr int kControllerRounds = 400;
constexpr int32 kFrames = 128;

// A value that visits the whole range, both ends included.
double Sweep(int i, int salt)
{
  return ((i * 37 + salt * 11) % 101) / 100.0;
}

void AudioSide(Session& session, std::atomic<int>& nonFinite)
{
  for (int b = 0; b < kBlocks; ++b)
  {
    HostDriver& driver = *session.driver;
    session.FillDrums(kFrames, b * kFrames);
    vst3host::ParameterChanges& changes = driver.inputChanges();
    changes.add(static_cast<ParamID>(TarvexQuoxel::kLevel), 0, Sweep(b, 1));
    changes.add(static_cast<ParamID>(TarvexQuoxel::kLength), kFrames / 2, Sweep(b, 2));
    // The automatic output gain sets its parameter from inside process.
    changes.add(static_cast<ParamID>(TarvexQuoxel::kAutoOutGain), 0, b % 50 < 25 ? 1.0 : 0.0);
    changes.add(kBypass, 0, b % 97 == 0 ? 1.0 : 0.0);
    if (b % 61 == 0)
      changes.add(kPreset, 0, 0.0);  // loads the preset's values from process
    if (driver.process(kFrames) != kResultOk)
      ++nonFinite;
    for (int ch = 0; ch < 2; ++ch)
      for (double v : session.Output(ch, kFrames))
        if (!std::isfinite(v))
          ++nonFinite;
  }
}

// A host may set processing up again (a new block size) and re-arrange the buses while its
// audio thread still runs: both reach the channel records and scratch the blocks use.
void SetUpAgain(Session& session, int32 width, int round)
{
  ProcessSetup setup{kRealtime, width, round % 2 ? kFrames / 2 : kFrames, 44100.0};
  EXPECT_EQ(session.Processor().setupProcessing(setup), kResultOk);
  SpeakerArrangement stereo = arrangement::kStereo;
  EXPECT_EQ(session.Processor().setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
}

void ControllerSide(Session& session, int32 width)
{
  IEditController& controller = session.Controller();
  TChar text[128];
  for (int i = 0; i < kControllerRounds; ++i)
  {
    const ParamID id = static_cast<ParamID>(i % kNumParams);
    controller.setParamNormalized(id, Sweep(i, 3));
    const ParamValue normal = controller.getParamNormalized(id);
    EXPECT_TRUE(normal >= 0.0 && normal <= 1.0) << normal;
    EXPECT_EQ(controller.getParamStringByValue(id, normal, text), kResultOk);
    controller.getParamNormalized(kBypass);
    ParamValue parsed = 0.0;
    controller.getParamValueByString(id, text, parsed);
    if (i % 20 == 0)
    {
      const std::vector<uint8_t> saved = session.SaveController();
      EXPECT_EQ(session.LoadController(saved), kResultOk);
    }
    if (i % 25 == 0)
      SetUpAgain(session, width, i / 25);
  }
}

TEST(HostThreads, ProcessAndControllerCallsAtOnceStayWholeAndFinite)
{
  for (int32 width : {kSample32, kSample64})
  {
    SCOPED_TRACE(width == kSample32 ? "32-bit" : "64-bit");
    Session s;
    s.Start(width, kFrames);
    std::atomic<int> nonFinite{0};
    std::thread audio([&] { AudioSide(s, nonFinite); });
    ControllerSide(s, width);
    audio.join();
    EXPECT_EQ(nonFinite.load(), 0);
    for (int i = 0; i < kNumParams; ++i)
    {
      const IPlugParameter* p = s.Plug().ParamAt(i);
      EXPECT_TRUE(p->Value() >= p->Min() && p->Value() <= p->Max()) << i;
    }
  }
}

}  // namespace
}  // namespace vst3binding
