#pragma once

#include "framework/core/PtrList.h"
#include "framework/core/StringBuffer.h"

class IMenu;

// One popup-menu entry. The submenu is not owned.
class IMenuItem
{
public:
  enum EFlags
  {
    kNoFlags = 0,
    kGreyed = 1,
    kDisabled = 2,
    kChecked = 4,
    kSeparator = 8,
  };

  explicit IMenuItem(const char* text, int flags = kNoFlags);

  const char* Text() const { return mText.Get(); }
  int Flags() const { return mFlags; }
  void SetFlags(int flags) { mFlags = flags; }
  IMenu* Submenu() const { return mSubmenu; }
  void SetSubmenu(IMenu* submenu) { mSubmenu = submenu; }

private:
  StringBuffer mText;
  IMenu* mSubmenu = nullptr;
  int mFlags;
};

// A popup menu: its items (owned) and how entries are numbered when shown.
class IMenu
{
public:
  enum ENumbering
  {
    kNoNumbers = 0,
    kOneDigit = 1,    // "%1d: %s"
    kTwoDigits = 2,   // "%02d: %s"
    kThreeDigits = 3  // "%03d: %s"
  };

  IMenu() = default;
  ~IMenu();

  IMenu(const IMenu&) = delete;
  IMenu& operator=(const IMenu&) = delete;

  // Appends the item and takes ownership of it; the index is not used. Returns the item,
  // or null (the item deleted) when the list could not grow.
  IMenuItem* AppendItem(IMenuItem* item, int index = -1);

  int ItemCount() const { return mItems.Count(); }
  IMenuItem* ItemAt(int index) const { return mItems.At(index); }

  int Numbering() const { return mNumbering; }
  void SetNumbering(int numbering) { mNumbering = numbering; }
  int ChosenIndex() const { return mChosen; }
  void SetChosenIndex(int index) { mChosen = index; }

private:
  int mNumbering = kNoNumbers;
  int mChosen = -1;
  int mReserved = 0;
  PtrList<IMenuItem> mItems;
};
