#include "platform/ModuleHandle.h"

namespace {
void* sRecorded = nullptr;
}  // namespace

// Shared libraries here are handed their handle by the loader's entry call instead.
void RecordModuleHandle(void* handle)
{
  sRecorded = handle;
}

void* CurrentModuleHandle()
{
  return sRecorded;
}
