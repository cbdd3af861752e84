#include "framework/gui/PopupMenu.h"

#include "framework/core/IMenu.h"
#include "framework/core/StringBuffer.h"

#include <cstring>

void MenuItemLabel(const IMenu& menu, int index, StringBuffer* out)
{
  const IMenuItem* item = menu.ItemAt(index);
  const char* text = item && item->Text() ? item->Text() : "";
  static const char* const kFormats[] = {"%1d: %s", "%02d: %s", "%03d: %s"};
  const int numbering = menu.Numbering();
  if (numbering >= IMenu::kOneDigit && numbering <= IMenu::kThreeDigits)
    out->Format(static_cast<int>(std::strlen(text)) + 50, kFormats[numbering - 1], index + 1, text);
  else
    out->Assign(text);
}

IMenu* ResolveMenuChoice(int id, int* counter, IMenu* menu)
{
  if (!menu)
    return nullptr;
  const int base = *counter;
  const int count = menu->ItemCount();
  *counter += count;
  if (id >= base && id < base + count)
  {
    menu->SetChosenIndex(id - base);
    return menu;
  }
  for (int i = 0; i < count; ++i)
    if (IMenu* found = ResolveMenuChoice(id, counter, menu->ItemAt(i)->Submenu()))
      return found;
  return nullptr;
}
