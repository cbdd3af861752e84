#include "framework/core/IMenu.h"
#include "framework/core/IPlugParameter.h"
#include "framework/core/StringBuffer.h"
#include "framework/gui/FilePaths.h"
#include "framework/gui/ImageResource.h"
#include "framework/gui/PopupMenu.h"
#include "framework/gui/TextEntry.h"
#include "framework/gui/WindowInput.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WindowInput, VirtualKeysMapToKeyCodes)
{
  for (const auto& [virtualKey, keyCode] : {std::pair{32, 0},
                                            {38, 1},
                                            {40, 2},
                                            {37, 3},
                                            {39, 4},
                                            {'0', 5},
                                            {'9', 14},
                                            {'A', 15},
                                            {'Z', 40},
                                            {97, 15},
                                            {122, 40},
                                            {123, -1},
                                            {13, -1},
                                            {36, -1},
                                            {64, -1},
                                            {91, -1}})
    EXPECT_EQ(KeyCodeForVirtualKey(virtualKey), keyCode) << virtualKey;
  EXPECT_EQ(WheelNotches(-240) * 10 + WheelNotches(100), -20);
  EXPECT_EQ(TimerPeriodMs(30), 33);
}

TEST(ImageResource, OnlyPngNamesAreLoaded)
{
  for (const auto& [name, png] : {std::pair{"resources/img/bkg.png", true},
                                  {"X.PNG", true},
                                  {"a.b.Png", true},
                                  {"x.jpg", false},
                                  {"png", false},
                                  {"dir.png/x", false},
                                  {"", false}})
    EXPECT_EQ(HasPngExtension(name), png) << name;
  EXPECT_EQ(LoadPngResource(nullptr, 100, "bkg.jpg"), nullptr);
  EXPECT_EQ(LoadPngResource(nullptr, 999, "nothing.png"), nullptr);
}

TEST(TextEntry, CharactersAndTextsByParameterKind)
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
  EXPECT_EQ(EnteredValue(toggle, "on") * 10 + EnteredValue(toggle, "1"), 10.0);
}

TEST(PopupMenu, LabelsAndIdsNumberTheMenuThenItsSubmenus)
{
  IMenu root, sub;
  for (const char* text : {"one", "two", "three"})
    root.AppendItem(new IMenuItem(text));
  root.ItemAt(1)->SetSubmenu(&sub);
  sub.AppendItem(new IMenuItem("x"));
  sub.AppendItem(new IMenuItem("y"));
  const std::string labels[] = {"three", "3: three", "03: three", "003: three", "three"};
  for (int style = 0; style < 5; ++style)
  {
    root.SetNumbering(style);
    StringBuffer label;
    MenuItemLabel(root, 2, &label);
    EXPECT_EQ(label.Get(), labels[style]);
  }
  for (const auto& [id, menu, index] : {std::tuple{0, &root, 0},
                                        {2, &root, 2},
                                        {3, &sub, 0},
                                        {4, &sub, 1},
                                        std::tuple<int, IMenu*, int>{5, nullptr, -1}})
  {
    int counter = 0;
    IMenu* found = ResolveMenuChoice(id, &counter, &root);
    EXPECT_EQ(found, menu) << id;
    EXPECT_EQ(found ? found->ChosenIndex() : -1, index) << id;
  }
}

TEST(FilePaths, FolderOfAPath)
{
  for (const auto& [path, folder] : {std::pair{"C:\\Hosts\\host.exe", "C:\\Hosts\\"},
                                     {"C:\\Hosts\\", "C:\\"},
                                     {"plug.dll", ""},
                                     {"\\", ""},
                                     {"/a/b", "/a/"},
                                     {"", ""}})
    EXPECT_EQ(DirectoryOfPath(path), folder) << path;
}

TEST(FilePaths, DialogFilterFromExtensions)
{
  std::string filter, extension;
  ASSERT_TRUE(FileDialogFilter("wav aif", &filter, &extension));
  EXPECT_EQ(filter, std::string("*.wav;*.aif\0*.wav;*.aif\0\0", 25));
  EXPECT_EQ(extension, "wav");
  // Lists the dialog's buffers cannot hold are refused whole.
  std::string many;
  for (int i = 0; i < 60; ++i)
    many += "abc ";
  for (const std::string& refused : {std::string(), std::string("  "), std::string(16, 'x'), many})
    EXPECT_FALSE(FileDialogFilter(refused.c_str(), &filter, &extension)) << refused.size();
  EXPECT_EQ(extension, "wav");
}

}  // namespace
