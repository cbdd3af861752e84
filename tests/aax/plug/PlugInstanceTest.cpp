// The effect over IPlugAAX through a whole instance life: parameters as the host sees them,
// rendering, the host setting values, reports to the host, and the state chunk.
#include "framework/gui/IControl.h"
#include "framework/gui/IGraphics.h"
#include "hosts/aax/HostString.h"
#include "platform/ScopedLock.h"
#include "tests/aax/plug/PlugTestSupport.h"

#include <algorithm>
#include <chrono>
#include <future>
#include <limits>

namespace {
using namespace aaxhost;
using namespace aaxtest;

// The value the editor's controls of a parameter hold.
double ControlValue(const IPlugAAX& plug, int paramIdx)
{
  const auto* graphics = dynamic_cast<const IGraphics*>(plug.Editor());
  for (int i = 0; graphics && i < graphics->NControls(); ++i)
    if (graphics->ControlAt(i)->ParamIdx() == paramIdx)
      return graphics->ControlAt(i)->Value();
  return -1.0;
}

Channels AsFloats(const Channels& signal)
{
  Channels rounded = signal;
  for (auto& channel : rounded)
    for (double& sample : channel)
      sample = double(float(sample));
  return rounded;
}

Channels Part(const Channels& signal, size_t from, size_t to)
{
  Channels part;
  for (const auto& channel : signal)
    part.emplace_back(channel.begin() + long(from), channel.begin() + long(to));
  return part;
}

TEST(PlugInstance, MirrorsEveryFrameworkParameterAfterTheMasterBypass)
{
  OpenDriver driver;
  EXPECT_EQ(
    driver.Log().Matching("Automation.Enrol"),
    (Calls{"Automation.EnrolParameter(\"\")", "Automation.EnrolParameter(\"1\")", "Automation.EnrolParameter(\"2\")",
           "Automation.EnrolParameter(\"3\")", "Automation.EnrolParameter(\"4\")", "Automation.EnrolParameter(\"5\")",
           "Automation.EnrolParameter(\"6\")", "Automation.EnrolParameter(\"7\")", "Automation.EnrolParameter(\"8\")",
           "Automation.EnrolParameter(\"9\")"}));
  // The master bypass and the framework's switches are two-step lists; numbers have 128 steps.
  for (const char* id : {"", "3", "1"})
  {
    int32_t steps = 0;
    HostString on;
    HostString off;
    driver.Parameters()->QueryParameterStepCount(id, &steps);
    driver.Parameters()->FormatNormalizedValue(id, 1.0, &on, 32);
    driver.Parameters()->FormatNormalizedValue(id, 0.0, &off, 32);
    EXPECT_EQ(steps, id[0] == '1' ? 128 : 2) << id;
    EXPECT_EQ(on.Text(), id[0] == '1' ? "100.00%" : "on") << id;
    EXPECT_EQ(off.Text(), id[0] == '1' ? "-100.00%" : id[0] ? "off" : "bypass") << id;
  }
  EXPECT_EQ(driver.Plug()->SampleRate(), 48000.0);

  // A restart defines everything once more, not twice.
  ASSERT_EQ(driver.Parameters()->StopInstance(), kAAX_Success);
  ASSERT_EQ(driver.Parameters()->StartInstance(&driver.Instance()), kAAX_Success);
  EXPECT_EQ(driver.NumParams(), 10);
  EXPECT_EQ(driver.Plug()->ParamId(9), nullptr);
}

// Inside each call that the instance's start and stop make, the host's audio thread can
// still take the lock its render takes: a host that waits for that thread there goes on. The
// editor's value reports find no identifier while the parameters are being replaced.
TEST(PlugInstance, StartAndStopCallTheHostOutsideThePlugInLock)
{
  OpenDriver driver;
  IPlugAAX* plug = driver.Plug();
  std::vector<std::future<void>> renders;
  Calls madeUnderTheLock, madeWithAnIdentifier;
  driver.Log().onCall = [&](const std::string& call) {
    if (plug->ParamId(0))
      madeWithAnIdentifier.push_back(call);
    renders.push_back(std::async(std::launch::async, [plug] { ScopedLock lock(plug->Mutex()); }));
    if (renders.back().wait_for(std::chrono::milliseconds(500)) == std::future_status::timeout)
      madeUnderTheLock.push_back(call);
  };
  // A second start without a stop ends the first instance itself.
  ASSERT_EQ(driver.Parameters()->StartInstance(&driver.Instance()), kAAX_Success);
  ASSERT_EQ(driver.Parameters()->StopInstance(), kAAX_Success);
  ASSERT_EQ(driver.Parameters()->StartInstance(&driver.Instance()), kAAX_Success);
  driver.Log().onCall = nullptr;
  EXPECT_EQ(madeUnderTheLock, Calls{});
  EXPECT_EQ(madeWithAnIdentifier, Calls{});
  // Withdrawals and releases, queries, enrolments and the rate.
  EXPECT_GT(renders.size(), 60u);
  EXPECT_EQ(driver.NumParams(), 10);
}

TEST(PlugInstance, AHostWithoutAControllerGetsNoChannelTouchedAndKeepsTheRate)
{
  HostDriver driver(LinkedEntryPoints());
  driver.Instance().Withhold(HostControllerInterface::kIID);
  std::string error;
  ASSERT_TRUE(driver.Register(error) && driver.Open(48000.0, 2, error)) << error;
  EXPECT_EQ(PlugOf(driver.Parameters())->SampleRate(), 44100.0);
  const Channels out = driver.Render(Bursts(600), 300);
  for (const auto& channel : out)
    EXPECT_EQ(*std::max_element(channel.begin(), channel.end()), 0.0);
}

TEST(PlugRender, BlocksOfAnyLengthGiveTheOutputOfOneRun)
{
  // A new filter design glides in over the first block, so every run starts alike.
  const Channels signal = Bursts(9000);
  OpenDriver reference;
  const Channels expected = reference.Render(signal, 512);
  EXPECT_NE(expected, AsFloats(signal));
  for (int block : {4096, 1023, 333, 1})
  {
    OpenDriver driver;
    Channels out = driver.Render(Part(signal, 0, 512), 512);
    const Channels rest = driver.Render(Part(signal, 512, 9000), block);
    for (size_t c = 0; c < out.size(); ++c)
      out[c].insert(out[c].end(), rest[c].begin(), rest[c].end());
    EXPECT_EQ(out, expected) << block;
  }
}

TEST(PlugRender, MonoStemsUseOneChannelEachWay)
{
  OpenDriver driver(44100.0, 1);
  // The audio thread writes nothing to a console, which could make it wait.
  testing::internal::CaptureStdout();
  const Channels out = driver.Render({Bursts(2000)[0]}, 512);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ASSERT_EQ(out.size(), 1u);
  EXPECT_NE(out[0], AsFloats({Bursts(2000)[0]})[0]);
  EXPECT_TRUE(std::all_of(out[0].begin(), out[0].end(), [](double s) { return std::isfinite(s); }));
}

TEST(PlugRender, TheMasterBypassPassesTheInputThroughUntilSwitchedOff)
{
  OpenDriver driver;
  const Channels signal = Bursts(3000);
  ASSERT_TRUE(driver.SetParamNormalized("", 1.0));
  EXPECT_EQ(driver.Render(signal, 512), AsFloats(signal));
  ASSERT_TRUE(driver.SetParamNormalized("", 0.0));
  EXPECT_NE(driver.Render(signal, 512), AsFloats(signal));
}

// The host hears of a new latency before the plug-in takes it on; the bypassed signal is
// then delayed by it, as the processed one is.
TEST(PlugRender, ALatencyGoesToTheHostAndDelaysTheBypass)
{
  OpenDriver driver;
  IPlugAAX* plug = driver.Plug();
  Calls told;
  driver.Log().onCall = [&](const std::string& call) {
    told.push_back(call + " at " + std::to_string(plug->Latency()));
  };
  plug->ChangeLatency(64);
  driver.Log().onCall = nullptr;
  EXPECT_EQ(told, Calls{"Controller.ReportLatency(64) at 0"});

  const Channels signal = Bursts(3000);
  ASSERT_TRUE(driver.SetParamNormalized("", 1.0));
  const Channels out = driver.Render(signal, 512);
  EXPECT_EQ(Part(out, 0, 64), Channels(2, std::vector<double>(64)));
  EXPECT_EQ(Part(out, 64, 3000), AsFloats(Part(signal, 0, 3000 - 64)));
}

TEST(PlugHostValues, ReachTheFrameworkAsTheHostShowsThem)
{
  OpenDriver driver;
  IPlugAAX* plug = driver.Plug();
  AAX_IACFEffectParameters* host = driver.Parameters();
  int32_t changes = 0;
  int32_t after = 0;
  host->CountChanges(&changes);
  EXPECT_EQ(host->ApplyHostValue("x", 0.5, 0), kAAX_ErrParameterNotFound);
  EXPECT_EQ(host->ApplyHostValue("4", std::numeric_limits<double>::quiet_NaN(), 0), kAAX_ErrBadTextOrOutput);
  host->CountChanges(&after);
  EXPECT_EQ(after, changes);

  // Values beyond the range are limited; a two-state parameter runs the state the host shows.
  // The editor's controls follow the value the host sent.
  const struct
  {
    const char* id;
    double normalised;
    int paramIdx;
    double plain;
    double shown;
  } kValues[] = {
    {"4", 1.5, 3, 400.0, 1.0}, {"4", -0.5, 3, 20.0, 0.0}, {"3", 0.7, 2, 0.0, 0.7}, {"7", 0.7, 6, 0.0, 0.7}};
  for (const auto& v : kValues)
  {
    EXPECT_EQ(host->ApplyHostValue(v.id, v.normalised, 0), kAAX_Success);
    EXPECT_EQ(plug->ParamAt(v.paramIdx)->Value(), v.plain) << v.id << " " << v.normalised;
    EXPECT_EQ(plug->ParamAt(v.paramIdx)->Normal(), driver.ParamNormalized(v.id)) << v.id;
    EXPECT_EQ(ControlValue(*plug, v.paramIdx), v.shown) << v.id << " " << v.normalised;
  }
  host->CountChanges(&after);
  EXPECT_EQ(after, changes + 4);
}

TEST(PlugHostValues, EditsGoOutByIdentifierAndOnlyForDefinedParameters)
{
  OpenDriver driver;
  IPlugAAX* plug = driver.Plug();
  driver.Log().Clear();
  for (int idx : {9, -1})
  {
    plug->BeginInformHostOfParamChange(idx);
    plug->InformHostOfParamChange(idx, 1.0);
    plug->EndInformHostOfParamChange(idx);
  }
  EXPECT_TRUE(driver.Log().Matching("Automation.").empty());
  plug->BeginInformHostOfParamChange(3);
  plug->InformHostOfParamChange(3, 0.25);
  plug->EndInformHostOfParamChange(3);
  // The host answers the request at once; its answer lands inside the edit.
  EXPECT_EQ(
    driver.Log().Matching("Automation."),
    (Calls{"Automation.StartTouch(\"4\")", "Automation.StartTouch(\"4\")", "Automation.RequestValue(\"4\", 0.25)",
           "Automation.AnnounceValue(\"4\", 0.25)", "Automation.StopTouch(\"4\")", "Automation.StopTouch(\"4\")"}));
  EXPECT_EQ(plug->ParamAt(3)->Value(), 115.0);
}

TEST(PlugState, ASavedChunkGivesANewInstanceTheSameSound)
{
  const Channels signal = Bursts(4000);
  OpenDriver first;
  ASSERT_TRUE(first.SetParamText("1", "37") && first.SetParamText("5", "62") && first.SetParamNormalized("7", 0.0));
  const std::vector<unsigned char> chunk = first.SaveChunk();
  EXPECT_EQ(chunk.size(), 72u);
  const Channels expected = first.Render(signal, 512);

  OpenDriver second;
  ASSERT_TRUE(second.LoadChunk(chunk));
  for (const char* id : {"1", "2", "5", "7"})
    EXPECT_EQ(second.ParamNormalized(id), first.ParamNormalized(id)) << id;
  EXPECT_EQ(second.Render(signal, 512), expected);
}

// A chunk record as the host hands it over: header and exactly the data it holds.
std::vector<unsigned char> Record(uint32_t chunkId, int32_t size, const std::vector<unsigned char>& data)
{
  std::vector<unsigned char> record(kAAX_ChunkDataOffset + data.size());
  auto* header = reinterpret_cast<AAX_ChunkHeader*>(record.data());
  header->size = size;
  header->chunkId = chunkId;
  std::copy(data.begin(), data.end(), record.begin() + kAAX_ChunkDataOffset);
  return record;
}

TEST(PlugState, ChunkCallsCheckTheIdentifierAndTheSizesTheHostGives)
{
  OpenDriver driver;
  AAX_IACFEffectParameters* host = driver.Parameters();
  IPlugAAX* plug = driver.Plug();
  const uint32_t id = FourCC("Qxls");
  int32_t size = 7;
  EXPECT_EQ(host->MeasureChunk(FourCC("elck"), &size), kAAX_ErrChunkId);
  EXPECT_EQ(size, 0);

  const std::vector<unsigned char> data = driver.SaveChunk();
  const auto matches = [&](uint32_t chunk, int32_t bytes, size_t kept) {
    const auto record = Record(chunk, bytes, {data.begin(), data.begin() + long(kept)});
    bool equal = false;
    EXPECT_EQ(host->MatchChunk(reinterpret_cast<const AAX_ChunkHeader*>(record.data()), &equal), kAAX_Success);
    return equal;
  };
  EXPECT_TRUE(matches(id, 72, 72));
  EXPECT_TRUE(matches(FourCC("elck"), 0, 0));
  // Short records never match, and nothing past them is read.
  EXPECT_FALSE(matches(id, 40, 40));
  EXPECT_FALSE(matches(id, -1, 0));
  ASSERT_TRUE(driver.SetParamText("4", "100"));
  EXPECT_FALSE(matches(id, 72, 72));

  const auto negative = Record(id, -1, {});
  EXPECT_EQ(host->ReadChunk(id, reinterpret_cast<const AAX_ChunkHeader*>(negative.data())), kAAX_ErrChunkSize);
  EXPECT_EQ(plug->ParamAt(3)->Value(), 100.0);
  // Eight bytes hold the first value only; the others keep theirs.
  ASSERT_TRUE(driver.SetParamText("1", "-20"));
  ASSERT_TRUE(driver.LoadChunk({data.begin(), data.begin() + 8}));
  EXPECT_EQ(plug->ParamAt(0)->Value(), 0.0);
  EXPECT_EQ(plug->ParamAt(3)->Value(), 100.0);
}
}  // namespace
