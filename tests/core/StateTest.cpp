#include "tests/core/FailingAllocator.h"
#include "tests/core/TestPlug.h"
#include "tests/core/RecordingEditor.h"
#include "platform/ScopedLock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <thread>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Nine parameters shaped like the effect's, two of them bools.
void DefineNine(IPlugBase& plug)
{
  const struct
  {
    double def, min, max;
  } ranges[] = {{0, -100, 100}, {0, -12, 12}, {1, 0, 1},   {20, 20, 400}, {30, 10, 100},
                {50, 10, 500},  {1, 0, 1},    {12, 1, 12}, {-12, -12, -1}};
  for (int i = 0; i < 9; ++i)
  {
    if (i == 2 || i == 6)
      plug.ParamAt(i)->DefineBool("b", true);
    else
      plug.ParamAt(i)->DefineDouble("d", ranges[i].def, ranges[i].min, ranges[i].max, 1, "", "", 1.0);
  }
}

std::vector<double> SetSome(IPlugBase& plug)
{
  const std::vector<double> values = {-37.0, 4.0, 0.0, 123.0, 77.0, 499.0, 1.0, 3.0, -5.0};
  for (int i = 0; i < 9; ++i)
    plug.ParamAt(i)->SetPlain(values[i]);
  return values;
}

TEST(State, RoundTripIsNineLittleEndianDoublesRestoredBeforeAnyHandler)
{
  TestPlug plug(PlugArgs(9)), other(PlugArgs(9));
  DefineNine(plug);
  DefineNine(other);
  std::vector<double> values = SetSome(plug);
  plug.ParamAt(1)->SetPlain(-0.0);
  values[1] = -0.0;
  StateChunk chunk;
  ASSERT_TRUE(plug.WriteState(&chunk));
  ASSERT_EQ(chunk.Size(), 72);
  const unsigned char minus37[8] = {0, 0, 0, 0, 0, 0x80, 0x42, 0xC0};  // 0xC042800000000000
  EXPECT_EQ(std::memcmp(chunk.Data(), minus37, 8), 0);

  EXPECT_EQ(other.ReadState(&chunk, 0), 72);
  EXPECT_EQ(other.Values(), values);
  EXPECT_TRUE(std::signbit(other.ParamAt(1)->Value()));
  ASSERT_EQ(other.changes.size(), 9u);
  for (int i = 0; i < 9; ++i)
  {
    EXPECT_EQ(other.changes[i].index, i);
    EXPECT_EQ(other.changes[i].cause, IPlugBase::kCauseStateLoad);
    EXPECT_EQ(other.changes[i].values, values);
  }

  StateChunk wrapped;  // the reader starts where it is told
  wrapped.PutInt32(0x12345678);
  plug.WriteState(&wrapped);
  EXPECT_EQ(other.ReadState(&wrapped, 4), 76);
}

TEST(State, DamagedValuesNeverReachTheParameters)
{
  TestPlug plug(PlugArgs(9));
  DefineNine(plug);
  StateChunk chunk;
  for (double v : {5000.0, kNaN, 0.5, -kInf, kInf, 10.0, 5.0, 1.5, -1e300})
    chunk.PutDouble(v);
  SetSome(plug);
  EXPECT_EQ(plug.ReadState(&chunk, 0), 72);
  // Clamped; NaN takes the default; stored values are not snapped to the step.
  EXPECT_EQ(plug.Values(), (std::vector<double>{100.0, 0.0, 0.5, 20.0, 100.0, 10.0, 1.0, 1.5, -12.0}));

  // 20 bytes: two values and half of a third. Only whole values are applied, yet every
  // handler runs and the read reports the shortage.
  StateChunk shortChunk;
  shortChunk.PutDouble(-50.0);
  shortChunk.PutDouble(6.0);
  shortChunk.PutInt32(0x7FF80000);
  std::vector<double> expected = SetSome(plug);
  expected[0] = -50.0;
  expected[1] = 6.0;
  plug.changes.clear();
  EXPECT_EQ(plug.ReadState(&shortChunk, 0), -1);
  EXPECT_EQ(plug.Values(), expected);
  EXPECT_EQ(plug.ReadState(&shortChunk, -1), -1);  // a failed earlier read passes through
  EXPECT_EQ(plug.ReadState(&shortChunk, -7), -7);
  EXPECT_EQ(plug.ReadState(nullptr, 0), -1);
  EXPECT_EQ(plug.Values(), expected);
  EXPECT_EQ(plug.changes.size(), 36u);
}

TEST(State, FailedWriteIsReportedAndWritesNothingPastTheEnd)
{
  TestPlug plug(PlugArgs(9));
  DefineNine(plug);
  StateChunk chunk;
  chunk.Resize(8);
  ASSERT_TRUE(chunk.Resize(4000));  // the first page exactly full
  {
    FailingAllocator fail(0);
    EXPECT_FALSE(plug.WriteState(&chunk));
  }
  EXPECT_EQ(chunk.Size(), 4000);
  EXPECT_FALSE(plug.WriteState(nullptr));
}

TEST(State, RestoreIsNeverSeenHalfDoneByAnotherThread)
{
  // The first handler lets another thread try to take the plug-in lock; it must get in
  // only after the whole restore.
  class SlowPlug : public TestPlug
  {
  public:
    using TestPlug::TestPlug;
    void HandleParameterChange(int idx, int cause) override
    {
      TestPlug::HandleParameterChange(idx, cause);
      if (idx == 0 && !other.joinable())
      {
        other = std::thread([this] {
          ScopedLock lock(Mutex());
          seenChanges = static_cast<int>(changes.size());
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    }
    std::thread other;
    int seenChanges = -1;
  };
  SlowPlug plug(PlugArgs(9));
  StateChunk chunk;
  plug.WriteState(&chunk);
  plug.ReadState(&chunk, 0);
  plug.other.join();
  EXPECT_EQ(plug.seenChanges, 9);
}

TEST(State, CompareInSinglePrecisionWithinTheRecord)
{
  TestPlug plug(PlugArgs(2)), empty(PlugArgs(0));
  plug.ParamAt(0)->DefineDouble("a", 0.1, 0, 1, 0.001, "", "", 1.0);
  plug.ParamAt(1)->DefineDouble("b", 0.5, 0, 1, 0.001, "", "", 1.0);
  unsigned char record[8 * 3];
  EncodeDouble(99.0, record);
  EncodeDouble(0.1 + 1e-7, record + 8);
  EncodeDouble(0.5, record + 16);
  EXPECT_TRUE(plug.StateMatches(record, 3, 1));
  EXPECT_FALSE(plug.StateMatches(record, 2, 1));  // too short to hold both values
  EXPECT_FALSE(plug.StateMatches(nullptr, 3, 1));
  EncodeDouble(0.1 + 1e-4, record + 8);
  EXPECT_FALSE(plug.StateMatches(record, 3, 1));
  EncodeDouble(0.1, record + 8);
  EncodeDouble(kNaN, record + 16);
  EXPECT_FALSE(plug.StateMatches(record, 3, 1));
  EXPECT_TRUE(empty.StateMatches(nullptr, 0, 0));
}

TEST(Presets, FillNameLoadAndModify)
{
  TestPlug plug(PlugArgs(9, "1-1", 5));
  DefineNine(plug);
  plug.FillFreePresets(nullptr, 2);
  EXPECT_STREQ(plug.PresetNameAt(1), "Empty");
  EXPECT_STREQ(plug.PresetNameAt(2), "empty");

  plug.PresetAt(0)->SetName("my user preset");
  plug.PresetAt(1)->SetName("user preset 1");
  const std::vector<double> values = SetSome(plug);
  RecordingEditor* editor = new RecordingEditor();
  plug.AttachEditor(editor);
  editor->pushes.clear();
  EXPECT_TRUE(plug.LoadPreset(3));  // an empty slot becomes a user preset of the current state
  EXPECT_STREQ(plug.PresetNameAt(3), "user preset 3");
  EXPECT_EQ(plug.CurrentPresetIdx(), 3);

  editor->pushes.clear();
  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(plug.ParamAt(3)->Value(), 20.0);
  ASSERT_EQ(editor->pushes.size(), 9u);
  EXPECT_EQ(editor->pushes[3].value, 20.0);
  EXPECT_FALSE(plug.LoadPreset(5));
  EXPECT_FALSE(plug.LoadPreset(-1));

  // Modify replaces the state rather than appending, and renames only when given a name.
  for (int i = 0; i < 9; ++i)
    plug.ParamAt(i)->SetPlain(values[i]);
  plug.ModifyCurrentPreset("");
  EXPECT_EQ(plug.PresetAt(0)->state.Size(), 72);
  EXPECT_STREQ(plug.PresetNameAt(0), "my user preset");
  plug.ModifyCurrentPreset(std::string(400, 'p').c_str());
  EXPECT_EQ(std::string(plug.PresetNameAt(0)), std::string(255, 'p'));
  plug.ParamAt(0)->SetPlain(0.0);
  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(plug.ParamAt(0)->Value(), values[0]);
}

TEST(Presets, DamagedOrUnwritablePresetChangesNothing)
{
  TestPlug plug(PlugArgs(9, "1-1", 2));
  DefineNine(plug);
  plug.FillEmptyPresets();
  ASSERT_TRUE(plug.PresetAt(1)->state.Resize(20));
  const std::vector<double> before = SetSome(plug);
  RecordingEditor* editor = new RecordingEditor();
  plug.AttachEditor(editor);
  editor->pushes.clear();
  EXPECT_FALSE(plug.LoadPreset(1));
  EXPECT_EQ(plug.Values(), before);
  EXPECT_TRUE(plug.changes.empty());
  EXPECT_TRUE(editor->pushes.empty());

  TestPlug tight(PlugArgs(9, "1-1", 1));
  {
    FailingAllocator fail(0);
    tight.FillFreePresets("x", 1);
    EXPECT_FALSE(tight.LoadPreset(0));
  }
  EXPECT_FALSE(tight.PresetAt(0)->initialised);
  EXPECT_STREQ(tight.PresetNameAt(0), "empty");

  // Storing over a preset when memory runs out keeps what it held.
  plug.ModifyCurrentPreset();
  const std::vector<double> stored = plug.Values();
  for (int i = 0; i < 9; ++i)
    plug.ParamAt(i)->SetPlain(plug.ParamAt(i)->Min());
  {
    FailingAllocator fail(0);
    plug.ModifyCurrentPreset("renamed");
  }
  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(plug.Values(), stored);
  EXPECT_STREQ(plug.PresetNameAt(0), "Empty");
}

// Host data with random truncations and bytes never puts a NaN or an out-of-range value
// into a parameter, never changes one it did not read whole, and (under the sanitizers)
// never touches memory it does not own.
TEST(State, FuzzedRestoresKeepEveryParameterValid)
{
  TestPlug plug(PlugArgs(9));
  DefineNine(plug);
  SetSome(plug);
  StateChunk good;
  ASSERT_TRUE(plug.WriteState(&good));
  std::mt19937 random(20261208);
  for (int iteration = 0; iteration < 10000; ++iteration)
  {
    StateChunk chunk;
    const int length = std::uniform_int_distribution<int>(0, 90)(random);
    for (int i = 0; i < length; ++i)
    {
      unsigned char byte = i < good.Size() ? good.Data()[i] : 0;
      if (random() % 8 == 0)
        byte = static_cast<unsigned char>(random());
      chunk.PutBytes(&byte, 1);
    }
    const int start = std::uniform_int_distribution<int>(-2, 20)(random);
    const std::vector<double> before = plug.Values();
    const int next = plug.ReadState(&chunk, start);
    const int whole = start < 0 ? 0 : std::clamp((length - start) / 8, 0, 9);
    ASSERT_EQ(next, start < 0 ? start : (whole == 9 ? start + 72 : -1));
    for (int i = 0; i < 9; ++i)
    {
      const IPlugParameter* p = plug.ParamAt(i);
      ASSERT_TRUE(p->Value() >= p->Min() && p->Value() <= p->Max()) << p->Value();
      if (i >= whole)
      {
        ASSERT_EQ(p->Value(), before[i]) << "parameter " << i << " changed without being read";
      }
    }
    plug.changes.clear();
  }
}
}  // namespace
