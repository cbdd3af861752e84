#include "framework/bindings/aax/AAX_IDisplayDelegate.h"
#include "framework/bindings/aax/AAX_ITaperDelegate.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>
#include <tuple>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(TaperDelegates, LinearTruncatesAndNeverConvertsOutOfRange)
{
  const AAX_CLinearTaperDelegate<int32_t> taper(0, 3);
  const struct
  {
    double normalized;
    int32_t real;
  } toReal[] = {{0.5, 1}, {0.99, 2}, {1.0, 3}, {1e10, 3}, {-1e10, 0}, {kNaN, 0}, {-0.0, 0}};
  for (const auto& c : toReal)
    EXPECT_EQ(taper.ToRealValue(c.normalized), c.real) << c.normalized;
  EXPECT_EQ(taper.ToNormalizedValue(5), 1.0);
  EXPECT_EQ(taper.ToNormalizedValue(-1), 0.0);
  EXPECT_EQ(taper.ToNormalizedValue(2), 2.0 / 3.0);
  // The widest range still maps its ends exactly.
  const AAX_CLinearTaperDelegate<int32_t> wide(INT32_MIN, INT32_MAX);
  EXPECT_EQ(wide.ToRealValue(1.0), INT32_MAX);
  EXPECT_EQ(wide.ToRealValue(0.0), INT32_MIN);
  // Every value survives its own normalised form, though that is rarely exact.
  for (const auto& [low, high] : {std::pair{0, 49}, {-7, 93}, {-1000, 3}, {1, 1000003}})
  {
    const AAX_CLinearTaperDelegate<int32_t> range(low, high);
    for (int32_t v = low; v <= high; v += 1 + (high - low) / 5000)
      ASSERT_EQ(range.ToRealValue(range.ToNormalizedValue(v)), v) << low << ".." << high;
  }
  // A range collapsed to one value has no normalised position to divide out.
  EXPECT_EQ(AAX_CLinearTaperDelegate<int32_t>(2, 2).ToNormalizedValue(2), 0.0);
}

TEST(TaperDelegates, PowerCurveFollowsTheShapeAndKeepsNaNOut)
{
  const AAX_CIPlugTaperDelegate<double> taper(0.0, 100.0, 2.0);
  EXPECT_EQ(taper.ToRealValue(0.5), 25.0);
  EXPECT_EQ(taper.ToNormalizedValue(25.0), 0.5);
  EXPECT_EQ(taper.ToNormalizedValue(150.0), 1.0);
  EXPECT_EQ(taper.ToRealValue(kNaN), 0.0);
  EXPECT_EQ(taper.ToRealValue(2.0), 100.0);
  EXPECT_EQ(taper.ClampValue(kNaN), 0.0);
  EXPECT_EQ(taper.ToNormalizedValue(kNaN), 0.0);
  EXPECT_EQ(taper.ToNormalizedValue(-INFINITY), 0.0);
}

TEST(TaperDelegates, BinaryIsOnForAnyPositiveValue)
{
  const AAX_CBinaryTaperDelegate<bool> taper;
  EXPECT_FALSE(taper.ToRealValue(0.0));
  EXPECT_FALSE(taper.ToRealValue(kNaN));
  EXPECT_TRUE(taper.ToRealValue(1e-300));
  EXPECT_EQ(taper.ToNormalizedValue(true), 1.0);
}

struct TextCase
{
  int32_t limit;
  const char* text;
};

TEST(DisplayDelegates, NumbersShowTwoDecimalsAndCutToTheLimit)
{
  const AAX_CNumberDisplayDelegate<int32_t> ints;
  AAX_CString out;
  ASSERT_TRUE(ints.Text(7, out));
  EXPECT_STREQ(out.Chars(), "7.00");
  for (const TextCase& c : {TextCase{3, "7.0"}, {2, "7"}, {4, "7.00"}, {9, "7.00"}, {0, ""}, {-1, ""}})
  {
    ASSERT_TRUE(ints.TextLimited(7, c.limit, out));
    EXPECT_STREQ(out.Chars(), c.text) << c.limit;
  }
  AAX_CNumberDisplayDelegate<double>().Text(-1.5, out);
  EXPECT_STREQ(out.Chars(), "-1.50");

  int32_t parsed = -1;
  EXPECT_TRUE(ints.ParseText(AAX_CString("12.5dB"), parsed));
  EXPECT_EQ(parsed, 12);
  EXPECT_TRUE(ints.ParseText(AAX_CString("1e20"), parsed));
  EXPECT_EQ(parsed, INT32_MAX);
  EXPECT_FALSE(ints.ParseText(AAX_CString("dB"), parsed));
  EXPECT_EQ(parsed, 0);
  float single = 0.0f;
  EXPECT_TRUE(AAX_CNumberDisplayDelegate<float>().ParseText(AAX_CString("-1e300"), single));
  EXPECT_EQ(single, -FLT_MAX) << "beyond the float range: its end";
}

TEST(DisplayDelegates, ListsShowTheirTextsAndReadBackTheLowestValue)
{
  const AAX_CStringDisplayDelegate<int32_t> list({{0, "off"}, {1, "on"}, {3, "off"}});
  AAX_CString out;
  EXPECT_FALSE(list.Text(2, out));
  EXPECT_STREQ(out.Chars(), "String Not Found");
  EXPECT_TRUE(list.TextLimited(1, 1, out));
  EXPECT_STREQ(out.Chars(), "on");
  int32_t value = -1;
  EXPECT_TRUE(list.ParseText(AAX_CString("off"), value));
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(list.ParseText(AAX_CString("On"), value));
  EXPECT_EQ(value, 0);
}

TEST(DisplayDelegates, BinaryReadsOnlyItsOwnTexts)
{
  const AAX_CBinaryDisplayDelegate<bool> display("bypass", "on");
  AAX_CString out;
  display.Text(false, out);
  EXPECT_STREQ(out.Chars(), "bypass");
  bool value = false;
  EXPECT_TRUE(display.ParseText(AAX_CString("on"), value));
  EXPECT_TRUE(value);
  EXPECT_FALSE(display.ParseText(AAX_CString("yes"), value));
  EXPECT_FALSE(value);
  EXPECT_TRUE(display.ParseText(AAX_CString("bypass"), value));
}

// Whole numbers and fractions alike (whole numbers read back truncated), through a copy that
// outlives the display it was made from.
TEST(DisplayDelegates, UnitsAreAddedWhenTheyFitAndStrippedWhenRead)
{
  const auto expectUnits = [](auto twelve) {
    using T = decltype(twelve);
    SCOPED_TRACE(::testing::Message() << sizeof(T) << "-byte values");
    const std::unique_ptr<AAX_IDisplayDelegate<T>> display(
      AAX_CUnitDisplayDelegateDecorator<T>(AAX_CNumberDisplayDelegate<T>(), "dB").Duplicate());
    AAX_CString out;
    display->Text(twelve, out);
    EXPECT_STREQ(out.Chars(), "12.00dB");
    for (const TextCase& c : {TextCase{7, "12.00dB"}, {6, "12.00"}, {4, "12.0"}, {-3, ""}})
    {
      display->TextLimited(twelve, c.limit, out);
      EXPECT_STREQ(out.Chars(), c.text) << c.limit;
    }
    for (const auto& [text, read, parsed] :
         {std::tuple{"12.00dB", true, 12.0}, {"-3.5 dB", true, -3.5}, {"12.00 Hz", true, 12.0}, {"dB", false, 0.0}})
    {
      T value = T(-1);
      EXPECT_EQ(display->ParseText(AAX_CString(text), value), read) << text;
      EXPECT_EQ(value, T(parsed)) << text;
    }
  };
  expectUnits(12.0);
  expectUnits(int32_t(12));
}
}  // namespace
