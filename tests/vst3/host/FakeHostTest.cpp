// The fake host's own checks that no plug-in test here exercises: guard zones before the
// block, and the text conversions (the host tool's names too) at buffer limits. Its streams
// and queues are pinned by the binding's state and queue tests.
#include "hosts/vst3/AudioBuffers.h"
#include "hosts/vst3/HostDriver.h"

#include <gtest/gtest.h>

using namespace vst3host;
using vst3::int32;

// Writes past the end are caught in the host driver and conformance tests with a plug-in
// that makes them; here the other side and the other width.
TEST(AudioBuffers, GuardZonesCatchWritesBeforeTheBlock)
{
  for (int32 size : {vst3::kSample32, vst3::kSample64})
  {
    AudioBuffers b;
    b.configure(size, {1}, 4);
    b.setSample(0, 0, 3, 0.125);
    EXPECT_TRUE(b.guardsIntact());
    if (size == vst3::kSample64)
      b.buses()[0].channelBuffers64[0][-1] = 1.0;
    else
      b.buses()[0].channelBuffers32[0][-1] = 1.0f;
    EXPECT_FALSE(b.guardsIntact());
  }
}

TEST(Text, ConvertsBetweenUtf8AndUtf16AtTheBufferLimits)
{
  const std::string text = "Gr\xC3\xB6\xC3\x9F"
                           "e \xE2\x82\xAC \xF0\x9F\x98\x80";  // "Größe € 😀"
  vst3::String128 wide;
  widen(text, wide);
  EXPECT_EQ(wide[2], u'\u00F6');
  EXPECT_EQ(wide[6], u'\u20AC');
  EXPECT_EQ(wide[8], 0xD83D);
  EXPECT_EQ(wide[9], 0xDE00);
  EXPECT_EQ(wide[10], 0);
  EXPECT_EQ(narrow(wide), text);

  // Cut at the limit: the terminator always fits and a pair is never split.
  vst3::TChar small[10];  // room for 9 units: the pair would need units 8 and 9
  widen(text, small, 10);
  EXPECT_EQ(narrow(small), "Gr\xC3\xB6\xC3\x9F"
                           "e \xE2\x82\xAC ");
  EXPECT_EQ(small[8], 0);
  widen(std::string(300, 'x'), wide);
  EXPECT_EQ(narrow(wide).size(), 127u);

  // Malformed input: stray continuation, overlong form, truncated sequence, lone surrogate.
  widen("a\x80"
        "b\xC0\xAF"
        "c\xE2\x82",
        wide);
  EXPECT_EQ(narrow(wide), "a\xEF\xBF\xBD"
                          "b\xEF\xBF\xBD\xEF\xBF\xBD"
                          "c\xEF\xBF\xBD");
  const vst3::TChar lone[] = {u'a', 0xD800, u'b', 0};
  EXPECT_EQ(narrow(lone), "a\xEF\xBF\xBD"
                          "b");
  const vst3::TChar unterminated[3] = {u'x', u'y', u'z'};
  EXPECT_EQ(narrow(unterminated, 3), "xyz") << "never reads past the capacity";
}
