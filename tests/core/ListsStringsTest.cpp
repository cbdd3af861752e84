#include "framework/core/PtrList.h"
#include "framework/core/StringBuffer.h"
#include "tests/core/FailingAllocator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Records the order in which elements are destroyed.
struct Tracked
{
  Tracked(int id, std::vector<int>* log)
    : id(id), log(log)
  {
  }
  ~Tracked() { log->push_back(id); }
  int id;
  std::vector<int>* log;
};

std::vector<int> Ids(const PtrList<Tracked>& list)
{
  std::vector<int> ids;
  for (int i = 0; i < list.Count(); ++i)
    ids.push_back(list.At(i)->id);
  return ids;
}

TEST(PtrList, AccessInsertAndRemoveKeepOrder)
{
  std::vector<int> deleted;
  PtrList<Tracked> list;
  EXPECT_EQ(list.At(0), nullptr);
  EXPECT_EQ(list.At(-1), nullptr);
  list.Append(new Tracked(1, &deleted));
  list.Append(new Tracked(2, &deleted));
  list.InsertAt(99, new Tracked(3, &deleted)); // beyond the count: appended
  list.InsertAt(-4, new Tracked(0, &deleted)); // negative: at the front
  list.InsertAt(2, new Tracked(9, &deleted));
  EXPECT_EQ(Ids(list), (std::vector<int>{ 0, 1, 9, 2, 3 }));
  EXPECT_EQ(list.At(5), nullptr);

  list.RemoveAt(5);
  list.RemoveAt(-1);
  EXPECT_TRUE(deleted.empty());
  list.RemoveAt(2);
  EXPECT_EQ(deleted, std::vector<int>{ 9 });
  EXPECT_EQ(Ids(list), (std::vector<int>{ 0, 1, 2, 3 }));

  deleted.clear();
  list.Append(nullptr); // null elements are skipped
  list.DeleteAll();
  EXPECT_EQ(deleted, (std::vector<int>{ 3, 2, 1, 0 }));
  EXPECT_EQ(list.Count(), 0);
}

TEST(PtrList, FailedGrowthStoresNothing)
{
  std::vector<int> deleted;
  PtrList<Tracked> list;
  Tracked a(1, &deleted), b(2, &deleted);
  {
    FailingAllocator fail(0);
    EXPECT_FALSE(list.Append(&a));
    EXPECT_EQ(list.InsertAt(0, &b), nullptr);
    EXPECT_EQ(list.Count(), 0);
  }
  list.Append(&a);
  list.Empty();
}

TEST(StringBuffer, AssignTakesTheRequestedPart)
{
  StringBuffer s;
  EXPECT_STREQ(s.Get(), "");
  EXPECT_EQ(s.Length(), 0);
  EXPECT_TRUE(s.Assign("hello world", 5));
  EXPECT_STREQ(s.Get(), "hello");
  EXPECT_TRUE(s.Assign("hi", 0)); // below 1: the whole text
  EXPECT_STREQ(s.Get(), "hi");
  EXPECT_TRUE(s.Assign(nullptr));
  EXPECT_STREQ(s.Get(), "");
  StringBuffer fresh;
  EXPECT_TRUE(fresh.Assign("", 0)); // empty text into a buffer never allocated
  EXPECT_STREQ(fresh.Get(), "");
}

TEST(StringBuffer, AssignFromItsOwnText)
{
  StringBuffer s;
  s.Assign("0123456789");
  s.Assign(s.Get() + 3); // shorter: overlapping move inside the block
  EXPECT_STREQ(s.Get(), "3456789");

  // Growing while the source lives in the old block: it must be re-addressed.
  std::string longText(1000, 'x');
  longText += "END";
  s.Assign(longText.c_str());
  s.Assign("ab");
  s.Assign(s.Get()); // same text
  EXPECT_STREQ(s.Get(), "ab");
  s.Splice(2, s.Get(), 2, 0);
  EXPECT_STREQ(s.Get(), "abab");
}

TEST(StringBuffer, SpliceInsertsReplacesAndRefusesBadRanges)
{
  StringBuffer s("hello world");
  EXPECT_TRUE(s.Splice(5, ",", 1, 6)); // insert, keeping " world"
  EXPECT_STREQ(s.Get(), "hello, world");
  EXPECT_TRUE(s.Splice(7, "there", 5, 0)); // replace the tail
  EXPECT_STREQ(s.Get(), "hello, there");
  EXPECT_TRUE(s.Splice(0, "J", 1, 4)); // the 4 kept bytes follow the insert; the rest goes
  EXPECT_STREQ(s.Get(), "Jhell");

  EXPECT_FALSE(s.Splice(0, "x", 1, -1));
  EXPECT_FALSE(s.Splice(3, "x", 1, 3)); // kept runs past the text
  EXPECT_FALSE(s.Splice(6, "x", 1, 0));  // position past the end
  EXPECT_FALSE(s.Splice(-1, "x", 1, 0));
  EXPECT_FALSE(s.Splice(0, "x", 0, 2));
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
  EXPECT_EQ(s.Length(), 5);
  EXPECT_TRUE(s.Format(0, "%s", "abc"));
  EXPECT_STREQ(s.Get(), "");
  EXPECT_TRUE(s.Format(-3, "%s", "abc"));
  EXPECT_STREQ(s.Get(), "");
  s.Assign("keep");
  EXPECT_TRUE(s.Format(10, "%s!", s.Get())); // an argument inside the buffer
  EXPECT_STREQ(s.Get(), "keep!");
}

TEST(StringBuffer, OutOfMemoryLeavesTheTextUnchanged)
{
  StringBuffer s("short");
  std::string big(500, 'y');
  FailingAllocator fail(0);
  EXPECT_FALSE(s.Assign(big.c_str()));
  EXPECT_FALSE(s.Splice(5, big.c_str(), 500, 0));
  EXPECT_FALSE(s.Format(400, "%s", big.c_str()));
  EXPECT_STREQ(s.Get(), "short");
  StringBuffer empty;
  EXPECT_FALSE(empty.Assign("x"));
  EXPECT_FALSE(empty.Format(-1, "x"));
  EXPECT_STREQ(empty.Get(), "");
}
} // namespace
