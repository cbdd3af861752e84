// The load entry of every Windows module: records the module's handle on every call, so that
// from the load on, before any host call, the editor finds its window class owner and images
// whichever export the host calls first.
#include "platform/ModuleHandle.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
  RecordModuleHandle(instance);
  if (reason == DLL_PROCESS_ATTACH)
    DisableThreadLibraryCalls(instance);
  return TRUE;
}
