// Chunk records as an AAX host hands them back: any bytes under any size field, read by the
// chunk parser and by the effect-parameters chunk entries of a small plug-in. Nothing is read
// beyond the data, every restored value stays in its parameter's range, and what was read
// is written and read back the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "hosts/aax/InstanceHost.h"
#include "tests/aax/TestPlugParameters.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {
// A record buffer exactly as long as header and data, so ASan sees any read past the data.
std::vector<unsigned char> RecordOf(const std::vector<uint8_t>& data, int32_t size)
{
  std::vector<unsigned char> record(kAAX_ChunkDataOffset + data.size());
  if (!data.empty())
    std::memcpy(record.data() + kAAX_ChunkDataOffset, data.data(), data.size());
  auto* header = reinterpret_cast<AAX_ChunkHeader*>(record.data());
  header->size = size;
  header->chunkId = AAX_CEffectParameters::kControlsChunkId;
  return record;
}

AAX_ChunkHeader* Header(std::vector<unsigned char>& record)
{
  return reinterpret_cast<AAX_ChunkHeader*>(record.data());
}

void CheckParserRoundTrip(const AAX_ChunkHeader* record)
{
  AAX_CChunkDataParser parser;
  parser.ParseChunk(record);
  const int32_t size = parser.MeasureChunkData();
  TQ_FUZZ_CHECK(size >= 4);
  std::vector<unsigned char> written(kAAX_ChunkDataOffset + size_t(size));
  TQ_FUZZ_CHECK(parser.GetChunkData(Header(written)) == kAAX_Success);
  AAX_CChunkDataParser again;
  again.ParseChunk(Header(written));
  TQ_FUZZ_CHECK(again.Entries().size() == parser.Entries().size());
  for (size_t i = 0; i < parser.Entries().size(); ++i)
  {
    TQ_FUZZ_CHECK(again.Entries()[i].type == parser.Entries()[i].type);
    TQ_FUZZ_CHECK(again.Entries()[i].name.SameAs(parser.Entries()[i].name));
    TQ_FUZZ_CHECK(again.Entries()[i].text.SameAs(parser.Entries()[i].text));
  }
}

void CheckValues(TestPlugParameters& plug)
{
  for (const char* id : {"", "1", "2", "3"})
  {
    double normalized = -1.0;
    TQ_FUZZ_CHECK(plug.QueryNormalizedValue(id, &normalized) == kAAX_Success);
    TQ_FUZZ_CHECK(normalized >= 0.0 && normalized <= 1.0);
  }
  double gain = 0.0;
  TQ_FUZZ_CHECK(plug.Param("1")->ReadDouble(gain) && std::isfinite(gain) && gain >= -100.0 && gain <= 100.0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  FuzzedDataProvider in(data, size);
  const bool exactSize = in.ConsumeBool();
  const int32_t claimed = in.ConsumeIntegralInRange<int32_t>(-8, 4096);
  const std::vector<uint8_t> bytes = in.ConsumeRemainingBytes<uint8_t>();
  // The size field may claim less than the host stored, never more: a host's record holds
  // what its size says.
  const int32_t fieldSize = exactSize || claimed > int32_t(bytes.size()) ? int32_t(bytes.size()) : claimed;
  std::vector<unsigned char> record = RecordOf(bytes, fieldSize);
  CheckParserRoundTrip(Header(record));

  aaxhost::CallLog log;
  aaxhost::InstanceHost host(log);
  {
    TestPlugParameters plug;
    TQ_FUZZ_CHECK(plug.StartInstance(&host) == kAAX_Success);
    host.onRequestValue = [&plug](const char* id, double value) { plug.ApplyHostValue(id, value, 0); };
    const ACFResult read = plug.ReadChunk(AAX_CEffectParameters::kControlsChunkId, Header(record));
    TQ_FUZZ_CHECK(read == (fieldSize < 0 ? kAAX_ErrChunkSize : kAAX_Success));
    bool equal = false;
    TQ_FUZZ_CHECK(plug.MatchChunk(Header(record), &equal) == kAAX_Success);
    CheckValues(plug);

    // What the plug-in holds now is what it writes and reads back.
    int32_t measured = 0;
    TQ_FUZZ_CHECK(plug.MeasureChunk(AAX_CEffectParameters::kControlsChunkId, &measured) == kAAX_Success);
    std::vector<unsigned char> saved(kAAX_ChunkDataOffset + size_t(measured));
    TQ_FUZZ_CHECK(plug.WriteChunk(AAX_CEffectParameters::kControlsChunkId, Header(saved)) == kAAX_Success);
    Header(saved)->chunkId = AAX_CEffectParameters::kControlsChunkId;
    TQ_FUZZ_CHECK(plug.ReadChunk(AAX_CEffectParameters::kControlsChunkId, Header(saved)) == kAAX_Success);
    TQ_FUZZ_CHECK(plug.MatchChunk(Header(saved), &equal) == kAAX_Success && equal);
    plug.StopInstance();
  }
  TQ_FUZZ_CHECK(host.RefCount() == 0);
  return 0;
}
