#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "sdk/vst3/StringConvert.h"

using namespace vst3;

namespace {

constexpr TChar kJunk16 = 0xAAAA;

std::u16string filled(size_t n)
{
  return std::u16string(n, kJunk16);
}

}  // namespace

TEST(StringConvert, WideningIsBoundedTerminatedAndPadded)
{
  std::u16string buf = filled(10);
  str8ToStr16(&buf[0], "abcdefghijklmnop", 8);
  EXPECT_EQ(buf.substr(0, 8), std::u16string(u"abcdefg\0", 8));
  EXPECT_EQ(buf[8], kJunk16);  // nothing beyond the given size

  buf = filled(10);
  str8ToStr16(&buf[0], "ab", 8);
  EXPECT_EQ(buf.substr(0, 8), std::u16string(u"ab\0\0\0\0\0\0", 8));

  buf = filled(4);
  str8ToStr16(&buf[0], "abc", 0);
  str8ToStr16(nullptr, "abc", 4);
  EXPECT_EQ(buf, filled(4));

  // Bytes above ASCII widen as Latin-1, not sign-extended.
  str8ToStr16(&buf[0], "\xE9\xFF", 4);
  EXPECT_EQ(buf.substr(0, 2), u"\u00E9\u00FF");
}

TEST(StringConvert, NarrowingReplacesUnitsOutsideLatin1)
{
  const TChar text[] = {u'a', 0x00E9, 0x20AC, 0xD83D, u'z', 0};
  char out[8];
  str16ToStr8(out, text, 8);
  EXPECT_EQ(std::string(out), "a\xE9??z");
  EXPECT_EQ(toStr8(text), "a\xE9??z");
  str16ToStr8(out, text, 3);
  EXPECT_EQ(std::string(out), "a\xE9");
  EXPECT_EQ(toStr8(nullptr), "");
}

TEST(StringConvert, CopiesAlwaysTerminate)
{
  char out8[5] = {'x', 'x', 'x', 'x', 'x'};
  copyStr8(out8, "abcdefgh", 5);
  EXPECT_EQ(std::string(out8), "abcd");
  TChar out16[3];
  copyStr16(out16, u"abc", 3);
  EXPECT_EQ(std::u16string(out16), u"ab");
}

TEST(StringConvert, PrintingFitsAString128WhateverTheValue)
{
  String128 s;
  printFloat(s, 128, -42.26, 1);
  EXPECT_EQ(std::u16string(s), u"-42.3");
  printFloat(s, 128, 1.0 / 3.0, 99);  // limited to 16 digits
  EXPECT_EQ(std::u16string(s), u"0.3333333333333333");

  std::u16string big = filled(130);
  printFloat(&big[0], 128, 1e300, 4);  // 306 characters do not fit: cut, terminated
  EXPECT_EQ(big[127], u'\0');
  EXPECT_EQ(strlen16(big.c_str()), 127);
  EXPECT_EQ(big[128], kJunk16);

  printFloat(s, 128, -INFINITY, 2);
  EXPECT_EQ(std::u16string(s), u"-inf");
}

TEST(StringConvert, ScanningAcceptsOnlyFiniteNumbers)
{
  double v = 7.0;
  EXPECT_TRUE(scanFloat(u"  12.5 dB", v));
  EXPECT_DOUBLE_EQ(v, 12.5);
  v = 7.0;
  for (const char16_t* bad : {u"", u"dB", u"nan", u"inf", u"-infinity", u"1e999"})
    EXPECT_FALSE(scanFloat(bad, v)) << toStr8(bad);
  const TChar nonAscii[] = {0x0661, 0};  // an Arabic-Indic digit
  EXPECT_FALSE(scanFloat(nonAscii, v));
  EXPECT_FALSE(scanFloat(nullptr, v));
  EXPECT_FALSE(scanFloat(std::u16string(1000, u'1').c_str(), v));
  EXPECT_EQ(v, 7.0);

  int64 i = 5;
  EXPECT_TRUE(scanInt(u" 42x", i));
  EXPECT_EQ(i, 42);
  EXPECT_FALSE(scanInt(u"x42", i));
  EXPECT_FALSE(scanInt(u"99999999999999999999999", i));
  EXPECT_EQ(i, 42);
}
