// The handle of the module this code is linked into, found from an address inside it, so
// the entry can record it without the host's help.
#include <windows.h>

namespace vst3::detail {

namespace {
const char kAnchor = 0;
}

void* currentModule()
{
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          &kAnchor, &module))
    return nullptr;
  return module;
}

}  // namespace vst3::detail
