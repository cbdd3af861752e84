// The AAX plug-in as a host drives it: values for any identifier (NaN and out-of-range ones
// among them), chunk records with any claimed size, and blocks of any length with the stem
// queries failing or not. Parameters stay in range, a refused chunk changes nothing, and the
// output stays finite.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "framework/bindings/aax/ACFModuleEntry.h"
#include "framework/bindings/aax/IPlugAAX.h"
#include "hosts/aax/HostDriver.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {
using Bytes = std::vector<unsigned char>;

std::vector<double> Values(const IPlugAAX* plug)
{
  std::vector<double> values;
  for (int i = 0; i < plug->NParams(); ++i)
    values.push_back(plug->ParamAt(i)->Value());
  return values;
}

void ApplyValue(FuzzedDataProvider& in, AAX_IACFEffectParameters* host)
{
  static const char* const kIds[] = {"", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "0", "x"};
  double value = 0.0;
  const Bytes raw = in.ConsumeBytes<unsigned char>(sizeof value);
  if (!raw.empty())
    std::memcpy(&value, raw.data(), raw.size());
  host->ApplyHostValue(kIds[in.ConsumeIntegralInRange<size_t>(0, 12)], value, 0);
}

void HandChunk(FuzzedDataProvider& in, AAX_IACFEffectParameters* host, IPlugAAX* plug)
{
  const Bytes data = in.ConsumeBytes<unsigned char>(in.ConsumeIntegralInRange<size_t>(0, 100));
  Bytes record(kAAX_ChunkDataOffset + data.size());
  auto* header = reinterpret_cast<AAX_ChunkHeader*>(record.data());
  std::copy(data.begin(), data.end(), record.begin() + kAAX_ChunkDataOffset);
  // The host's size field may claim less than it holds, or be negative.
  header->size =
    in.ConsumeBool() ? int32_t(data.size()) : in.ConsumeIntegralInRange<int32_t>(-100, int32_t(data.size()));
  header->chunkId = in.ConsumeBool() ? uint32_t(plug->UniqueId()) : in.ConsumeIntegral<uint32_t>();
  bool equal = false;
  TQ_FUZZ_CHECK(host->MatchChunk(header, &equal) == kAAX_Success);
  const std::vector<double> before = Values(plug);
  if (host->ReadChunk(header->chunkId, header) != kAAX_Success)
    TQ_FUZZ_CHECK(Values(plug) == before);
}

void RenderBlock(FuzzedDataProvider& in, aaxhost::HostDriver& driver)
{
  for (const char* stem : {"Controller.InStemLayout", "Controller.OutStemLayout"})
    driver.Log().FailWith(stem, in.ConsumeIntegralInRange(0, 3) == 0 ? kAAX_ErrMissingInterface : kAAX_Success);
  const size_t frames = in.ConsumeIntegralInRange<size_t>(0, 3000);
  aaxhost::HostDriver::Channels signal(2, std::vector<double>(frames));
  for (auto& channel : signal)
    for (size_t i = 0; i < frames; ++i)
      channel[i] = std::sin(0.03 * double(i));
  for (const auto& channel : driver.Render(signal, int(frames > 0 ? frames : 1)))
    for (double sample : channel)
      TQ_FUZZ_CHECK(std::isfinite(sample));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzedDataProvider in(data, size);
  aaxhost::HostDriver driver({ACFStartup, ACFShutdown, ACFCanUnloadNow, ACFGetSDKVersion, ACFRegisterPlugin,
                              ACFRegisterComponent, ACFGetClassFactory});
  std::string error;
  TQ_FUZZ_CHECK(driver.Register(error) && driver.Open(44100.0, in.ConsumeBool() ? 1 : 2, error));
  IPlugAAX* plug = dynamic_cast<IPlugAAX*>(AAX_CIPlugParameters::FromInterface(driver.Parameters()));
  while (in.remaining_bytes() > 0)
  {
    switch (in.ConsumeIntegralInRange(0, 2))
    {
    case 0:
      ApplyValue(in, driver.Parameters());
      break;
    case 1:
      HandChunk(in, driver.Parameters(), plug);
      break;
    default:
      RenderBlock(in, driver);
      break;
    }
    for (int i = 0; i < plug->NParams(); ++i)
    {
      const IPlugParameter* p = plug->ParamAt(i);
      TQ_FUZZ_CHECK(p->Value() >= p->Min() && p->Value() <= p->Max());
    }
  }
  driver.Close();
  TQ_FUZZ_CHECK(driver.LiveObjects() == 0);
  return 0;
}
