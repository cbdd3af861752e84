// Paths are bytes here; UTF-8 goes to fopen as it is.
#include "lice/LICE_OpenFile.h"

std::FILE* LICE_OpenFileUtf8(const char* path)
{
  return std::fopen(path, "rb");
}
