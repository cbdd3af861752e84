// UTF-8 paths become UTF-16 for _wfopen; a path that does not convert or open is tried as it
// is with fopen (it may be in the ANSI code page).
#include <windows.h>

#include <cstdio>

#include "lice/LICE_OpenFile.h"

std::FILE* LICE_OpenFileUtf8(const char* path)
{
  wchar_t wide[2048];
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide, 2048) > 0)
  {
    if (std::FILE* file = _wfopen(wide, L"rb"))
      return file;
  }
  return std::fopen(path, "rb");
}
