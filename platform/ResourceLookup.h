// Data compiled into the module itself (the editor's images), found by numeric id and type.
#pragma once

#include <cstddef>

// Bytes of a resource compiled into this module, found by numeric id and type (e.g. "PNG").
// False (and nothing written) when the module holds no such resource.
bool FindModuleResource(int id, const char* type, const unsigned char** data, size_t* size);
