#pragma once
// The host-application object handed to initialize.

#include "sdk/vst3/IHostApplication.h"
#include "hosts/vst3/HostObject.h"

#include <atomic>
#include <string>

namespace vst3host {

class HostApplication : public HostObject<vst3::IHostApplication>
{
public:
  // name is written into the plug-in's String128, cut to 127 units plus the terminator.
  explicit HostApplication(std::u16string name = u"TarvexQuoxel Test Host") : mName(std::move(name)) {}

  vst3::tresult PLUGIN_API getName(vst3::TChar* name) override;
  // The host creates no objects for the plug-in (no messages or attribute lists are needed).
  vst3::tresult PLUGIN_API createInstance(char* cid, char* iid, void** obj) override;

  int nameQueries() const { return mNameQueries.load(); }

private:
  std::u16string mName;
  std::atomic<int> mNameQueries{0};
};

}  // namespace vst3host
