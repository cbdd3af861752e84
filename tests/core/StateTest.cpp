#include "tests/core/FailingAllocator.h"
#include "tests/core/TestPlug.h"
#include "tests/hosts/RecordingEditor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace
{
// Nine parameters shaped like the effect's: ranges with negative and positive parts,
// two bools.
void DefineNine(IPlugBase& plug)
{
  plug.ParamAt(0)->DefineDouble("Level", 0, -100, 100, 1, "%", "", 1.0);
  plug.ParamAt(1)->DefineDouble("Out", 0, -12, 12, 1, "dB", "", 1.0);
  plug.ParamAt(2)->DefineBool("Auto", true);
  plug.ParamAt(3)->DefineDouble("HP", 20, 20, 400, 1, "Hz", "", 1.0);
  plug.ParamAt(4)->DefineDouble("Len", 30, 10, 100, 1, "ms", "", 1.0);
  plug.ParamAt(5)->DefineDouble("Rel", 50, 10, 500, 1, "ms", "", 1.0);
  plug.ParamAt(6)->DefineBool("AutoRel", true);
  plug.ParamAt(7)->DefineDouble("Up", 12, 1, 12, 1, "dB", "", 1.0);
  plug.ParamAt(8)->DefineDouble("Low", -12, -12, -1, 1, "dB", "", 1.0);
}

std::vector<double> SetSome(IPlugBase& plug)
{
  const double values[] = { -37.0, 4.0, 0.0, 123.0, 77.0, 499.0, 1.0, 3.0, -5.0 };
  for (int i = 0; i < 9; ++i)
    plug.ParamAt(i)->SetPlain(values[i]);
  return std::vector<double>(values, values + 9);
}

TEST(State, RoundTripIsNineLittleEndianDoubles)
{
  TestPlug plug(PlugArgs(9));
  DefineNine(plug);
  const std::vector<double> values = SetSome(plug);
  plug.ParamAt(1)->SetPlain(-0.0);
  StateChunk chunk;
  ASSERT_TRUE(plug.WriteState(&chunk));
  ASSERT_EQ(chunk.Size(), 72);
  // -37.0 is 0xC042800000000000.
  const unsigned char first[8] = { 0, 0, 0, 0, 0, 0x80, 0x42, 0xC0 };
  EXPECT_EQ(std::memcmp(chunk.Data(), first, 8), 0);
  EXPECT_TRUE(std::signbit(DecodeDouble(chunk.Data() + 8)));

  TestPlug other(PlugArgs(9));
  DefineNine(other);
  EXPECT_EQ(other.ReadState(&chunk, 0), 72);
  for (int i = 0; i < 9; ++i)
  {
    EXPECT_EQ(other.ParamAt(i)->Value(), i == 1 ? -0.0 : values[i]);
  }
  EXPECT_TRUE(std::signbit(other.ParamAt(1)->Value()));
  ASSERT_EQ(other.changes.size(), 9u);
  for (int i = 0; i < 9; ++i)
  {
    EXPECT_EQ(other.changes[i].index, i);
    EXPECT_EQ(other.changes[i].cause, IPlugBase::kCauseStateLoad);
    EXPECT_EQ(other.changes[i].values, other.Values()); // all values in place before any handler
  }

  // State after a header: the reader starts where it is told.
  StateChunk wrapped;
  wrapped.PutInt32(0x12345678);
  plug.WriteState(&wrapped);
  EXPECT_EQ(other.ReadState(&wrapped, 4), 76);
}

TEST(State, OutOfRangeAndNaNValuesNeverReachTheParameters)
{
  TestPlug plug(PlugArgs(9));
  DefineNine(plug);
  StateChunk chunk;
  const double stored[] = { 5000.0, std::numeric_limits<double>::quiet_NaN(), 0.5,
                            -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
                            10.0, 5.0, 1.5, -1e300 };
  for (double v : stored)
    chunk.PutDouble(v);
  SetSome(plug);
  EXPECT_EQ(plug.ReadState(&chunk, 0), 72);
  EXPECT_EQ(plug.ParamAt(0)->Value(), 100.0);
  EXPECT_EQ(plug.ParamAt(1)->Value(), 0.0); // NaN: the default
  EXPECT_EQ(plug.ParamAt(2)->Value(), 0.5); // stored values are not snapped to the step
  EXPECT_EQ(plug.ParamAt(3)->Value(), 20.0);
  EXPECT_EQ(plug.ParamAt(4)->Value(), 100.0);
  EXPECT_EQ(plug.ParamAt(6)->Value(), 1.0);
  EXPECT_EQ(plug.ParamAt(8)->Value(), -12.0);
}

TEST(State, ShortDataChangesOnlyWhatWasReadWhole)
{
  TestPlug plug(PlugArgs(9));
  DefineNine(plug);
  StateChunk chunk;
  chunk.PutDouble(-50.0);
  chunk.PutDouble(6.0);
  chunk.PutInt32(0x7FF80000); // 4 bytes of a third value
  ASSERT_EQ(chunk.Size(), 20);
  const std::vector<double> before = SetSome(plug);
  EXPECT_EQ(plug.ReadState(&chunk, 0), -1);
  std::vector<double> expected = before;
  expected[0] = -50.0;
  expected[1] = 6.0;
  EXPECT_EQ(plug.Values(), expected);
  EXPECT_EQ(plug.changes.size(), 9u); // every handler still runs

  plug.changes.clear();
  EXPECT_EQ(plug.ReadState(&chunk, -1), -1); // a failed earlier read passes through
  EXPECT_EQ(plug.ReadState(&chunk, -7), -7);
  EXPECT_EQ(plug.ReadState(nullptr, 0), -1);
  EXPECT_EQ(plug.Values(), expected);
  EXPECT_EQ(plug.changes.size(), 27u);
}

TEST(State, FailedWriteIsReportedAndWritesNothingPastTheEnd)
{
  TestPlug plug(PlugArgs(9));
  DefineNine(plug);
  StateChunk chunk;
  chunk.PutInt32(1);
  ASSERT_TRUE(chunk.Resize(3996 + 4)); // fill the first page exactly
  {
    FailingAllocator fail(0);
    EXPECT_FALSE(plug.WriteState(&chunk));
  }
  EXPECT_EQ(chunk.Size(), 4000);
  EXPECT_FALSE(plug.WriteState(nullptr));
}

TEST(State, CompareInSinglePrecision)
{
  TestPlug plug(PlugArgs(2));
  plug.ParamAt(0)->DefineDouble("a", 0.1, 0, 1, 0.001, "", "", 1.0);
  plug.ParamAt(1)->DefineDouble("b", 0.5, 0, 1, 0.001, "", "", 1.0);
  unsigned char record[8 * 3];
  EncodeDouble(99.0, record);
  EncodeDouble(0.1 + 1e-7, record + 8);
  EncodeDouble(0.5, record + 16);
  EXPECT_TRUE(plug.StateMatches(record, 3, 1));
  EncodeDouble(0.1 + 1e-4, record + 8);
  EXPECT_FALSE(plug.StateMatches(record, 3, 1));
  EncodeDouble(0.1, record + 8);
  EXPECT_FALSE(plug.StateMatches(record, 2, 1)); // too short to hold both values
  EXPECT_FALSE(plug.StateMatches(nullptr, 3, 1));
  EncodeDouble(std::numeric_limits<double>::quiet_NaN(), record + 16);
  EXPECT_FALSE(plug.StateMatches(record, 3, 1));

  TestPlug empty(PlugArgs(0));
  EXPECT_TRUE(empty.StateMatches(nullptr, 0, 0));
}

TEST(Presets, FillNameLoadAndModify)
{
  TestPlug plug(PlugArgs(9, "1-1", 5));
  DefineNine(plug);
  plug.FillFreePresets(nullptr, 2);
  EXPECT_STREQ(plug.PresetNameAt(0), "Empty");
  EXPECT_STREQ(plug.PresetNameAt(1), "Empty");
  EXPECT_STREQ(plug.PresetNameAt(2), "empty");
  EXPECT_EQ(plug.PresetAt(0)->state.Size(), 72);
  EXPECT_STREQ(plug.PresetNameAt(5), "");

  plug.PresetAt(0)->SetName("my user preset");
  plug.PresetAt(1)->SetName("user preset 1");
  char name[PresetSlot::kNameSize];
  plug.NextUserPresetName(name, sizeof(name));
  EXPECT_STREQ(name, "user preset 3");

  // Loading an empty slot makes it a user preset holding the current state.
  const std::vector<double> values = SetSome(plug);
  RecordingEditor* editor = new RecordingEditor();
  plug.AttachEditor(editor);
  editor->pushes.clear();
  EXPECT_TRUE(plug.LoadPreset(3));
  EXPECT_STREQ(plug.PresetNameAt(3), "user preset 3");
  EXPECT_EQ(plug.CurrentPresetIdx(), 3);
  EXPECT_EQ(plug.PresetAt(3)->state.Size(), 72);
  EXPECT_EQ(editor->pushes.size(), 9u);

  // Loading preset 0 brings back the defaults and refreshes the controls.
  editor->pushes.clear();
  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(plug.ParamAt(3)->Value(), 20.0);
  ASSERT_EQ(editor->pushes.size(), 9u);
  EXPECT_EQ(editor->pushes[3].value, 20.0);
  EXPECT_FALSE(editor->pushes[3].normalised);

  EXPECT_FALSE(plug.LoadPreset(5));
  EXPECT_FALSE(plug.LoadPreset(-1));
  EXPECT_EQ(plug.CurrentPresetIdx(), 0);

  // Modify replaces the state rather than appending, and renames only when given a name.
  for (int i = 0; i < 9; ++i)
    plug.ParamAt(i)->SetPlain(values[i]);
  plug.ModifyCurrentPreset(nullptr);
  EXPECT_EQ(plug.PresetAt(0)->state.Size(), 72);
  EXPECT_STREQ(plug.PresetNameAt(0), "my user preset");
  plug.ModifyCurrentPreset("");
  EXPECT_STREQ(plug.PresetNameAt(0), "my user preset");
  const std::string longName(400, 'p');
  plug.ModifyCurrentPreset(longName.c_str());
  EXPECT_EQ(std::string(plug.PresetNameAt(0)), std::string(255, 'p'));
  plug.ParamAt(0)->SetPlain(0.0);
  EXPECT_TRUE(plug.LoadPreset(0));
  EXPECT_EQ(plug.ParamAt(0)->Value(), values[0]);
}

TEST(Presets, DamagedPresetChangesNothing)
{
  TestPlug plug(PlugArgs(9, "1-1", 2));
  DefineNine(plug);
  plug.FillEmptyPresets();
  EXPECT_STREQ(plug.PresetNameAt(1), "Empty");
  ASSERT_TRUE(plug.PresetAt(1)->state.Resize(20));
  const std::vector<double> before = SetSome(plug);
  RecordingEditor* editor = new RecordingEditor();
  plug.AttachEditor(editor);
  editor->pushes.clear();
  plug.changes.clear();
  EXPECT_FALSE(plug.LoadPreset(1));
  EXPECT_EQ(plug.Values(), before);
  EXPECT_TRUE(plug.changes.empty());
  EXPECT_TRUE(editor->pushes.empty());
  EXPECT_EQ(plug.CurrentPresetIdx(), 0);

  // No room for a state: the slot stays free.
  TestPlug tight(PlugArgs(9, "1-1", 1));
  DefineNine(tight);
  {
    FailingAllocator fail(0);
    tight.FillFreePresets("x", 1);
    EXPECT_FALSE(tight.LoadPreset(0));
  }
  EXPECT_FALSE(tight.PresetAt(0)->initialised);
  EXPECT_STREQ(tight.PresetNameAt(0), "empty");
}

// Damaged host data: random truncations and bytes must never put a value outside its
// range or a NaN into a parameter, and must not touch memory it does not own.
TEST(State, FuzzedRestoresKeepEveryParameterValid)
{
  TestPlug plug(PlugArgs(9));
  DefineNine(plug);
  SetSome(plug);
  StateChunk good;
  ASSERT_TRUE(plug.WriteState(&good));

  std::mt19937 random(20261208);
  for (int iteration = 0; iteration < 20000; ++iteration)
  {
    StateChunk chunk;
    const int length = std::uniform_int_distribution<int>(0, 90)(random);
    for (int i = 0; i < length; ++i)
    {
      unsigned char byte = i < good.Size() ? good.Data()[i] : 0;
      if (std::uniform_int_distribution<int>(0, 7)(random) == 0)
        byte = static_cast<unsigned char>(random());
      chunk.PutBytes(&byte, 1);
    }
    const int start = std::uniform_int_distribution<int>(-2, 20)(random);
    const std::vector<double> before = plug.Values();
    const int next = plug.ReadState(&chunk, start);

    const int whole = start < 0 ? 0 : std::max(0, std::min(9, (length - start) / 8));
    if (start < 0)
      EXPECT_EQ(next, start);
    else if (whole == 9)
      EXPECT_EQ(next, start + 72);
    else
      EXPECT_EQ(next, -1);
    for (int i = 0; i < 9; ++i)
    {
      const IPlugParameter* p = plug.ParamAt(i);
      ASSERT_FALSE(std::isnan(p->Value()));
      ASSERT_GE(p->Value(), p->Min());
      ASSERT_LE(p->Value(), p->Max());
      if (i >= whole)
      {
        ASSERT_EQ(p->Value(), before[i]) << "parameter " << i << " changed without being read";
      }
    }
    plug.changes.clear();
  }
}
} // namespace
