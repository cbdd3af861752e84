#include "Typeface.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>

struct Typeface::Library
{
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

namespace {
// Light hinting keeps small letters crisp without changing their shapes.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT;

int Advance(FT_Face face, char c)
{
  if (FT_Load_Char(face, FT_ULong(static_cast<unsigned char>(c)), kLoadFlags))
    return 0;
  return int((face->glyph->advance.x + 32) >> 6);
}
}  // namespace

Typeface::Typeface(const std::string& path) : mFt(new Library)
{
  if (FT_Init_FreeType(&mFt->library) || FT_New_Face(mFt->library, path.c_str(), 0, &mFt->face))
  {
    if (mFt->library)
      FT_Done_FreeType(mFt->library);
    delete mFt;
    throw std::runtime_error("cannot open the font " + path);
  }
}

Typeface::~Typeface()
{
  FT_Done_Face(mFt->face);
  FT_Done_FreeType(mFt->library);
  delete mFt;
}

int Typeface::Measure(const std::string& text, int size, int tracking) const
{
  FT_Set_Pixel_Sizes(mFt->face, 0, FT_UInt(size));
  int width = 0;
  for (char c : text)
    width += Advance(mFt->face, c) + tracking;
  return text.empty() ? 0 : width - tracking;
}

Coverage Typeface::Render(const std::string& text, int size, int tracking, int* ascent) const
{
  FT_Face face = mFt->face;
  FT_Set_Pixel_Sizes(face, 0, FT_UInt(size));
  *ascent = int((face->size->metrics.ascender + 63) >> 6);
  const int descent = int((-face->size->metrics.descender + 63) >> 6);
  Coverage out;
  out.width = Measure(text, size, tracking) + 2 * size;  // room for overhangs on both sides
  out.height = *ascent + descent;
  out.alpha.assign(std::size_t(out.width) * std::size_t(out.height), 0);
  int pen = size;
  for (char c : text)
  {
    if (FT_Load_Char(face, FT_ULong(static_cast<unsigned char>(c)), kLoadFlags | FT_LOAD_RENDER))
      continue;
    const FT_Bitmap& glyph = face->glyph->bitmap;
    const int left = pen + face->glyph->bitmap_left, top = *ascent - face->glyph->bitmap_top;
    for (unsigned gy = 0; gy < glyph.rows; ++gy)
      for (unsigned gx = 0; gx < glyph.width; ++gx)
      {
        const int x = left + int(gx), y = top + int(gy);
        if (x < 0 || y < 0 || x >= out.width || y >= out.height)
          continue;
        std::uint8_t& a = out.alpha[std::size_t(y) * std::size_t(out.width) + std::size_t(x)];
        a = std::max(a, glyph.buffer[int(gy) * glyph.pitch + int(gx)]);
      }
    pen += int((face->glyph->advance.x + 32) >> 6) + tracking;
  }
  return out;
}

void Typeface::Draw(Canvas& canvas, const std::string& text, int size, float x, int baseline, Align align, Rgba colour,
                    int tracking) const
{
  int ascent = 0;
  const Coverage coverage = Render(text, size, tracking, &ascent);
  const int width = Measure(text, size, tracking);
  float left = x;
  if (align == Align::Centre)
    left = x - float(width) / 2;
  else if (align == Align::Right)
    left = x - float(width);
  canvas.Stamp(coverage, int(std::lround(left)) - size, baseline - ascent, colour);
}
