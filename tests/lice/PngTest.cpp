#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "lice/LICE_Png.h"
#include "tests/lice/PngWriter.h"
#include "tests/lice/TestBitmaps.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::vector<Pixel32> PixelsOf(LICE_IBitmap* b)
{
  std::vector<Pixel32> out;
  for (int y = 0; y < b->PixelHeight(); ++y)
    for (int x = 0; x < b->PixelWidth(); ++x)
      out.push_back(b->PixelData()[y * b->RowPitch() + x]);
  return out;
}

std::unique_ptr<LICE_MemBitmap> Decode(const Bytes& data, std::size_t length = SIZE_MAX)
{
  return std::unique_ptr<LICE_MemBitmap>(
    LICE_DecodePngMemory(data.data(), static_cast<int>(std::min(length, data.size()))));
}

// Every colour type and depth at odd widths: plain, with transparency (a partial palette
// tRNS, or a key colour present in the image), and interlaced.
std::vector<PngImage> AllKinds()
{
  std::vector<PngImage> out;
  const int kinds[][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                          {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  unsigned seed = 1;
  for (const auto& k : kinds)
    for (int width : {1, 3, 5, 7, 13})
      for (int variant = 0; variant < 3; ++variant)
      {
        PngImage im = RandomPng(k[0], k[1], width, 1 + width % 4, ++seed);
        im.interlaced = variant == 2;
        if (variant == 1 && k[0] == 3)
          for (int i = 0; i < (1 << k[1]) / 2 + 1; ++i)
            im.paletteAlpha.push_back(static_cast<std::uint8_t>(i * 37));
        if (variant == 1 && (k[0] == 0 || k[0] == 2))
        {
          im.hasTransparentColour = true;
          for (int c = 0; c < 3; ++c)
            im.transparent[c] = im.samples[static_cast<std::size_t>(c % im.Channels())];
        }
        out.push_back(im);
      }
  return out;
}

struct TempDir
{
  static inline int count = 0;
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("lice-png-" + std::to_string(std::random_device{}()) + "-" + std::to_string(++count));
  TempDir() { std::filesystem::create_directories(path); }
  ~TempDir() { std::filesystem::remove_all(path); }
  std::string Write(const std::string& name, const Bytes& data) const
  {
    const std::string file = (path / name).string();
    std::ofstream(std::filesystem::u8path(file), std::ios::binary)
      .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return file;
  }
};

}  // namespace

TEST(PngMemory, EveryColourTypeAndDepth)
{
  for (const PngImage& im : AllKinds())
  {
    SCOPED_TRACE(::testing::Message() << "type " << im.colourType << " depth " << im.depth << " width " << im.width
                                      << " interlaced " << im.interlaced << " tRNS "
                                      << (im.hasTransparentColour || !im.paletteAlpha.empty()));
    auto bitmap = Decode(WritePng(im));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->PixelWidth(), im.width);
    EXPECT_EQ(bitmap->PixelHeight(), im.height);
    EXPECT_EQ(PixelsOf(bitmap.get()), im.Expected());
  }
  PngImage rgba = RandomPng(6, 8, 1, 1, 1);
  rgba.samples = {10, 20, 30, 40};
  EXPECT_EQ(PixelsOf(Decode(WritePng(rgba)).get()), std::vector<Pixel32>{0x280A141E});
}

// Not a PNG, malformed headers, and sizes beyond the side limit or the store cap (refused
// before anything of that size is allocated).
TEST(PngMemory, RefusesWhatIsNotADecodablePng)
{
  const Bytes signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  EXPECT_FALSE(Decode(signature));
  EXPECT_FALSE(Decode(signature, 7));
  EXPECT_EQ(LICE_DecodePngMemory(nullptr, 100), nullptr);
  EXPECT_EQ(LICE_DecodePngMemory(signature.data(), -1), nullptr);
  Bytes wrong = WritePng(RandomPng(6, 8, 3, 3, 5));
  wrong[1] = 'Q';
  EXPECT_FALSE(Decode(wrong));
  EXPECT_TRUE(Decode(HandMadePng(4, 4, 8, 6, 4 * 17)));  // the hand-made frame itself is sound
  const Bytes bad[] = {
    HandMadePng(0, 5, 8, 6, 10),     // width 0
    HandMadePng(4, 4, 4, 2, 100),    // RGB at 4 bits does not exist
    HandMadePng(4, 4, 8, 6, 0),      // no image data
    HandMadePng(4, 4, 8, 3, 4 * 5),  // palette image without a palette
    HandMadePng(1000000, 1074, 8, 6, 4001 * 2),
    HandMadePng(40000, 1, 8, 6, 160001),
    HandMadePng(30000, 30000, 8, 6, 120001),
    HandMadePng(0x80000000u, 1, 8, 6, 100),
    HandMadePng(20000, 4000, 1, 0, 2501 * 2),
  };
  for (const Bytes& file : bad)
    EXPECT_FALSE(Decode(file)) << &file - bad;
}

// Every truncation and single-byte damage of one file, then random edits of files of every
// kind and random bytes after a signature: each fails cleanly or decodes a sound image (no
// partial image, no leak under LeakSanitizer, no access outside the buffers under ASan).
TEST(PngMemory, DamagedFilesFailCleanly)
{
  PngImage im = RandomPng(6, 8, 9, 7, 33);
  const Bytes file = WritePng(im);
  const std::vector<Pixel32> expected = im.Expected();
  for (std::size_t n = 0; n < file.size(); ++n)
  {
    auto bitmap = Decode(file, n);
    if (n < file.size() - 12)  // only the end chunk may be missing
    {
      EXPECT_FALSE(bitmap) << n;
    }
    else if (bitmap)
    {
      EXPECT_EQ(PixelsOf(bitmap.get()), expected) << n;
    }
    Bytes damaged = file;
    damaged[n] ^= 0x20;
    if (auto bitmap = Decode(damaged); bitmap && n >= 8 && n < file.size() - 12)
    {
      EXPECT_EQ(PixelsOf(bitmap.get()), expected) << "byte " << n;
    }
  }

  std::mt19937 rng(77);
  std::vector<Bytes> seeds;
  for (const PngImage& kind : AllKinds())
    if (rng() % 8 == 0)
      seeds.push_back(WritePng(kind));
  for (int i = 0; i < 4000; ++i)
  {
    Bytes data = seeds[rng() % seeds.size()];
    for (int edits = 1 + static_cast<int>(rng() % 6); edits > 0 && data.size() > 8; --edits)
    {
      const std::size_t at = 8 + rng() % (data.size() - 8);
      switch (rng() % 4)
      {
      case 0:
        data[at] = static_cast<unsigned char>(rng());
        break;
      case 1:
        data.resize(at);
        break;
      case 2:
        data.insert(data.begin() + static_cast<long>(at), static_cast<unsigned char>(rng()));
        break;
      default:
        data[at] ^= static_cast<unsigned char>(1u << (rng() % 8));
        break;
      }
    }
    if (auto bitmap = Decode(data))
    {
      ASSERT_TRUE(bitmap->PixelWidth() > 0 && bitmap->PixelWidth() <= LICE_MaxPngSide && bitmap->PixelData());
    }
    data.resize(8);
    for (int n = static_cast<int>(rng() % 200); n > 0; --n)
      data.push_back(static_cast<unsigned char>(rng()));
    ASSERT_FALSE(Decode(data)) << i;  // random bytes after the signature
  }
}

TEST(PngFile, DecodesIntoNewOrGivenBitmaps)
{
  const TempDir dir;
  PngImage im = RandomPng(2, 16, 5, 4, 8);
  const Bytes data = WritePng(im);
  const std::string image = dir.Write("image.png", data);

  std::unique_ptr<LICE_IBitmap> made(LICE_DecodePngFile(image.c_str(), nullptr));
  ASSERT_TRUE(made);
  EXPECT_EQ(PixelsOf(made.get()), im.Expected());
  LICE_MemBitmap given(2, 2);
  EXPECT_EQ(LICE_DecodePngFile(image.c_str(), &given), &given);
  EXPECT_EQ(PixelsOf(&given), im.Expected());
  // An upside-down bitmap receives row i at memory row height - 1 - i. A given bitmap that
  // cannot take the size is not deleted, and nothing is written.
  GuardedBitmap flipped(5, 4, true), wrongSize(3, 3);
  EXPECT_EQ(LICE_DecodePngFile(image.c_str(), &flipped), &flipped);
  EXPECT_EQ(flipped.Pixels(), im.Expected());
  EXPECT_EQ(LICE_DecodePngFile(image.c_str(), &wrongSize), nullptr);
  EXPECT_TRUE(flipped.GuardsIntact() && wrongSize.GuardsIntact());
  // A path outside ASCII arrives as UTF-8 (and is opened as UTF-16 on Windows).
  EXPECT_TRUE(std::unique_ptr<LICE_IBitmap>(LICE_DecodePngFile(dir.Write("bild-\xC3\xA4.png", data).c_str(), nullptr)));

  const Bytes cut(data.begin(), data.begin() + static_cast<long>(data.size() / 2));
  for (const std::string& path : {(dir.path / "missing.png").string(), dir.Write("text.png", {'n', 'o', 't'}),
                                  dir.Write("empty.png", {}), dir.Write("cut.png", cut)})
    EXPECT_EQ(LICE_DecodePngFile(path.c_str(), &given), nullptr) << path;
  EXPECT_EQ(LICE_DecodePngFile(nullptr, nullptr), nullptr);
  EXPECT_EQ(LICE_DecodePngFile(dir.Write("huge.png", HandMadePng(30000, 30000, 8, 6, 1000)).c_str(), &given), nullptr);
  EXPECT_NE(given.PixelWidth(), 30000);  // refused before the given bitmap was resized
}

// With checkExtension, paths not ending in ".png" (any case) are refused.
TEST(PngFile, LoaderRecordChecksTheExtension)
{
  ASSERT_NE(ImageLoaderList, nullptr);
  const PngImageLoader* loader = ImageLoaderList;
  EXPECT_STREQ(loader->filterText(), "PNG files (*.PNG)");
  const TempDir dir;
  std::filesystem::create_directories(dir.path / "a");
  std::filesystem::create_directories(dir.path / "dir.png");
  for (auto [name, pngName] : {std::pair<const char*, bool>{"IMAGE.PNG", true},
                               {"a/b.png", true},
                               {".png", true},
                               {"png", false},
                               {"file.png.txt", false},
                               {"dir.png/file", false}})
  {
    const std::string path = dir.Write(name, WritePng(RandomPng(6, 8, 2, 2, 9)));
    std::unique_ptr<LICE_IBitmap> checked(loader->load(path.c_str(), true, nullptr));
    std::unique_ptr<LICE_IBitmap> unchecked(loader->load(path.c_str(), false, nullptr));
    EXPECT_TRUE(bool(checked) == pngName && unchecked) << name;
  }
  EXPECT_EQ(loader->load("png", true, nullptr), nullptr);  // shorter than the extension
}
