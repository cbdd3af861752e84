// Data compiled into the module itself (the editor's images), found by numeric id and type.
#pragma once

#include <cstddef>

// Bytes of a resource compiled into this module, found by numeric id and type (e.g. "PNG").
// False (and nothing written) when the module holds no such resource.
bool FindModuleResource(int id, const char* type, const unsigned char** data, size_t* size);

// The same in the given module: on Windows its HMODULE, null for this one. Where resources
// are tables compiled into the program, there is only this module's.
bool FindModuleResource(void* module, int id, const char* type, const unsigned char** data, size_t* size);
