#include "framework/bindings/aax/AAX_CChunkDataParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
using Bytes = std::vector<unsigned char>;

// A chunk record exactly as long as its header and data, so any read past the data shows.
class Record
{
public:
  static constexpr int32_t kWholeData = INT32_MIN;

  explicit Record(const Bytes& data, int32_t size = kWholeData) : mBuffer(kAAX_ChunkDataOffset)
  {
    mBuffer.insert(mBuffer.end(), data.begin(), data.end());
    Header()->size = size == kWholeData ? int32_t(data.size()) : size;
    Header()->version = 3;
  }
  explicit Record(int32_t capacity) : mBuffer(kAAX_ChunkDataOffset + size_t(std::max(capacity, 0))) {}
  AAX_ChunkHeader* Header() { return reinterpret_cast<AAX_ChunkHeader*>(mBuffer.data()); }
  Bytes Data() const { return Bytes(mBuffer.begin() + kAAX_ChunkDataOffset, mBuffer.end()); }

private:
  std::vector<unsigned char> mBuffer;
};

Bytes Written(const AAX_CChunkDataParser& parser)
{
  Record record(parser.MeasureChunkData());
  EXPECT_EQ(parser.GetChunkData(record.Header()), kAAX_Success);
  EXPECT_EQ(record.Header()->size, parser.MeasureChunkData());
  return record.Data();
}

const Bytes kMarker = {1, 1, 1, 1};

Bytes operator+(Bytes a, const Bytes& b)
{
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(ChunkDataParser, WritesTheDocumentedLayout)
{
  AAX_CChunkDataParser parser;
  EXPECT_EQ(Written(parser), kMarker);
  parser.PutDouble("1", 0.5);
  parser.PutInt32("2", 1);
  const Bytes example = {0x64, 0x5F, 0x31, 0, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0, 0x6C, 0x5F, 0x32, 0, 0, 0, 0, 1};
  EXPECT_EQ(Written(parser), kMarker + example);
}

TEST(ChunkDataParser, EntriesArePaddedToFourBytes)
{
  const struct
  {
    const char* name;
    const char* text;
    int32_t bytes;
  } cases[] = {{"a", "", 8}, {"ab", "", 12}, {"a", "abc", 8}, {"a", "abcd", 12}, {"abcdef", "x", 16}};
  for (const auto& c : cases)
  {
    AAX_CChunkDataParser parser;
    parser.PutString(c.name, c.text);
    EXPECT_EQ(parser.MeasureChunkData(), 4 + c.bytes) << c.name << " " << c.text;
  }
}

TEST(ChunkDataParser, ReadsBackWhatItWrote)
{
  AAX_CChunkDataParser writer;
  writer.PutString("s", "abc");
  writer.PutInt32("i", -1);
  writer.PutString("t", "abcd");
  writer.PutDouble("d", -2.75);
  Record record(Written(writer));
  AAX_CChunkDataParser reader;
  reader.ParseChunk(record.Header());
  EXPECT_EQ(reader.ChunkVersion(), 3);
  ASSERT_EQ(reader.Entries().size(), 4u);
  for (size_t i = 0; i < 4; ++i)
  {
    EXPECT_EQ(reader.Entries()[i].type, writer.Entries()[i].type);
    EXPECT_STREQ(reader.Entries()[i].name.Chars(), writer.Entries()[i].name.Chars());
  }
  AAX_CString text;
  int32_t value = 0;
  double number = 0.0;
  EXPECT_TRUE(reader.LookUpString("s", text) && text.SameAs("abc"));
  EXPECT_TRUE(reader.LookUpInt32("i", value));
  EXPECT_EQ(value, -1);
  EXPECT_TRUE(reader.LookUpString("t", text) && text.SameAs("abcd"));
  EXPECT_TRUE(reader.LookUpDouble("d", number));
  EXPECT_EQ(number, -2.75);
  // Another type under the name, or no such name, leaves the out value alone.
  EXPECT_FALSE(reader.LookUpDouble("i", number));
  EXPECT_FALSE(reader.LookUpInt32("missing", value));
  EXPECT_EQ(number, -2.75);
  EXPECT_EQ(value, -1);
}

TEST(ChunkDataParser, LookupsInStoredOrderTakeOneComparisonAndWrap)
{
  AAX_CChunkDataParser parser;
  for (const char* name : {"a", "b", "c"})
    parser.PutInt32(name, 0);
  EXPECT_EQ(parser.FindValueIndex("a"), 0);
  EXPECT_EQ(parser.FindValueIndex("b"), 1);
  EXPECT_EQ(parser.FindValueIndex("c"), 2);
  EXPECT_EQ(parser.FindValueIndex("a"), 0);
  EXPECT_EQ(parser.FindValueIndex("c"), 2);
  EXPECT_EQ(parser.FindValueIndex("b"), 1);
  EXPECT_EQ(parser.FindValueIndex("x"), -1);
}

// Entries of chunks this writer did not make: the tag's first letter decides, and a damaged
// data area keeps only the entries read whole before the damage.
TEST(ChunkDataParser, ForeignAndDamagedDataKeepWholeEntriesOnly)
{
  const Bytes dx = {'d', 'X', 'a', 0, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0};
  const Bytes s16 = {'s', '_', 'b', 0, 0x12, 0x34, 0, 0};
  const Bytes f32 = {'f', '_', 'c', 0, 0x3F, 0x80, 0, 0};
  const Bytes odd = {'?', '_', 'u', 0};
  const struct
  {
    const char* what;
    Bytes data;
    int32_t size;
    std::vector<int32_t> types;
  } cases[] = {
    {"typed by first letter",
     kMarker + dx + s16 + f32 + odd,
     Record::kWholeData,
     {ChunkEntry::kDouble, ChunkEntry::kInt16, ChunkEntry::kFloat, ChunkEntry::kUntyped}},
    {"marker alone", kMarker, Record::kWholeData, {}},
    {"wrong marker", Bytes{1, 1, 1, 2} + dx, Record::kWholeData, {}},
    {"negative size", kMarker + dx, -5, {}},
    {"size shorter than the data", kMarker + dx + s16, 14, {}},
    {"truncated double", kMarker + s16 + Bytes(dx.begin(), dx.end() - 1), Record::kWholeData, {ChunkEntry::kInt16}},
    {"unterminated name", kMarker + s16 + Bytes{'l', '_', 'x', 'y'}, Record::kWholeData, {ChunkEntry::kInt16}},
    {"unterminated text", kMarker + s16 + Bytes{'r', '_', 't', 0, 'a', 'b'}, Record::kWholeData, {ChunkEntry::kInt16}},
    {"tag too short",
     kMarker + s16 + Bytes{'d', 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8},
     Record::kWholeData,
     {ChunkEntry::kInt16}},
    {"trailing zeros", kMarker + s16 + Bytes(12, 0), Record::kWholeData, {ChunkEntry::kInt16}},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.what);
    Record record(c.data, c.size);
    AAX_CChunkDataParser parser;
    parser.PutInt32("stale", 1);
    parser.ParseChunk(record.Header());
    std::vector<int32_t> types;
    for (const ChunkEntry& entry : parser.Entries())
      types.push_back(entry.type);
    EXPECT_EQ(types, c.types);
  }
  Record record(kMarker + dx + s16);
  AAX_CChunkDataParser parser;
  parser.ParseChunk(record.Header());
  EXPECT_EQ(parser.Entries()[1].value, 0x1234u);
  double one = 0.0;
  EXPECT_TRUE(parser.LookUpDouble("a", one));
  EXPECT_EQ(one, 1.0);
}
}  // namespace
