// The wrappers over the host's interfaces: every operation reaches the right host operation
// with its arguments unchanged and hands back the host's answer; missing interfaces answer
// their codes without a call; every reference taken is given back once, second interface first.
#include "framework/bindings/aax/AAX_VAutomationDelegate.h"
#include "framework/bindings/aax/AAX_VCollection.h"
#include "framework/bindings/aax/AAX_VController.h"
#include "framework/bindings/aax/AAX_VHostServices.h"
#include "framework/bindings/aax/AAX_VTransport.h"
#include "framework/bindings/aax/AAX_VViewContainer.h"
#include "hosts/aax/InstanceHost.h"
#include "hosts/aax/RegistrationHost.h"
#include "hosts/aax/ViewContainerHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {
using namespace aaxhost;

// One wrapper operation: the host call it must make, how to make it, and its answer when the
// interface it needs is missing.
template <typename W>
struct Route
{
  std::string call;
  std::function<ACFResult(W&)> invoke;
  ACFResult missing;
};

std::string OperationOf(const std::string& call)
{
  return call.substr(0, call.find('('));
}

std::vector<std::string> Operations(const CallLog& log)
{
  std::vector<std::string> calls;
  for (const std::string& call : log.Calls())
    if (call.find(".AddRef(") == std::string::npos && call.find(".Release(") == std::string::npos &&
        call.find(".QueryInterface(") == std::string::npos)
      calls.push_back(call);
  return calls;
}

// Each route, with a distinct scripted answer, makes exactly its call and returns the answer.
template <typename W>
void ExpectRoutes(W& wrapper, CallLog& log, const std::vector<Route<W>>& routes)
{
  ACFResult answer = -100;
  for (const Route<W>& route : routes)
  {
    SCOPED_TRACE(route.call);
    log.FailWith(OperationOf(route.call), --answer);
    log.Clear();
    EXPECT_EQ(route.invoke(wrapper), answer);
    EXPECT_EQ(Operations(log), std::vector<std::string>{route.call});
    log.FailWith(OperationOf(route.call), kAAX_Success);
  }
}

template <typename W>
void ExpectMissing(W& wrapper, CallLog& log, const std::vector<Route<W>>& routes, const std::string& only = "")
{
  for (const Route<W>& route : routes)
  {
    if (route.call.compare(0, only.size(), only) != 0)
      continue;
    SCOPED_TRACE(route.call);
    log.Clear();
    EXPECT_EQ(route.invoke(wrapper), route.missing);
    EXPECT_TRUE(Operations(log).empty());
  }
}

constexpr ACFResult kNo1 = kAAX_ErrMissingInterface;
constexpr ACFResult kNo2 = kAAX_ErrUnsupported;

std::vector<Route<AAX_IController>> ControllerRoutes()
{
  using C = AAX_IController;
  static float rate;
  static uint32_t stem;
  static uint64_t value;
  return {
    {"Controller.Unused3(1)", [](C& c) { return c.Unused3(1); }, kNo1},
    {"Controller.ReadSampleRate(ptr)", [](C& c) { return c.ReadSampleRate(&rate); }, kNo1},
    {"Controller.InStemLayout(ptr)", [](C& c) { return c.InStemLayout(&stem); }, kNo1},
    {"Controller.OutStemLayout(ptr)", [](C& c) { return c.OutStemLayout(&stem); }, kNo1},
    {"Controller.Unused7(7)", [](C& c) { return c.Unused7(7); }, kNo1},
    {"Controller.Unused8(8, 9)", [](C& c) { return c.Unused8(8, 9); }, kNo1},
    {"Controller.Unused9(9)", [](C& c) { return c.Unused9(9); }, kNo1},
    {"Controller.ReportLatency(-3)", [](C& c) { return c.ReportLatency(-3); }, kNo1},
    {"Controller.Unused11(1, 2, 3)", [](C& c) { return c.Unused11(1, 2, 3); }, kNo1},
    {"Controller.SendPacket(5, ptr, 4)", [](C& c) { return c.SendPacket(5, &stem, 4); }, kNo1},
    {"Controller2.Unused20(4, 5, 6)", [](C& c) { return c.Unused20(4, 5, 6); }, kNo2},
    {"Controller.Unused13(1, 3)", [](C& c) { return c.Unused13(1, 3); }, kNo1},
    {"Controller.Unused14(1, 4)", [](C& c) { return c.Unused14(1, 4); }, kNo1},
    {"Controller.Unused15(15)", [](C& c) { return c.Unused15(15); }, kNo1},
    {"Controller.Unused18(18)", [](C& c) { return c.Unused18(18); }, kNo1},
    {"Controller.Unused16(1, 6)", [](C& c) { return c.Unused16(1, 6); }, kNo1},
    {"Controller.Unused17(17)", [](C& c) { return c.Unused17(17); }, kNo1},
    {"Controller.Unused19(1, 9)", [](C& c) { return c.Unused19(1, 9); }, kNo1},
    {"Controller2.Unused21(21)", [](C& c) { return c.Unused21(21); }, kNo2},
    {"Controller2.Unused22(ptr)", [](C& c) { return c.Unused22(&value); }, kNo2},
    {"Controller2.Unused23(23)", [](C& c) { return c.Unused23(23); }, kNo2},
  };
}

std::vector<Route<AAX_IAutomationDelegate>> AutomationRoutes()
{
  using A = AAX_IAutomationDelegate;
  return {
    {"Automation.EnrolParameter(\"1\")", [](A& a) { return a.EnrolParameter("1"); }, kNo1},
    {"Automation.WithdrawParameter(\"1\")", [](A& a) { return a.WithdrawParameter("1"); }, kNo1},
    // Values travel as doubles: 0.1 is not exact in single precision.
    {"Automation.RequestValue(\"2\", 0.10000000000000001)", [](A& a) { return a.RequestValue("2", 0.1); }, kNo1},
    {"Automation.AnnounceValue(\"3\", 0.10000000000000001)", [](A& a) { return a.AnnounceValue("3", 0.1); }, kNo1},
    {"Automation.StartTouch(\"4\")", [](A& a) { return a.StartTouch("4"); }, kNo1},
    {"Automation.StopTouch(\"4\")", [](A& a) { return a.StopTouch("4"); }, kNo1},
    {"Automation.Unused9(1, 2)", [](A& a) { return a.Unused9(1, 2); }, kNo1},
  };
}

std::vector<Route<AAX_ITransport>> TransportRoutes()
{
  using T = AAX_ITransport;
  static double d;
  static int32_t i;
  static bool b;
  static int64_t l;
  return {
    {"Transport.ReadTempo(ptr)", [](T& t) { return t.ReadTempo(&d); }, kNo1},
    {"Transport.ReadTimeSignature(ptr, ptr)", [](T& t) { return t.ReadTimeSignature(&i, &i); }, kNo1},
    {"Transport.ReadPlayState(ptr)", [](T& t) { return t.ReadPlayState(&b); }, kNo1},
    {"Transport.ReadTicks(ptr)", [](T& t) { return t.ReadTicks(&l); }, kNo1},
    {"Transport.ReadCycle(ptr, ptr, ptr)", [](T& t) { return t.ReadCycle(&b, &l, &l); }, kNo1},
    {"Transport.ReadSamplePosition(ptr)", [](T& t) { return t.ReadSamplePosition(&l); }, kNo1},
    {"Transport.Unused9(1, 2, 3)", [](T& t) { return t.Unused9(1, 2, 3); }, kNo1},
    {"Transport.Unused10(1, 2, 3, 4, 5)", [](T& t) { return t.Unused10(1, 2, 3, 4, 5); }, kNo1},
    {"Transport.Unused11(11)", [](T& t) { return t.Unused11(11); }, kNo1},
    {"Transport.Unused12(12)", [](T& t) { return t.Unused12(12); }, kNo1},
    {"Transport2.Unused13(13)", [](T& t) { return t.Unused13(13); }, kNo2},
    {"Transport2.Unused14(1, 4)", [](T& t) { return t.Unused14(1, 4); }, kNo2},
    {"Transport2.Unused15(1, 5)", [](T& t) { return t.Unused15(1, 5); }, kNo2},
    {"Transport2.Unused16(16)", [](T& t) { return t.Unused16(16); }, kNo2},
  };
}

std::vector<Route<AAX_IViewContainer>> ViewRoutes()
{
  using V = AAX_IViewContainer;
  static uint32_t modifiers;
  static const AAX_Point size = {410.0f, 650.0f};
  return {
    {"View.Unused3()", [](V& v) { return v.Unused3(); }, kAAX_Success},
    {"View.CurrentModifiers(ptr)", [](V& v) { return v.CurrentModifiers(&modifiers); }, kNo2},
    {"View.ChangeViewSize(410, 650)", [](V& v) { return v.ChangeViewSize(&size); }, kAAX_Success},
    {"View.ForwardParameterClick(\"1\", 17)", [](V& v) { return v.ForwardParameterClick("1", 17); }, kNo2},
    {"View.Unused8(1, 8)", [](V& v) { return v.Unused8(1, 8); }, kNo2},
    {"View.Unused9(1, 9)", [](V& v) { return v.Unused9(1, 9); }, kNo2},
  };
}

TEST(InstanceWrappers, ForwardEveryOperationUnchanged)
{
  CallLog log;
  InstanceHost host(log);
  {
    AAX_VController controller(&host);
    AAX_VAutomationDelegate automation(&host);
    AAX_VTransport transport(&host);
    ExpectRoutes<AAX_IController>(controller, log, ControllerRoutes());
    ExpectRoutes<AAX_IAutomationDelegate>(automation, log, AutomationRoutes());
    ExpectRoutes<AAX_ITransport>(transport, log, TransportRoutes());
    log.Clear();
  }
  // Second interface before first, each once.
  EXPECT_EQ(log.Matching(""),
            (std::vector<std::string>{"Transport2.Release()", "Transport.Release()", "Automation.Release()",
                                      "Controller2.Release()", "Controller.Release()"}));
  EXPECT_EQ(host.RefCount(), 0);
}

TEST(InstanceWrappers, WithoutHostObjectEveryOperationFailsWithoutACall)
{
  CallLog log;
  AAX_VController controller(nullptr);
  AAX_VAutomationDelegate automation(nullptr);
  AAX_VTransport transport(nullptr);
  ExpectMissing<AAX_IController>(controller, log, ControllerRoutes());
  ExpectMissing<AAX_IAutomationDelegate>(automation, log, AutomationRoutes());
  ExpectMissing<AAX_ITransport>(transport, log, TransportRoutes());
}

TEST(InstanceWrappers, AHostWithoutSecondInterfacesFailsOnlyThoseOperations)
{
  CallLog log;
  InstanceHost host(log);
  host.Withhold(HostControllerInterface2::kIID);
  host.Withhold(HostTransportInterface2::kIID);
  // A host that leaves garbage behind a refused query must not have it used.
  host.LeaveStalePointers(true);
  {
    AAX_VController controller(&host);
    AAX_VTransport transport(&host);
    ExpectMissing<AAX_IController>(controller, log, ControllerRoutes(), "Controller2");
    ExpectMissing<AAX_ITransport>(transport, log, TransportRoutes(), "Transport2");
    uint64_t value = 99;
    EXPECT_EQ(controller.Unused22(&value), kNo2);
    EXPECT_EQ(value, 0u);
    float rate = 0.0f;
    EXPECT_EQ(controller.ReadSampleRate(&rate), kAAX_Success);
    EXPECT_EQ(rate, 48000.0f);
  }
  EXPECT_EQ(host.RefCount(), 0);
}

TEST(ViewContainer, ForwardsAndAnswersItsOwnCodesWhenMissing)
{
  CallLog log;
  ViewContainerHost host(log);
  int window = 0;
  host.window = &window;
  {
    AAX_VViewContainer view(&host);
    ExpectRoutes<AAX_IViewContainer>(view, log, ViewRoutes());
    EXPECT_EQ(view.NativeWindow(), &window);
  }
  EXPECT_EQ(host.RefCount(), 0);

  host.Withhold(HostViewContainerInterface::kIID);
  AAX_VViewContainer lacking(&host);
  ExpectMissing<AAX_IViewContainer>(lacking, log, ViewRoutes());
  EXPECT_EQ(lacking.NativeWindow(), nullptr);
  uint32_t modifiers = 7;
  EXPECT_EQ(lacking.CurrentModifiers(&modifiers), kNo2);
  EXPECT_EQ(modifiers, 7u);
}

std::vector<Route<AAX_IComponentDescriptor>> ComponentRoutes()
{
  using C = AAX_IComponentDescriptor;
  static const uint32_t meters[2] = {1, 2};
  return {
    {"Component1.Unused3()", [](C& c) { return c.Unused3(); }, kNo1},
    {"Component1.DeclareAudioInput(0)", [](C& c) { return c.DeclareAudioInput(0); }, kNo1},
    {"Component1.DeclareAudioOutput(1)", [](C& c) { return c.DeclareAudioOutput(1); }, kNo1},
    {"Component1.DeclareBufferLength(3)", [](C& c) { return c.DeclareBufferLength(3); }, kNo1},
    {"Component1.Unused8(8)", [](C& c) { return c.Unused8(8); }, kNo1},
    {"Component1.Unused9(9)", [](C& c) { return c.Unused9(9); }, kNo1},
    {"Component1.Unused10(10)", [](C& c) { return c.Unused10(10); }, kNo1},
    {"Component1.Unused11(1, 2, 3)", [](C& c) { return c.Unused11(1, 2, 3); }, kNo1},
    {"Component1.DeclareAuxStem(0, 65538, \"Aux\")", [](C& c) { return c.DeclareAuxStem(0, 0x10002, "Aux"); }, kNo1},
    {"Component1.DeclarePrivateData(8, 4, 0)", [](C& c) { return c.DeclarePrivateData(8, 4, 0); }, kNo1},
    {"Component1/2.Unused19(1, 9)", [](C& c) { return c.Unused19(1, 9); }, kNo2},
    {"Component1.Unused14(1, 4)", [](C& c) { return c.Unused14(1, 4); }, kNo1},
    {"Component1.DeclareMeters(9, ptr, 2)", [](C& c) { return c.DeclareMeters(9, meters, 2); }, kNo1},
    {"Component1.DeclareMidiNode(5, 0, \"Midi\", 1)", [](C& c) { return c.DeclareMidiNode(5, 0, "Midi", 1); }, kNo1},
    {"Component1.Unused4(1, 4)", [](C& c) { return c.Unused4(1, 4); }, kNo1},
    {"Component1.RegisterProcessProcedure(ptr, null, null, null, null)",
     [](C& c) { return c.RegisterProcessProcedure([] {}, nullptr, nullptr, nullptr, nullptr); }, kNo1},
    {"Component1.Unused17(1, 2, null, 3, 4, 5)", [](C& c) { return c.Unused17(1, 2, nullptr, 3, 4, 5); }, kNo1},
  };
}

TEST(DescriptionWrappers, ForwardEveryOperationUnchanged)
{
  CallLog log;
  RegistrationHost host(log);
  {
    AAX_VCollection collection(&host);
    AAX_IEffectDescriptor* effect = collection.CreateEffectDescriptor();
    AAX_IComponentDescriptor* component = effect->CreateComponentDescriptor();
    ExpectRoutes(*component, log, ComponentRoutes());

    AAX_IPropertyMap* map = component->CreatePropertyMap();
    log.Clear();
    EXPECT_EQ(component->RegisterProcessProcedure([] {}, map, nullptr, nullptr, nullptr), kAAX_Success);
    EXPECT_EQ(effect->AttachComponent(component), kAAX_Success);
    EXPECT_EQ(collection.RegisterEffect("com.id", effect), kAAX_Success);
    EXPECT_EQ(effect->AppendEffectName("Name"), kAAX_Success);
    EXPECT_EQ(effect->RegisterProcedure([] {}, 1), kAAX_Success);
    EXPECT_EQ(effect->Unused11(1, 2, 3, 4), kAAX_Success);
    EXPECT_EQ(collection.StoreBundleVersion(0x00010004), kAAX_Success);
    EXPECT_EQ(map->StoreProperty(51, 2), kAAX_Success);
    EXPECT_EQ(map->Unused6(1, 2, 3), kAAX_Success);
    // Wrappers hand the host its own interfaces, never ours.
    EXPECT_EQ(Operations(log), (std::vector<std::string>{
                                 "Component1.RegisterProcessProcedure(ptr, Map1, null, null, null)",
                                 "Effect1.AttachComponent(Component1)",
                                 "Collection1.RegisterEffect(\"com.id\", Effect1)",
                                 "Effect1.AppendEffectName(\"Name\")",
                                 "Effect1.RegisterProcedure(ptr, 1)",
                                 "Effect1/2.Unused11(1, 2, 3, 4)",
                                 "Collection1.StoreBundleVersion(65540)",
                                 "Map1.StoreProperty(51, 2)",
                                 "Map1/2.Unused6(1, 2, 3)",
                               }));
  }
  // The collection took everything down with it.
  EXPECT_EQ(host.RefCount(), 0);
  ASSERT_EQ(host.Made().size(), 4u);
  for (const auto& made : host.Made())
    EXPECT_EQ(made->RefCount(), 0) << made->Label();
}

TEST(DescriptionWrappers, MissingInterfacesAnswerTheirCodes)
{
  CallLog log;
  AAX_VCollection orphan(nullptr);
  EXPECT_EQ(orphan.RegisterEffect("id", nullptr), kNo1);
  EXPECT_EQ(orphan.AppendMakerName("m"), kNo1);
  EXPECT_EQ(orphan.AppendBundleName("b"), kNo1);
  EXPECT_EQ(orphan.StoreBundleVersion(1), kNo1);
  AAX_IEffectDescriptor* effect = orphan.CreateEffectDescriptor();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->AppendEffectName("n"), kNo1);
  EXPECT_EQ(effect->Unused11(1, 2, 3, 4), kNo2);
  AAX_IComponentDescriptor* orphanComponent = effect->CreateComponentDescriptor();
  ExpectMissing(*orphanComponent, log, ComponentRoutes());
  uint32_t value = 5;
  EXPECT_FALSE(orphanComponent->CreatePropertyMap()->ReadProperty(11, &value));
  EXPECT_EQ(value, 5u);

  RegistrationHost host(log);
  host.withholdSecondInterfaces = true;
  {
    AAX_VCollection collection(&host);
    AAX_IEffectDescriptor* described = collection.CreateEffectDescriptor();
    AAX_IComponentDescriptor* component = described->CreateComponentDescriptor();
    log.Clear();
    EXPECT_EQ(collection.RegisterEffect("id", nullptr), kNo1);
    EXPECT_EQ(described->Unused11(1, 2, 3, 4), kNo2);
    EXPECT_EQ(component->Unused19(1, 2), kNo2);
    EXPECT_TRUE(Operations(log).empty());
  }
  EXPECT_EQ(host.RefCount(), 0);
}

TEST(DescriptionWrappers, AHostThatHandsOverNoFactoryLeavesNoReferenceBehind)
{
  CallLog log;
  RegistrationHost host(log);
  host.nullFactory = true;
  try
  {
    AAX_VCollection collection(&host);
    FAIL() << "a null factory is an error";
  }
  catch (const ACFError& error)
  {
    EXPECT_EQ(error.Code(), kACF_BadPointer);
  }
  EXPECT_EQ(host.RefCount(), 0);
}

TEST(HostServices, TraceIsFormattedBoundedAndSentToTheOneService)
{
  CallLog log;
  RegistrationHost host(log);
  RegistrationHost second(log);
  EXPECT_EQ(HostTrace(1, "%s", "no services yet"), kAAX_Success);
  SetHostServices(&host);
  SetHostServices(&second);
  log.Clear();
  EXPECT_EQ(HostTrace(0x08000000, "%s: %d", "value", 7), kAAX_Success);
  const std::string longText(2000, 'x');
  HostTrace(2, "%s", longText.c_str());
  EXPECT_EQ(Operations(log), (std::vector<std::string>{"Services1.SendTrace(134217728, \"value: 7\")",
                                                       "Services1.SendTrace(2, \"" + longText.substr(0, 511) + "\")"}));
  SetHostServices(nullptr);
  SetHostServices(nullptr);
  EXPECT_EQ(HostServices(), nullptr);
  EXPECT_EQ(host.Find("Services1")->RefCount(), 0);
  EXPECT_EQ(second.Made().size(), 0u);
}
}  // namespace
