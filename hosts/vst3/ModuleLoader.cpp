#include "hosts/vst3/ModuleLoader.h"

#include <filesystem>
#include <system_error>

namespace vst3host {

using GetFactoryProc = vst3::IPluginFactory*(PLUGIN_API*)();

std::string Module::resolve(const std::string& path)
{
  std::error_code ec;
  if (std::filesystem::is_directory(std::filesystem::u8path(path), ec))
    return platform::bundleBinary(path);
  return path;
}

std::unique_ptr<Module> Module::load(const std::string& path, std::string& error)
{
  std::unique_ptr<Module> module(new Module);
  module->mFile = resolve(path);
  module->mHandle = platform::openLibrary(module->mFile, error);
  if (module->mHandle == nullptr)
    return nullptr;
  auto getFactory = reinterpret_cast<GetFactoryProc>(platform::findSymbol(module->mHandle, "GetPluginFactory"));
  if (getFactory == nullptr)
  {
    error = module->mFile + ": no GetPluginFactory export";
    platform::closeLibrary(module->mHandle);
    module->mHandle = nullptr;
    return nullptr;
  }
  if (!platform::enterModule(module->mHandle, error))
  {
    platform::closeLibrary(module->mHandle);
    module->mHandle = nullptr;
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
  if (mHandle == nullptr)
    return true;
  releaseFactory();
  const bool exited = platform::exitModule(mHandle);
  platform::closeLibrary(mHandle);
  mHandle = nullptr;
  return exited;
}

Module::~Module()
{
  unload();
}

}  // namespace vst3host
