// State streams as VST3 hosts hand them back: to the component, to the controller as the
// component's state, and to the controller's own setState, in any order, with reads that
// come up short. Afterwards every parameter reads back in 0..1, the state saves again and
// blocks come out finite and inside the host's buffers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "effect/TarvexQuoxel.h"
#include "modules/TarvexQuoxelFactory.h"
#include "sdk/vst3/ModuleEntry.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/hosts/vst3/HostDriver.h"
#include "tests/hosts/vst3/MemoryStream.h"

using namespace vst3;

namespace
{
void CheckNoProblems(fakehost::HostDriver& driver)
{
  for (const std::string& p : driver.problems()) std::fprintf(stderr, "host saw: %s\n", p.c_str());
  TQ_FUZZ_CHECK(driver.problems().empty());
}

void Block(FuzzedDataProvider& in, fakehost::HostDriver& driver)
{
  const int32 frames = in.ConsumeIntegralInRange<int32>(1, 512);
  for (int ch = 0; ch < 2; ++ch)
    for (int32 i = 0; i < frames; ++i) driver.inputs().setSample(0, ch, i, (i % 97 < 5 ? 0.8 : 0.05) * (ch ? -1 : 1));
  driver.process(frames);
  CheckNoProblems(driver);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzedDataProvider in(data, size);
  IPluginFactory* factory = GetPluginFactory();
  auto driver = std::make_unique<fakehost::HostDriver>(factory);
  factory->release();
  TQ_FUZZ_CHECK(driver->load(tarvexquoxel::kClassId) == kResultOk);
  TQ_FUZZ_CHECK(driver->arrange({arrangement::kStereo}, {arrangement::kStereo}) == kResultOk);
  fakehost::ProcessSettings settings;
  settings.sampleSize = in.ConsumeBool() ? kSample64 : kSample32;
  TQ_FUZZ_CHECK(driver->start(settings) == kResultOk);

  for (int step = 0; step < 8 && in.remaining_bytes() > 0; ++step)
  {
    const int target = in.ConsumeIntegralInRange(0, 3);
    if (target == 3)
    {
      Block(in, *driver);
      continue;
    }
    fakehost::MemoryStream stream(in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 160)));
    if (in.ConsumeBool()) stream.setReadLimit(in.ConsumeIntegralInRange<int64>(0, 160));
    if (in.ConsumeBool()) stream.setShortReadResult(kResultFalse);
    if (target == 0) driver->component()->setState(&stream);
    else if (target == 1) driver->controller()->setComponentState(&stream);
    else driver->controller()->setState(&stream);

    const int32 count = driver->controller()->getParameterCount();
    for (int32 i = 0; i < count; ++i)
    {
      ParameterInfo info{};
      TQ_FUZZ_CHECK(driver->controller()->getParameterInfo(i, info) == kResultOk);
      const ParamValue v = driver->controller()->getParamNormalized(info.id);
      TQ_FUZZ_CHECK(v >= 0.0 && v <= 1.0);
    }
    // The component keeps no state of its own; the controller's stream carries it.
    fakehost::MemoryStream saved;
    const tresult componentSave = driver->component()->getState(&saved);
    TQ_FUZZ_CHECK(componentSave == kResultOk || componentSave == kNotImplemented);
    fakehost::MemoryStream savedController;
    TQ_FUZZ_CHECK(driver->controller()->getState(&savedController) == kResultOk);
  }
  Block(in, *driver);
  driver->unload();
  CheckNoProblems(*driver);
  return 0;
}
