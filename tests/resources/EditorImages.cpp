#include "tests/resources/EditorImages.h"

#include "lice/LICE_Png.h"
#include "platform/ResourceLookup.h"

std::unique_ptr<LICE_MemBitmap> DecodeModuleImage(int id)
{
  const unsigned char* data = nullptr;
  size_t size = 0;
  if (!FindModuleResource(id, "PNG", &data, &size))
    return nullptr;
  return std::unique_ptr<LICE_MemBitmap>(LICE_DecodePngMemory(data, static_cast<int>(size)));
}
