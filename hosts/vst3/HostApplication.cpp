#include "hosts/vst3/HostApplication.h"

#include <algorithm>

namespace vst3host {

vst3::tresult PLUGIN_API HostApplication::getName(vst3::TChar* name)
{
  ++mNameQueries;
  if (name == nullptr)
    return vst3::kInvalidArgument;
  const std::size_t n = std::min<std::size_t>(mName.size(), 127);
  std::copy_n(mName.data(), n, name);
  name[n] = 0;
  return vst3::kResultOk;
}

vst3::tresult PLUGIN_API HostApplication::createInstance(char*, char*, void** obj)
{
  if (obj != nullptr)
    *obj = nullptr;
  return vst3::kNoInterface;
}

}  // namespace vst3host
