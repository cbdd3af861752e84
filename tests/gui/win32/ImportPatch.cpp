#include "tests/gui/win32/ImportPatch.h"

#include <windows.h>

ImportPatch::ImportPatch(const char* library, const char* function, void* replacement)
{
  HMODULE system = GetModuleHandleA(library);
  void* original = system ? reinterpret_cast<void*>(GetProcAddress(system, function)) : nullptr;
  if (!original)
    return;
  // The program's import table: one slot per imported function, holding its address.
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* headers =
    reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* from = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); from->Name; ++from)
  {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + from->Name), library) != 0)
      continue;
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + from->FirstThunk); slot->u1.Function; ++slot)
      if (reinterpret_cast<void*>(slot->u1.Function) == original)
      {
        mSlot = reinterpret_cast<void**>(&slot->u1.Function);
        mOriginal = original;
        Write(replacement);
        return;
      }
  }
}

ImportPatch::~ImportPatch()
{
  if (mSlot)
    Write(mOriginal);
}

void ImportPatch::Write(void* value)
{
  DWORD protection = 0;
  VirtualProtect(mSlot, sizeof *mSlot, PAGE_READWRITE, &protection);
  *mSlot = value;
  VirtualProtect(mSlot, sizeof *mSlot, protection, &protection);
}
