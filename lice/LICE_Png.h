// PNG decoding into 32-bit bitmaps (straight alpha; images without alpha become opaque).
#pragma once

#include <cstddef>

#include "lice/LICE_Bitmap.h"

// Largest width or height a PNG may declare; larger images are refused before any allocation.
constexpr int LICE_MaxPngSide = 32767;

// A new bitmap owned by the caller, or null when the data is not a decodable PNG.
LICE_MemBitmap* LICE_DecodePngMemory(const void* data, int length);

// Decodes the file at `path` (UTF-8). A given bitmap is resized, filled and returned;
// otherwise a new LICE_MemBitmap is returned. Null on any failure.
LICE_IBitmap* LICE_DecodePngFile(const char* path, LICE_IBitmap* bitmap);

// An image loader: a load function, the filter text of its file types, and the next loader.
struct PngImageLoader
{
  LICE_IBitmap* (*load)(const char* path, bool checkExtension, LICE_IBitmap* bitmap);
  const char* (*filterText)();
  PngImageLoader* next;
};

// Head of the process-wide loader list; the PNG loader links itself in at start-up.
extern PngImageLoader* ImageLoaderList;

// The PNG loader's load function: with checkExtension, paths not ending in ".png" (any case)
// are refused.
LICE_IBitmap* LICE_LoadPngImage(const char* path, bool checkExtension, LICE_IBitmap* bitmap);
