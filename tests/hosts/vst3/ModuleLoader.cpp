#include "tests/hosts/vst3/ModuleLoader.h"

#include <filesystem>
#include <system_error>

namespace fakehost {

using GetFactoryProc = vst3::IPluginFactory*(PLUGIN_API*)();

std::string Module::resolve(const std::string& path)
{
  std::error_code ec;
  if (std::filesystem::is_directory(std::filesystem::u8path(path), ec)) return platform::bundleBinary(path);
  return path;
}

std::unique_ptr<Module> Module::load(const std::string& path, std::string& error)
{
  std::unique_ptr<Module> module(new Module);
  module->file_ = resolve(path);
  module->handle_ = platform::openLibrary(module->file_, error);
  if (module->handle_ == nullptr) return nullptr;
  auto getFactory = reinterpret_cast<GetFactoryProc>(platform::findSymbol(module->handle_, "GetPluginFactory"));
  if (getFactory == nullptr) {
    error = module->file_ + ": no GetPluginFactory export";
    platform::closeLibrary(module->handle_);
    module->handle_ = nullptr;
    return nullptr;
  }
  if (!platform::enterModule(module->handle_, error)) {
    platform::closeLibrary(module->handle_);
    module->handle_ = nullptr;
    return nullptr;
  }
  module->factory_ = getFactory();
  if (module->factory_ == nullptr) {
    error = module->file_ + ": GetPluginFactory returned null";
    module->unload();
    return nullptr;
  }
  return module;
}

vst3::uint32 Module::releaseFactory()
{
  if (factory_ == nullptr) return 0;
  const vst3::uint32 left = factory_->release();
  factory_ = nullptr;
  return left;
}

bool Module::unload()
{
  if (handle_ == nullptr) return true;
  releaseFactory();
  const bool exited = platform::exitModule(handle_);
  platform::closeLibrary(handle_);
  handle_ = nullptr;
  return exited;
}

Module::~Module() { unload(); }

}  // namespace fakehost
