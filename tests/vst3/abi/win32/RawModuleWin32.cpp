#include "tests/vst3/abi/RawModule.h"

#include <windows.h>

namespace rawabi {

std::string RawModule::binaryPath(const std::string& bundle)
{
  const std::string folder = bundle.substr(bundle.find_last_of("/\\") + 1);
#if defined(_WIN64)
  return bundle + "/Contents/x86_64-win/" + folder;
#else
  return bundle + "/Contents/x86-win/" + folder;
#endif
}

RawModule::RawModule(const std::string& path)
{
  mHandle = LoadLibraryA(path.c_str());
  if (!mHandle)
    mError = "LoadLibrary failed with error " + std::to_string(GetLastError());
}

RawModule::~RawModule()
{
  if (mHandle)
    FreeLibrary(static_cast<HMODULE>(mHandle));
}

void* RawModule::symbol(const char* name) const
{
  return mHandle ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(mHandle), name)) : nullptr;
}

}  // namespace rawabi
