#include "framework/bindings/aax/AAX_CParameter.h"
#include "framework/bindings/aax/ParameterRegistry.h"
#include "hosts/aax/InstanceHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {
using namespace aaxhost;

using Calls = std::vector<std::string>;

// A parameter over 0..100 (power 1), shown in dB, and the host's automation beside it.
class ParameterTest : public ::testing::Test
{
protected:
  std::unique_ptr<AAX_CParameter<double>> MakeLevel(double defaultValue = 25.0, const char* id = "level")
  {
    return std::make_unique<AAX_CParameter<double>>(
      id, "Level", defaultValue, AAX_CIPlugTaperDelegate<double>(0.0, 100.0, 1.0),
      AAX_CUnitDisplayDelegateDecorator<double>(AAX_CNumberDisplayDelegate<double>(), "dB"), true);
  }
  Calls Automation() const { return log.Matching("Automation."); }

  CallLog log;
  InstanceHost host{log};
  AAX_VAutomationDelegate automation{&host};
};

TEST_F(ParameterTest, ConstructionStoresWhatTheTaperAllows)
{
  const std::string longId(40, 'x');
  auto level = MakeLevel(150.0, longId.c_str());
  EXPECT_EQ(std::string(level->IdString()), longId.substr(0, 31));
  EXPECT_EQ(level->StepCount(), 128u);
  EXPECT_EQ(level->ValueKind(), AAX_IParameter::kContinuous);
  double value = 0.0;
  ASSERT_TRUE(level->ReadDouble(value));
  EXPECT_EQ(value, 100.0);
  EXPECT_EQ(level->NormalizedDefault(), 1.0);
}

TEST_F(ParameterTest, WithoutAutomationChangesApplyAtOnce)
{
  auto level = MakeLevel();
  level->ChangeNormalizedValue(0.75);
  EXPECT_EQ(level->NormalizedValue(), 0.75);
  EXPECT_TRUE(level->WriteDouble(10.0));
  EXPECT_EQ(level->NormalizedValue(), 0.1);
}

TEST_F(ParameterTest, WithAutomationOwnChangesAreRequestsAndHostValuesAreAnnounced)
{
  auto level = MakeLevel();
  level->AttachAutomationDelegate(&automation);
  log.Clear();
  level->ChangeNormalizedValue(0.75);
  EXPECT_EQ(level->NormalizedValue(), 0.25);
  level->ApplyNormalizedValue(0.75);
  level->ApplyNormalizedValue(0.75);
  level->ApplyNormalizedValue(std::numeric_limits<double>::quiet_NaN());
  // As sent, however far out of range; only a value that is no number goes back as applied.
  level->ApplyNormalizedValue(1e12);
  EXPECT_EQ(Automation(), (Calls{
                            "Automation.StartTouch(\"level\")",
                            "Automation.RequestValue(\"level\", 0.75)",
                            "Automation.StopTouch(\"level\")",
                            "Automation.AnnounceValue(\"level\", 0.75)",
                            "Automation.AnnounceValue(\"level\", 0)",
                            "Automation.AnnounceValue(\"level\", 1000000000000)",
                          }));
  EXPECT_EQ(level->NormalizedValue(), 1.0);

  AAX_VAutomationDelegate other(&host);
  log.Clear();
  level->AttachAutomationDelegate(&other);
  level.reset();
  EXPECT_EQ(Automation(), (Calls{"Automation.WithdrawParameter(\"level\")", "Automation.EnrolParameter(\"level\")",
                                 "Automation.WithdrawParameter(\"level\")"}));
}

TEST_F(ParameterTest, StepIndicesCoverTheRange)
{
  auto level = MakeLevel();
  level->ChangeNormalizedValue(0.5);
  EXPECT_EQ(level->CurrentStepIndex(), 64);
  for (uint32_t i = 0; i < 128; ++i)
  {
    level->ChangeStepIndex(i);
    ASSERT_EQ(level->CurrentStepIndex(), int32_t(i));
  }
  level->ChangeStepIndex(500);
  EXPECT_EQ(level->NormalizedValue(), 1.0);
  level->ChangeStepCount(0xFFFFFFFFu);
  EXPECT_EQ(level->CurrentStepIndex(), INT32_MAX);
  level->ChangeStepCount(1);
  level->ChangeStepIndex(0);
  EXPECT_EQ(level->CurrentStepIndex(), 0);
  EXPECT_EQ(level->NormalizedValue(), 1.0);
}

TEST_F(ParameterTest, ShortNamesPickTheLongestThatFits)
{
  auto level = MakeLevel();
  level->AssignName("Output Level");
  level->AddShortName("OutL");
  level->AddShortName("Out Levl");
  const struct
  {
    int32_t limit;
    const char* name;
  } cases[] = {{12, "Output Level"}, {40, "Output Level"}, {-1, "Output Level"}, {9, "Out Levl"},
               {8, "Out Levl"},      {5, "OutL"},          {3, "OutL"}};
  for (const auto& c : cases)
    EXPECT_STREQ(level->ShortNameForLength(c.limit).Chars(), c.name) << c.limit;
  level->ClearShortNames();
  EXPECT_STREQ(level->ShortNameForLength(3).Chars(), "Output Level");
}

TEST_F(ParameterTest, TypedAccessOfAnotherTypeChangesNothing)
{
  AAX_CParameter<int32_t> mode("mode", "Mode", 2, AAX_CLinearTaperDelegate<int32_t>(0, 3),
                               AAX_CNumberDisplayDelegate<int32_t>(), false);
  AAX_CParameter<bool> bypass("", "Bypass", false, AAX_CBinaryTaperDelegate<bool>(),
                              AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
  double d = -1.0;
  float f = -1.0f;
  bool b = true;
  int32_t i = -1;
  AAX_CString s("keep");
  EXPECT_FALSE(mode.ReadDouble(d) || mode.ReadBool(b) || mode.ReadFloat(f) || mode.ReadString(s));
  EXPECT_FALSE(bypass.ReadInt32(i) || bypass.WriteInt32(1) || bypass.WriteDouble(1.0) || bypass.WriteFloat(1.0f) ||
               bypass.WriteString(s));
  EXPECT_EQ(d, -1.0);
  EXPECT_TRUE(b);
  EXPECT_EQ(i, -1);
  EXPECT_STREQ(s.Chars(), "keep");
  EXPECT_TRUE(mode.ReadInt32(i));
  EXPECT_EQ(i, 2);
  EXPECT_TRUE(bypass.WriteBool(true) && bypass.ReadBool(b) && b);
}

TEST_F(ParameterTest, TextsRespectRangeAndLimit)
{
  auto level = MakeLevel();
  double normalized = -1.0;
  EXPECT_TRUE(level->NormalizedFromText(AAX_CString("50dB"), normalized));
  EXPECT_EQ(normalized, 0.5);
  EXPECT_FALSE(level->NormalizedFromText(AAX_CString("150dB"), normalized));
  EXPECT_EQ(normalized, 1.0);
  AAX_CString text;
  EXPECT_TRUE(level->TextOfNormalizedLimited(0.5, 5, text));
  EXPECT_STREQ(text.Chars(), "50.00");
  EXPECT_TRUE(level->CurrentValueTextLimited(4, text));
  EXPECT_STREQ(text.Chars(), "25.0");
  EXPECT_TRUE(level->ChangeValueFromText(AAX_CString("75dB")));
  EXPECT_TRUE(level->CurrentValueText(text));
  EXPECT_STREQ(text.Chars(), "75.00dB");
  EXPECT_FALSE(level->ChangeValueFromText(AAX_CString("loud")));
}

TEST_F(ParameterTest, ReplacedTapersKeepTheValueOrItsPosition)
{
  auto level = MakeLevel();
  level->ReplaceTaperDelegate(AAX_CLinearTaperDelegate<int32_t>(0, 1), false);
  EXPECT_EQ(level->NormalizedValue(), 0.25);
  level->ReplaceTaperDelegate(AAX_CIPlugTaperDelegate<double>(0.0, 200.0, 1.0), false);
  double value = 0.0;
  level->ReadDouble(value);
  EXPECT_EQ(value, 50.0);

  level->AttachAutomationDelegate(&automation);
  level->ReplaceTaperDelegate(AAX_CIPlugTaperDelegate<double>(0.0, 100.0, 1.0), true);
  log.Clear();
  // The host's answer to the request is stored and announced although it changes nothing.
  level->ApplyNormalizedValue(0.5);
  EXPECT_EQ(Automation(), (Calls{"Automation.AnnounceValue(\"level\", 0.5)"}));
}

// ---- ParameterRegistry ----------------------------------------------------------------------

TEST_F(ParameterTest, RegistryKeepsOneParameterPerIdentifier)
{
  ParameterRegistry registry;
  log.Clear();
  ASSERT_TRUE(registry.Add(MakeLevel(25.0, "").release()));
  registry.UseAutomationDelegate(&automation);
  // The host hears of a parameter before the table lists it or finds it by identifier.
  host.onEnrolParameter = [&](const char* id) {
    EXPECT_EQ(registry.Count(), 1);
    EXPECT_EQ(registry.Find(id), nullptr);
  };
  ASSERT_TRUE(registry.Add(MakeLevel(25.0, "2").release()));
  host.onEnrolParameter = nullptr;
  auto duplicate = MakeLevel(25.0, "2");
  EXPECT_FALSE(registry.Add(duplicate.get()));
  EXPECT_FALSE(registry.Add(nullptr));
  EXPECT_EQ(registry.Count(), 2);

  EXPECT_NE(registry.Find(""), nullptr);
  EXPECT_EQ(registry.IndexOf(""), 0);
  EXPECT_EQ(registry.IndexOf("2"), 1);
  EXPECT_EQ(registry.IndexOf(nullptr), -1);
  EXPECT_EQ(registry.Find(nullptr), nullptr);
  EXPECT_EQ(registry.At(-1), nullptr);
  EXPECT_EQ(registry.At(2), nullptr);

  registry.RemoveAll();
  EXPECT_EQ(registry.Count(), 0);
  EXPECT_EQ(registry.Find("2"), nullptr);
  EXPECT_EQ(registry.IndexOf(""), -1);
  // Only the parameter added after the delegate was set was enrolled, and so withdrawn.
  EXPECT_EQ(Automation(), (Calls{"Automation.EnrolParameter(\"2\")", "Automation.WithdrawParameter(\"2\")"}));
}
}  // namespace
