#pragma once

#include "hosts/aax/HostDriver.h"
#include "hosts/common/SharedLibrary.h"

#include <memory>
#include <string>

namespace aaxhost {

// An AAX module loaded as a host loads it: the library and its seven entry points, found by
// the names the platform's modules export them under. A bundle folder is resolved to
// Contents/<architecture>/<module file>.
class Module
{
public:
  // Null with a reason when the library or one of the entry points cannot be found.
  static std::unique_ptr<Module> Load(const std::string& path, std::string& error);

  const EntryPoints& Entries() const { return mEntries; }

  // The file a path names: the module inside a bundle folder, or the path itself.
  static std::string Resolve(const std::string& path);

private:
  Module() = default;

  std::unique_ptr<hostcommon::SharedLibrary> mLibrary;
  EntryPoints mEntries;
};

}  // namespace aaxhost
