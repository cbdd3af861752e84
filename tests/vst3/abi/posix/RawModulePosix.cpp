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
  mHandle = dlopen(path.c_str(), RTLD_LAZY);
  if (!mHandle)
    mError = dlerror();
}

RawModule::~RawModule()
{
  if (mHandle)
    dlclose(mHandle);
}

void* RawModule::symbol(const char* name) const
{
  return mHandle ? dlsym(mHandle, name) : nullptr;
}

}  // namespace rawabi
