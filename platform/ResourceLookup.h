// Data compiled into the module itself (the editor's images), found by numeric id and type.
#pragma once

#include <cstddef>

// Bytes of a resource compiled into a module, found by numeric id and type (e.g. "PNG"). The
// module is on Windows its HMODULE, null for this one; where resources are tables compiled
// into the program there is only this one. False (and nothing written) when the module holds
// no such resource.
bool FindModuleResource(int id, const char* type, const unsigned char** data, size_t* size, void* module = nullptr);
