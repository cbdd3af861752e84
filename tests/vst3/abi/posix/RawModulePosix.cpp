#include "tests/vst3/abi/RawModule.h"

#include <dlfcn.h>
#include <sys/utsname.h>

namespace rawabi {

std::string RawModule::binaryPath(const std::string& bundle)
{
  utsname names{};
  uname(&names);
  const std::string folder = bundle.substr(bundle.find_last_of('/') + 1);
  const std::string stem = folder.substr(0, folder.rfind(".vst3"));
  return bundle + "/Contents/" + names.machine + "-linux/" + stem + ".so";
}

RawModule::RawModule(const std::string& path)
{
  handle_ = dlopen(path.c_str(), RTLD_LAZY);
  if (!handle_) error_ = dlerror();
}

RawModule::~RawModule()
{
  if (handle_) dlclose(handle_);
}

void* RawModule::symbol(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

}  // namespace rawabi
