#include "hosts/vst2/ModuleLoader.h"

namespace vst2host {

std::unique_ptr<Module> Module::Load(const std::string& path, std::string& error)
{
  std::unique_ptr<Module> module(new Module);
  module->mLibrary = hostcommon::SharedLibrary::Open(path, error);
  if (!module->mLibrary)
    return nullptr;
  module->mEntry = module->EntryNamed("VSTPluginMain");
  if (!module->mEntry)
    module->mEntry = module->EntryNamed("main");
  if (!module->mEntry)
  {
    error = path + ": exports neither VSTPluginMain nor main";
    return nullptr;
  }
  return module;
}

vst2::PluginEntryProc Module::EntryNamed(const char* name) const
{
  return reinterpret_cast<vst2::PluginEntryProc>(mLibrary->Symbol(name));
}

}  // namespace vst2host
