#include "platform/ModuleHandle.h"

#include <windows.h>

namespace {
// Any address inside the module names it.
const char kAnchor = 0;
void* sRecorded = nullptr;
}  // namespace

void RecordModuleHandle(void* handle)
{
  sRecorded = handle;
}

void* CurrentModuleHandle()
{
  if (sRecorded)
    return sRecorded;
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          &kAnchor, &module))
    return nullptr;
  return module;
}
