// State streams as VST3 hosts hand them back: to the component, to the controller as the
// component's state, and to the controller's own setState, in any order, with reads that
// come up short. Afterwards every parameter reads back in 0..1, the state saves again and
// blocks come out finite and inside the host's buffers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "effect/TarvexQuoxel.h"
#include "modules/TarvexQuoxelFactory.h"
#include "sdk/vst3/ModuleEntry.h"
#include "tests/fuzz/FuzzCheck.h"
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/MemoryStream.h"

using namespace vst3;

namespace {
void CheckNoProblems(vst3host::HostDriver& driver)
{
  for (const std::string& p : driver.problems())
    std::fprintf(stderr, "host saw: %s\n", p.c_str());
  TQ_FUZZ_CHECK(driver.problems().empty());
}

double Wild(FuzzedDataProvider& in)
{
  switch (in.ConsumeIntegralInRange(0, 4))
  {
  case 0:
    return std::numeric_limits<double>::quiet_NaN();
  case 1:
    return in.PickValueInArray<double>({INFINITY, -INFINITY, 1e300, -1e300, 4.9e-324, -0.0, 1.0000001});
  case 2:
    return in.ConsumeFloatingPoint<double>();
  default:
    return in.ConsumeProbability<double>();
  }
}

ParamID AnyId(FuzzedDataProvider& in, IEditController& controller)
{
  if (in.ConsumeIntegralInRange(0, 4) == 0)
    return in.ConsumeIntegral<ParamID>();
  ParameterInfo info{};
  const int32 count = controller.getParameterCount();
  if (controller.getParameterInfo(in.ConsumeIntegralInRange<int32>(0, count), info) != kResultOk)
    return 0;
  return info.id;
}

// The controller's parameter calls with host values and texts: strings in and out are
// exactly 128 units, the input one not always terminated.
void ParameterCalls(FuzzedDataProvider& in, IEditController& controller)
{
  const ParamID id = AnyId(in, controller);
  switch (in.ConsumeIntegralInRange(0, 3))
  {
  case 0:
  {
    controller.setParamNormalized(id, Wild(in));
    break;
  }
  case 1:
  {
    auto text = std::make_unique<TChar[]>(128);
    controller.getParamStringByValue(id, Wild(in), text.get());
    break;
  }
  case 2:
  {
    auto text = std::make_unique<TChar[]>(128);
    const std::string bytes = in.ConsumeRandomLengthString(140);
    const bool terminated = in.ConsumeIntegralInRange(0, 7) != 0;
    size_t n = 0;
    for (; n < 128 && n < bytes.size(); ++n)
      text[n] = static_cast<TChar>(static_cast<unsigned char>(bytes[n]));
    if (terminated && n == 128)
      n = 127;
    if (terminated)
      text[n] = 0;
    else
      for (; n < 128; ++n)
        text[n] = u'9';
    ParamValue value = 0.25;
    if (controller.getParamValueByString(id, text.get(), value) == kResultOk)
      TQ_FUZZ_CHECK(value >= 0.0 && value <= 1.0);
    break;
  }
  default:
  {
    // Unknown ids pass the value through; known ones answer finite values for finite ones.
    const ParamValue normalIn = Wild(in), plainIn = Wild(in);
    const ParamValue plain = controller.normalizedParamToPlain(id, normalIn);
    const ParamValue normal = controller.plainParamToNormalized(id, plainIn);
    TQ_FUZZ_CHECK(!std::isfinite(normalIn) || std::isfinite(plain));
    TQ_FUZZ_CHECK(!std::isfinite(plainIn) || std::isfinite(normal));
    break;
  }
  }
}

void Block(FuzzedDataProvider& in, vst3host::HostDriver& driver)
{
  const int32 frames = in.ConsumeIntegralInRange<int32>(1, 512);
  for (int ch = 0; ch < 2; ++ch)
    for (int32 i = 0; i < frames; ++i)
      driver.inputs().setSample(0, ch, i, (i % 97 < 5 ? 0.8 : 0.05) * (ch ? -1 : 1));
  driver.process(frames);
  CheckNoProblems(driver);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzedDataProvider in(data, size);
  IPluginFactory* factory = GetPluginFactory();
  auto driver = std::make_unique<vst3host::HostDriver>(factory);
  factory->release();
  TQ_FUZZ_CHECK(driver->load(tarvexquoxel::kClassId) == kResultOk);
  TQ_FUZZ_CHECK(driver->arrange({arrangement::kStereo}, {arrangement::kStereo}) == kResultOk);
  vst3host::ProcessSettings settings;
  settings.sampleSize = in.ConsumeBool() ? kSample64 : kSample32;
  TQ_FUZZ_CHECK(driver->start(settings) == kResultOk);

  for (int step = 0; step < 12 && in.remaining_bytes() > 0; ++step)
  {
    const int target = in.ConsumeIntegralInRange(0, 4);
    if (target == 3)
    {
      Block(in, *driver);
      continue;
    }
    if (target == 4)
    {
      ParameterCalls(in, *driver->controller());
      continue;
    }
    vst3host::MemoryStream stream(in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 160)));
    int64 readable = static_cast<int64>(stream.bytes().size());
    if (in.ConsumeBool())
    {
      const int64 limit = in.ConsumeIntegralInRange<int64>(0, 160);
      stream.setReadLimit(limit);
      readable = std::min(readable, limit);
    }
    if (in.ConsumeBool())
      stream.setShortReadResult(kResultFalse);
    vst3host::MemoryStream before;
    TQ_FUZZ_CHECK(driver->controller()->getState(&before) == kResultOk);
    tresult r;
    if (target == 0)
      r = driver->component()->setState(&stream);
    else if (target == 1)
      r = driver->controller()->setComponentState(&stream);
    else
      r = driver->controller()->setState(&stream);
    // A stream not even one value long, or one the call does not take, changes nothing (longer
    // short streams restore the values that arrived whole).
    if (r == kNotImplemented || (r != kResultOk && readable < 8))
    {
      vst3host::MemoryStream after;
      TQ_FUZZ_CHECK(driver->controller()->getState(&after) == kResultOk);
      TQ_FUZZ_CHECK(after.bytes() == before.bytes());
    }

    const int32 count = driver->controller()->getParameterCount();
    for (int32 i = 0; i < count; ++i)
    {
      ParameterInfo info{};
      TQ_FUZZ_CHECK(driver->controller()->getParameterInfo(i, info) == kResultOk);
      const ParamValue v = driver->controller()->getParamNormalized(info.id);
      TQ_FUZZ_CHECK(v >= 0.0 && v <= 1.0);
    }
    // The component keeps no state of its own; the controller's stream carries it.
    vst3host::MemoryStream saved;
    const tresult componentSave = driver->component()->getState(&saved);
    TQ_FUZZ_CHECK(componentSave == kResultOk || componentSave == kNotImplemented);
    vst3host::MemoryStream savedController;
    TQ_FUZZ_CHECK(driver->controller()->getState(&savedController) == kResultOk);
  }
  Block(in, *driver);
  driver->unload();
  CheckNoProblems(*driver);
  return 0;
}
