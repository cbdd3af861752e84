// The module's entry points and its description of the effect, through the registration host.
#include "framework/bindings/aax/AAX_CEffectGUI.h"
#include "hosts/aax/RegistrationHost.h"
#include "tests/aax/plug/PlugTestSupport.h"

namespace {
using namespace aaxhost;
using namespace aaxtest;

const ACFGuid kDefinitionId = {0x00EEF015, 0x7FD0, 0x11D6, {0x84, 0x85, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24}};

// The description's own calls, without the factory's and the references' traffic.
Calls Described(const CallLog& log)
{
  Calls described;
  for (const std::string& call : log.Calls())
    if (call.find(".AddRef(") == std::string::npos && call.find(".Release(") == std::string::npos &&
        call.find(".QueryInterface(") == std::string::npos && call.rfind("Factory.", 0) != 0)
      described.push_back(call);
  return described;
}

Calls Component(const std::string& n, uint32_t stem, uint32_t nativeId, uint32_t suiteId)
{
  const std::string c = "Component" + n + ".";
  const std::string m = "Map" + n + ".StoreProperty(";
  return {c + "DeclarePrivateData(6, 4, 0)",
          c + "DeclareMidiNode(5, 0, \"TarvexQuoxel Midi\", 1)",
          c + "DeclareMidiNode(7, 3, \"Transport\", 65535)",
          c + "DeclareAudioInput(0)",
          c + "DeclareAudioOutput(1)",
          c + "DeclareBufferLength(3)",
          c + "DeclarePrivateData(9, 4, 0)",
          c + "DeclarePrivateData(8, " + std::to_string(sizeof(void*)) + ", 0)",
          m + "56, 0)",
          m + "51, " + std::to_string(stem) + ")",
          m + "52, " + std::to_string(stem) + ")",
          m + "60, 1)",
          m + "11, " + std::to_string(FourCC("Tvxr")) + ")",
          m + "12, " + std::to_string(FourCC("Qxls")) + ")",
          m + "13, " + std::to_string(nativeId) + ")",
          m + "14, " + std::to_string(suiteId) + ")",
          c + "RegisterProcessProcedure(ptr, Map" + n + ", null, null, null)",
          "Effect1.AttachComponent(Component" + n + ")"};
}

class Registration : public ::testing::Test
{
protected:
  void SetUp() override { host.extraCollectionInterfaces.push_back({kDefinitionId, "Definition"}); }
  void TearDown() override
  {
    if (definition)
      definition->Release();
    // Every reference the module took came back.
    EXPECT_EQ(host.RefCount(), 0);
    for (const auto& made : host.Made())
      EXPECT_EQ(made->RefCount(), 0) << made->Label();
  }
  ACFResult Register() { return ACFRegisterPlugin(&host, &definition); }

  CallLog log;
  RegistrationHost host{log};
  HostObject stale{log, "Stale"};  // what the host's variable held: a failed registration clears it
  IACFUnknown* definition = nullptr;
};

TEST_F(Registration, DescribesEachChannelConfigurationAndHandsBackTheDefinition)
{
  // The configurations are traced, not printed: a host's console is not the module's.
  testing::internal::CaptureStdout();
  ASSERT_EQ(Register(), kAAX_Success);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  Calls expected = {"Effect1.AppendEffectName(\"TarvexQuoxel\")", "Collection1.AppendBundleName(\"TarvexQuoxel\")",
                    "Effect1.AppendCategory(2)"};
  for (const Calls& component : {Component("1", 0x00000001, FourCC("EFN1"), FourCC("EFA1")),
                                 Component("2", 0x00010002, FourCC("EFN2"), FourCC("EFA2"))})
    expected.insert(expected.end(), component.begin(), component.end());
  expected.insert(expected.end(), {"Effect1.RegisterProcedure(ptr, 0)", "Effect1.RegisterProcedure(ptr, 1)",
                                   "Collection1.RegisterEffect(\"com.Tarvex.aax.TarvexQuoxel\", Effect1)",
                                   "Collection1.AppendMakerName(\"Tarvex\")", "Collection1.StoreBundleVersion(65540)"});
  EXPECT_EQ(Described(log), expected);
  EXPECT_NE(definition, nullptr);
  EXPECT_EQ(host.Procedure(0), reinterpret_cast<ACFProcedure>(ModulePlugDescription().createParameters));
  EXPECT_EQ(host.Procedure(1), reinterpret_cast<ACFProcedure>(&CreateEffectGUI));
  EXPECT_EQ(host.ProcessProcedure(), reinterpret_cast<ACFProcedure>(&AAX_CIPlugParameters::RenderEntry));
}

TEST_F(Registration, AFailedStepKeepsTheEffectUnregisteredButStillNamesMakerAndVersion)
{
  log.FailWith("Effect1.AppendEffectName", kAAX_ErrMissingInterface);
  definition = &stale;
  EXPECT_NE(Register(), kAAX_Success);
  EXPECT_TRUE(log.Matching("Collection1.RegisterEffect").empty());
  EXPECT_EQ(log.Matching("Collection1.AppendMakerName").size(), 1u);
  EXPECT_EQ(log.Matching("Collection1.StoreBundleVersion").size(), 1u);
  EXPECT_EQ(definition, nullptr);
}

TEST_F(Registration, HostsThatCannotDescribeGetAResultAndEveryReferenceBack)
{
  host.Withhold(HostComponentFactoryInterface::kIID);
  EXPECT_EQ(Register(), kAAX_ErrMissingInterface);
  EXPECT_TRUE(log.Matching("Collection1.").empty());

  // A factory query that succeeds without a factory.
  host.nullFactory = true;
  EXPECT_EQ(Register(), kACF_Unexpected);
  EXPECT_EQ(definition, nullptr);
}

TEST_F(Registration, ACollectionWithoutTheDefinitionFailsTheRegistration)
{
  host.extraCollectionInterfaces.clear();
  definition = &stale;
  EXPECT_EQ(Register(), kAAX_ErrMissingInterface);
  EXPECT_EQ(definition, nullptr);
}

TEST(Description, ConfigurationTokensAreReadLikeTheFirstTwoAndNoMoreThanTheTypeIds)
{
  CallLog log;
  RegistrationHost host(log);
  AAX_PlugDescription plug = ModulePlugDescription();
  plug.channelIO = "0-2 x 3-3 4-4";
  {
    AAX_VCollection collection(&host);
    EXPECT_EQ(DescribeEffect(&collection, plug), kAAX_Success);
  }
  EXPECT_EQ(log.Matching("Map1.StoreProperty(5"),
            (Calls{"Map1.StoreProperty(56, 0)", "Map1.StoreProperty(51, 1)", "Map1.StoreProperty(52, 65538)"}));
  EXPECT_EQ(log.Matching("Map2.StoreProperty(13"),
            (Calls{"Map2.StoreProperty(13, " + std::to_string(FourCC("EFN2")) + ")"}));
  EXPECT_EQ(host.Find("Component3"), nullptr);
}

TEST(Exports, AnswerTheirFixedValuesAndNeverWriteThroughNull)
{
  uint64_t version = 0;
  EXPECT_EQ(ACFGetSDKVersion(&version), kAAX_Success);
  EXPECT_EQ(uint32_t(version), 0x007756BFu);
  EXPECT_EQ(uint32_t(version >> 32), 0x00000201u);

  int token = 0;
  void* factory = &token;
  IACFUnknown* component = reinterpret_cast<IACFUnknown*>(&token);
  EXPECT_EQ(ACFGetClassFactory(nullptr, kIID_ACFUnknown, kIID_ACFUnknown, &factory), kAAX_ErrUnsupported);
  EXPECT_EQ(factory, nullptr);
  EXPECT_EQ(ACFRegisterComponent(nullptr, 7, &component), kAAX_Success);
  EXPECT_EQ(component, nullptr);

  CallLog log;
  RegistrationHost host(log);
  EXPECT_NE(ACFGetSDKVersion(nullptr), kAAX_Success);
  EXPECT_NE(ACFRegisterComponent(nullptr, 7, nullptr), kAAX_Success);
  EXPECT_EQ(ACFGetClassFactory(nullptr, kIID_ACFUnknown, kIID_ACFUnknown, nullptr), kAAX_ErrUnsupported);
  EXPECT_NE(ACFRegisterPlugin(&host, nullptr), kAAX_Success);
  EXPECT_TRUE(log.Calls().empty());
}

TEST(Exports, StartUpAndShutDownTwiceKeepOneHostServiceAtATime)
{
  CallLog log;
  RegistrationHost host(log);
  EXPECT_EQ(ACFStartup(&host), kAAX_Success);
  EXPECT_EQ(ACFStartup(&host), kAAX_Success);
  EXPECT_NE(host.Find("Services1"), nullptr);
  EXPECT_EQ(host.Find("Services2"), nullptr);
  EXPECT_EQ(ACFShutdown(nullptr), kAAX_Success);
  EXPECT_EQ(ACFShutdown(nullptr), kAAX_Success);
  EXPECT_EQ(host.Find("Services1")->RefCount(), 0);
  EXPECT_EQ(host.RefCount(), 0);
}
}  // namespace
