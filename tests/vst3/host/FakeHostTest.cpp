// The fake host's objects that the binding tests lean on to catch faults: streams with short
// reads and failing writes, change queues, buffers whose guard zones catch overruns, and the
// text conversions at buffer limits.
#include "tests/hosts/vst3/AudioBuffers.h"
#include "tests/hosts/vst3/HostDriver.h"
#include "tests/hosts/vst3/MemoryStream.h"
#include "tests/hosts/vst3/ParameterChanges.h"

#include <gtest/gtest.h>

using namespace fakehost;
using vst3::int32;

TEST(MemoryStream, ReadsBackWhatWasWrittenAndReportsShortReads)
{
  MemoryStream s;
  char data[5] = {1, 2, 3, 4, 5};
  int32 n = -1;
  ASSERT_EQ(s.write(data, 5, &n), vst3::kResultOk);
  EXPECT_EQ(n, 5);
  s.rewind();
  char back[8] = {};
  EXPECT_EQ(s.read(back, 3, &n), vst3::kResultOk);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(s.read(back + 3, 4, &n), vst3::kResultOk) << "short reads answer success with the count";
  EXPECT_EQ(n, 2);
  EXPECT_EQ(std::string(back, 5), std::string(data, 5));

  s.setShortReadResult(vst3::kResultFalse);
  s.rewind();
  EXPECT_EQ(s.read(back, 6, &n), vst3::kResultFalse);
  EXPECT_EQ(n, 5);

  MemoryStream w;
  w.setWriteLimit(6);
  std::uint8_t src[4] = {1, 2, 3, 4};
  EXPECT_EQ(w.write(src, 4, &n), vst3::kResultOk);
  EXPECT_EQ(w.write(src, 4, &n), vst3::kResultFalse);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(w.bytes().size(), 6u);
}

TEST(ParameterChanges, QueuesKeepPointsOrderedAndIdsUnique)
{
  ParameterChanges changes;
  changes.add(7, 10, 0.5);
  changes.add(7, 2, 0.25);
  changes.add(7, 10, 0.75);  // same offset: replaces
  changes.add(3, 0, 1.0);
  ASSERT_EQ(changes.getParameterCount(), 2);
  vst3::IParamValueQueue* q = changes.getParameterData(0);
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->getParameterId(), 7u);
  ASSERT_EQ(q->getPointCount(), 2);
  int32 offset = -1;
  double value = -1;
  ASSERT_EQ(q->getPoint(1, offset, value), vst3::kResultOk);
  EXPECT_EQ(offset, 10);
  EXPECT_EQ(value, 0.75);
  EXPECT_EQ(q->getPoint(2, offset, value), vst3::kResultFalse);
  EXPECT_EQ(q->getPoint(-1, offset, value), vst3::kResultFalse);

  int32 index = -1;
  EXPECT_EQ(changes.addParameterData(3, index), changes.getParameterData(1));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(changes.getParameterData(2), nullptr);
  changes.addEmptyQueue(vst3::kNoParamId);
  const ParamValueQueue* empty = changes.find(vst3::kNoParamId);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(const_cast<ParamValueQueue*>(empty)->getPoint(0, offset, value), vst3::kResultFalse);
}

// Writes past the end are caught in the host driver and conformance tests with a plug-in
// that makes them; here the other side and the other width.
TEST(AudioBuffers, GuardZonesCatchWritesBeforeTheBlock)
{
  for (int32 size : {vst3::kSample32, vst3::kSample64}) {
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
  const std::string text = "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80";  // "Größe € 😀"
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
  EXPECT_EQ(narrow(small), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC ");
  EXPECT_EQ(small[8], 0);
  widen(std::string(300, 'x'), wide);
  EXPECT_EQ(narrow(wide).size(), 127u);

  // Malformed input: stray continuation, overlong form, truncated sequence, lone surrogate.
  widen("a\x80" "b\xC0\xAF" "c\xE2\x82", wide);
  EXPECT_EQ(narrow(wide), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD" "c\xEF\xBF\xBD");
  const vst3::TChar lone[] = {u'a', 0xD800, u'b', 0};
  EXPECT_EQ(narrow(lone), "a\xEF\xBF\xBD" "b");
  const vst3::TChar unterminated[3] = {u'x', u'y', u'z'};
  EXPECT_EQ(narrow(unterminated, 3), "xyz") << "never reads past the capacity";
}
