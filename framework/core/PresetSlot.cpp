#include "framework/core/PresetSlot.h"

#include "framework/core/IPlugParameter.h"

void PresetSlot::SetName(const char* text)
{
  CopyText(name, kNameSize, text);
}
