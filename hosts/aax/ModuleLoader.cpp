#include "hosts/aax/ModuleLoader.h"

#include "hosts/common/BundlePath.h"

namespace aaxhost {

namespace {
// The folder of a bundle's Contents that holds this platform's module.
std::string Architecture()
{
#if defined(_WIN32) && defined(__i386__)
  return "Win32";
#elif defined(_WIN32)
  return "x64";
#else
  return hostcommon::MachineName() + "-linux";
#endif
}

template <typename Proc>
bool Find(const hostcommon::SharedLibrary& library, const char* name, Proc& out, std::string& error)
{
  out = reinterpret_cast<Proc>(library.Symbol(name));
  if (!out)
    error = std::string("the module does not export ") + name;
  return out != nullptr;
}
}  // namespace

std::string Module::Resolve(const std::string& path)
{
  return hostcommon::ResolveBundle(path, Architecture());
}

std::unique_ptr<Module> Module::Load(const std::string& path, std::string& error)
{
  std::unique_ptr<Module> module(new Module);
  module->mLibrary = hostcommon::SharedLibrary::Open(Resolve(path), error);
  if (!module->mLibrary)
    return nullptr;
  const hostcommon::SharedLibrary& library = *module->mLibrary;
  EntryPoints& e = module->mEntries;
  const bool found = Find(library, kACFStartupName, e.startup, error) &&
                     Find(library, kACFShutdownName, e.shutdown, error) &&
                     Find(library, kACFCanUnloadNowName, e.canUnloadNow, error) &&
                     Find(library, kACFGetSDKVersionName, e.getSDKVersion, error) &&
                     Find(library, kACFRegisterPluginName, e.registerPlugin, error) &&
                     Find(library, kACFRegisterComponentName, e.registerComponent, error) &&
                     Find(library, kACFGetClassFactoryName, e.getClassFactory, error);
  return found ? std::move(module) : nullptr;
}

}  // namespace aaxhost
