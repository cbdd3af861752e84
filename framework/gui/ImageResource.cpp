#include "framework/gui/ImageResource.h"

#include "lice/LICE_Png.h"
#include "platform/ResourceLookup.h"

#include <cctype>
#include <climits>
#include <cstring>

namespace {

bool EqualIgnoringCase(const char* a, const char* b)
{
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
      return false;
  return *a == *b;
}

}  // namespace

bool HasPngExtension(const char* name)
{
  if (!name || !name[0])
    return false;
  const size_t length = std::strlen(name);
  // The last dot from the end back to the second character.
  const char* extension = name + 1;
  for (size_t i = length - 1; i >= 1; --i)
    if (name[i] == '.')
    {
      extension = name + i + 1;
      break;
    }
  return EqualIgnoringCase(extension, "png");
}

LICE_IBitmap* LoadPngResource(void* module, int resourceId, const char* name)
{
  if (!HasPngExtension(name))
    return nullptr;
  const unsigned char* data = nullptr;
  size_t size = 0;
  if (!FindModuleResource(resourceId, "PNG", &data, &size, module))
    return nullptr;
  // Nothing shorter than a PNG's signature can be one.
  if (!data || size <= 7 || size > static_cast<size_t>(INT_MAX))
    return nullptr;
  return LICE_DecodePngMemory(data, static_cast<int>(size));
}
