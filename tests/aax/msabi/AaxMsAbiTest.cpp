// The built AAX module, loaded from its bundle and driven by a host's side compiled for
// Microsoft's ABI: its own declarations of the interfaces meet the module's, as a real host's
// do. What that host sees is compared with what the recording host of the tree sees.
#include "hosts/aax/ModuleLoader.h"
#include "hosts/window/HostWindow.h"
#include "hosts/msabi/aax/MsAbiAax.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {
using aaxhost::HostDriver;
using aaxhost::Module;

constexpr double kSampleRate = 44100.0;

class AaxMsAbi : public ::testing::Test
{
protected:
  void SetUp() override
  {
    std::string error;
    mModule = Module::Load(TQ_AAX_BUNDLE, error);
    ASSERT_TRUE(mModule) << error;
    const aaxhost::EntryPoints& e = mModule->Entries();
    mEntries = {reinterpret_cast<void*>(e.startup),        reinterpret_cast<void*>(e.shutdown),
                reinterpret_cast<void*>(e.canUnloadNow),   reinterpret_cast<void*>(e.getSDKVersion),
                reinterpret_cast<void*>(e.registerPlugin), reinterpret_cast<void*>(e.registerComponent),
                reinterpret_cast<void*>(e.getClassFactory)};
  }

  // The recording host's log of start-up and registration, one call a line.
  std::string RecordedRegistration()
  {
    HostDriver driver(mModule->Entries());
    std::string error;
    EXPECT_TRUE(driver.Register(error)) << error;
    std::string text;
    for (const std::string& call : driver.Log().Calls())
      text += call + "\n";
    return text;
  }

  std::unique_ptr<Module> mModule;
  TqAaxEntries mEntries = {};
};

// Stereo bursts of decaying noise, different per channel.
std::vector<std::vector<float>> Bursts(int frames)
{
  std::vector<std::vector<float>> signal(2, std::vector<float>(size_t(frames)));
  uint32_t seed = 2024;
  for (int i = 0; i < frames; ++i)
    for (auto& channel : signal)
    {
      seed = seed * 1664525u + 1013904223u;
      channel[size_t(i)] = float(0.8 * double(int32_t(seed)) / 2147483648.0 * (1.0 - double(i % 1500) / 1500.0));
    }
  return signal;
}

TEST_F(AaxMsAbi, ExportsAnswerAndRegistrationDescribesWhatTheRecordingHostSees)
{
  const std::string expected = RecordedRegistration();
  std::vector<char> log(64 * 1024);
  TqAaxExportsReport report;
  ASSERT_EQ(tq_msabi_aax_exports(&mEntries, &report, {log.data(), int(log.size())}), 0);

  EXPECT_EQ(report.startup, 0);
  EXPECT_EQ(report.sdkVersionResult, 0);
  EXPECT_EQ(report.sdkVersion, 0x00000201007756BFull);
  EXPECT_EQ(report.registerComponent, 0);
  EXPECT_FALSE(report.componentGiven);
  EXPECT_EQ(report.classFactory, -20009);
  EXPECT_FALSE(report.classFactoryGiven);
  EXPECT_EQ(report.registerPlugin, 0);
  EXPECT_TRUE(report.definitionGiven);
  EXPECT_EQ(report.shutdown, 0);
  EXPECT_EQ(report.liveAtEnd, 0);
  EXPECT_EQ(report.unbalancedHostObjects, 0);

  const std::string seen(log.data());
  EXPECT_EQ(seen.substr(0, seen.find("-- registered\n")), expected);
}

TEST_F(AaxMsAbi, InstanceLivesThroughHostObjectsAndStringsOfThatAbi)
{
  std::vector<char> texts(16 * 1024);
  TqAaxInstanceReport report;
  ASSERT_EQ(tq_msabi_aax_instance(&mEntries, kSampleRate, "1", 0.75, &report, {texts.data(), int(texts.size())}), 0);

  // Identifier, name, current text, texts of 0 and of 1, through the host's strings.
  EXPECT_EQ(std::string(texts.data()), "|Master Bypass|bypass|bypass|on\n"
                                       "1|Quoxel Level|0.00%|-100.00%|100.00%\n"
                                       "2|Out gain|0.00dB|-12.00dB|12.00dB\n"
                                       "3|Auto output gain|on|off|on\n"
                                       "4|Hi Pass|20.00Hz|20.00Hz|400.00Hz\n"
                                       "5|Quoxel length|30.00ms|10.00ms|100.00ms\n"
                                       "6|Detector release|50.00ms|10.00ms|500.00ms\n"
                                       "7|Auto release|on|off|on\n"
                                       "8|Gain upper limit|12.00dB|1.00dB|12.00dB\n"
                                       "9|Gain lower limit|-12.00dB|-12.00dB|-1.00dB\n"
                                       "parameter|1|50.00%|-100.00%\n");
  EXPECT_EQ(report.parameterCount, 10);

  EXPECT_NEAR(report.valueRead, 0.75, 1e-9);
  EXPECT_EQ(uint32_t(report.chunkId), 0x51786C73u);
  EXPECT_EQ(report.chunkSize, 72);
  EXPECT_EQ(report.chunkWritten, 72);
  EXPECT_EQ(report.chunkRead, 0);
  EXPECT_NEAR(report.valueRestored, report.valueRead, 1e-12);
  EXPECT_TRUE(report.chunkMatches);

  EXPECT_TRUE(report.parameterFound);
  EXPECT_TRUE(report.parameterAutomatable);
  EXPECT_EQ(report.parameterSteps, 128u);
  EXPECT_EQ(report.parameterKind, 1);
  // The change became a request to the host, which applied it; the output gain follows
  // the level, so a second request came for it.
  EXPECT_EQ(report.parameterRequests, 2);
  EXPECT_NEAR(report.parameterNormalized, 0.25, 1e-9);
  EXPECT_TRUE(report.parameterReadsDouble);
  EXPECT_NEAR(report.parameterReal, -50.0, 1e-9);
  EXPECT_FALSE(report.parameterReadsBool);

  EXPECT_TRUE(report.stopped);
  EXPECT_EQ(report.enrolled, 10);
  EXPECT_EQ(report.withdrawn, 10);
  EXPECT_EQ(report.liveAtEnd, 0);
  EXPECT_EQ(report.unbalancedHostObjects, 0);
}

TEST_F(AaxMsAbi, RenderThroughTheRegisteredProcedureEqualsTheRecordingHostsRender)
{
  constexpr int kFrames = 6000;
  constexpr int kBlock = 512;
  const std::vector<std::vector<float>> signal = Bursts(kFrames);

  HostDriver::Channels input(2);
  for (size_t c = 0; c < 2; ++c)
    input[c].assign(signal[c].begin(), signal[c].end());
  HostDriver driver(mModule->Entries());
  std::string error;
  ASSERT_TRUE(driver.Register(error) && driver.Open(kSampleRate, 2, error)) << error;
  ASSERT_TRUE(driver.SetParamNormalized("1", 0.9));
  const HostDriver::Channels expected = driver.Render(input, kBlock);
  driver.Close();

  std::vector<std::vector<float>> in = signal, out(2, std::vector<float>(kFrames, 0.0f));
  float* inPointers[] = {in[0].data(), in[1].data()};
  float* outPointers[] = {out[0].data(), out[1].data()};
  ASSERT_EQ(tq_msabi_aax_render(&mEntries, kSampleRate, 2, "1", 0.9, inPointers, outPointers, kFrames, kBlock), 0);
  for (size_t c = 0; c < 2; ++c)
  {
    EXPECT_EQ(std::vector<double>(out[c].begin(), out[c].end()), expected[c]) << "channel " << c;
    EXPECT_NE(out[c], signal[c]) << "channel " << c;
  }
}

TEST_F(AaxMsAbi, EditorObjectOpensInTheHostsViewAndOffersItClicks)
{
  hostwindow::HostWindow window(650, 410);
  // While the editor is attached: the windows in the host's, and a click on parameter 5's knob.
  struct
  {
    hostwindow::HostWindow& window;
    int children = 0;
    bool clicked = false;
  } shown{window};
  const auto click = [](void* context) {
    auto& s = *static_cast<decltype(shown)*>(context);
    s.children = s.window.childCount();
    if (void* editor = s.window.findChild("IPlugWndClass"))
      s.clicked = (hostwindow::playPointerAction(editor, {hostwindow::PointerAction::Click, 242, 310}), true);
  };
  std::vector<char> log(64 * 1024);
  TqAaxEditorReport report;
  ASSERT_EQ(tq_msabi_aax_editor(&mEntries, window.handle(), click, &shown, &report, {log.data(), int(log.size())}), 0);
  EXPECT_TRUE(report.created);
  EXPECT_TRUE(report.started);
  EXPECT_EQ(report.sizeResult, 0);
  EXPECT_EQ(std::make_tuple(report.width, report.height, report.attached, report.detached),
            std::make_tuple(650.0f, 410.0f, 0, 0));
  EXPECT_TRUE(report.stopped);
  EXPECT_EQ(report.liveAtEnd, 0);
  EXPECT_EQ(report.unbalancedHostObjects, 0);

  // The editor opened in the host's window and closed with the detach.
  EXPECT_EQ(std::make_tuple(shown.children, shown.clicked, window.childCount()), std::make_tuple(1, true, 0));
  // The click went to the host first, which left it to the editor: the knob's gesture, with
  // the parameter's own touch nested in it. The view was let go with the detach.
  std::vector<std::string> seen;
  std::istringstream lines(log.data());
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("View.", 0) == 0 || line.find("Touch(") != std::string::npos)
      seen.push_back(line);
  EXPECT_EQ(seen, (std::vector<std::string>{"View.AddRef()", "View.NativeWindow()", "View.CurrentModifiers()",
                                            "View.ForwardParameterClick(\"5\", 0)", "Automation.StartTouch(\"5\")",
                                            "Automation.StartTouch(\"5\")", "Automation.StopTouch(\"5\")",
                                            "Automation.StopTouch(\"5\")", "View.Release()"}));
}
}  // namespace
