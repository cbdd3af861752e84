// The state and bank chunks: their bytes, round trips, and damaged data that must change
// nothing.
#include "tests/vst2/Vst2TestSupport.h"

#include <cstring>

using namespace vst2;
using namespace vst2test;

namespace {

using Bytes = std::vector<unsigned char>;

void PutInt(Bytes& b, int32_t v)
{
  for (int i = 0; i < 4; ++i)
    b.push_back(static_cast<unsigned char>(uint32_t(v) >> (8 * i)));
}

void PutDouble(Bytes& b, double v)
{
  unsigned char raw[8];
  EncodeDouble(v, raw);
  b.insert(b.end(), raw, raw + 8);
}

const Bytes kHeader = {'t', 'f', 'f', 'p', 0, 0, 1, 0};

// Everything a chunk could change: every preset's name, flag and state, and the values.
struct Snapshot
{
  explicit Snapshot(TestVstPlug* plug)
  {
    for (int i = 0; i < plug->NPresets(); ++i)
    {
      const PresetSlot* slot = plug->PresetAt(i);
      names.push_back(slot->name);
      flags.push_back(slot->initialised);
      states.emplace_back(slot->state.Data(), slot->state.Data() + slot->state.Size());
    }
    for (int i = 0; i < plug->NParams(); ++i)
      values.push_back(plug->ParamAt(i)->Value());
    current = plug->CurrentPresetIdx();
  }
  bool operator==(const Snapshot& o) const
  {
    return names == o.names && flags == o.flags && states == o.states && values == o.values && current == o.current;
  }

  std::vector<std::string> names;
  std::vector<bool> flags;
  std::vector<Bytes> states;
  std::vector<double> values;
  int current;
};

TEST(Vst2Chunks, StateChunkBytes)
{
  TestHost host;
  host.driver.SetParameter(2, 0.75f);
  Bytes expected = kHeader;
  PutDouble(expected, 0.0);
  PutDouble(expected, 0.0);
  PutDouble(expected, 5.0);
  EXPECT_EQ(host.driver.GetChunk(false), expected);
}

TEST(Vst2Chunks, BankChunkBytes)
{
  PlugShape shape;
  shape.nPresets = 2;
  TestHost host(shape);
  PresetSlot* second = host.plug()->PresetAt(1);
  second->initialised = false;
  second->state.Clear();
  Bytes expected = kHeader;
  PutInt(expected, 5);
  expected.insert(expected.end(), {'F', 'i', 'r', 's', 't', 1});
  for (int i = 0; i < 3; ++i)
    PutDouble(expected, 0.0);
  PutInt(expected, 5);
  expected.insert(expected.end(), {'E', 'm', 'p', 't', 'y', 0});
  EXPECT_EQ(host.driver.GetChunk(true), expected);
}

TEST(Vst2Chunks, BankRoundTripRestoresEveryPresetThenTheCurrentOne)
{
  TestHost source;
  source.driver.SetParameter(2, 1.0f);
  source.driver.Dispatch(effSetProgram, 0, 2);
  source.driver.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Third"));
  source.driver.SetParameter(2, 0.25f);
  source.driver.SetParameter(1, 1.0f);
  PresetSlot* second = source.plug()->PresetAt(1);
  second->initialised = false;
  second->state.Clear();
  const Bytes bank = source.driver.GetChunk(true);

  TestHost target;
  target.driver.Dispatch(effSetProgram, 0, 2);
  Bytes keptState(target.plug()->PresetAt(1)->state.Data(),
                  target.plug()->PresetAt(1)->state.Data() + target.plug()->PresetAt(1)->state.Size());
  ASSERT_TRUE(target.driver.SetChunk(true, bank));
  for (int i : {0, 2})
  {
    EXPECT_STREQ(target.plug()->PresetAt(i)->name, source.plug()->PresetAt(i)->name);
    EXPECT_TRUE(target.plug()->PresetAt(i)->initialised);
  }
  EXPECT_FALSE(target.plug()->PresetAt(1)->initialised);
  EXPECT_EQ(Bytes(target.plug()->PresetAt(1)->state.Data(),
                  target.plug()->PresetAt(1)->state.Data() + target.plug()->PresetAt(1)->state.Size()),
            keptState)
    << "an uninitialised preset keeps what it stored";
  EXPECT_DOUBLE_EQ(target.plug()->ParamAt(2)->Value(), -5.0);
  EXPECT_DOUBLE_EQ(target.plug()->ParamAt(1)->Value(), 1.0);
  target.driver.Dispatch(effSetProgram, 0, 0);
  EXPECT_DOUBLE_EQ(target.plug()->ParamAt(2)->Value(), 10.0);
}

TEST(Vst2Chunks, AcceptedForms)
{
  struct Case
  {
    const char* what;
    int32_t index;
    Bytes data;
    intptr_t answer;
    double param2;
  };
  Bytes bare, magicOnly = {'t', 'f', 'f', 'p'}, oldVersion = {'t', 'f', 'f', 'p', 0, 0, 0, 0};
  for (double v : {0.5, 1.0, 2.0})
  {
    PutDouble(bare, v);
    PutDouble(oldVersion, v);
  }
  Case cases[] = {
    {"bare state", 1, bare, 1, 2.0},
    {"magic only", 1, magicOnly, 0, 0.0},
    {"old version read as a state", 0, oldVersion, 1, 2.0},
    {"bare state as a bank", 0, bare, 1, 2.0},
  };
  for (const Case& c : cases)
  {
    TestHost host;
    EXPECT_EQ(
      host.driver.Dispatch(effSetChunk, c.index, intptr_t(c.data.size()), const_cast<unsigned char*>(c.data.data())),
      c.answer)
      << c.what;
    EXPECT_DOUBLE_EQ(host.plug()->ParamAt(2)->Value(), c.param2) << c.what;
  }
}

TEST(Vst2Chunks, ShortOrDamagedDataChangesNothing)
{
  TestHost host;
  host.driver.SetParameter(2, 0.9f);
  host.driver.Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Kept"));
  const Bytes state = host.driver.GetChunk(false);
  const Bytes bank = host.driver.GetChunk(true);
  const Snapshot before(host.plug());

  for (const Bytes* whole : {&state, &bank})
  {
    for (size_t n = 1; n < whole->size(); ++n)
    {
      Bytes prefix(whole->begin(), whole->begin() + n);
      // Bytes short of the header are a bare state, itself short.
      EXPECT_FALSE(host.driver.SetChunk(whole == &bank, prefix)) << n;
      ASSERT_TRUE(Snapshot(host.plug()) == before) << "prefix of " << n << " bytes";
    }
  }
  // Name lengths that lie.
  for (int32_t length : {-1, 0x7FFFFFF0, 300, INT32_MIN})
  {
    Bytes damaged = kHeader;
    PutInt(damaged, length);
    damaged.insert(damaged.end(), 40, 'n');
    EXPECT_FALSE(host.driver.SetChunk(true, damaged)) << length;
    ASSERT_TRUE(Snapshot(host.plug()) == before) << length;
  }
  // Byte counts that lie: nothing is read.
  for (intptr_t size : {intptr_t(-1), intptr_t(0), intptr_t(IPlugVST::kMaxChunkBytes) + 1, intptr_t(INTPTR_MAX)})
  {
    EXPECT_EQ(host.driver.Dispatch(effSetChunk, 1, size, const_cast<unsigned char*>(state.data())), 0) << size;
    ASSERT_TRUE(Snapshot(host.plug()) == before);
  }
}

TEST(Vst2Chunks, LongNamesAreCutAndTheChunkHandedOutMayComeBack)
{
  TestHost host;
  Bytes bank = kHeader;
  for (int preset = 0; preset < 3; ++preset)
  {
    PutInt(bank, 300);
    bank.insert(bank.end(), 300, 'a' + preset);
    bank.push_back(0);
  }
  ASSERT_TRUE(host.driver.SetChunk(true, bank));
  EXPECT_EQ(std::strlen(host.plug()->PresetAt(2)->name), 255u);

  // The host hands back the very bytes it was given.
  void* data = nullptr;
  const intptr_t size = host.driver.Dispatch(effGetChunk, 1, 0, &data);
  ASSERT_GT(size, 0);
  EXPECT_EQ(host.driver.Dispatch(effSetChunk, 1, size, data), 1);
}

}  // namespace
