// PNG decoding through libpng. libpng reports errors by long-jumping back to setjmp, which
// skips C++ destructors: the frame that calls setjmp holds no object with a destructor, the
// state that changes after it lives in a plain record in memory, and clean-up is done by hand.
#include "lice/LICE_Png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "lice/LICE_OpenFile.h"

namespace {

struct PngMemoryCursor
{
  const unsigned char* data;
  int left;
};

// Past the end the reader hands libpng zero bytes; libpng's own checks (chunk names, CRCs)
// then refuse the stream.
void PngMemoryReader(png_structp png, png_bytep buffer, png_size_t count)
{
  auto* cursor = static_cast<PngMemoryCursor*>(png_get_io_ptr(png));
  std::memset(buffer, 0, count);
  const png_size_t n = count < png_size_t(cursor->left) ? count : png_size_t(cursor->left);
  if (n)
  {
    std::memcpy(buffer, cursor->data, n);
    cursor->data += n;
    cursor->left -= static_cast<int>(n);
  }
}

// The plug-in runs inside a host: libpng's messages must not go to the host's stderr.
void SilentError(png_structp png, png_const_charp)
{
  png_longjmp(png, 1);
}
void SilentWarning(png_structp, png_const_charp) {}

// The libpng release the decoder was written for. libpng compares the text only up to its
// second '.', so every 1.6 library accepts it.
constexpr char kPngVersion[] = "1.6.8";

png_structp CreateReader()
{
  png_structp png = png_create_read_struct(kPngVersion, nullptr, SilentError, SilentWarning);
  if (png)
    png_set_user_limits(png, LICE_MaxPngSide, LICE_MaxPngSide);
  return png;
}

// Reads the header and asks for transforms that turn every colour type and depth into rows of
// alpha, red, green, blue bytes. False when the result is not exactly that, or too large.
bool ReadHeader(png_structp png, png_infop info, int* width, int* height)
{
  png_read_info(png, info);
  png_uint_32 w = 0, h = 0;
  int depth = 0, colourType = 0, interlace = 0, compression = 0, filter = 0;
  png_get_IHDR(png, info, &w, &h, &depth, &colourType, &interlace, &compression, &filter);

  if (colourType == PNG_COLOR_TYPE_PALETTE)
    png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8)
    png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS))
  {
    png_set_tRNS_to_alpha(png);
    colourType |= PNG_COLOR_MASK_ALPHA;
  }
  if (depth == 16)
    png_set_strip_16(png);
  if (depth < 8)
    png_set_packing(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  if (colourType & PNG_COLOR_MASK_ALPHA)
    png_set_swap_alpha(png);
  else
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  // The rows are written straight into the bitmap: verify their size rather than trust it.
  if (w == 0 || h == 0 || w > png_uint_32(LICE_MaxPngSide) || h > png_uint_32(LICE_MaxPngSide))
    return false;
  if (png_get_bit_depth(png, info) != 8 || png_get_rowbytes(png, info) != png_size_t(w) * 4)
    return false;
  if (LICE_StoreBytes(LICE_AlignedPitch(w), h) < 0)
    return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

// Row table for a bitmap of the decoded size, or null. Row i is drawn row i.
png_bytep* MakeRows(LICE_IBitmap* bitmap, int width, int height)
{
  Pixel32* data = bitmap->PixelData();
  const int pitch = bitmap->RowPitch();
  if (!data || bitmap->PixelWidth() != width || bitmap->PixelHeight() != height || pitch < width)
    return nullptr;
  auto* rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * static_cast<std::size_t>(height)));
  if (!rows)
    return nullptr;
  const bool flip = bitmap->IsUpsideDown();
  for (int i = 0; i < height; ++i)
  {
    const std::ptrdiff_t row = flip ? height - 1 - i : i;
    rows[i] = reinterpret_cast<png_bytep>(data + row * pitch);
  }
  return rows;
}

// Bytes A, R, G, B become the word 0xAARRGGBB (held in memory as B, G, R, A).
void ConvertRows(png_bytep* rows, int width, int height)
{
  for (int y = 0; y < height; ++y)
  {
    unsigned char* p = rows[y];
    for (int x = 0; x < width; ++x, p += 4)
    {
      Pixel32 v;
      std::memcpy(&v, p, 4);
      v = __builtin_bswap32(v);
      std::memcpy(p, &v, 4);
    }
  }
}

const char* PngFilterText()
{
  return "PNG files (*.PNG)";
}

PngImageLoader pngLoader = {LICE_LoadPngImage, PngFilterText, nullptr};

struct PngLoaderRegistration
{
  PngLoaderRegistration()
  {
    pngLoader.next = ImageLoaderList;
    ImageLoaderList = &pngLoader;
  }
} pngLoaderRegistration;

}  // namespace

PngImageLoader* ImageLoaderList = nullptr;

namespace {

// One decode. Everything libpng may abort runs in DecodeBody; the fields it sets live in this
// record (memory, not registers), so they are still valid after a long jump.
struct PngJob
{
  png_structp png = nullptr;
  png_infop info = nullptr;
  LICE_IBitmap* given = nullptr;  // resized and filled when set, else `made` is created
  LICE_MemBitmap* made = nullptr;
  LICE_IBitmap* target = nullptr;
  png_bytep* rows = nullptr;
  int width = 0;
  int height = 0;
};

void DecodeBody(PngJob* job)
{
  if (!ReadHeader(job->png, job->info, &job->width, &job->height))
    return;
  if (job->given)
  {
    job->given->Reallocate(job->width, job->height);
    job->target = job->given;
  }
  else
    job->target = job->made = new (std::nothrow) LICE_MemBitmap(job->width, job->height);
  if (!job->target)
    return;
  job->rows = MakeRows(job->target, job->width, job->height);
  if (job->rows)
    png_read_image(job->png, job->rows);
}

// True when the rows were read. No C++ object with a destructor lives in this frame.
bool RunDecode(PngJob* job)
{
  if (setjmp(png_jmpbuf(job->png)))
    return false;
  DecodeBody(job);
  return job->rows != nullptr;
}

// Creates the libpng structures, decodes, and releases everything but the result.
LICE_IBitmap* Decode(PngJob* job, void (*attachInput)(png_structp, void*), void* input)
{
  job->png = CreateReader();
  if (!job->png)
    return nullptr;
  job->info = png_create_info_struct(job->png);
  if (!job->info)
  {
    png_destroy_read_struct(&job->png, nullptr, nullptr);
    return nullptr;
  }
  attachInput(job->png, input);
  const bool ok = RunDecode(job);
  png_destroy_read_struct(&job->png, &job->info, nullptr);
  if (ok)
    ConvertRows(job->rows, job->width, job->height);
  std::free(job->rows);
  if (ok)
    return job->target;
  delete job->made;  // a given bitmap stays with its caller
  return nullptr;
}

}  // namespace

LICE_MemBitmap* LICE_DecodePngMemory(const void* data, int length)
{
  if (!data || length <= 7 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0)
    return nullptr;
  PngMemoryCursor cursor = {static_cast<const unsigned char*>(data), length};
  PngJob job;
  auto attach = [](png_structp png, void* input) { png_set_read_fn(png, input, PngMemoryReader); };
  return Decode(&job, attach, &cursor) ? job.made : nullptr;
}

LICE_IBitmap* LICE_DecodePngFile(const char* path, LICE_IBitmap* bitmap)
{
  if (!path)
    return nullptr;
  std::FILE* file = LICE_OpenFileUtf8(path);
  if (!file)
    return nullptr;
  PngJob job;
  job.given = bitmap;
  auto attach = [](png_structp png, void* input) { png_init_io(png, static_cast<std::FILE*>(input)); };
  LICE_IBitmap* result = Decode(&job, attach, file);
  std::fclose(file);
  return result;
}

LICE_IBitmap* LICE_LoadPngImage(const char* path, bool checkExtension, LICE_IBitmap* bitmap)
{
  if (!path)
    return nullptr;
  if (checkExtension)
  {
    const char* tail = path;
    for (const char* p = path; *p; ++p)
      if (*p == '.' || *p == '/' || *p == '\\')
        tail = p;
    const char* expected = ".png";
    for (int i = 0; i < 5; ++i)
    {
      const char c = tail[i];
      const char lower = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
      if (lower != expected[i])
        return nullptr;
    }
  }
  return LICE_DecodePngFile(path, bitmap);
}
