#pragma once

#include "hosts/common/SharedLibrary.h"
#include "sdk/vst2/AEffect.h"

#include <memory>
#include <string>

namespace vst2host {

// A VST2 module loaded as a host loads it: the library and its entry, VSTPluginMain or,
// in older modules, main.
class Module
{
public:
  // Null with a reason in error when the library or its entry cannot be found.
  static std::unique_ptr<Module> Load(const std::string& path, std::string& error);

  vst2::PluginEntryProc Entry() const { return mEntry; }
  // The entry of a given name, or null.
  vst2::PluginEntryProc EntryNamed(const char* name) const;

private:
  Module() = default;

  std::unique_ptr<hostcommon::SharedLibrary> mLibrary;
  vst2::PluginEntryProc mEntry = nullptr;
};

}  // namespace vst2host
