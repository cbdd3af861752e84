#include "framework/core/IMenu.h"

IMenuItem::IMenuItem(const char* text, int flags) : mText(text), mFlags(flags) {}

IMenu::~IMenu()
{
  mItems.DeleteAll();
}

IMenuItem* IMenu::AppendItem(IMenuItem* item, int)
{
  if (!item)
    return nullptr;
  if (!mItems.Append(item))
  {
    delete item;
    return nullptr;
  }
  return item;
}
