#include <gtest/gtest.h>

#include <cstring>

#include "sdk/vst3/FUID.h"
#include "sdk/vst3/IComponent.h"

using namespace vst3;

namespace {

// The plug-in's class id: words F2AEE70D 00DE4F4E 'Tvxr' 'Qxls', the first two words in
// the platform's order.
#if TQ_VST3_COM_COMPATIBLE
const unsigned char kCid[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F, 'T', 'v', 'x', 'r', 'Q', 'x', 'l', 's'};
#else
const unsigned char kCid[16] = {0xF2, 0xAE, 0xE7, 0x0D, 0x00, 0xDE, 0x4F, 0x4E, 'T', 'v', 'x', 'r', 'Q', 'x', 'l', 's'};
#endif

}  // namespace

TEST(FUID, WordsGiveThePlatformBytesAndBack)
{
  const FUID id(0xF2AEE70D, 0x00DE4F4E, 0x54767872, 0x51786C73);
  EXPECT_EQ(std::memcmp(id.toTUID(), kCid, 16), 0);
  EXPECT_EQ(id.getLong1(), 0xF2AEE70Du);
  EXPECT_EQ(id.getLong2(), 0x00DE4F4Eu);
  EXPECT_EQ(id.getLong3(), 0x54767872u);
  EXPECT_EQ(id.getLong4(), 0x51786C73u);
  // The text form is the same on every platform.
  EXPECT_EQ(id.toString(), "F2AEE70D00DE4F4E5476787251786C73");
  EXPECT_EQ(id.toRegistryString(), "{F2AEE70D-00DE-4F4E-5476-787251786C73}");
  // The declared interface ids are built the same way.
  EXPECT_EQ(FUID(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802), FUID::fromTUID(IComponent::iid));
}

TEST(FUID, WordRoundTripOverManyPatterns)
{
  // Every byte position must be independent of the others.
  for (int shift = 0; shift < 32; shift += 4)
  {
    const uint32 a = 0x12345678u << shift | 0x9u, b = ~a, c = a ^ 0xA5A5A5A5u, d = b + 7;
    const FUID id(a, b, c, d);
    EXPECT_EQ(id.getLong1(), a);
    EXPECT_EQ(id.getLong2(), b);
    EXPECT_EQ(id.getLong3(), c);
    EXPECT_EQ(id.getLong4(), d);
    FUID parsed;
    ASSERT_TRUE(parsed.fromString(id.toString().c_str()));
    EXPECT_EQ(parsed, id);
  }
}

TEST(FUID, TextParsingRefusesBadInputAndKeepsTheOldValue)
{
  FUID id(1, 2, 3, 4);
  const FUID before = id;
  EXPECT_FALSE(id.fromString(nullptr));
  EXPECT_FALSE(id.fromString(""));
  EXPECT_FALSE(id.fromString("F2AEE70D00DE4F4E5476787251786C7"));    // 31 digits
  EXPECT_FALSE(id.fromString("F2AEE70D00DE4F4E5476787251786C733"));  // 33 digits
  EXPECT_FALSE(id.fromString("G2AEE70D00DE4F4E5476787251786C73"));
  EXPECT_EQ(id, before);
  EXPECT_TRUE(id.fromString("f2aee70d00de4f4e5476787251786c73"));
  EXPECT_EQ(id.toString(), "F2AEE70D00DE4F4E5476787251786C73");
}
