#include "platform/ModuleHandle.h"

#include <windows.h>

#include <atomic>

namespace {
// Any address inside the module names it.
const char kAnchor = 0;
std::atomic<void*> gRecorded{nullptr};
}  // namespace

void RecordModuleHandle(void* handle)
{
  gRecorded.store(handle);
}

void* CurrentModuleHandle()
{
  if (void* recorded = gRecorded.load())
    return recorded;
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          &kAnchor, &module))
    return nullptr;
  return module;
}
