#pragma once
// Loads a built VST3 module as a host does: the library, its entry function, its factory;
// and unloads it in the reverse order.
//
// Linux: dlopen, then ModuleEntry(handle) (required), then GetPluginFactory; at the end the
// factory is released, ModuleExit is called, and the library closed. Windows: LoadLibrary,
// InitDll when exported, GetPluginFactory; at the end ExitDll when exported, FreeLibrary.
// A bundle folder is resolved to Contents/<architecture>/<module file>.

#include "hosts/common/SharedLibrary.h"
#include "sdk/vst3/IPluginFactory.h"

#include <memory>
#include <string>

namespace vst3host {

class Module
{
public:
  // Null with a reason in error when the library, an export or the factory is missing, or
  // the entry function refuses.
  static std::unique_ptr<Module> load(const std::string& path, std::string& error);
  ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // The factory with the reference the module holds (null after releaseFactory).
  vst3::IPluginFactory* factory() const { return mFactory; }
  // Drops that reference and returns release()'s answer (0 once nobody else holds one).
  vst3::uint32 releaseFactory();
  // Releases the factory, calls the exit function and closes the library. False when the
  // exit function answered false; the library is closed anyway.
  bool unload();

  // The file a path names: the module inside a bundle folder, or the path itself.
  static std::string resolve(const std::string& path);
  const std::string& file() const { return mFile; }

private:
  Module() = default;

  std::unique_ptr<hostcommon::SharedLibrary> mLibrary;
  vst3::IPluginFactory* mFactory = nullptr;
  std::string mFile;
};

}  // namespace vst3host
