#include "hosts/vst3/ModuleLoader.h"

#include <windows.h>

#include <filesystem>

namespace vst3host::platform {

using EntryProc = bool (*)();

void* openLibrary(const std::string& file, std::string& error)
{
  HMODULE library = LoadLibraryW(std::filesystem::u8path(file).wstring().c_str());
  if (library == nullptr)
    error = file + ": LoadLibrary failed (error " + std::to_string(GetLastError()) + ")";
  return reinterpret_cast<void*>(library);
}

void* findSymbol(void* library, const char* name)
{
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void closeLibrary(void* library)
{
  FreeLibrary(static_cast<HMODULE>(library));
}

bool enterModule(void* library, std::string& error)
{
  // Optional on Windows; a module without it is entered by DllMain alone.
  auto entry = reinterpret_cast<EntryProc>(findSymbol(library, "InitDll"));
  if (entry != nullptr && !entry())
  {
    error = "InitDll refused";
    return false;
  }
  return true;
}

bool exitModule(void* library)
{
  auto exit = reinterpret_cast<EntryProc>(findSymbol(library, "ExitDll"));
  return exit == nullptr || exit();
}

std::string bundleBinary(const std::string& bundleFolder)
{
  const std::filesystem::path bundle = std::filesystem::u8path(bundleFolder);
  std::filesystem::path name = bundle.filename();
  if (name.empty())
    name = bundle.parent_path().filename();
  const char* arch = sizeof(void*) == 8 ? "x86_64-win" : "x86-win";
  return (bundle / "Contents" / arch / name).u8string();
}

}  // namespace vst3host::platform
