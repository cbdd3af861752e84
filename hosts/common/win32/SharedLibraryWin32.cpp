#include "hosts/common/SharedLibrary.h"

#include <windows.h>

#include <filesystem>

namespace hostcommon {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& file, std::string& error)
{
  HMODULE handle = LoadLibraryW(std::filesystem::u8path(file).wstring().c_str());
  if (!handle)
  {
    error = file + ": LoadLibrary failed (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(reinterpret_cast<void*>(handle)));
}

SharedLibrary::~SharedLibrary()
{
  FreeLibrary(static_cast<HMODULE>(mHandle));
}

void* SharedLibrary::Symbol(const char* name) const
{
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(mHandle), name));
}

std::string MachineName()
{
  return sizeof(void*) == 8 ? "x86_64" : "x86";
}

}  // namespace hostcommon
