// Failures inside host calls (memory running out, above all) come back to the host as result
// codes and never as exceptions, which would cross into frames of another compiler; a
// failed initialize gives back what it took, since hosts never terminate such an object.
#include "framework/bindings/vst3/IPlugVST3.h"
#include "hosts/vst3/HostApplication.h"
#include "hosts/vst3/MemoryStream.h"
#include "hosts/vst3/ParameterChanges.h"

#include <gtest/gtest.h>

#include <new>

using namespace vst3;

namespace {
// Where the plug-in's own code runs out of memory, chosen per test.
struct Failing
{
  bool hostSetup = false;
  bool parameterChange = false;
  bool restart = false;
  bool writeState = false;
  bool readState = false;
  bool activation = false;
};

class FailingPlug : public IPlugVST3
{
public:
  explicit FailingPlug(const Failing& failing)
    : IPlugVST3(nullptr, 2, "2-2", 1, "Failing", "", "Maker", 0x10000, 0x46616C6C, 0x4D6B7220, 0, false, false, false),
      failing(failing)
  {
    ParamAt(0)->DefineDouble("Gain", 0.0, -12.0, 12.0, 0.5, "dB");
    ParamAt(1)->DefineBool("Hold", false, "", "");
  }

  void HostSetupDone() override { Fail(failing.hostSetup); }
  void ActivationChanged(bool active) override
  {
    Fail(failing.activation);
    IPlugVST3::ActivationChanged(active);
  }
  void HandleParameterChange(int, int) override { Fail(failing.parameterChange); }
  void RestartProcessing() override
  {
    Fail(failing.restart);
    IPlugVST3::RestartProcessing();
  }
  bool WriteState(StateChunk* chunk) override
  {
    Fail(failing.writeState);
    return IPlugVST3::WriteState(chunk);
  }
  int ReadState(const StateChunk* chunk, int startPos) override
  {
    Fail(failing.readState);
    return IPlugVST3::ReadState(chunk, startPos);
  }

  Failing failing;

private:
  static void Fail(bool when)
  {
    if (when)
      throw std::bad_alloc();
  }
};

IComponent* AsComponent(FailingPlug* plug)
{
  return static_cast<IComponent*>(plug);
}

IEditController* Controller(FailingPlug* plug)
{
  return static_cast<IEditController*>(plug);
}
}  // namespace

TEST(NoThrow, AFailedInitializeAnswersOutOfMemoryAndGivesBackWhatItTook)
{
  Failing failing;
  failing.hostSetup = true;
  auto* plug = new FailingPlug(failing);
  vst3host::HostApplication host;
  EXPECT_EQ(plug->initialize(&host), kOutOfMemory);
  EXPECT_EQ(host.heldByPlugin(), 0) << "the host never terminates it, so the context is released now";
  EXPECT_EQ(plug->getParameterCount(), 0);
  EXPECT_EQ(plug->getBusCount(kAudio, kInput), 0);

  // Memory back: the same object initializes normally.
  plug->failing = {};
  ASSERT_EQ(plug->initialize(&host), kResultOk);
  EXPECT_EQ(plug->getParameterCount(), 4);  // preset, bypass and the two parameters
  EXPECT_EQ(host.heldByPlugin(), 1);

  // A second initialize is refused before it does anything, so nothing inside can fail or
  // undo the first one.
  plug->failing.hostSetup = true;
  EXPECT_EQ(plug->initialize(&host), kResultFalse);
  EXPECT_EQ(plug->getParameterCount(), 4);
  EXPECT_EQ(host.heldByPlugin(), 1);

  plug->failing = {};
  EXPECT_EQ(plug->terminate(), kResultOk);
  EXPECT_EQ(host.heldByPlugin(), 0);
  EXPECT_EQ(AsComponent(plug)->release(), 0u);
}

TEST(NoThrow, ProcessingAndStateCallsAnswerResultCodes)
{
  auto* plug = new FailingPlug({});
  ASSERT_EQ(plug->initialize(nullptr), kResultOk);

  ProcessSetup setup{kRealtime, kSample32, 256, 48000.0};
  plug->failing.restart = true;
  EXPECT_EQ(plug->setupProcessing(setup), kOutOfMemory);
  plug->failing.restart = false;
  ASSERT_EQ(plug->setupProcessing(setup), kResultOk);
  plug->failing.activation = true;
  EXPECT_EQ(plug->setActive(1), kOutOfMemory);
  plug->failing.activation = false;
  EXPECT_EQ(plug->setActive(1), kResultOk);

  // A parameter change that fails inside: the call answers, and the lock it held is free.
  vst3host::ParameterChanges changes;
  changes.add(0, 0, 0.75);
  ProcessData data{};
  data.inputParameterChanges = &changes;
  plug->failing.parameterChange = true;
  EXPECT_EQ(plug->process(data), kOutOfMemory);
  plug->failing.parameterChange = false;
  EXPECT_EQ(plug->process(data), kResultOk);

  vst3host::MemoryStream saved;
  plug->failing.writeState = true;
  EXPECT_EQ(Controller(plug)->getState(&saved), kOutOfMemory);
  plug->failing.writeState = false;
  ASSERT_EQ(Controller(plug)->getState(&saved), kResultOk);
  saved.rewind();
  plug->failing.readState = true;
  EXPECT_EQ(Controller(plug)->setState(&saved), kOutOfMemory);
  plug->failing.readState = false;
  saved.rewind();
  EXPECT_EQ(Controller(plug)->setState(&saved), kResultOk);
  EXPECT_EQ(saved.heldByPlugin(), 0);

  EXPECT_EQ(plug->terminate(), kResultOk);
  EXPECT_EQ(AsComponent(plug)->release(), 0u);
}
