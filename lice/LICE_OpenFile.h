// Opening a file named by a UTF-8 path for reading, on every platform.
#pragma once

#include <cstdio>

// Binary read mode; null when the file cannot be opened.
std::FILE* LICE_OpenFileUtf8(const char* path);
