#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "sdk/vst3/Parameter.h"
#include "sdk/vst3/StringConvert.h"

using namespace vst3;

namespace {

std::u16string text(const Parameter& p, ParamValue normalized)
{
  String128 s;
  p.toString(normalized, s);
  return s;
}

struct Counting : Parameter
{
  explicit Counting(ParamID id, int* deaths) : Parameter(u"c", id), mDeaths(deaths) {}
  ~Counting() override { ++*mDeaths; }
  int* mDeaths;
};

}  // namespace

TEST(Parameter, InfoIsFilledAndTextsAreCut)
{
  const std::u16string longTitle(200, u'T');
  Parameter p(longTitle.c_str(), 0x70727374, u"%", 0.25, 3, ParameterInfo::kIsProgramChange, 2, u"short");
  const ParameterInfo& info = p.getInfo();
  EXPECT_EQ(std::u16string(info.title), std::u16string(127, u'T'));
  EXPECT_EQ(std::u16string(info.shortTitle), u"short");
  EXPECT_EQ(p.getNormalized(), info.defaultNormalizedValue);

  // Hosts require defaults inside 0..1.
  EXPECT_EQ(Parameter(u"a", 1, nullptr, 7.0).getInfo().defaultNormalizedValue, 1.0);
  EXPECT_EQ(Parameter(u"a", 1, nullptr, std::nan("")).getInfo().defaultNormalizedValue, 0.0);
  EXPECT_EQ(Parameter(u"a", 1, nullptr, 0.0, -4).getInfo().stepCount, 0);
}

TEST(Parameter, ValuesClampTextsFollow)
{
  Parameter plain(u"p", 1);
  EXPECT_TRUE(plain.setNormalized(0.5));
  EXPECT_FALSE(plain.setNormalized(0.5));  // unchanged
  EXPECT_TRUE(plain.setNormalized(-INFINITY));
  EXPECT_EQ(plain.getNormalized(), 0.0);
  EXPECT_TRUE(plain.setNormalized(3.0));
  EXPECT_FALSE(plain.setNormalized(std::nan("")));
  EXPECT_EQ(plain.getNormalized(), 1.0);

  EXPECT_EQ(text(plain, 0.123456), u"0.1235");  // precision 4 by default
  plain.setPrecision(1);
  EXPECT_EQ(text(plain, 0.25), u"0.2");
  EXPECT_EQ(text(plain, 5.0), u"1.0");  // limited to the normalised range
  EXPECT_EQ(text(plain, std::nan("")), u"0.0");

  Parameter toggle(u"t", 2, nullptr, 0.0, 1);
  EXPECT_EQ(text(toggle, 0.5), u"Off");
  EXPECT_EQ(text(toggle, 0.51), u"On");

  ParamValue v = -1;
  EXPECT_TRUE(plain.fromString(u"12", v));
  EXPECT_EQ(v, 1.0);
  EXPECT_FALSE(plain.fromString(u"loud", v));
  EXPECT_EQ(v, 1.0);
}

TEST(RangeParameter, ContinuousMappingBothWays)
{
  RangeParameter gain(u"Out gain", 1, u"dB", -60.0, 12.0, 0.0);
  EXPECT_DOUBLE_EQ(gain.getInfo().defaultNormalizedValue, 60.0 / 72.0);
  EXPECT_EQ(gain.getInfo().stepCount, 0);
  // Exact on a grid of binary fractions of the 72 dB span.
  for (int k = 0; k <= 16; ++k)
  {
    const double n = k / 16.0;
    const double plain = -60.0 + 72.0 * n;
    EXPECT_EQ(gain.toPlain(n), plain) << n;
    EXPECT_EQ(gain.toNormalized(plain), n) << n;
  }
  EXPECT_EQ(gain.toPlain(std::nan("")), -60.0);
  EXPECT_EQ(gain.toNormalized(100.0), 1.0);
  EXPECT_EQ(gain.toNormalized(std::nan("")), 0.0);

  gain.setPrecision(1);
  EXPECT_EQ(text(gain, 0.25), u"-42.0");  // the plain value is printed

  ParamValue v = -1;
  EXPECT_TRUE(gain.fromString(u"-42 dB", v));
  EXPECT_EQ(v, 0.25);
  EXPECT_TRUE(gain.fromString(u"-1000", v));
  EXPECT_EQ(v, 0.0);
  EXPECT_FALSE(gain.fromString(u"nan", v));
  EXPECT_EQ(v, 0.0);

  // An empty range gives no NaN.
  RangeParameter fixed(u"f", 1, nullptr, 5.0, 5.0, 5.0);
  EXPECT_EQ(fixed.getInfo().defaultNormalizedValue, 0.0);
  EXPECT_EQ(fixed.toPlain(0.7), 5.0);
  EXPECT_TRUE(fixed.fromString(u"9", v));
  EXPECT_EQ(v, 0.0);
}

TEST(RangeParameter, SteppedRangeUsesWholeSteps)
{
  RangeParameter steps(u"s", 1, nullptr, 10.0, 14.0, 13.0, 4);
  EXPECT_EQ(steps.getInfo().defaultNormalizedValue, 0.75);
  // Five steps share the normalised range equally: [0, 0.2) is the first.
  const double plainOf[][2] = {{0.0, 10}, {0.19, 10}, {0.2, 11}, {0.79, 13}, {0.8, 14}, {1.0, 14}};
  for (auto [n, plain] : plainOf)
    EXPECT_EQ(steps.toPlain(n), plain) << n;
  EXPECT_EQ(steps.toNormalized(12.0), 0.5);
  EXPECT_EQ(text(steps, 0.5), u"12");
  ParamValue v = -1;
  EXPECT_TRUE(steps.fromString(u"13", v));
  EXPECT_EQ(v, 0.75);

  // A minimum far outside any integer type still prints, cut to the host's buffer.
  RangeParameter huge(u"h", 2, nullptr, 1e300, 2e300, 1e300, 4);
  EXPECT_EQ(strlen16(text(huge, 1.0).c_str()), 127);
}

TEST(StringListParameter, StringsStepsAndTexts)
{
  StringListParameter bypass(u"Bypass", 0x62706173, nullptr,
                             ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass);
  EXPECT_EQ(bypass.getInfo().stepCount, -1);
  EXPECT_EQ(text(bypass, 0.5), u"");  // no strings yet: nothing to show
  bypass.appendString(u"off");
  bypass.appendString(u"on");
  EXPECT_EQ(bypass.getInfo().stepCount, 1);
  EXPECT_EQ(bypass.getInfo().flags, 0x10009);
  // Out-of-range values never index outside the list.
  for (double n : {0.0, 0.49, -3.0, std::nan("")})
    EXPECT_EQ(text(bypass, n), u"off") << n;
  for (double n : {0.5, 1.0, 42.0})
    EXPECT_EQ(text(bypass, n), u"on") << n;

  ParamValue v = -1;
  EXPECT_TRUE(bypass.fromString(u"on", v));
  EXPECT_EQ(v, 1.0);
  EXPECT_FALSE(bypass.fromString(u"ON", v));
  EXPECT_EQ(v, 1.0);

  StringListParameter three(u"mode", 3);
  for (const char16_t* s : {u"a", u"b", u"c"})
    three.appendString(s);
  EXPECT_EQ(three.toNormalized(1), 0.5);
  EXPECT_EQ(three.toPlain(0.5), 1.0);
  EXPECT_EQ(three.toPlain(0.99), 2.0);
  EXPECT_EQ(three.toNormalized(7), 1.0);
}

TEST(ParameterContainer, UniqueIdsAndOwnership)
{
  int deaths = 0;
  {
    ParameterContainer c;
    Parameter* a = c.addParameter(new Counting(7, &deaths));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(c.addParameter(new Counting(7, &deaths)), nullptr);  // same id: refused, deleted
    EXPECT_EQ(deaths, 1);
    Parameter* b = c.addParameter(new Counting(9, &deaths));
    EXPECT_EQ(c.getParameter(7), a);
    EXPECT_EQ(c.getParameterByIndex(1), b);
    EXPECT_EQ(c.getParameterByIndex(2), nullptr);

    ParameterInfo info{};
    info.id = 11;
    info.defaultNormalizedValue = 0.5;
    for (TChar& ch : info.title)
      ch = u'x';  // no terminator from the caller
    Parameter* fromInfo = c.addParameter(info);
    ASSERT_NE(fromInfo, nullptr);
    EXPECT_EQ(strlen16(fromInfo->getInfo().title), 127);
    EXPECT_EQ(fromInfo->getNormalized(), 0.5);

    c.removeAll();
    EXPECT_EQ(deaths, 3);
    EXPECT_EQ(c.getParameter(7), nullptr);
    c.addParameter(new Counting(7, &deaths));  // the id is free again
    EXPECT_EQ(c.getParameterCount(), 1);
  }
  EXPECT_EQ(deaths, 4);
}
