// PNG files as the editor's resources or a user's file hand them over: decoded from memory
// into a new bitmap, and from a file into a bitmap the caller gives (of any size, either
// row order). A decoded image must have the size it declares and fill its bitmap exactly.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>
#include <zlib.h>

#include "lice/LICE_Png.h"

namespace {
void Check(bool ok)
{
  if (!ok)
    std::abort();
}

// Touches every pixel, so a row table pointing outside the store shows under the sanitizer.
unsigned Sum(const LICE_IBitmap& b)
{
  unsigned s = 0;
  for (int y = 0; y < b.PixelHeight(); ++y)
    for (int x = 0; x < b.PixelWidth(); ++x)
      s += b.PixelData()[y * b.RowPitch() + x];
  return s;
}

// Rewrites every chunk's CRC, so that mutated headers and palettes reach the decoder instead
// of failing libpng's checksum test.
void FixChecksums(std::vector<uint8_t>& png)
{
  size_t at = 8;
  while (at + 12 <= png.size())
  {
    const uint32_t length =
      uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3];
    if (length > png.size() - at - 12)
      break;
    const uLong crc = crc32(0L, png.data() + at + 4, static_cast<uInt>(length + 4));
    uint8_t* out = png.data() + at + 8 + length;
    out[0] = uint8_t(crc >> 24), out[1] = uint8_t(crc >> 16), out[2] = uint8_t(crc >> 8), out[3] = uint8_t(crc);
    at += 12 + length;
  }
}

const std::string& ScratchPath()
{
  static const std::string path = "/tmp/tq_fuzz_png_" + std::to_string(getpid()) + ".png";
  return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 1)
    return 0;
  const uint8_t mode = data[0];
  std::vector<uint8_t> bytes(data + 1, data + size);
  if (mode & 0x40)
    FixChecksums(bytes);
  const uint8_t* png = bytes.data();
  const int length = static_cast<int>(bytes.size());

  if ((mode & 1) == 0)
  {
    std::unique_ptr<LICE_MemBitmap> bitmap(LICE_DecodePngMemory(png, length));
    if (bitmap)
    {
      Check(bitmap->PixelWidth() > 0 && bitmap->PixelHeight() > 0);
      Check(bitmap->PixelWidth() <= LICE_MaxPngSide && bitmap->PixelHeight() <= LICE_MaxPngSide);
      Sum(*bitmap);
    }
    return 0;
  }

  std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
  if (!file)
    return 0;
  if (length > 0)  // an empty vector's data may be null, which fwrite must not be given
    std::fwrite(png, 1, static_cast<size_t>(length), file);
  std::fclose(file);
  const int w = (mode >> 1) & 7, h = (mode >> 4) & 3;
  std::unique_ptr<LICE_IBitmap> given;
  if (mode & 0x80)
    given = std::make_unique<LICE_SysBitmap>(w, h);
  else
    given = std::make_unique<LICE_MemBitmap>(w, h);
  LICE_IBitmap* result = LICE_LoadPngImage(ScratchPath().c_str(), true, given.get());
  Check(result == nullptr || result == given.get());
  Sum(*given);
  return 0;
}
