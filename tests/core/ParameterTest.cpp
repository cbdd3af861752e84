#include "framework/core/IPlugParameter.h"
#include "tests/core/FailingAllocator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string Display(const IPlugParameter& p, double value, bool normalised = false, bool useTexts = true)
{
  char text[64];
  p.DisplayText(value, normalised, text, sizeof(text), useTexts);
  return text;
}

TEST(IPlugParameter, DefinitionsSetRangeStepPrecisionAndTexts)
{
  IPlugParameter b;
  b.DefineBool("Auto", true);
  EXPECT_EQ(b.Type(), IPlugParameter::kTypeBool);
  EXPECT_EQ(b.Max(), 1.0);
  EXPECT_EQ(b.Step(), 0.1);
  EXPECT_EQ(b.Precision(), 1);
  EXPECT_EQ(b.Value(), 1.0);
  EXPECT_STREQ(b.TextForValue(0), "off");
  EXPECT_STREQ(b.TextForValue(1), "on");

  // Steps whose decimal multiples are not exact in binary (0.07 × 10 is 0.7000000000000001;
  // on an x87 unit even 0.1 × 10 is not 1) still need only their own decimals.
  const std::pair<double, int> precisions[] = {
    {0.1, 1},  {0.01, 2},   {0.001, 3}, {0.05, 2}, {0.25, 2}, {0.5, 1},  {0.07, 2},
    {0.14, 2}, {0.0003, 4}, {2.5, 1},   {1.0, 0},  {1e-6, 6}, {1e-9, 6}, {1.0 / 3, 6},
  };
  for (const auto& [step, precision] : precisions)
  {
    IPlugParameter p;
    p.DefineDouble("p", 0.0, 0.0, 100.0, step, "", "", 1.0);
    EXPECT_EQ(p.Precision(), precision) << step;
  }

  IPlugParameter raised;
  raised.DefineDouble("r", 5.0, 5.0, 5.5, 1.0, "Hz", "grp", 0.0);
  EXPECT_EQ(raised.Max(), 6.0);    // at least min + step
  EXPECT_EQ(raised.Shape(), 1.0);  // shape 0 keeps the linear default
  EXPECT_EQ(raised.Type(), IPlugParameter::kTypeDouble);

  const std::string tooLong(80, 'n');  // texts are cut to their 32-byte fields
  raised.DefineDouble(tooLong.c_str(), 0, 0, 1, 0.1, tooLong.c_str(), tooLong.c_str(), 1.0);
  raised.AddDisplayText(7, tooLong.c_str());
  for (const char* text : {raised.NameText(), raised.UnitLabel(), raised.GroupText(), raised.TextForValue(7)})
    EXPECT_EQ(std::string(text), std::string(31, 'n'));
}

TEST(IPlugParameter, NormalisedToPlainRoundsByKindAndStaysInRange)
{
  IPlugParameter b;
  b.DefineBool("b", false);
  b.SetFromNormal(0.74);
  EXPECT_DOUBLE_EQ(b.Value(), 0.7);  // snapped to the 0.1 step, yet shown as "off"
  EXPECT_EQ(Display(b, b.Value()), "off");

  IPlugParameter whole;
  whole.DefineDouble("w", 0, -5, 5, 1.0, "", "", 1.0);
  whole.SetFromNormal(0.75);  // 2.5 rounds away from zero
  EXPECT_EQ(whole.Value(), 3.0);
  whole.SetFromNormal(0.25);
  EXPECT_EQ(whole.Value(), -3.0);

  // Values within rounding error of a half step round as the exact half would, up for
  // stepped kinds and away from zero for whole doubles: 0.35 / 0.1 is 3.4999999999999996 and
  // 0.5025 × 200 − 100 is 0.4999999999999858.
  IPlugParameter tenths;
  tenths.DefineBool("t", false);
  const std::pair<double, double> halves[] = {{0.35, 0.4}, {0.95, 1.0}, {0.15, 0.2}, {0.34, 0.3}};
  for (const auto& [x, snapped] : halves)
  {
    tenths.SetFromNormal(x);
    EXPECT_NEAR(tenths.Value(), snapped, 1e-12) << x;
  }
  IPlugParameter percent;
  percent.DefineDouble("%", 0, -100, 100, 1.0, "", "", 1.0);
  const std::pair<double, double> wholes[] = {{0.5025, 1.0}, {0.2725, -46.0}, {0.565, 13.0}, {0.5024, 0.0}};
  for (const auto& [x, rounded] : wholes)
  {
    percent.SetFromNormal(x);
    EXPECT_EQ(percent.Value(), rounded) << x;
  }

  IPlugParameter fine;
  fine.DefineDouble("f", 0, 0, 1, 0.01, "", "", 1.0);
  fine.SetFromNormal(0.123456);  // the double kind rounds only with step 1
  EXPECT_EQ(fine.Value(), 0.123456);

  IPlugParameter curved;
  curved.DefineDouble("c", 0, 10, 110, 0.001, "", "", 2.0);
  curved.SetFromNormal(0.5);
  EXPECT_DOUBLE_EQ(curved.Value(), 10 + 0.25 * 100);
  EXPECT_DOUBLE_EQ(curved.Normal(), 0.5);

  IPlugParameter overshoot;  // 0.75 rounds up to 1.0 on the 0.5 step, past the maximum
  overshoot.DefineBool("o", false);
  overshoot.DefineDouble("o", 0, 0, 0.75, 0.5, "", "", 1.0);
  overshoot.SetFromNormal(1.0);
  EXPECT_EQ(overshoot.Value(), 0.75);

  // Host values outside [0, 1], infinite or NaN never take a value out of the range.
  IPlugParameter p;
  p.DefineDouble("p", 0, -12, 12, 1.0, "dB", "", 1.5);
  for (double x : {-1.0, 2.0, -1e300, 1e300, -kInf, kInf, kNaN})
  {
    p.SetFromNormal(x);
    EXPECT_GE(p.Value(), -12.0) << x;
    EXPECT_LE(p.Value(), 12.0) << x;
  }
  EXPECT_EQ(p.Value(), -12.0);  // NaN counts as 0
  EXPECT_EQ(p.NormalOf(100.0), 1.0);
  EXPECT_EQ(p.NormalOf(-100.0), 0.0);
  EXPECT_EQ(p.NormalOf(kNaN), 0.0);
  EXPECT_TRUE(p.SetPlain(40.0));
  EXPECT_FALSE(p.SetPlain(kNaN));
  EXPECT_EQ(p.Value(), 12.0);

  IPlugParameter empty;  // step 0 with an empty range: no division by zero
  empty.DefineDouble("d", 3, 3, 3, 0.0, "", "", 1.0);
  EXPECT_EQ(empty.Normal(), 0.0);
}

TEST(IPlugParameter, DisplayTextsNumbersAndLabels)
{
  IPlugParameter neg;
  neg.DefineDouble("n", 3.0, 0, 10, 0.1, "dB", "", 1.0);
  neg.SetNegateDisplay(true);
  EXPECT_EQ(Display(neg, 3.0), "-3.0");
  neg.AddDisplayText(3, "three");
  EXPECT_EQ(Display(neg, 3.0), "three");  // looked up with the stored value
  char plain[16];
  neg.PlainDisplay(plain, sizeof(plain));
  EXPECT_STREQ(plain, "-3.0");

  IPlugParameter whole;
  whole.DefineDouble("w", 0, -100, 100, 1.0, "%", "", 1.0);
  EXPECT_EQ(Display(whole, -2.7), "-2");  // truncated toward zero
  EXPECT_EQ(Display(whole, 0.75, true), "50");
  EXPECT_EQ(Display(whole, 0.565, true), "13");  // 12.999999999999986 from the mapping
  EXPECT_EQ(Display(whole, -12.999999999999986), "-13");
  EXPECT_EQ(Display(whole, 12.99999), "12");
  EXPECT_EQ(Display(whole, 1e20), "2147483647");  // saturated, not undefined
  EXPECT_STREQ(whole.UnitLabel(), "%");

  IPlugParameter b;
  b.DefineBool("b", true, "unit");
  EXPECT_STREQ(b.UnitLabel(), "");  // its values have texts
  int value = -1;
  EXPECT_TRUE(b.ValueForText("on", &value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(b.ValueForText("On", &value));
  EXPECT_FALSE(b.ValueForText(nullptr, &value));
  EXPECT_STREQ(b.TextForValue(7), "");

  IPlugParameter gap;  // a matching entry with an empty text ends the search
  gap.DefineDouble("g", 0, 0, 10, 1.0, "", "", 1.0);
  gap.AddDisplayText(2, "");
  gap.AddDisplayText(2, "two");
  EXPECT_EQ(Display(gap, 2.0), "2");
  EXPECT_STREQ(gap.TextAt(1), "two");  // by position in the table, not by value
  EXPECT_STREQ(gap.TextAt(2), "");
  EXPECT_STREQ(gap.TextAt(-1), "");

  // Output is bounded by the caller's buffer whatever the value.
  IPlugParameter huge;
  huge.DefineDouble("h", 0, -1e300, 1e300, 0.1, "", "", 1.0);
  char small[8];
  huge.DisplayText(1e300, false, small, sizeof(small), true);
  EXPECT_STREQ(small, "1000000");
  huge.DisplayText(kNaN, false, small, sizeof(small), true);
  EXPECT_STREQ(small, "nan");

  FailingAllocator fail(0);
  EXPECT_FALSE(huge.AddDisplayText(1, "one"));
  EXPECT_EQ(huge.TextCount(), 0);
}
}  // namespace
