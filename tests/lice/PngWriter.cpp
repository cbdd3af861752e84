#include "tests/lice/PngWriter.h"

#include <png.h>
#include <zlib.h>

#include <random>
#include <stdexcept>

PngImage RandomPng(int colourType, int depth, int width, int height, unsigned seed)
{
  PngImage im;
  im.colourType = colourType, im.depth = depth, im.width = width, im.height = height;
  std::mt19937 rng(seed);
  if (colourType == 3)
    for (int i = 0; i < 3 * (1 << depth); ++i)
      im.palette.push_back(static_cast<std::uint8_t>(rng()));
  const unsigned limit = colourType == 3 ? unsigned(im.palette.size() / 3) : (1u << depth);
  im.samples.resize(static_cast<std::size_t>(width * height * im.Channels()));
  for (auto& s : im.samples)
    s = static_cast<std::uint16_t>(rng() % limit);
  return im;
}

std::vector<Pixel32> PngImage::Expected() const
{
  auto to8 = [this](int v) { return depth == 16 ? v >> 8 : depth == 8 ? v : v * 255 / ((1 << depth) - 1); };
  std::vector<Pixel32> out;
  for (std::size_t i = 0; i < samples.size(); i += std::size_t(Channels()))
  {
    const std::uint16_t* s = &samples[i];
    const bool keyed = hasTransparentColour && s[0] == transparent[0] &&
                       (colourType != 2 || (s[1] == transparent[1] && s[2] == transparent[2]));
    int r = to8(s[0]), g = r, b = r, a = keyed ? 0 : 255;
    if (colourType == 2 || colourType == 6)
      g = to8(s[1]), b = to8(s[2]);
    if (colourType == 4)
      a = to8(s[1]);
    if (colourType == 6)
      a = to8(s[3]);
    if (colourType == 3)
    {
      r = palette[s[0] * 3], g = palette[s[0] * 3 + 1], b = palette[s[0] * 3 + 2];
      a = s[0] < paletteAlpha.size() ? paletteAlpha[s[0]] : 255;
    }
    out.push_back(LICE_Rgba(r, g, b, a));
  }
  return out;
}

namespace {

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t v)
{
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<unsigned char>(v >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char type[4], const std::vector<unsigned char>& data)
{
  std::vector<unsigned char> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), body.begin(), body.end());
  PutBigEndian(out, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

}  // namespace

std::vector<unsigned char> WritePng(const PngImage& im)
{
  // Rows packed as PNG stores them: big-endian 16-bit, or small samples MSB first.
  std::vector<std::vector<unsigned char>> rows;
  std::vector<png_bytep> pointers;
  const int perRow = im.width * im.Channels();
  for (int y = 0; y < im.height; ++y)
  {
    std::vector<unsigned char> row(static_cast<std::size_t>((perRow * im.depth + 7) / 8), 0);
    for (int i = 0; i < perRow; ++i)
    {
      const unsigned v = im.samples[static_cast<std::size_t>(y * perRow + i)];
      if (im.depth == 16)
        row[i * 2] = static_cast<unsigned char>(v >> 8), row[i * 2 + 1] = static_cast<unsigned char>(v);
      else
        row[i * im.depth / 8] |= static_cast<unsigned char>(v << (8 - im.depth - i * im.depth % 8));
    }
    rows.push_back(row);
  }
  for (auto& r : rows)
    pointers.push_back(r.data());

  std::vector<unsigned char> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)))
    throw std::runtime_error("libpng refused the test image");
  png_set_write_fn(
    png, &out,
    [](png_structp p, png_bytep data, png_size_t size) {
      auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(p));
      bytes->insert(bytes->end(), data, data + size);
    },
    [](png_structp) {});
  png_set_IHDR(png, info, im.width, im.height, im.depth, im.colourType,
               im.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (std::size_t i = 0; i + 2 < im.palette.size(); i += 3)
    palette.push_back({im.palette[i], im.palette[i + 1], im.palette[i + 2]});
  if (!palette.empty())
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  png_color_16 colour = {};
  colour.gray = colour.red = im.transparent[0];
  colour.green = im.transparent[1];
  colour.blue = im.transparent[2];
  if (!im.paletteAlpha.empty())
    png_set_tRNS(png, info, im.paletteAlpha.data(), static_cast<int>(im.paletteAlpha.size()), nullptr);
  else if (im.hasTransparentColour)
    png_set_tRNS(png, info, nullptr, 0, &colour);
  png_write_info(png, info);
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::vector<unsigned char> HandMadePng(std::uint32_t width, std::uint32_t height, int depth, int colourType,
                                       std::size_t rawBytes)
{
  std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, ihdr;
  PutBigEndian(ihdr, width);
  PutBigEndian(ihdr, height);
  ihdr.insert(ihdr.end(), {static_cast<unsigned char>(depth), static_cast<unsigned char>(colourType), 0, 0, 0});
  PutChunk(out, "IHDR", ihdr);
  if (rawBytes)
  {
    std::vector<unsigned char> raw(rawBytes, 0), packed(compressBound(static_cast<uLong>(rawBytes)));
    uLongf size = static_cast<uLongf>(packed.size());
    compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(size);
    PutChunk(out, "IDAT", packed);
  }
  PutChunk(out, "IEND", {});
  return out;
}
