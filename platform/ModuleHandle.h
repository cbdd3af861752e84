// The module (DLL or program) that this code is linked into.
#pragma once

// Windows: the module's HMODULE, found from an address inside it, so neither the host nor the
// module entry has to hand it in. Null where there is no such handle (other systems) or when
// Windows cannot say.
void* CurrentModuleHandle();

// Records the handle a module entry was given; CurrentModuleHandle answers it from then on.
void RecordModuleHandle(void* handle);
