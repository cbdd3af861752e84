#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "lice/LICE_Png.h"
#include "tests/lice/PngWriter.h"
#include "tests/lice/TestBitmaps.h"

namespace {

std::vector<Pixel32> PixelsOf(LICE_IBitmap* b)
{
  std::vector<Pixel32> out;
  for (int y = 0; y < b->PixelHeight(); ++y)
    for (int x = 0; x < b->PixelWidth(); ++x) out.push_back(b->PixelData()[y * b->RowPitch() + x]);
  return out;
}

std::unique_ptr<LICE_MemBitmap> Decode(const std::vector<unsigned char>& data, std::size_t length)
{
  return std::unique_ptr<LICE_MemBitmap>(LICE_DecodePngMemory(data.data(), static_cast<int>(length)));
}
std::unique_ptr<LICE_MemBitmap> Decode(const std::vector<unsigned char>& data) { return Decode(data, data.size()); }

PngImage Image(int colourType, int depth, int width, int height, unsigned seed)
{
  PngImage im;
  im.colourType = colourType;
  im.depth = depth;
  im.width = width;
  im.height = height;
  if (colourType == 3)
  {
    std::mt19937 rng(seed + 100);
    for (int i = 0; i < 3 * (1 << depth); ++i) im.palette.push_back(static_cast<std::uint8_t>(rng()));
  }
  im.RandomSamples(seed);
  return im;
}

// Every colour type and depth, with and without transparency, interlaced or not, at odd widths.
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
        PngImage im = Image(k[0], k[1], width, 1 + width % 4, ++seed);
        im.interlaced = variant == 2;
        if (variant == 1 && k[0] == 3)
        {
          // A partial tRNS: entries beyond it are opaque.
          for (int i = 0; i < (1 << k[1]) / 2 + 1; ++i) im.paletteAlpha.push_back(static_cast<std::uint8_t>(i * 37));
        }
        else if (variant == 1 && (k[0] == 0 || k[0] == 2))
        {
          im.hasTransparentColour = true;
          for (int c = 0; c < 3; ++c) im.transparent[c] = im.samples[static_cast<std::size_t>(c % im.Channels())];
        }
        out.push_back(im);
      }
  return out;
}

std::string TempDir()
{
  static int count = 0;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("lice-png-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                     "-" + std::to_string(++count) + "-" + std::to_string(std::rand()));
  std::filesystem::create_directories(dir);
  return dir.string();
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& data)
{
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  if (!data.empty()) std::fwrite(data.data(), 1, data.size(), f);
  std::fclose(f);
}

} // namespace

TEST(PngMemory, EveryColourTypeAndDepth)
{
  for (const PngImage& im : AllKinds())
  {
    auto bitmap = Decode(WritePng(im));
    ASSERT_TRUE(bitmap) << "type " << im.colourType << " depth " << im.depth << " width " << im.width;
    EXPECT_EQ(bitmap->PixelWidth(), im.width);
    EXPECT_EQ(bitmap->PixelHeight(), im.height);
    EXPECT_EQ(PixelsOf(bitmap.get()), im.Expected())
      << "type " << im.colourType << " depth " << im.depth << " width " << im.width << " interlaced "
      << im.interlaced << " tRNS " << (im.hasTransparentColour || !im.paletteAlpha.empty());
  }
}

TEST(PngMemory, RgbaBytesBecomeOneWord)
{
  PngImage rgba = Image(6, 8, 1, 1, 1);
  rgba.samples = {10, 20, 30, 40};
  EXPECT_EQ(PixelsOf(Decode(WritePng(rgba)).get()), std::vector<Pixel32>{0x280A141E});
}

TEST(PngMemory, RefusesWhatIsNotAPng)
{
  const std::vector<unsigned char> signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  EXPECT_FALSE(Decode(signature)); // the reader zero-fills and libpng refuses
  EXPECT_FALSE(Decode(signature, 7));
  EXPECT_EQ(LICE_DecodePngMemory(nullptr, 100), nullptr);
  EXPECT_EQ(LICE_DecodePngMemory(signature.data(), -1), nullptr);
  std::vector<unsigned char> wrong = WritePng(Image(6, 8, 3, 3, 5));
  wrong[1] = 'Q';
  EXPECT_FALSE(Decode(wrong));
  EXPECT_FALSE(Decode(HandMadePng(0, 5, 8, 6, 10)));       // width 0
  EXPECT_FALSE(Decode(HandMadePng(4, 4, 4, 2, 100)));      // RGB at 4 bits does not exist
  EXPECT_FALSE(Decode(HandMadePng(4, 4, 8, 6, 0)));        // no image data
  EXPECT_FALSE(Decode(HandMadePng(4, 4, 8, 3, 4 * 5)));    // palette image without a palette
  EXPECT_TRUE(Decode(HandMadePng(4, 4, 8, 6, 4 * 17)));    // the hand-made frame itself is sound
}

// Sizes a file can claim: beyond the side limit, or beyond the store cap, are refused before
// anything of that size is allocated.
TEST(PngMemory, OversizedImagesAreRefused)
{
  EXPECT_FALSE(Decode(HandMadePng(1000000, 1074, 8, 6, 4001 * 2)));
  EXPECT_FALSE(Decode(HandMadePng(40000, 1, 8, 6, 160001)));
  EXPECT_FALSE(Decode(HandMadePng(30000, 30000, 8, 6, 120001)));
  EXPECT_FALSE(Decode(HandMadePng(0x80000000u, 1, 8, 6, 100)));
  EXPECT_FALSE(Decode(HandMadePng(20000, 4000, 1, 0, 2501 * 2)));
}

// Every truncation, and damage anywhere, fails cleanly: no partial image, nothing leaked
// (LeakSanitizer), no access outside the buffers (AddressSanitizer).
TEST(PngMemory, TruncatedAndDamagedFilesFailCleanly)
{
  PngImage im = Image(6, 8, 9, 7, 33);
  const std::vector<unsigned char> file = WritePng(im);
  const std::vector<Pixel32> expected = im.Expected();
  for (std::size_t n = 0; n < file.size(); ++n)
  {
    auto bitmap = Decode(file, n);
    // Only the end chunk may be missing: the image is complete without it.
    if (n < file.size() - 12)
    {
      EXPECT_FALSE(bitmap) << n;
    }
    else if (bitmap)
    {
      EXPECT_EQ(PixelsOf(bitmap.get()), expected) << n;
    }
  }
  for (std::size_t i = 8; i < file.size() - 12; ++i)
  {
    std::vector<unsigned char> damaged = file;
    damaged[i] ^= 0x20;
    auto bitmap = Decode(damaged);
    if (bitmap)
    {
      EXPECT_EQ(PixelsOf(bitmap.get()), expected) << "byte " << i;
    }
  }
}

TEST(PngMemory, RandomDamageFuzz)
{
  std::mt19937 rng(77);
  std::vector<std::vector<unsigned char>> seeds;
  for (const PngImage& im : AllKinds())
    if (rng() % 8 == 0) seeds.push_back(WritePng(im));
  for (int i = 0; i < 4000; ++i)
  {
    std::vector<unsigned char> data = seeds[rng() % seeds.size()];
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int e = 0; e < edits; ++e)
    {
      const std::size_t at = 8 + rng() % (data.size() - 8);
      switch (rng() % 4)
      {
      case 0: data[at] = static_cast<unsigned char>(rng()); break;
      case 1: data.resize(at); break;
      case 2: data.insert(data.begin() + static_cast<long>(at), static_cast<unsigned char>(rng())); break;
      default: data[at] ^= static_cast<unsigned char>(1u << (rng() % 8)); break;
      }
      if (data.size() <= 8) break;
    }
    auto bitmap = Decode(data);
    if (bitmap)
    {
      ASSERT_GT(bitmap->PixelWidth(), 0);
      ASSERT_LE(bitmap->PixelWidth(), LICE_MaxPngSide);
      ASSERT_NE(bitmap->PixelData(), nullptr);
    }
  }
  for (int i = 0; i < 500; ++i)
  {
    std::vector<unsigned char> data = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    for (int n = static_cast<int>(rng() % 200); n > 0; --n) data.push_back(static_cast<unsigned char>(rng()));
    EXPECT_FALSE(Decode(data));
  }
}

TEST(PngFile, DecodesIntoNewOrGivenBitmaps)
{
  const std::string dir = TempDir();
  PngImage im = Image(2, 16, 5, 4, 8);
  const std::vector<unsigned char> data = WritePng(im);
  WriteFile(dir + "/image.png", data);
  WriteFile(dir + "/text.png", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'});
  WriteFile(dir + "/empty.png", {});

  std::unique_ptr<LICE_IBitmap> made(LICE_DecodePngFile((dir + "/image.png").c_str(), nullptr));
  ASSERT_TRUE(made);
  EXPECT_EQ(PixelsOf(made.get()), im.Expected());

  LICE_MemBitmap given(2, 2);
  EXPECT_EQ(LICE_DecodePngFile((dir + "/image.png").c_str(), &given), &given);
  EXPECT_EQ(PixelsOf(&given), im.Expected());

  // An upside-down bitmap receives row i at memory row height - 1 - i.
  GuardedBitmap flipped(5, 4, true);
  EXPECT_EQ(LICE_DecodePngFile((dir + "/image.png").c_str(), &flipped), &flipped);
  EXPECT_EQ(flipped.Pixels(), im.Expected());
  EXPECT_TRUE(flipped.GuardsIntact());
  // A given bitmap that cannot take the size is not deleted, and nothing is written.
  GuardedBitmap wrongSize(3, 3);
  EXPECT_EQ(LICE_DecodePngFile((dir + "/image.png").c_str(), &wrongSize), nullptr);
  EXPECT_TRUE(wrongSize.GuardsIntact());

  // A path that is not plain ASCII arrives as UTF-8 (and is opened as UTF-16 on Windows).
  const std::string named = dir + "/bild-\xC3\xA4.png";
  std::ofstream(std::filesystem::u8path(named), std::ios::binary)
    .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  std::unique_ptr<LICE_IBitmap> fromNamed(LICE_DecodePngFile(named.c_str(), nullptr));
  EXPECT_TRUE(fromNamed);

  EXPECT_EQ(LICE_DecodePngFile((dir + "/missing.png").c_str(), nullptr), nullptr);
  EXPECT_EQ(LICE_DecodePngFile((dir + "/text.png").c_str(), nullptr), nullptr);
  EXPECT_EQ(LICE_DecodePngFile((dir + "/empty.png").c_str(), &given), nullptr);
  EXPECT_EQ(LICE_DecodePngFile(nullptr, nullptr), nullptr);
  std::vector<unsigned char> cut(data.begin(), data.begin() + static_cast<long>(data.size() / 2));
  WriteFile(dir + "/cut.png", cut);
  EXPECT_EQ(LICE_DecodePngFile((dir + "/cut.png").c_str(), nullptr), nullptr);
  WriteFile(dir + "/huge.png", HandMadePng(30000, 30000, 8, 6, 1000));
  EXPECT_EQ(LICE_DecodePngFile((dir + "/huge.png").c_str(), &given), nullptr);
  EXPECT_NE(given.PixelWidth(), 30000); // refused before the given bitmap was resized
  std::filesystem::remove_all(dir);
}

TEST(PngFile, LoaderRecordChecksTheExtension)
{
  ASSERT_NE(ImageLoaderList, nullptr);
  const PngImageLoader* loader = ImageLoaderList;
  EXPECT_STREQ(loader->filterText(), "PNG files (*.PNG)");
  const std::string dir = TempDir();
  const std::vector<unsigned char> data = WritePng(Image(6, 8, 2, 2, 9));
  std::filesystem::create_directory(dir + "/a");
  std::filesystem::create_directory(dir + "/dir.png");
  for (const char* name : {"IMAGE.PNG", "a/b.png", ".png", "png", "file.png.txt", "dir.png/file"})
    WriteFile(dir + "/" + name, data);
  for (const char* name : {"IMAGE.PNG", "a/b.png", ".png"})
  {
    std::unique_ptr<LICE_IBitmap> b(loader->load((dir + "/" + name).c_str(), true, nullptr));
    EXPECT_TRUE(b) << name;
  }
  for (const char* name : {"png", "file.png.txt", "dir.png/file"})
  {
    EXPECT_EQ(loader->load((dir + "/" + name).c_str(), true, nullptr), nullptr) << name;
    std::unique_ptr<LICE_IBitmap> b(loader->load((dir + "/" + name).c_str(), false, nullptr));
    EXPECT_TRUE(b) << name;
  }
  EXPECT_EQ(loader->load("png", true, nullptr), nullptr);
  std::filesystem::remove_all(dir);
}
