// Editors drawn frame by frame against the same editors drawn whole. Glyphs come from the
// platform's rasteriser: its anti-aliased edges show a text blended twice.
#include "effect/TarvexQuoxel.h"
#include "framework/gui/IBitmapControl.h"
#include "framework/gui/IFaderControl.h"
#include "framework/gui/IKnobControl.h"
#include "framework/gui/ITextControl.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/gui/RedrawProperty.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

// The framework's controls overlapping in ways the effect's editor has not: a knob's value text
// linked to a text over another knob, a horizontal fader, a meter, and a three-way switch with
// its frames side by side over the first knob's value text. Without flags, the effect's editor.
IPlugBase* MakeEditor(const IGraphicsFlags* flags)
{
  if (!flags)
    return NewTarvexQuoxel(nullptr);
  auto* plug = new GuiTestPlug();
  auto* g = new TestGraphics(plug, 240, 160, 0, *flags);
  static const int strips[][5] = {{240, 160, 1}, {80, 80, 30},  {20, 20, 3, 0, 1},
                                  {16, 24, 1},   {12, 100, 10}, {40, 40, 20}};
  IBitmapRef images[6];
  for (int i = 0; i < 6; ++i)
  {
    const auto* s = strips[i];
    g->images[2900 + i] = [s, i] { return FrameStrip(s[0], s[1], s[2], i, s[4]); };
    images[i] = g->FetchBitmap(2900 + i, "strip.png", s[2], s[4]);
  }
  const ITextStyle style(14, IColour(255, 255, 200, 63));
  g->SetBackdrop(2900, "strip.png");
  auto* knob = new IKnobMultiControlText(plug, 10, 10, GuiTestPlug::kLevel, images[1], style, true,
                                         IKnobMultiControlText::kTextCentred);
  g->AddControl(knob);
  g->AddControl(new ISwitchControl(plug, 70, 40, GuiTestPlug::kSwitch, images[2]));
  g->AddControl(new IFaderControl(plug, 60, 70, 140, GuiTestPlug::kGain, images[3], IFaderControl::kHorizontal));
  g->AddControl(new IBitmapControl(plug, 190, 40, images[4]));
  g->AddControl(new IKnobMultiControl(plug, 120, 100, GuiTestPlug::kGain, images[5]));
  auto* text = new ITextControl(plug, IRectangle(100, 115, 220, 135), style, "Level");
  g->AddControl(text);
  knob->SetValueTextLink(text);
  plug->AttachEditor(g);
  return plug;
}

TEST(RedrawProperty, EveryTickLeavesThePictureAWholeRedrawGivesAndThenStops)
{
  IGraphicsFlags strict, eachControlWhole, overlay;
  eachControlWhole.strictDrawing = false;
  overlay.showBounds = overlay.hoverHandling = true;
  using Case = std::tuple<const IGraphicsFlags*, std::uint32_t, int>;  // flags, seed, steps
  const Case cases[] = {{nullptr, 1, 400}, {nullptr, 3, 400},           {&strict, 3, 400},
                        {&strict, 4, 400}, {&eachControlWhole, 5, 300}, {&overlay, 6, 300}};
  for (const auto& [flags, seed, steps] : cases)
  {
    const std::unique_ptr<IPlugBase> ticked(MakeEditor(flags)), whole(MakeEditor(flags));
    EditorPlayer player(*dynamic_cast<IGraphics*>(ticked->Editor()));
    EXPECT_EQ(CheckRedraws(player, *dynamic_cast<IGraphics*>(whole->Editor()), seed, steps), "")
      << (flags ? "the mixed editor" : "the effect's editor");
  }
}

}  // namespace
