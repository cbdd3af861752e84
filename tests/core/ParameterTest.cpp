#include "framework/core/IPlugParameter.h"
#include "tests/core/FailingAllocator.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace
{
std::string Display(const IPlugParameter& p, double value, bool normalised = false, bool useTexts = true)
{
  char text[64];
  p.DisplayText(value, normalised, text, sizeof(text), useTexts);
  return text;
}

TEST(IPlugParameter, DefinitionsSetRangeStepPrecisionAndTexts)
{
  IPlugParameter fresh;
  EXPECT_EQ(fresh.Type(), IPlugParameter::kTypeNone);
  EXPECT_EQ(fresh.Max(), 1.0);
  EXPECT_TRUE(fresh.Automatable());

  IPlugParameter b;
  b.DefineBool("Auto", true);
  EXPECT_EQ(b.Type(), IPlugParameter::kTypeBool);
  EXPECT_EQ(b.Min(), 0.0);
  EXPECT_EQ(b.Max(), 1.0);
  EXPECT_EQ(b.Step(), 0.1);
  EXPECT_EQ(b.Precision(), 1);
  EXPECT_EQ(b.Value(), 1.0);
  EXPECT_EQ(b.TextCount(), 2);
  EXPECT_STREQ(b.TextForValue(0), "off");
  EXPECT_STREQ(b.TextForValue(1), "on");

  // Precision counts the decimals of the step, at most 6.
  const struct
  {
    double step;
    int precision;
  } steps[] = { { 0.1, 1 }, { 0.01, 2 }, { 0.5, 1 }, { 1.0, 0 }, { 1e-9, 6 }, { 0.25, 2 }, { 5.0, 0 } };
  for (const auto& s : steps)
  {
    IPlugParameter p;
    p.DefineDouble("p", 0.0, 0.0, 100.0, s.step, "", "", 1.0);
    EXPECT_EQ(p.Precision(), s.precision) << s.step;
    EXPECT_EQ(p.Step(), s.step);
  }

  IPlugParameter raised;
  raised.DefineDouble("r", 5.0, 5.0, 5.5, 1.0, "Hz", "grp", 0.0);
  EXPECT_EQ(raised.Max(), 6.0);
  EXPECT_EQ(raised.Shape(), 1.0); // shape 0 keeps the linear default
  EXPECT_EQ(raised.Type(), IPlugParameter::kTypeDouble);
  EXPECT_STREQ(raised.GroupText(), "grp");

  IPlugParameter longNames;
  const std::string tooLong(80, 'n');
  longNames.DefineDouble(tooLong.c_str(), 0, 0, 1, 0.1, tooLong.c_str(), tooLong.c_str(), 1.0);
  EXPECT_EQ(std::string(longNames.NameText()), std::string(31, 'n'));
  EXPECT_EQ(std::string(longNames.UnitLabel()), std::string(31, 'n'));
  EXPECT_EQ(std::string(longNames.GroupText()), std::string(31, 'n'));
}

TEST(IPlugParameter, NormalisedToPlainRoundsByKind)
{
  IPlugParameter b;
  b.DefineBool("b", false);
  b.SetFromNormal(0.74);
  EXPECT_DOUBLE_EQ(b.Value(), 0.7); // snapped to the 0.1 step
  EXPECT_EQ(Display(b, b.Value()), "off");
  b.SetFromNormal(1.0);
  EXPECT_EQ(Display(b, b.Value()), "on");

  IPlugParameter whole;
  whole.DefineDouble("w", 0, -5, 5, 1.0, "", "", 1.0);
  whole.SetFromNormal(0.75); // 2.5: half away from zero
  EXPECT_EQ(whole.Value(), 3.0);
  whole.SetFromNormal(0.25); // -2.5
  EXPECT_EQ(whole.Value(), -3.0);

  IPlugParameter fine;
  fine.DefineDouble("f", 0, 0, 1, 0.01, "", "", 1.0);
  fine.SetFromNormal(0.123456);
  EXPECT_EQ(fine.Value(), 0.123456);

  IPlugParameter curved;
  curved.DefineDouble("c", 0, 10, 110, 0.001, "", "", 2.0);
  curved.SetFromNormal(0.5);
  EXPECT_DOUBLE_EQ(curved.Value(), 10 + 0.25 * 100);
  EXPECT_DOUBLE_EQ(curved.NormalOf(35.0), 0.5);
  EXPECT_DOUBLE_EQ(curved.Normal(), 0.5);

  // Rounding to the step may overshoot the range; the value never exceeds the maximum.
  IPlugParameter overshoot;
  overshoot.DefineBool("o", false);
  overshoot.DefineDouble("o", 0, 0, 0.75, 0.5, "", "", 1.0);
  overshoot.SetFromNormal(1.0); // 0.75 rounds up to 1.0
  EXPECT_EQ(overshoot.Value(), 0.75);
}

TEST(IPlugParameter, HostValuesOutsideTheRangeNeverEscapeIt)
{
  IPlugParameter p;
  p.DefineDouble("p", 0, -12, 12, 1.0, "dB", "", 1.5);
  const double bad[] = { -1.0, 2.0, -1e300, 1e300, std::numeric_limits<double>::quiet_NaN(),
                         -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity() };
  for (double x : bad)
  {
    p.SetFromNormal(x);
    EXPECT_GE(p.Value(), -12.0) << x;
    EXPECT_LE(p.Value(), 12.0) << x;
    EXPECT_FALSE(std::isnan(p.Normal()));
  }
  p.SetFromNormal(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(p.Value(), -12.0); // NaN counts as 0

  EXPECT_EQ(p.NormalOf(100.0), 1.0);
  EXPECT_EQ(p.NormalOf(-100.0), 0.0);
  EXPECT_EQ(p.NormalOf(std::numeric_limits<double>::quiet_NaN()), 0.0);

  EXPECT_TRUE(p.SetPlain(40.0));
  EXPECT_EQ(p.Value(), 12.0);
  EXPECT_FALSE(p.SetPlain(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(p.Value(), 12.0);

  IPlugParameter degenerate; // step 0 with an empty range
  degenerate.DefineDouble("d", 3, 3, 3, 0.0, "", "", 1.0);
  EXPECT_EQ(degenerate.Normal(), 0.0);
}

TEST(IPlugParameter, DisplayTextsNumbersAndLabels)
{
  IPlugParameter neg;
  neg.DefineDouble("n", 3.0, 0, 10, 0.1, "dB", "", 1.0);
  neg.SetNegateDisplay(true);
  EXPECT_EQ(Display(neg, 3.0), "-3.0");
  char plain[16];
  neg.PlainDisplay(plain, sizeof(plain));
  EXPECT_STREQ(plain, "-3.0");
  neg.AddDisplayText(3, "three");
  EXPECT_EQ(Display(neg, 3.0), "three"); // looked up with the stored value
  EXPECT_EQ(Display(neg, 3.0, false, false), "-3.0");

  IPlugParameter whole;
  whole.DefineDouble("w", 0, -100, 100, 1.0, "%", "", 1.0);
  EXPECT_EQ(Display(whole, 50.0), "50");
  EXPECT_EQ(Display(whole, -2.7), "-2"); // truncated toward zero
  EXPECT_EQ(Display(whole, 0.75, true), "50");
  EXPECT_STREQ(whole.UnitLabel(), "%");

  IPlugParameter b;
  b.DefineBool("b", true, "unit");
  EXPECT_STREQ(b.UnitLabel(), ""); // its values have texts

  // A matching entry with an empty text ends the search and shows the number.
  IPlugParameter gap;
  gap.DefineDouble("g", 0, 0, 10, 1.0, "", "", 1.0);
  gap.AddDisplayText(2, "");
  gap.AddDisplayText(2, "two");
  EXPECT_EQ(Display(gap, 2.0), "2");

  int value = -1;
  EXPECT_TRUE(b.ValueForText("on", &value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(b.ValueForText("On", &value));
  EXPECT_FALSE(b.ValueForText(nullptr, &value));
  EXPECT_STREQ(b.TextForValue(7), "");

  IPlugParameter longText;
  longText.AddDisplayText(0, std::string(50, 't').c_str());
  EXPECT_EQ(std::string(longText.TextForValue(0)), std::string(31, 't'));
}

TEST(IPlugParameter, DisplayIsBoundedAndIndependentOfTheLocale)
{
  IPlugParameter p;
  p.DefineDouble("p", 0, -1e300, 1e300, 0.1, "", "", 1.0);
  char small[8];
  p.DisplayText(1e300, false, small, sizeof(small), true);
  EXPECT_STREQ(small, "1000000");
  p.DisplayText(std::numeric_limits<double>::quiet_NaN(), false, small, sizeof(small), true);
  EXPECT_STREQ(small, "nan");
  char one[1] = { 'x' };
  p.DisplayText(5.0, false, one, 1, true);
  EXPECT_EQ(one[0], '\0');

  IPlugParameter whole;
  whole.DefineDouble("w", 0, -1e20, 1e20, 1.0, "", "", 1.0);
  EXPECT_EQ(Display(whole, 1e20), "2147483647"); // saturates instead of overflowing
  EXPECT_EQ(Display(whole, -1e20), "-2147483648");

  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
  {
    IPlugParameter d;
    d.DefineDouble("d", 0, 0, 10, 0.01, "", "", 1.0);
    EXPECT_EQ(Display(d, 2.5), "2.50");
  }
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(IPlugParameter, TextTableGrowthFailureIsReported)
{
  IPlugParameter p;
  FailingAllocator fail(0);
  EXPECT_FALSE(p.AddDisplayText(1, "one"));
  EXPECT_EQ(p.TextCount(), 0);
}
} // namespace
