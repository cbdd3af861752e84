#include "framework/core/IMenu.h"
#include "framework/core/IPlugParameter.h"
#include "framework/core/StringBuffer.h"
#include "framework/gui/IGraphics.h"
#include "framework/gui/PopupMenu.h"
#include "framework/gui/TextEntry.h"
#include "framework/gui/WindowInput.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WindowInput, VirtualKeysMapToKeyCodes)
{
  struct Case
  {
    int virtualKey, keyCode;
  };
  for (const Case& c : {Case{32, 0}, Case{38, 1}, Case{40, 2}, Case{37, 3}, Case{39, 4}, Case{'0', 5}, Case{'9', 14},
                        Case{'A', 15}, Case{'Z', 40}, Case{97, 15}, Case{122, 40}, Case{123, -1}, Case{13, -1},
                        Case{36, -1}, Case{64, -1}, Case{91, -1}})
    EXPECT_EQ(KeyCodeForVirtualKey(c.virtualKey), c.keyCode) << c.virtualKey;
}

TEST(WindowInput, ModifiersNotchesAndTimerPeriod)
{
  const PointerModifiers m = ModifiersFromMouseKeys(kMouseKeyRight | kMouseKeyControl, true);
  EXPECT_TRUE(!m.left && m.right && !m.shift && m.control && m.alt);
  EXPECT_TRUE(ModifiersFromMouseKeys(kMouseKeyLeft | kMouseKeyShift, false).shift);
  EXPECT_EQ(WheelNotches(-240), -2);
  EXPECT_EQ(WheelNotches(100), 0);
  EXPECT_EQ(WheelNotches(-119), 0);
  EXPECT_EQ(TimerPeriodMs(25), 40);
  EXPECT_EQ(TimerPeriodMs(30), 33);
  EXPECT_EQ(TimerPeriodMs(0), 40);
}

TEST(TextEntry, CharactersAcceptedByParameterKind)
{
  IPlugParameter number, toggle;
  number.DefineDouble("n", 0, -10, 10, 0.1);
  toggle.DefineBool("t", false);
  const std::string typed = "09+-.a ,\b";
  std::string numberTakes, toggleTakes, freeTakes;
  for (char c : typed)
  {
    numberTakes += TextEntryAccepts(&number, c) ? c : '_';
    toggleTakes += TextEntryAccepts(&toggle, c) ? c : '_';
    freeTakes += TextEntryAccepts(nullptr, c) ? c : '_';
  }
  EXPECT_EQ(numberTakes, "09+-.___\b");
  EXPECT_EQ(toggleTakes, "09+-____\b");
  EXPECT_EQ(freeTakes, typed);
}

TEST(TextEntry, SwitchesReadTheirDisplayTexts)
{
  IPlugParameter toggle;
  toggle.DefineBool("t", false);
  EXPECT_EQ(EnteredValue(toggle, "on"), 1.0);
  EXPECT_EQ(EnteredValue(toggle, "off"), 0.0);
  EXPECT_EQ(EnteredValue(toggle, "1"), 0.0);
}

TEST(PopupMenu, LabelsAreNumberedByTheMenusStyle)
{
  IMenu menu;
  for (const char* text : {"one", "two", "three"})
    menu.AppendItem(new IMenuItem(text));
  const std::string expected[] = {"three", "3: three", "03: three", "003: three", "three"};
  for (int style = 0; style < 5; ++style)
  {
    menu.SetNumbering(style);
    StringBuffer label;
    MenuItemLabel(menu, 2, &label);
    EXPECT_EQ(label.Get(), expected[style]);
  }
}

TEST(PopupMenu, IdsNumberTheMenuThenItsSubmenus)
{
  IMenu root, sub;
  root.AppendItem(new IMenuItem("a"));
  root.AppendItem(new IMenuItem("sub"))->SetSubmenu(&sub);
  root.AppendItem(new IMenuItem("c"));
  sub.AppendItem(new IMenuItem("x"));
  sub.AppendItem(new IMenuItem("y"));
  struct Case
  {
    int id;
    IMenu* menu;
    int index;
  };
  for (const Case& c : {Case{0, &root, 0}, Case{2, &root, 2}, Case{3, &sub, 0}, Case{4, &sub, 1}, Case{5, nullptr, -1}})
  {
    int counter = 0;
    IMenu* found = ResolveMenuChoice(c.id, &counter, &root);
    EXPECT_EQ(found, c.menu) << c.id;
    EXPECT_EQ(found ? found->ChosenIndex() : -1, c.index) << c.id;
  }
}

}  // namespace
