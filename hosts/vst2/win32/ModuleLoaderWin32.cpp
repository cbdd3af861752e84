#include "hosts/vst2/ModuleLoader.h"

#include <windows.h>

#include <filesystem>

namespace vst2host {

void* OpenLibrary(const std::string& path, std::string& error)
{
  HMODULE library = LoadLibraryW(std::filesystem::u8path(path).wstring().c_str());
  if (!library)
    error = path + ": LoadLibrary failed (error " + std::to_string(GetLastError()) + ")";
  return reinterpret_cast<void*>(library);
}

void* FindSymbol(void* library, const char* name)
{
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(void* library)
{
  FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace vst2host
