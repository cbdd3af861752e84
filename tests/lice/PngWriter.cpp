#include "tests/lice/PngWriter.h"

#include <png.h>
#include <zlib.h>

#include <random>
#include <stdexcept>

int PngImage::Channels() const
{
  switch (colourType)
  {
  case 0: case 3: return 1;
  case 4: return 2;
  case 2: return 3;
  default: return 4;
  }
}

void PngImage::RandomSamples(unsigned seed)
{
  std::mt19937 rng(seed);
  const int limit = colourType == 3 ? static_cast<int>(palette.size() / 3) : (1 << depth);
  samples.resize(static_cast<std::size_t>(width * height * Channels()));
  for (auto& s : samples) s = static_cast<std::uint16_t>(rng() % limit);
}

std::vector<Pixel32> PngImage::Expected() const
{
  auto to8 = [this](int v) { return depth == 16 ? v >> 8 : depth == 8 ? v : v * 255 / ((1 << depth) - 1); };
  std::vector<Pixel32> out;
  const int n = Channels();
  for (int i = 0; i < width * height; ++i)
  {
    const std::uint16_t* s = &samples[static_cast<std::size_t>(i * n)];
    int r, g, b, a = 255;
    switch (colourType)
    {
    case 0:
      r = g = b = to8(s[0]);
      if (hasTransparentColour && s[0] == transparent[0]) a = 0;
      break;
    case 2:
      r = to8(s[0]), g = to8(s[1]), b = to8(s[2]);
      if (hasTransparentColour && s[0] == transparent[0] && s[1] == transparent[1] && s[2] == transparent[2]) a = 0;
      break;
    case 3:
      r = palette[s[0] * 3], g = palette[s[0] * 3 + 1], b = palette[s[0] * 3 + 2];
      if (s[0] < paletteAlpha.size()) a = paletteAlpha[s[0]];
      break;
    case 4: r = g = b = to8(s[0]), a = to8(s[1]); break;
    default: r = to8(s[0]), g = to8(s[1]), b = to8(s[2]), a = to8(s[3]); break;
    }
    out.push_back(LICE_Rgba(r, g, b, a));
  }
  return out;
}

namespace {

void Append(png_structp png, png_bytep data, png_size_t size)
{
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  for (png_size_t i = 0; i < size; ++i) out->push_back(data[i]);
}

void NoFlush(png_structp) {}

// Samples packed into PNG rows: big-endian 16-bit, or several small samples per byte (MSB first).
std::vector<std::vector<unsigned char>> PackRows(const PngImage& im)
{
  std::vector<std::vector<unsigned char>> rows;
  const int perRow = im.width * im.Channels();
  for (int y = 0; y < im.height; ++y)
  {
    std::vector<unsigned char> row(static_cast<std::size_t>((perRow * im.depth + 7) / 8), 0);
    for (int i = 0; i < perRow; ++i)
    {
      const unsigned v = im.samples[static_cast<std::size_t>(y * perRow + i)];
      if (im.depth == 16)
      {
        row[i * 2] = static_cast<unsigned char>(v >> 8);
        row[i * 2 + 1] = static_cast<unsigned char>(v);
      }
      else
      {
        const int bit = i * im.depth;
        row[bit / 8] |= static_cast<unsigned char>(v << (8 - im.depth - bit % 8));
      }
    }
    rows.push_back(row);
  }
  return rows;
}

} // namespace

std::vector<unsigned char> WritePng(const PngImage& im)
{
  std::vector<unsigned char> out;
  std::vector<std::vector<unsigned char>> rows = PackRows(im);
  std::vector<png_bytep> pointers;
  for (auto& r : rows) pointers.push_back(r.data());

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng refused the test image");
  png_set_write_fn(png, &out, Append, NoFlush);
  png_set_IHDR(png, info, im.width, im.height, im.depth, im.colourType,
               im.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (std::size_t i = 0; i + 2 < im.palette.size(); i += 3)
    palette.push_back({im.palette[i], im.palette[i + 1], im.palette[i + 2]});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  png_color_16 colour = {};
  colour.gray = im.transparent[0];
  colour.red = im.transparent[0];
  colour.green = im.transparent[1];
  colour.blue = im.transparent[2];
  if (!im.paletteAlpha.empty())
    png_set_tRNS(png, info, im.paletteAlpha.data(), static_cast<int>(im.paletteAlpha.size()), nullptr);
  else if (im.hasTransparentColour) png_set_tRNS(png, info, nullptr, 0, &colour);
  png_write_info(png, info);
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

namespace {

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t v)
{
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

void PutBytes(std::vector<unsigned char>& out, const std::vector<unsigned char>& bytes)
{
  for (unsigned char b : bytes) out.push_back(b);
}

} // namespace

std::vector<unsigned char> PngChunk(const char type[4], const std::vector<unsigned char>& data)
{
  std::vector<unsigned char> body;
  for (int i = 0; i < 4; ++i) body.push_back(static_cast<unsigned char>(type[i]));
  PutBytes(body, data);
  std::vector<unsigned char> out;
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  PutBytes(out, body);
  PutBigEndian(out, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
  return out;
}

std::vector<unsigned char> HandMadePng(std::uint32_t width, std::uint32_t height, int depth, int colourType,
                                       std::size_t rawBytes)
{
  std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<unsigned char> ihdr;
  PutBigEndian(ihdr, width);
  PutBigEndian(ihdr, height);
  ihdr.push_back(static_cast<unsigned char>(depth));
  ihdr.push_back(static_cast<unsigned char>(colourType));
  for (int i = 0; i < 3; ++i) ihdr.push_back(0); // compression, filter, interlace
  PutBytes(out, PngChunk("IHDR", ihdr));
  if (rawBytes)
  {
    std::vector<unsigned char> raw(rawBytes, 0), packed(compressBound(static_cast<uLong>(rawBytes)));
    uLongf size = static_cast<uLongf>(packed.size());
    compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(size);
    PutBytes(out, PngChunk("IDAT", packed));
  }
  PutBytes(out, PngChunk("IEND", {}));
  return out;
}
