#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/ResourceLookup.h"
#include "tests/resources/EditorImages.h"

namespace {
std::uint32_t BigEndian(const unsigned char* p)
{
  return std::uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

TEST(ResourceLookup, FindsEveryImageAsAnEightBitRgbaPngOfItsSize)
{
  const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  for (const EditorImage& image : EditorImages())
  {
    SCOPED_TRACE(image.name);
    const unsigned char* data = nullptr;
    size_t size = 0;
    ASSERT_TRUE(FindModuleResource(image.id, "PNG", &data, &size));
    ASSERT_GT(size, 33u);  // signature and the whole header chunk
    EXPECT_EQ(std::memcmp(data, kSignature, 8), 0);
    ASSERT_EQ(std::memcmp(data + 12, "IHDR", 4), 0);
    EXPECT_EQ(BigEndian(data + 16), std::uint32_t(image.width));
    EXPECT_EQ(BigEndian(data + 20), std::uint32_t(image.height));
    EXPECT_EQ(data[24], 8);  // bits per sample
    EXPECT_EQ(data[25], 6);  // RGBA
    EXPECT_EQ(data[28], 0);  // not interlaced

    const auto bitmap = DecodeModuleImage(image.id);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->PixelWidth(), image.width);
    EXPECT_EQ(bitmap->PixelHeight(), image.height);
    EXPECT_EQ(image.height % image.frames, 0);
  }
}

TEST(ResourceLookup, TypeNamesIgnoreCase)
{
  const unsigned char *upper = nullptr, *lower = nullptr;
  size_t upperSize = 0, lowerSize = 0;
  ASSERT_TRUE(FindModuleResource(105, "PNG", &upper, &upperSize));
  ASSERT_TRUE(FindModuleResource(105, "png", &lower, &lowerSize));
  EXPECT_EQ(lower, upper);
  EXPECT_EQ(lowerSize, upperSize);
}

TEST(ResourceLookup, OtherIdsTypesAndMissingArgumentsFindNothingAndWriteNothing)
{
  const unsigned char marker = 0;
  const struct
  {
    int id;
    const char* type;
  } misses[] = {
    {99, "PNG"},
    {108, "PNG"},
    {0, "PNG"},
    {-100, "PNG"},
    {100 + 0x10000, "PNG"},  // would be id 100 if cut to 16 bits
    {100, "JPG"},
    {100, "PN"},
    {100, ""},
    {100, nullptr},
  };
  for (const auto& miss : misses)
  {
    SCOPED_TRACE(miss.id);
    const unsigned char* data = &marker;
    size_t size = 12345;
    EXPECT_FALSE(FindModuleResource(miss.id, miss.type, &data, &size));
    EXPECT_EQ(data, &marker);
    EXPECT_EQ(size, 12345u);
  }
  const unsigned char* data = nullptr;
  size_t size = 0;
  EXPECT_FALSE(FindModuleResource(100, "PNG", nullptr, &size));
  EXPECT_FALSE(FindModuleResource(100, "PNG", &data, nullptr));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);
}
}  // namespace
