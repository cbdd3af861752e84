#include "platform/ModuleHandle.h"

// Nothing on this system needs the module's handle (resources are compiled in), so none is
// kept.
void* CurrentModuleHandle()
{
  return nullptr;
}

void RecordModuleHandle(void*) {}
