#include "framework/bindings/aax/AAX_CString.h"
#include "framework/bindings/aax/CACFUnknown.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {
struct CompareCase
{
  const char* a;
  const char* b;
  bool same;
  bool precedes;
};

TEST(AAX_CString, ComparesAndOrdersAsUnsignedBytes)
{
  const CompareCase cases[] = {
    {"abc", "abd", false, true}, {"ab", "abc", false, true},       {"abc", "ab", false, false},
    {"abc", "abc", true, false}, {"a\x80", "a\x7f", false, false}, {"", "a", false, true},
  };
  for (const CompareCase& c : cases)
  {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(AAX_CString(c.a).SameAs(c.b), c.same);
    EXPECT_EQ(AAX_CString(c.a).Differs(c.b), !c.same);
    EXPECT_EQ(AAX_CString(c.a).Precedes(c.b), c.precedes);
  }
}

TEST(AAX_CString, NullTextAndPositionsPastTheEndAreEmpty)
{
  AAX_CString text(static_cast<const char*>(nullptr));
  EXPECT_EQ(text.CharCount(), 0u);
  text.AssignChars("x");
  text.AssignChars(nullptr);
  EXPECT_STREQ(text.Chars(), "");
  text.AssignCharsChained("y")->AssignFrom(nullptr);
  EXPECT_STREQ(text.Chars(), "");
  EXPECT_STREQ(AAX_CString("ab").CharAt(1), "b");
  EXPECT_STREQ(AAX_CString("ab").CharAt(99), "") << "past the end: the end";
  EXPECT_EQ(text.CapacityLimit(), 0xFFFFFFFEu);
}

TEST(AAX_CString, CopiesOwnTheirTextAndRangesAreErasedInPlace)
{
  AAX_CString text("level");
  EXPECT_EQ(&text.CopyFrom(text), &text);
  AAX_CString copy;
  copy.CopyFrom(text);
  text.MakeEmpty();
  EXPECT_EQ(text.CharCount(), 0u);
  EXPECT_STREQ(copy.Chars(), "level");
  for (const auto& [position, count, left] :
       {std::tuple{1u, 3u, "ll"}, {3u, 2u, "lev"}, {0u, 5u, ""}, {5u, 1u, "level"}})
  {
    AAX_CString erased(copy);
    erased.EraseRange(position, count);
    EXPECT_STREQ(erased.Chars(), left) << position << "+" << count;
  }
}

TEST(AAX_CString, NumbersAreReadAndWrittenWithAPoint)
{
  const struct
  {
    const char* text;
    bool read;
    double value;
  } cases[] = {{"12.5dB", true, 12.5}, {" 3", true, 3.0}, {"dB", false, 0.0}, {"", false, 0.0}, {"1e400", false, 0.0}};
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.text);
    double value = -7.0;
    EXPECT_EQ(AAX_CString(c.text).ParseNumber(&value), c.read);
    EXPECT_EQ(value, c.value);
  }
  AAX_CString text("x");
  text.AppendDecimal(1.0, 2);
  EXPECT_STREQ(text.Chars(), "x1.00");
}

// Records the end of its life, as the host's last release brings it about.
class Counted : public CACFUnknown
{
public:
  explicit Counted(std::vector<std::string>& events) : mEvents(events) {}
  ~Counted() override { mEvents.push_back("destroyed"); }
  void FinalReleaseHook() override { mEvents.push_back("final release"); }

private:
  std::vector<std::string>& mEvents;
};

TEST(CACFUnknown, TheFirstQueryCountsAndTheLastReleaseDeletes)
{
  std::vector<std::string> events;
  const int32_t live = CACFUnknown::LiveObjectCount();
  auto* object = new Counted(events);
  auto* other = new Counted(events);
  EXPECT_EQ(CACFUnknown::LiveObjectCount(), live + 2);

  void* out = &events;
  EXPECT_EQ(object->ControllingUnknown()->QueryInterface(ACFGuid{1, 2, 3, {4}}, &out), kACF_NoInterface);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(object->ControllingUnknown()->QueryInterface(kIID_ACFUnknown, nullptr), kACF_BadPointer);
  ASSERT_EQ(object->ControllingUnknown()->QueryInterface(kIID_ACFUnknown, &out), kAAX_Success);
  EXPECT_EQ(out, object->ControllingUnknown());

  auto* unknown = static_cast<IACFUnknown*>(out);
  EXPECT_EQ(unknown->AddRef(), 2u);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(unknown->Release(), 0u);
  EXPECT_EQ(events, (std::vector<std::string>{"final release", "destroyed"}));

  other->DeleteSelf();
  EXPECT_EQ(CACFUnknown::LiveObjectCount(), live);
}
}  // namespace
