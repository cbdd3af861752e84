#include "lice/glyphs/LICE_FreeTypeRasteriser.h"

#include <cstdint>
#include <string>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include "lice/LICE_Bitmap.h"

namespace {
struct FreeTypeFont
{
  FT_Face face = nullptr;
  int height = 0;  // the cell height: ascent + descent
  int ascent = 0;
  FT_Int32 loadFlags = FT_LOAD_DEFAULT;
  std::string file;
};

FreeTypeFont* FromHandle(LICE_FontHandle font)
{
  return reinterpret_cast<FreeTypeFont*>(font);
}

// One library per process, never released: faces are released one by one, and the library
// must outlive fonts freed by static destructors. Guarded by the font lock.
FT_Library Library()
{
  static FT_Library library = nullptr;
  static bool tried = false;
  if (!tried)
  {
    tried = true;
    if (FT_Init_FreeType(&library) != 0)
      library = nullptr;
  }
  return library;
}

// Our own fontconfig configuration, loaded on first use and released at unload. It is ours
// alone, so releasing it never disturbs a host that uses fontconfig itself.
FcConfig* g_fontConfig = nullptr;
bool g_fontConfigTried = false;

struct FontConfigRelease
{
  ~FontConfigRelease()
  {
    std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
    if (g_fontConfig)
      FcConfigDestroy(g_fontConfig);
    g_fontConfig = nullptr;  // a later request fails cleanly instead of using a freed config
  }
} g_fontConfigRelease;

FcConfig* FontConfig()
{
  if (!g_fontConfigTried)
  {
    g_fontConfigTried = true;
    g_fontConfig = FcInitLoadConfigAndFonts();
  }
  return g_fontConfig;
}

// The face file for a family, weight and slant, as fontconfig resolves it (aliases included).
bool MatchFontFile(const char* face, int weight, bool italic, std::string* file, int* index)
{
  FcConfig* config = FontConfig();
  if (!config)
    return false;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern)
    return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face));
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight <= 0 ? 400 : weight));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match)
    return false;
  FcChar8* path = nullptr;
  bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
  if (found)
  {
    *file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch)
      *index = 0;
  }
  FcPatternDestroy(match);
  return found;
}

// Design units of the ascent and descent a GDI font height spans (the OS/2 "win" metrics,
// else hhea, else the em).
void DesignExtent(FT_Face face, long* ascent, long* descent)
{
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->usWinAscent + os2->usWinDescent > 0)
  {
    *ascent = os2->usWinAscent;
    *descent = os2->usWinDescent;
  }
  else if (face->ascender - face->descender > 0)
  {
    *ascent = face->ascender;
    *descent = -face->descender;
  }
  else
  {
    *ascent = face->units_per_EM;
    *descent = 0;
  }
}

long RoundedRatio(long a, long b)
{
  return (2 * a + b) / (2 * b);
}

// Sizes the face as GDI would: a positive height is the cell (ascent + descent), a negative
// one the em.
bool SizeFace(FreeTypeFont* font, int height)
{
  FT_Face face = font->face;
  if (face->units_per_EM <= 0)
    return false;
  long ascent = 0, descent = 0;
  DesignExtent(face, &ascent, &descent);
  const long extent = ascent + descent;
  const long upem = face->units_per_EM;
  long emPixels64 = 0;
  if (height > 0)
  {
    font->height = height;
    font->ascent = static_cast<int>(RoundedRatio(height * ascent, extent));
    emPixels64 = RoundedRatio(static_cast<long>(height) * 64 * upem, extent);
  }
  else
  {
    const long em = -static_cast<long>(height);
    font->height = static_cast<int>(RoundedRatio(em * extent, upem));
    font->ascent = static_cast<int>(RoundedRatio(em * ascent, upem));
    emPixels64 = em * 64;
  }
  if (font->height < 1 || emPixels64 < 1)
    return false;
  FT_Size_RequestRec request = {};
  request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
  request.height = emPixels64;
  return FT_Request_Size(face, &request) == 0;
}

}  // namespace

LICE_FontHandle LICE_FreeTypeRasteriser::CreateFontHandle(const char* face, int height, int weight, bool italic,
                                                          int /*orientationTenths*/, int quality)
{
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  if (height == 0)
    height = 12;
  if (height > 16384 || height < -16384)
    return nullptr;
  FT_Library library = Library();
  if (!library)
    return nullptr;
  std::string file;
  int index = 0;
  if (!MatchFontFile(face ? face : "", weight, italic, &file, &index))
    return nullptr;

  auto* font = new FreeTypeFont;
  font->file = file;
  // Quality 3 is GDI's non-anti-aliased: hinted for and rendered as one-bit glyphs.
  font->loadFlags = quality == 3 ? FT_LOAD_TARGET_MONO : FT_LOAD_DEFAULT;
  if (FT_New_Face(library, file.c_str(), index, &font->face) != 0)
  {
    delete font;
    return nullptr;
  }
  if (!SizeFace(font, height))
  {
    FT_Done_Face(font->face);
    delete font;
    return nullptr;
  }
  return reinterpret_cast<LICE_FontHandle>(font);
}

void LICE_FreeTypeRasteriser::DeleteFontHandle(LICE_FontHandle handle)
{
  FreeTypeFont* font = FromHandle(handle);
  if (!font)
    return;
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  FT_Done_Face(font->face);
  delete font;
}

void LICE_FreeTypeRasteriser::PrepareCanvas(LICE_IBitmap*)
{
  // Nothing to select: glyph pixels are written straight into the canvas.
}

int LICE_FreeTypeRasteriser::LineHeight(LICE_FontHandle handle, LICE_IBitmap*)
{
  FreeTypeFont* font = FromHandle(handle);
  return font ? font->height : 0;
}

void LICE_FreeTypeRasteriser::MeasureGlyph(LICE_FontHandle handle, LICE_IBitmap*, unsigned short ch, int* advance,
                                           int* cellHeight)
{
  *advance = 0;
  *cellHeight = 0;
  FreeTypeFont* font = FromHandle(handle);
  if (!font)
    return;
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  // An unmapped code loads glyph 0, the font's own "missing" box, as GDI would show it.
  if (FT_Load_Char(font->face, ch, font->loadFlags) != 0)
    return;
  *advance = static_cast<int>((font->face->glyph->advance.x + 32) >> 6);
  *cellHeight = font->height;
}

void LICE_FreeTypeRasteriser::RenderGlyph(LICE_FontHandle handle, LICE_IBitmap* canvas, unsigned short ch,
                                          int cellWidth, int cellHeight)
{
  FreeTypeFont* font = FromHandle(handle);
  if (!font || !canvas || !canvas->PixelData())
    return;
  std::lock_guard<std::recursive_mutex> hold(LICE_FontLock());
  if (FT_Load_Char(font->face, ch, font->loadFlags | FT_LOAD_RENDER) != 0)
    return;
  const FT_GlyphSlot slot = font->face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
    return;
  const int grays = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;

  const int right = cellWidth < canvas->PixelWidth() ? cellWidth : canvas->PixelWidth();
  const int bottom = cellHeight < canvas->PixelHeight() ? cellHeight : canvas->PixelHeight();
  Pixel32* pixels = canvas->PixelData();
  const int pitch = canvas->RowPitch();
  const int top = font->ascent - slot->bitmap_top;
  for (int row = 0; row < static_cast<int>(bitmap.rows); ++row)
  {
    const int y = top + row;
    if (y < 0 || y >= bottom)
      continue;
    const unsigned char* src = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    for (int col = 0; col < static_cast<int>(bitmap.width); ++col)
    {
      const int x = slot->bitmap_left + col;
      if (x < 0 || x >= right)
        continue;
      int coverage = mono ? ((src[col >> 3] >> (7 - (col & 7))) & 1) * 255 : src[col] * 255 / grays;
      pixels[static_cast<std::ptrdiff_t>(y) * pitch + x] = LICE_Rgba(coverage, coverage, coverage, 255);
    }
  }
}

const char* LICE_FreeTypeRasteriser::FontFile(LICE_FontHandle handle)
{
  FreeTypeFont* font = FromHandle(handle);
  return font ? font->file.c_str() : "";
}

int LICE_FreeTypeRasteriser::Ascent(LICE_FontHandle handle)
{
  FreeTypeFont* font = FromHandle(handle);
  return font ? font->ascent : 0;
}

LICE_GlyphRasteriser* LICE_PlatformGlyphRasteriser()
{
  static LICE_FreeTypeRasteriser* rasteriser = new LICE_FreeTypeRasteriser;
  return rasteriser;
}
