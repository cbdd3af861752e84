// The AAX module's entry: the handle it is given names the module whose resources the
// editor loads.
#include "platform/ModuleHandle.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD, LPVOID)
{
  RecordModuleHandle(module);
  return TRUE;
}
