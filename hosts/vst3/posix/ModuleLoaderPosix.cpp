#include "hosts/vst3/ModuleLoader.h"

#include <dlfcn.h>
#include <sys/utsname.h>

#include <filesystem>

namespace vst3host::platform {

using EntryProc = bool (*)(void*);
using ExitProc = bool (*)();

void* openLibrary(const std::string& file, std::string& error)
{
  // dlopen searches the library path for a bare name; a file that exists here is meant.
  std::error_code ec;
  std::string path = file;
  if (std::filesystem::is_regular_file(std::filesystem::u8path(file), ec))
    path = std::filesystem::absolute(std::filesystem::u8path(file), ec).u8string();
  void* library = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
  if (library == nullptr)
  {
    const char* why = dlerror();
    error = why != nullptr ? why : file + ": cannot be loaded";
  }
  return library;
}

void* findSymbol(void* library, const char* name)
{
  return dlsym(library, name);
}

void closeLibrary(void* library)
{
  dlclose(library);
}

bool enterModule(void* library, std::string& error)
{
  auto entry = reinterpret_cast<EntryProc>(dlsym(library, "ModuleEntry"));
  if (entry == nullptr || dlsym(library, "ModuleExit") == nullptr)
  {
    error = "the module exports no ModuleEntry/ModuleExit";
    return false;
  }
  if (!entry(library))
  {
    error = "ModuleEntry refused";
    return false;
  }
  return true;
}

bool exitModule(void* library)
{
  auto exit = reinterpret_cast<ExitProc>(dlsym(library, "ModuleExit"));
  return exit != nullptr && exit();
}

std::string bundleBinary(const std::string& bundleFolder)
{
  const std::filesystem::path bundle = std::filesystem::u8path(bundleFolder);
  std::filesystem::path name = bundle.filename();
  if (name.empty())
    name = bundle.parent_path().filename();  // a trailing separator
  utsname machine{};
  uname(&machine);
  return (bundle / "Contents" / (std::string(machine.machine) + "-linux") / name.replace_extension(".so")).u8string();
}

}  // namespace vst3host::platform
