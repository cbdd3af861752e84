#pragma once

class IMenu;
class StringBuffer;

// The parts of showing an IMenu as a native popup menu that do not depend on the window
// system: entry labels and the ids entries are numbered by.

// The label of item index: its text, numbered from 1 in the menu's numbering style.
void MenuItemLabel(const IMenu& menu, int index, StringBuffer* out);

// Ids number every item of the menu (from *counter on), then every item of each submenu
// in item order, depth first. Finds the item of id: its menu is returned with the item's
// index as the chosen index; null when no item has the id. Advances *counter past the ids
// it numbered.
IMenu* ResolveMenuChoice(int id, int* counter, IMenu* menu);
