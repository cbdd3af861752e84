#include "Image.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

Image StackFrames(const std::vector<Image>& frames)
{
  if (frames.empty())
    return {};
  const int w = frames[0].width, h = frames[0].height;
  Image strip(w, h * int(frames.size()));
  for (std::size_t i = 0; i < frames.size(); ++i)
  {
    if (frames[i].width != w || frames[i].height != h)
      throw std::logic_error("frames of a strip differ in size");
    std::copy(frames[i].rgba.begin(), frames[i].rgba.end(), strip.At(0, int(i) * h));
  }
  return strip;
}

void WritePng(const std::string& path, const Image& image)
{
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file)
    throw std::runtime_error("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info || setjmp(png_jmpbuf(png)))
  {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng failed on " + path);
  }
  png_init_io(png, file.get());
  png_set_compression_level(png, 9);
  png_set_compression_mem_level(png, 9);
  png_set_compression_strategy(png, 0);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y)
    png_write_row(png, image.At(0, y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
}
