#include "hosts/common/SharedLibrary.h"

#include <dlfcn.h>
#include <sys/utsname.h>

#include <filesystem>

namespace hostcommon {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& file, std::string& error)
{
  // dlopen searches the library path for a bare name; a file that exists here is meant.
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::u8path(file);
  const std::string name =
    std::filesystem::is_regular_file(path, ec) ? std::filesystem::absolute(path, ec).u8string() : file;
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle)
  {
    const char* why = dlerror();
    error = why ? why : file + ": cannot be loaded";
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary()
{
  dlclose(mHandle);
}

void* SharedLibrary::Symbol(const char* name) const
{
  return dlsym(mHandle, name);
}

std::string MachineName()
{
  utsname machine{};
  uname(&machine);
  return machine.machine;
}

}  // namespace hostcommon
