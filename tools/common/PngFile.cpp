#include "tools/common/PngFile.h"

#include "lice/LICE_Bitmap.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace toolcommon {

bool WritePngFile(const char* path, const LICE_IBitmap& bitmap, std::string* error)
{
  const int width = bitmap.PixelWidth();
  const int height = bitmap.PixelHeight();
  if (!bitmap.PixelData() || width <= 0 || height <= 0)
  {
    *error = "nothing to write";
    return false;
  }
  std::vector<unsigned char> rows(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
  {
    const int row = bitmap.IsUpsideDown() ? height - 1 - y : y;
    const Pixel32* src = bitmap.PixelData() + static_cast<ptrdiff_t>(row) * bitmap.RowPitch();
    unsigned char* dst = &rows[static_cast<size_t>(y) * width * 4];
    for (int x = 0; x < width; ++x, dst += 4)
    {
      dst[0] = static_cast<unsigned char>(LICE_Red(src[x]));
      dst[1] = static_cast<unsigned char>(LICE_Green(src[x]));
      dst[2] = static_cast<unsigned char>(LICE_Blue(src[x]));
      dst[3] = static_cast<unsigned char>(LICE_Alpha(src[x]));
    }
  }
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "wb"), &std::fclose);
  if (!file)
  {
    *error = std::string("cannot open ") + path + ": " + std::strerror(errno);
    return false;
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_stdio(&image, file.get(), 0, rows.data(), 0, nullptr))
  {
    *error = std::string("cannot write ") + path + ": " + image.message;
    return false;
  }
  // A full disk shows only when the buffered bytes are flushed at closing.
  if (std::fclose(file.release()) != 0)
  {
    *error = std::string("cannot write ") + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace toolcommon
