#include "framework/core/IColour.h"
#include "framework/core/IMenu.h"
#include "framework/core/IRectangle.h"
#include "framework/core/ITextStyle.h"
#include "framework/core/MidiMessage.h"
#include "framework/core/TransportInfo.h"
#include "tests/hosts/IPlugTestBinding.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
TEST(MidiMessage, MakersBuildChannelMessages)
{
  MidiMessage m;
  m.SetControl(7, 1.0, 0);
  EXPECT_EQ(m.status, 0xB0);
  EXPECT_EQ(m.data1, 7);
  EXPECT_EQ(m.data2, 127);
  EXPECT_EQ(m.offset, 0);
  m.SetControl(7, 0.999, 3);
  EXPECT_EQ(m.data2, 126);
  EXPECT_EQ(m.status, 0xB3);
  m.SetControl(1, 7.5, 0);
  EXPECT_EQ(m.data2, 127);
  m.SetControl(1, -2.0, 0);
  EXPECT_EQ(m.data2, 0);
  m.SetControl(1, std::numeric_limits<double>::quiet_NaN(), 0);
  EXPECT_EQ(m.data2, 0);

  m.SetNoteOn(60, 100, 17, 2);
  EXPECT_EQ(m.status, 0x92);
  EXPECT_EQ(m.data1, 60);
  EXPECT_EQ(m.data2, 100);
  EXPECT_EQ(m.offset, 17);
  m.SetNoteOff(61, 5, 15);
  EXPECT_EQ(m.status, 0x8F);
  EXPECT_EQ(m.data2, 0);

  // Out-of-range channels and data bytes cannot change the kind of message.
  m.SetNoteOn(200, 300, 0, 16);
  EXPECT_EQ(m.status & 0xF0, 0x90);
  EXPECT_LT(m.data1, 128);
  EXPECT_LT(m.data2, 128);
}

TEST(IRectangle, UnionIntersectionAndTheOneSidedOverlap)
{
  const IRectangle empty;
  const IRectangle a(0, 0, 10, 10), b(10, 0, 20, 10), c(5, 5, 10, 10);
  EXPECT_EQ(empty.UnionWith(c), c);
  EXPECT_EQ(c.UnionWith(empty), c);
  EXPECT_EQ(a.UnionWith(IRectangle(-3, 4, 2, 30)), IRectangle(-3, 0, 10, 30));
  EXPECT_EQ(a.IntersectionWith(b), IRectangle(10, 0, 10, 10)); // touching edges count
  EXPECT_TRUE(a.Overlaps(b));
  EXPECT_FALSE(b.Overlaps(a));
  EXPECT_EQ(a.IntersectionWith(empty), empty);
  EXPECT_EQ(a.IntersectionWith(IRectangle(20, 20, 30, 30)), empty);
  EXPECT_EQ(a.IntersectionWith(IRectangle(2, 3, 4, 50)), IRectangle(2, 3, 4, 10));
  EXPECT_FALSE(IRectangle(5, 5, 5, 5).Empty()); // zero area, yet not "empty"
}

TEST(Records, DefaultsOfColoursStylesAndTransport)
{
  EXPECT_EQ(ColourBlack, IColour(255, 0, 0, 0));
  EXPECT_EQ(ColourWhite, IColour(255, 255, 255, 255));
  EXPECT_EQ(ColourDefaultText, ColourBlack);

  const ITextStyle style;
  EXPECT_STREQ(style.face, "Arial");
  EXPECT_EQ(style.size, 12);
  EXPECT_EQ(style.colour, ColourDefaultText);
  EXPECT_EQ(style.align, ITextStyle::kAlignCenter);
  const ITextStyle named(16, IColour(255, 255, 200, 63), "A face name far longer than thirty-one characters");
  EXPECT_EQ(std::string(named.face).size(), 31u);
  EXPECT_EQ(named.colour.G, 200);

  const TransportInfo t;
  EXPECT_EQ(t.tempo, 120.0);
  EXPECT_EQ(t.ppqPos, -1.0);
  EXPECT_EQ(t.numerator, 4);
  EXPECT_FALSE(t.playing);
}

TEST(IMenu, OwnsItsItemsInOrder)
{
  IMenu menu;
  EXPECT_EQ(menu.ChosenIndex(), -1);
  IMenuItem* first = menu.AppendItem(new IMenuItem("first", IMenuItem::kChecked), 9);
  menu.AppendItem(new IMenuItem("second"));
  EXPECT_EQ(menu.AppendItem(nullptr), nullptr);
  ASSERT_EQ(menu.ItemCount(), 2);
  EXPECT_EQ(menu.ItemAt(0), first);
  EXPECT_STREQ(menu.ItemAt(1)->Text(), "second");
  EXPECT_EQ(first->Flags(), IMenuItem::kChecked);
  EXPECT_EQ(first->Submenu(), nullptr);
}

TEST(TestBinding, AnswersTransportQueriesFromItsSettableRecord)
{
  IPlugTestBinding::Args args;
  IPlugTestBinding binding(args);
  binding.transport.tempo = 98.5;
  binding.transport.samplePos = 4294967296.0 + 1000.0; // beyond 32 bits: the low bits
  binding.transport.numerator = 7;
  binding.transport.denominator = 8;
  EXPECT_EQ(binding.HostTempo(), 98.5);
  EXPECT_EQ(binding.HostSamplePosition(), 1000);
  int num = 0, den = 0;
  binding.HostTimeSignature(&num, &den);
  EXPECT_EQ(num, 7);
  EXPECT_EQ(den, 8);
  TransportInfo info;
  binding.HostTransport(&info);
  EXPECT_EQ(info.numerator, 7);
  binding.BeginInformHostOfParamChange(2);
  binding.EndInformHostOfParamChange(2);
  binding.ResizeEditor(650, 410);
  ASSERT_EQ(binding.events.size(), 3u);
  EXPECT_EQ(binding.EventsOf(IPlugTestBinding::HostEvent::kResize)[0].index, 650);
}
} // namespace
