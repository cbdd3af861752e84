#include "hosts/vst2/ModuleLoader.h"

#include <dlfcn.h>

#include <filesystem>

namespace vst2host {

void* OpenLibrary(const std::string& path, std::string& error)
{
  // dlopen searches the library path for a bare name; a file that exists here is meant.
  std::error_code ec;
  std::string file = path;
  if (std::filesystem::is_regular_file(path, ec))
    file = std::filesystem::absolute(path, ec).string();
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library)
  {
    const char* why = dlerror();
    error = why ? why : path + ": cannot be loaded";
  }
  return library;
}

void* FindSymbol(void* library, const char* name)
{
  return dlsym(library, name);
}

void CloseLibrary(void* library)
{
  dlclose(library);
}

}  // namespace vst2host
