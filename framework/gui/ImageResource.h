#pragma once

class LICE_IBitmap;

// Whether a file name names a PNG image: the text after its last dot (or, without one,
// after its first character) is "png" in any case.
bool HasPngExtension(const char* name);

// Decodes the image the module (null: this one) holds as resource id of type "PNG". Null for
// a name that is not a PNG's, a missing resource, one too short to be a PNG, or data that does
// not decode.
LICE_IBitmap* LoadPngResource(void* module, int resourceId, const char* name);
