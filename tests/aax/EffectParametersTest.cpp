#include "hosts/aax/InstanceHost.h"
#include "tests/aax/TestPlugParameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

namespace {
using namespace aaxhost;

using Calls = std::vector<std::string>;
constexpr uint32_t kElck = AAX_CEffectParameters::kControlsChunkId;

// A chunk record buffer of exactly header + data bytes.
struct ChunkBuffer
{
  explicit ChunkBuffer(int32_t dataBytes) : bytes(kAAX_ChunkDataOffset + size_t(dataBytes > 0 ? dataBytes : 0)) {}
  AAX_ChunkHeader* Header() { return reinterpret_cast<AAX_ChunkHeader*>(bytes.data()); }
  std::vector<unsigned char> bytes;
};

class EffectParametersTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    log.Clear();
    ASSERT_EQ(plug->StartInstance(&host), kAAX_Success);
  }
  void TearDown() override
  {
    if (plug)
      plug->StopInstance();
    plug.reset();
    EXPECT_EQ(host.RefCount(), 0);
  }
  // The host answers every request by applying the value, as a real host does.
  void Echo()
  {
    host.onRequestValue = [this](const char* id, double value) { plug->ApplyHostValue(id, value, 0); };
  }
  double Normalized(const char* id)
  {
    double value = -1.0;
    EXPECT_EQ(plug->QueryNormalizedValue(id, &value), kAAX_Success);
    return value;
  }
  ChunkBuffer Saved()
  {
    int32_t size = 0;
    EXPECT_EQ(plug->MeasureChunk(kElck, &size), kAAX_Success);
    ChunkBuffer chunk(size);
    EXPECT_EQ(plug->WriteChunk(kElck, chunk.Header()), kAAX_Success);
    chunk.Header()->chunkId = kElck;  // the host files the chunk under the id it asked for
    return chunk;
  }
  bool Matches(ChunkBuffer& chunk)
  {
    bool equal = false;
    EXPECT_EQ(plug->MatchChunk(chunk.Header(), &equal), kAAX_Success);
    return equal;
  }

  CallLog log;
  InstanceHost host{log};
  std::unique_ptr<TestPlugParameters> plug = std::make_unique<TestPlugParameters>();
};

TEST_F(EffectParametersTest, StartEnrolsEveryParameterAndStopGivesEverythingBack)
{
  EXPECT_EQ(
    log.Matching("Host.QueryInterface"),
    (Calls{"Host.QueryInterface(Controller)", "Host.QueryInterface(Controller2)", "Host.QueryInterface(Automation)",
           "Host.QueryInterface(Transport)", "Host.QueryInterface(Transport2)"}));
  EXPECT_EQ(log.Matching("Automation.Enrol"),
            (Calls{"Automation.EnrolParameter(\"\")", "Automation.EnrolParameter(\"1\")",
                   "Automation.EnrolParameter(\"2\")", "Automation.EnrolParameter(\"3\")"}));
  EXPECT_NE(plug->HostController(), nullptr);

  log.Clear();
  EXPECT_EQ(plug->StopInstance(), kAAX_Success);
  EXPECT_EQ(log.Calls(), (Calls{"Automation.WithdrawParameter(\"\")", "Automation.WithdrawParameter(\"1\")",
                                "Automation.WithdrawParameter(\"2\")", "Automation.WithdrawParameter(\"3\")",
                                "Controller2.Release()", "Controller.Release()", "Automation.Release()",
                                "Transport2.Release()", "Transport.Release()"}));
  int32_t count = -1;
  EXPECT_EQ(plug->CountParameters(&count), kAAX_Success);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(plug->HostController(), nullptr);
  EXPECT_EQ(plug->FlushPackets(), kAAX_Success);
}

TEST_F(EffectParametersTest, StartingAgainFirstEndsTheRunningInstance)
{
  ASSERT_EQ(plug->StartInstance(&host), kAAX_Success);
  int32_t count = 0;
  plug->CountParameters(&count);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(plug->definitions, 2);
  EXPECT_EQ(log.Matching("Automation.Withdraw").size(), 4u);
  // One instance's worth of references: three wrappers, five interfaces.
  EXPECT_EQ(host.RefCount(), 5);
}

// The wrappers' counted references keep the host's interfaces alive: released without a stop,
// the object still gives every one back (the tear-down counts them).
TEST_F(EffectParametersTest, ReleasedWithoutAStopItGivesTheHostEverythingBack)
{
  log.Clear();
  plug.reset();
  EXPECT_EQ(log.Matching("Automation.Withdraw").size(), 4u);
  EXPECT_EQ(log.Matching("Controller2.Release"), Calls{"Controller2.Release()"});
}

TEST_F(EffectParametersTest, AnExceptionInTheStartBecomesAResult)
{
  plug->throwWhileDefining = true;
  EXPECT_EQ(plug->StartInstance(&host), kACF_Unexpected);
}

TEST_F(EffectParametersTest, AnswersItsInterfacesAndCountsReferences)
{
  auto* object = new TestPlugParameters;
  const int32_t live = CACFUnknown::LiveObjectCount();
  void* v1 = nullptr;
  void* v2 = nullptr;
  void* other = &v1;
  ASSERT_EQ(object->QueryInterface(AAX_IACFEffectParameters::kIID, &v1), kAAX_Success);
  ASSERT_EQ(object->QueryInterface(AAX_IACFEffectParameters_V2::kIID, &v2), kAAX_Success);
  EXPECT_EQ(v1, static_cast<AAX_IACFEffectParameters*>(object));
  EXPECT_EQ(v1, v2);
  EXPECT_EQ(
    object->QueryInterface({0x964E323D, 0x424C, 0x5E1A, {0x22, 0x27, 0x28, 0x24, 0x23, 0x22, 0x2E, 0x1E}}, &other),
    kACF_NoInterface);
  EXPECT_EQ(other, nullptr);
  auto* face = static_cast<AAX_IACFEffectParameters*>(v1);
  EXPECT_EQ(face->Release(), 1u);
  EXPECT_EQ(face->Release(), 0u);
  EXPECT_EQ(CACFUnknown::LiveObjectCount(), live - 1);
}

TEST_F(EffectParametersTest, LookupsOfAbsentParametersFailWithoutWriting)
{
  int32_t word = 7;
  double value = 7.0;
  bool flag = true;
  AAX_IParameter* parameter = nullptr;
  AAX_CString text("keep");
  EXPECT_EQ(plug->QueryParameterAutomatable("x", &flag), kAAX_ErrParameterNotFound);
  EXPECT_FALSE(flag);
  EXPECT_EQ(plug->QueryParameterStepCount("x", &word), kAAX_ErrParameterNotFound);
  EXPECT_EQ(plug->QueryParameterDefault("x", &value), kAAX_ErrParameterNotFound);
  EXPECT_EQ(plug->QueryParameterKind("x", &word), kAAX_ErrParameterNotFound);
  EXPECT_EQ(plug->QueryParameterLayoutWord(nullptr, &word), kAAX_ErrParameterNotFound);
  EXPECT_EQ(plug->QueryNormalizedValue("x", &value), kAAX_ErrParameterNotFound);
  EXPECT_EQ(plug->ParseParameterText("x", &value, &text), kAAX_ErrParameterNotFound);
  EXPECT_EQ(plug->FormatCurrentValue("x", &text, 8), kAAX_ErrParameterNotFound);
  EXPECT_EQ(plug->ChangeNormalizedValue("x", 0.5), kAAX_ErrParameterNotFound);
  EXPECT_EQ(plug->BeginParameterGesture("x"), kAAX_ErrParameterNotFound);
  EXPECT_EQ(plug->ApplyHostValueBy("x", 0.1), kAAX_ErrParameterNotFound);
  EXPECT_EQ(word, 7);
  EXPECT_EQ(value, 7.0);
  EXPECT_STREQ(text.Chars(), "keep");
  EXPECT_EQ(plug->FindParameter("x", &parameter), kAAX_ErrParameterNotFound);
  EXPECT_EQ(parameter, nullptr);
  EXPECT_EQ(plug->FindParameterIndex("x", &word), kAAX_ErrParameterNotFound);
  EXPECT_EQ(word, -1);
  EXPECT_EQ(plug->CopyParameterIdAt(-1, &text), kAAX_ErrParameterNotFound);
  EXPECT_STREQ(text.Chars(), "");
  text.AssignChars("keep");
  EXPECT_EQ(plug->CopyParameterName("x", &text), kAAX_Success);
  EXPECT_STREQ(text.Chars(), "");
  EXPECT_EQ(plug->QueryParameterExtra("1", 0, &word), kAAX_ErrUnsupported);
  EXPECT_EQ(word, 0);

  plug->Param("1")->ChangeStepCount(0x80000000u);
  word = 7;
  EXPECT_EQ(plug->QueryParameterStepCount("1", &word), kAAX_ErrStepCount);
  EXPECT_EQ(word, 7);
}

// What the host asks of each parameter: automatable, default, kind, layout word. A default it
// changes leaves the value be.
TEST_F(EffectParametersTest, QueriesAnswerWhatTheParameterHolds)
{
  using Answers = std::tuple<bool, double, int32_t, int32_t>;
  const std::pair<const char*, Answers> cases[] = {{"", {true, 0.0, AAX_IParameter::kDiscrete, 0}},
                                                   {"1", {true, 0.5, AAX_IParameter::kContinuous, 0}},
                                                   {"2", {true, 1.0 / 3.0, AAX_IParameter::kDiscrete, 0}},
                                                   {"3", {false, 0.0, AAX_IParameter::kDiscrete, 0}}};
  for (const auto& [id, expected] : cases)
  {
    Answers answers{!std::get<0>(expected), -1.0, -1, -1};
    auto& [automatable, normalizedDefault, kind, word] = answers;
    EXPECT_EQ(std::make_tuple(plug->QueryParameterAutomatable(id, &automatable),
                              plug->QueryParameterDefault(id, &normalizedDefault), plug->QueryParameterKind(id, &kind),
                              plug->QueryParameterLayoutWord(id, &word)),
              std::make_tuple(kAAX_Success, kAAX_Success, kAAX_Success, kAAX_Success));
    EXPECT_EQ(answers, expected) << id;
    const double value = Normalized(id);
    EXPECT_EQ(plug->ChangeParameterDefault(id, 1.0), kAAX_Success);
    EXPECT_EQ(plug->QueryParameterDefault(id, &normalizedDefault), kAAX_Success);
    EXPECT_EQ(std::make_tuple(normalizedDefault, Normalized(id)), std::make_tuple(1.0, value)) << id;
  }
}

TEST_F(EffectParametersTest, MissingOutputsAndTextsAreRefused)
{
  const ACFResult bad = kAAX_ErrBadTextOrOutput;
  EXPECT_EQ(plug->CountParameters(nullptr), bad);
  EXPECT_EQ(plug->CopyBypassParameterId(nullptr), bad);
  EXPECT_EQ(plug->QueryParameterAutomatable("1", nullptr), bad);
  EXPECT_EQ(plug->CopyParameterName("1", nullptr), bad);
  EXPECT_EQ(plug->CopyParameterShortName("1", nullptr, 4), bad);
  EXPECT_EQ(plug->FindParameter("1", nullptr), bad);
  EXPECT_EQ(plug->CopyParameterIdAt(0, nullptr), bad);
  EXPECT_EQ(plug->ParseParameterText("1", nullptr, nullptr), bad);
  EXPECT_EQ(plug->FormatNormalizedValue("1", 0.5, nullptr, 8), bad);
  EXPECT_EQ(plug->QueryNormalizedValue("1", nullptr), bad);
  EXPECT_EQ(plug->FillCustomData(8, nullptr, 8), bad);
  EXPECT_EQ(plug->CountChunks(nullptr), bad);
  EXPECT_EQ(plug->MeasureChunk(kElck, nullptr), bad);
  EXPECT_EQ(plug->WriteChunk(kElck, nullptr), bad);
  EXPECT_EQ(plug->ReadChunk(kElck, nullptr), bad);
  EXPECT_EQ(plug->MatchChunk(nullptr, nullptr), bad);
  EXPECT_EQ(plug->CountChanges(nullptr), bad);
  EXPECT_EQ(plug->EmptyAnswer(1, 2, 3, nullptr), bad);
}

TEST_F(EffectParametersTest, ShortNamesAreTheLongestLineThatFits)
{
  const struct
  {
    const char* name;
    int32_t limit;
    const char* expected;
  } cases[] = {
    {"Gain", 2, "Ga"},
    {"Gain", 4, "Gain"},
    {"Gain", 9, "Gain"},
    {"Gain", 0, ""},
    {"Gain", -1, ""},
    {"Frequency\nFreqs", 6, "Freqs"},
    {"Frequency\nFreqs", 20, "Frequency"},
    {"Frequency\nFreqs", 3, "Fre"},
    {"", 4, "unchanged"},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(std::string(c.name) + " / " + std::to_string(c.limit));
    plug->Param("1")->AssignName(c.name);
    AAX_CString out("unchanged");
    EXPECT_EQ(plug->CopyParameterShortName("1", &out, c.limit), kAAX_Success);
    EXPECT_STREQ(out.Chars(), c.expected);
  }
}

// A number trims itself to the host's limit; a list or on/off text is handed over whole.
TEST_F(EffectParametersTest, TextsAreParsedInRangeAndNumbersTrimmedToTheLimit)
{
  double value = -1.0;
  const AAX_CString half("50%");
  const AAX_CString beyond("150%");
  EXPECT_EQ(plug->ParseParameterText("1", &value, &half), kAAX_Success);
  EXPECT_EQ(value, 0.75);
  value = -1.0;
  EXPECT_EQ(plug->ParseParameterText("1", &value, &beyond), kAAX_ErrBadTextOrOutput);
  EXPECT_EQ(value, -1.0);
  const struct
  {
    const char* id;
    double normalized;
    int32_t limit;
    const char* text;
  } cases[] = {{"1", 0.75, 8, "50.00%"}, {"1", 0.75, 5, "50.00"}, {"1", 0.75, 3, "50%"},  {"1", 0.75, 0, ""},
               {"2", 1.0, 8, "D"},       {"2", 0.0, 0, "A"},      {"", 0.0, 3, "bypass"}, {"", 1.0, -1, "on"}};
  for (const auto& c : cases)
  {
    AAX_CString text;
    EXPECT_EQ(plug->FormatNormalizedValue(c.id, c.normalized, &text, c.limit), kAAX_Success) << c.text;
    EXPECT_STREQ(text.Chars(), c.text);
  }
  AAX_CString current;
  EXPECT_EQ(plug->FormatCurrentValue("", &current, 4), kAAX_Success);
  EXPECT_STREQ(current.Chars(), "bypass");
  EXPECT_EQ(plug->FormatCurrentValue("1", &current, 4), kAAX_Success);
  EXPECT_STREQ(current.Chars(), "0.00");
}

TEST_F(EffectParametersTest, HostValuesAreAppliedAnnouncedAndCounted)
{
  int32_t changes = -1;
  log.Clear();
  EXPECT_EQ(plug->ApplyHostValue("1", 0.25, 0), kAAX_Success);
  EXPECT_EQ(plug->ApplyHostValue("1", std::numeric_limits<double>::quiet_NaN(), 0), kAAX_ErrBadTextOrOutput);
  EXPECT_EQ(plug->ApplyHostValue("1", INFINITY, 0), kAAX_ErrBadTextOrOutput);
  EXPECT_EQ(plug->ApplyHostValue("none", 0.5, 0), kAAX_ErrParameterNotFound);
  EXPECT_EQ(plug->CountChanges(&changes), kAAX_Success);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Normalized("1"), 0.25);
  EXPECT_EQ(log.Calls(), (Calls{"Automation.AnnounceValue(\"1\", 0.25)"}));

  // Relative changes go through the table, so an override of the host update is used.
  EXPECT_EQ(plug->ApplyHostValueBy("1", 0.9), kAAX_Success);
  EXPECT_EQ(Normalized("1"), 1.0);
  EXPECT_EQ(plug->ApplyHostValueBy("1", -2.0), kAAX_Success);
  EXPECT_EQ(Normalized("1"), 0.0);
  EXPECT_EQ(plug->ApplyHostValueBy("1", NAN), kAAX_ErrBadTextOrOutput);
  EXPECT_EQ(plug->hostValuesApplied, 6);

  Echo();
  EXPECT_EQ(plug->ChangeNormalizedValue("1", 0.9), kAAX_Success);
  EXPECT_EQ(plug->ChangeNormalizedValueBy("1", 0.5), kAAX_Success);
  EXPECT_EQ(Normalized("1"), 1.0);
  EXPECT_EQ(plug->ChangeNormalizedValueBy("1", -2.0), kAAX_Success);
  EXPECT_EQ(Normalized("1"), 0.0);
  EXPECT_EQ(plug->ChangeParameterDefault("1", NAN), kAAX_ErrBadTextOrOutput);
}

TEST_F(EffectParametersTest, PreviewNotificationsReachOnlyAPreviewParameter)
{
  const int32_t on = 1;
  log.Clear();
  EXPECT_EQ(plug->HandleHostNotification(AAX_CEffectParameters::kPreviewNotification, &on, 4), kAAX_Success);
  plug->Keep(AAX_MakeParameter<bool>("PreviewID", "Preview", false, AAX_CBinaryTaperDelegate<bool>(),
                                     AAX_CBinaryDisplayDelegate<bool>("off", "on"), false),
             2, AAX_IParameter::kDiscrete);
  EXPECT_EQ(plug->HandleHostNotification(AAX_CEffectParameters::kPreviewNotification, nullptr, 4), kAAX_Success);
  EXPECT_EQ(plug->HandleHostNotification(AAX_CEffectParameters::kPreviewNotification, &on, 2), kAAX_Success);
  EXPECT_EQ(plug->HandleHostNotification(FourCC("othr"), &on, 4), kAAX_Success);
  EXPECT_TRUE(log.Matching("Automation.RequestValue").empty());
  EXPECT_EQ(plug->HandleHostNotification(AAX_CEffectParameters::kPreviewNotification, &on, 4), kAAX_Success);
  EXPECT_EQ(log.Matching("Automation.RequestValue"), (Calls{"Automation.RequestValue(\"PreviewID\", 1)"}));
}

// ---- The 'elck' chunk ------------------------------------------------------------------------

TEST_F(EffectParametersTest, ChunkIsMeasuredWrittenAndComparedByIdentifier)
{
  int32_t count = 0;
  uint32_t id = 9;
  EXPECT_EQ(plug->CountChunks(&count), kAAX_Success);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(plug->ChunkIdAt(1, &id), kAAX_ErrChunkIndex);
  EXPECT_EQ(id, 0u);
  int32_t size = 5;
  EXPECT_EQ(plug->MeasureChunk(FourCC("xxxx"), &size), kAAX_ErrChunkId);
  EXPECT_EQ(size, 0);

  plug->ApplyHostValue("1", 0.75, 0);
  ChunkBuffer chunk = Saved();
  // The master bypass is left out: "1" (double), "2" (int32), "3" (bool as int32).
  EXPECT_EQ(chunk.Header()->size, 4 + 12 + 8 + 8);
  EXPECT_EQ(chunk.Header()->version, -1);
  EXPECT_STREQ(chunk.Header()->name, "Complete Controls State");
  EXPECT_TRUE(Matches(chunk));

  plug->ApplyHostValue("1", 0.75 + 1e-12, 0);
  EXPECT_TRUE(Matches(chunk)) << "beyond single precision";
  plug->ApplyHostValue("1", 0.75 + 1e-6, 0);
  EXPECT_FALSE(Matches(chunk));
  plug->ApplyHostValue("1", 0.75, 0);
  plug->ApplyHostValue("3", 1.0, 0);
  EXPECT_FALSE(Matches(chunk));

  chunk.Header()->chunkId = FourCC("Qxls");
  EXPECT_TRUE(Matches(chunk));
}

TEST_F(EffectParametersTest, ChunkIsWrittenOnlyAtTheMeasuredSize)
{
  plug->StopInstance();
  ChunkBuffer empty = Saved();
  EXPECT_EQ(empty.Header()->size, 4);
  EXPECT_TRUE(Matches(empty));
  ASSERT_EQ(plug->StartInstance(&host), kAAX_Success);
  ChunkBuffer chunk(64);
  EXPECT_EQ(plug->WriteChunk(kElck, chunk.Header()), kAAX_ErrChunkSize);
  EXPECT_EQ(plug->WriteChunk(FourCC("Qxls"), chunk.Header()), kAAX_ErrChunkId);
}

TEST_F(EffectParametersTest, ReadingAChunkRequestsItsValues)
{
  plug->ApplyHostValue("1", 0.75, 0);
  plug->ApplyHostValue("2", 1.0, 0);
  ChunkBuffer chunk = Saved();
  plug->ApplyHostValue("1", 0.5, 0);
  plug->ApplyHostValue("2", 0.0, 0);
  log.Clear();
  EXPECT_EQ(plug->ReadChunk(kElck, chunk.Header()), kAAX_Success);
  // The host decides: nothing changes until it answers.
  EXPECT_EQ(Normalized("1"), 0.5);
  EXPECT_EQ(log.Matching("Automation.RequestValue"),
            (Calls{"Automation.RequestValue(\"1\", 0.75)", "Automation.RequestValue(\"2\", 1)",
                   "Automation.RequestValue(\"3\", 0)"}));
  Echo();
  EXPECT_EQ(plug->ReadChunk(kElck, chunk.Header()), kAAX_Success);
  EXPECT_EQ(Normalized("1"), 0.75);
  EXPECT_EQ(Normalized("2"), 1.0);
  EXPECT_EQ(plug->ReadChunk(FourCC("Qxls"), chunk.Header()), kAAX_ErrChunkId);
}

// Chunks a host may hand back after storing them badly: only values read whole are restored.
TEST_F(EffectParametersTest, DamagedChunksRestoreOnlyWholeValues)
{
  plug->ApplyHostValue("1", 0.75, 0);
  plug->ApplyHostValue("2", 1.0, 0);
  plug->ApplyHostValue("3", 1.0, 0);
  const ChunkBuffer good = Saved();
  const struct
  {
    const char* what;
    int32_t size;
    int32_t extraBytes;
    ACFResult result;
    Calls requested;
  } cases[] = {
    {"negative size", -1, 0, kAAX_ErrChunkSize, {}},
    {"empty", 0, 0, kAAX_Success, {}},
    {"cut inside the second value", 4 + 12 + 6, 0, kAAX_Success, {"Automation.RequestValue(\"1\", 0.75)"}},
    {"size beyond the values",
     4 + 12 + 8 + 8 + 16,
     16,
     kAAX_Success,
     {"Automation.RequestValue(\"1\", 0.75)", "Automation.RequestValue(\"2\", 1)",
      "Automation.RequestValue(\"3\", 1)"}},
    {"as big as it claims",
     1 << 16,
     (1 << 16) - 32,
     kAAX_Success,
     {"Automation.RequestValue(\"1\", 0.75)", "Automation.RequestValue(\"2\", 1)",
      "Automation.RequestValue(\"3\", 1)"}},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.what);
    ChunkBuffer chunk = good;
    chunk.bytes.resize(chunk.bytes.size() + size_t(c.extraBytes), 0);
    chunk.Header()->size = c.size;
    log.Clear();
    EXPECT_EQ(plug->ReadChunk(kElck, chunk.Header()), c.result);
    EXPECT_EQ(log.Matching("Automation.RequestValue"), c.requested);
    bool equal = true;
    EXPECT_EQ(plug->MatchChunk(chunk.Header(), &equal), kAAX_Success);
    EXPECT_EQ(equal, c.requested.size() == 3);
  }
}
}  // namespace
