#include "framework/core/IMenu.h"
#include "framework/core/IRectangle.h"
#include "framework/core/MidiMessage.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {
TEST(MidiMessage, MakersBuildChannelMessagesThatBadArgumentsCannotChange)
{
  MidiMessage m;
  m.SetControl(7, 1.0, 0);
  EXPECT_EQ(m.status, 0xB0);
  EXPECT_EQ(m.data1, 7);
  EXPECT_EQ(m.data2, 127);
  m.SetControl(7, 0.999, 3);
  EXPECT_EQ(m.data2, 126);
  EXPECT_EQ(m.status, 0xB3);
  for (double bad : {7.5, -2.0, std::numeric_limits<double>::quiet_NaN()})
  {
    m.SetControl(1, bad, 0);
    EXPECT_LE(m.data2, 127);
  }
  m.SetNoteOn(60, 100, 17, 2);
  EXPECT_EQ(m.status, 0x92);
  EXPECT_EQ(m.data2, 100);
  EXPECT_EQ(m.offset, 17);
  m.SetNoteOff(61, 5, 15);
  EXPECT_EQ(m.status, 0x8F);
  EXPECT_EQ(m.data2, 0);
  m.SetNoteOn(200, 300, 0, 16);
  EXPECT_EQ(m.status & 0xF0, 0x90);
  EXPECT_TRUE(m.data1 < 128 && m.data2 < 128);
}

TEST(IRectangle, UnionIntersectionAndTheOneSidedOverlap)
{
  const IRectangle empty, a(0, 0, 10, 10), b(10, 0, 20, 10), c(5, 5, 10, 10);
  EXPECT_EQ(empty.UnionWith(c), c);
  EXPECT_EQ(c.UnionWith(empty), c);
  EXPECT_EQ(a.UnionWith(IRectangle(-3, 4, 2, 30)), IRectangle(-3, 0, 10, 30));
  EXPECT_EQ(a.IntersectionWith(b), IRectangle(10, 0, 10, 10));  // touching edges count
  EXPECT_TRUE(a.Overlaps(b));
  EXPECT_FALSE(b.Overlaps(a));
  EXPECT_EQ(a.IntersectionWith(empty), empty);
  EXPECT_EQ(a.IntersectionWith(IRectangle(2, 3, 4, 50)), IRectangle(2, 3, 4, 10));
  EXPECT_FALSE(IRectangle(5, 5, 5, 5).Empty());  // zero area, yet not "empty"
}

TEST(Records, MenuRefusesNullItems)
{
  IMenu menu;
  IMenuItem* first = menu.AppendItem(new IMenuItem("first", IMenuItem::kChecked), 9);
  menu.AppendItem(new IMenuItem("second"));
  EXPECT_EQ(menu.AppendItem(nullptr), nullptr);
  ASSERT_EQ(menu.ItemCount(), 2);
  EXPECT_EQ(menu.ItemAt(0), first);
}
}  // namespace
