#include "hosts/vst3/ModuleLoader.h"

#include "hosts/common/BundlePath.h"

namespace vst3host {
namespace {

using GetFactoryProc = vst3::IPluginFactory*(PLUGIN_API*)();

#if defined(_WIN32)
using EntryProc = bool (*)();
using ExitProc = bool (*)();
constexpr const char* kPlatformFolder = "-win";

// Optional on Windows; a module without it is entered by DllMain alone.
bool enterModule(const hostcommon::SharedLibrary& library, std::string& error)
{
  auto entry = reinterpret_cast<EntryProc>(library.Symbol("InitDll"));
  if (entry != nullptr && !entry())
  {
    error = "InitDll refused";
    return false;
  }
  return true;
}

bool exitModule(const hostcommon::SharedLibrary& library)
{
  auto exit = reinterpret_cast<ExitProc>(library.Symbol("ExitDll"));
  return exit == nullptr || exit();
}
#else
using EntryProc = bool (*)(void*);
using ExitProc = bool (*)();
constexpr const char* kPlatformFolder = "-linux";

// Required elsewhere, and handed the library's handle.
bool enterModule(const hostcommon::SharedLibrary& library, std::string& error)
{
  auto entry = reinterpret_cast<EntryProc>(library.Symbol("ModuleEntry"));
  if (entry == nullptr || library.Symbol("ModuleExit") == nullptr)
  {
    error = "the module exports no ModuleEntry/ModuleExit";
    return false;
  }
  if (!entry(library.Handle()))
  {
    error = "ModuleEntry refused";
    return false;
  }
  return true;
}

bool exitModule(const hostcommon::SharedLibrary& library)
{
  auto exit = reinterpret_cast<ExitProc>(library.Symbol("ModuleExit"));
  return exit != nullptr && exit();
}
#endif

}  // namespace

std::string Module::resolve(const std::string& path)
{
  return hostcommon::ResolveBundle(path, hostcommon::MachineName() + kPlatformFolder);
}

std::unique_ptr<Module> Module::load(const std::string& path, std::string& error)
{
  std::unique_ptr<Module> module(new Module);
  module->mFile = resolve(path);
  module->mLibrary = hostcommon::SharedLibrary::Open(module->mFile, error);
  if (!module->mLibrary)
    return nullptr;
  auto getFactory = reinterpret_cast<GetFactoryProc>(module->mLibrary->Symbol("GetPluginFactory"));
  if (getFactory == nullptr)
  {
    error = module->mFile + ": no GetPluginFactory export";
    return nullptr;
  }
  if (!enterModule(*module->mLibrary, error))
  {
    module->mLibrary.reset();
    return nullptr;
  }
  module->mFactory = getFactory();
  if (module->mFactory == nullptr)
  {
    error = module->mFile + ": GetPluginFactory returned null";
    module->unload();
    return nullptr;
  }
  return module;
}

vst3::uint32 Module::releaseFactory()
{
  if (mFactory == nullptr)
    return 0;
  const vst3::uint32 left = mFactory->release();
  mFactory = nullptr;
  return left;
}

bool Module::unload()
{
  if (!mLibrary)
    return true;
  releaseFactory();
  const bool exited = exitModule(*mLibrary);
  mLibrary.reset();
  return exited;
}

Module::~Module()
{
  unload();
}

}  // namespace vst3host
