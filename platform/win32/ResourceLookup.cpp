#include "platform/ResourceLookup.h"

#include <windows.h>

#include "platform/ModuleHandle.h"

bool FindModuleResource(int id, const char* type, const unsigned char** data, size_t* size, void* moduleHandle)
{
  // Resource ids are 16-bit: a larger one would be cut to another resource's id.
  if (id <= 0 || id > 0xFFFF || !type || !data || !size)
    return false;
  HMODULE module = static_cast<HMODULE>(moduleHandle ? moduleHandle : CurrentModuleHandle());
  if (!module)
    return false;
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!info)
    return false;
  const DWORD bytes = SizeofResource(module, info);
  HGLOBAL loaded = LoadResource(module, info);
  const void* locked = loaded ? LockResource(loaded) : nullptr;
  if (!locked)
    return false;
  // Resources live as long as the module: no unlock or free is needed.
  *data = static_cast<const unsigned char*>(locked);
  *size = bytes;
  return true;
}
