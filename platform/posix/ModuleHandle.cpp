#include "platform/ModuleHandle.h"

// Shared libraries here are handed their handle by the loader's entry call instead.
void* CurrentModuleHandle()
{
  return nullptr;
}

void RecordModuleHandle(void*) {}
