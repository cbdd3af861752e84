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
  handle_ = LoadLibraryA(path.c_str());
  if (!handle_) error_ = "LoadLibrary failed with error " + std::to_string(GetLastError());
}

RawModule::~RawModule()
{
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* RawModule::symbol(const char* name) const
{
  return handle_ ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name)) : nullptr;
}

}  // namespace rawabi
