#pragma once

#include <string>

class LICE_IBitmap;

namespace toolcommon {

// Writes the bitmap as an 8-bit RGBA PNG file. False, with a reason, when it cannot.
bool WritePngFile(const char* path, const LICE_IBitmap& bitmap, std::string* error);

}  // namespace toolcommon
