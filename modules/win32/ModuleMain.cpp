// The load entry of every Windows module: records the module's handle before any host call,
// so the editor finds its window class owner and images whichever export the host calls first.
#include "platform/ModuleHandle.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
  if (reason == DLL_PROCESS_ATTACH)
  {
    RecordModuleHandle(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
