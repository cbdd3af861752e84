// The module (DLL or program) that this code is linked into.
#pragma once

// Windows: the module's HMODULE: the one the module's load entry recorded, else found from an
// address inside the module, so neither the host nor the module entry has to hand it in.
// Null where there is no such handle (other systems) or when Windows cannot say.
void* CurrentModuleHandle();

// Called by the module's load entry (DllMain) with the handle Windows gave it.
void RecordModuleHandle(void* handle);
