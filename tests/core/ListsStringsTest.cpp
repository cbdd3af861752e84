#include "framework/core/NumberText.h"
#include "framework/core/PtrList.h"
#include "framework/core/StateChunk.h"
#include "framework/core/StringBuffer.h"
#include "tests/core/FailingAllocator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <locale>
#include <string>
#include <vector>

namespace {
struct Tracked  // records the order in which elements are destroyed
{
  int id;
  std::vector<int>* log;
  ~Tracked() { log->push_back(id); }
};

TEST(PtrList, KeepsOrderAndDeletesFromTheLastToTheFirst)
{
  std::vector<int> deleted;
  PtrList<Tracked> list;
  EXPECT_EQ(list.At(0), nullptr);
  for (int id : {1, 2})
    list.Append(new Tracked{id, &deleted});
  list.InsertAt(99, new Tracked{3, &deleted});  // beyond the count: appended
  list.InsertAt(-4, new Tracked{0, &deleted});  // negative: at the front
  list.InsertAt(2, new Tracked{9, &deleted});
  list.RemoveAt(5);
  list.RemoveAt(-1);
  EXPECT_TRUE(deleted.empty());
  list.RemoveAt(2);
  EXPECT_EQ(deleted, std::vector<int>{9});
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.At(4), nullptr);
  EXPECT_EQ(list.At(-1), nullptr);

  deleted.clear();
  list.Append(nullptr);  // null elements are skipped
  list.DeleteAll();
  EXPECT_EQ(deleted, (std::vector<int>{3, 2, 1, 0}));
  EXPECT_EQ(list.Count(), 0);

  PtrList<Tracked> fresh;
  Tracked kept{7, &deleted};
  {
    FailingAllocator fail(0);
    EXPECT_FALSE(fresh.Append(&kept));
    EXPECT_EQ(fresh.InsertAt(0, &kept), nullptr);
  }
  EXPECT_EQ(fresh.Count(), 0);
}

TEST(StringBuffer, AssignTakesTheRequestedPartEvenFromItself)
{
  StringBuffer s;
  EXPECT_STREQ(s.Get(), "");
  EXPECT_TRUE(s.Assign("", 0));  // into a buffer never allocated
  EXPECT_TRUE(s.Assign("hello world", 5));
  EXPECT_STREQ(s.Get(), "hello");
  EXPECT_TRUE(s.Assign("hi", 0));  // below 1: the whole text
  EXPECT_STREQ(s.Get(), "hi");
  EXPECT_TRUE(s.Assign(nullptr));
  EXPECT_EQ(s.Length(), 0);

  s.Assign("0123456789");
  s.Assign(s.Get() + 3);  // overlapping move inside the block
  EXPECT_STREQ(s.Get(), "3456789");
  s.Assign(std::string(200, 'q').c_str());
  s.Splice(200, s.Get(), 200, 0);  // grows while the source lives in the old block
  EXPECT_EQ(std::string(s.Get()), std::string(400, 'q'));
}

// Appending a chunk to itself, or a part of itself, grows the buffer the source lives in.
TEST(StateChunk, AppendsItselfAndPartsOfItself)
{
  StateChunk chunk;
  ASSERT_TRUE(chunk.PutBytes("abcd", 4));
  for (int i = 0; i < 12; ++i)
    ASSERT_TRUE(chunk.PutChunk(chunk));
  ASSERT_EQ(chunk.Size(), 4 << 12);
  ASSERT_TRUE(chunk.PutBytes(chunk.Data() + 1, 2));
  const std::string bytes(reinterpret_cast<const char*>(chunk.Data()), static_cast<size_t>(chunk.Size()));
  std::string expected;
  for (int i = 0; i < 1 << 12; ++i)
    expected += "abcd";
  EXPECT_EQ(bytes, expected + "bc");
  EXPECT_FALSE(chunk.PutBytes(chunk.Data() + chunk.Size() - 1, 2)) << "a source running past the end";
  EXPECT_EQ(chunk.Size(), (4 << 12) + 2);
}

// A decimal comma set for the process changes neither what is read nor what is written.
struct CommaPoint : std::numpunct<char>
{
  char do_decimal_point() const override { return ','; }
};

TEST(NumberText, ReadsAndWritesWithAPointInEveryLocale)
{
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
  const struct
  {
    const char* text;
    bool read;
    double value;
    int used;  // characters read
  } cases[] = {
    {"12.5dB", true, 12.5, 4}, {" \t+3", true, 3.0, 4},  {"-0.25", true, -0.25, 5}, {".5", true, 0.5, 2},
    {"1e3x", true, 1000.0, 3}, {"0x10", true, 0.0, 1},   {"dB", false, 0.0, 0},     {"", false, 0.0, 0},
    {"+-1", false, 0.0, 0},    {"1e400", false, 0.0, 0}, {"inf", false, 0.0, 0},    {"nan", false, 0.0, 0},
  };
  for (const auto& c : cases)
  {
    double value = -7.0;
    const char* end = nullptr;
    EXPECT_EQ(ReadNumber(c.text, &value, &end), c.read) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(end - c.text, c.used) << c.text;
  }
  char text[8];
  FormatFixed(text, sizeof(text), -2.5, 2);
  EXPECT_STREQ(text, "-2.50");
  FormatFixed(text, sizeof(text), 1e300, 2);
  EXPECT_STREQ(text, "1000000") << "cut to the capacity";
  FormatFixed(text, sizeof(text), -INFINITY, 2);
  EXPECT_STREQ(text, "-inf");
  std::locale::global(previous);
}

TEST(StringBuffer, SpliceInsertsAndRefusesRangesOutsideTheText)
{
  StringBuffer s("hello world");
  EXPECT_TRUE(s.Splice(5, ",", 1, 6));
  EXPECT_STREQ(s.Get(), "hello, world");
  EXPECT_TRUE(s.Splice(7, "there", 5, 0));
  EXPECT_STREQ(s.Get(), "hello, there");
  EXPECT_TRUE(s.Splice(0, "J", 1, 4));  // the 4 kept bytes follow the insert; the rest goes
  EXPECT_STREQ(s.Get(), "Jhell");
  for (const auto& bad : {std::vector<int>{0, 1, -1}, {3, 1, 3}, {6, 1, 0}, {-1, 1, 0}, {0, 0, 2}})
    EXPECT_FALSE(s.Splice(bad[0], "x", bad[1], bad[2]));
  EXPECT_STREQ(s.Get(), "Jhell");
  EXPECT_TRUE(s.Splice(0, nullptr, 0, 0));
  EXPECT_STREQ(s.Get(), "");
}

TEST(StringBuffer, FormatCutsAtTheMaximum)
{
  StringBuffer s;
  EXPECT_TRUE(s.Format(32, "x: %i, y: %i", 12, -7));
  EXPECT_STREQ(s.Get(), "x: 12, y: -7");
  EXPECT_TRUE(s.Format(5, "%s", "abcdefgh"));
  EXPECT_STREQ(s.Get(), "abcde");
  EXPECT_TRUE(s.Format(-3, "%s", "abc"));
  EXPECT_STREQ(s.Get(), "");
  s.Assign("keep");
  EXPECT_TRUE(s.Format(10, "%s!", s.Get()));  // an argument inside the buffer
  EXPECT_STREQ(s.Get(), "keep!");

  // A wide character the "C" locale cannot encode makes the printer fail part-way: what it
  // printed before the error stays.
  const wchar_t unencodable[] = {0xD800, 0};
  EXPECT_TRUE(s.Format(10, "ab%ls", unencodable));
  EXPECT_STREQ(s.Get(), "ab");
  EXPECT_TRUE(s.Format(10, "%ls", unencodable));
  EXPECT_STREQ(s.Get(), "");
}

TEST(StringBuffer, OutOfMemoryLeavesTheTextUnchanged)
{
  StringBuffer s("short"), empty;
  const std::string big(500, 'y');
  FailingAllocator fail(0);
  EXPECT_FALSE(s.Assign(big.c_str()));
  EXPECT_FALSE(s.Splice(5, big.c_str(), 500, 0));
  EXPECT_FALSE(s.Format(400, "%s", big.c_str()));
  EXPECT_STREQ(s.Get(), "short");
  EXPECT_FALSE(empty.Assign("x"));
  EXPECT_FALSE(empty.Format(-1, "x"));
  EXPECT_STREQ(empty.Get(), "");
}
}  // namespace
