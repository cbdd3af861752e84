// Editors drawn frame by frame, as their timer draws them, against the same editors drawn
// whole, over seeded random sequences of what people and hosts do. Glyphs come from the
// platform's rasteriser: its anti-aliased edges show a text blended twice.
#include "effect/TarvexQuoxel.h"
#include "framework/gui/IBitmapControl.h"
#include "framework/gui/IFaderControl.h"
#include "framework/gui/IKnobControl.h"
#include "framework/gui/ITextControl.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/gui/RedrawProperty.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

IGraphics& EditorOf(IPlugBase& plug)
{
  return *dynamic_cast<IGraphics*>(plug.Editor());
}

std::unique_ptr<IPlugBase> EffectEditor()
{
  return std::unique_ptr<IPlugBase>(NewTarvexQuoxel(nullptr));
}

// The framework's controls overlapping one another in ways the effect's editor has not: a
// text that follows a knob's value, over another knob and a meter; a horizontal fader; a
// three-way switch whose frames lie side by side, over the first knob's value text.
std::unique_ptr<IPlugBase> MixedEditor(const IGraphicsFlags& flags)
{
  auto plug = std::make_unique<GuiTestPlug>();
  auto* graphics = new TestGraphics(plug.get(), 240, 160, 0, flags);
  graphics->images = {
    {2900, [] { return FrameStrip(240, 160, 1, 7); }},     {2901, [] { return FrameStrip(80, 80, 30, 1); }},
    {2902, [] { return FrameStrip(20, 20, 3, 2, true); }}, {2903, [] { return FrameStrip(16, 24, 1, 3); }},
    {2904, [] { return FrameStrip(12, 100, 10, 4); }},     {2905, [] { return FrameStrip(40, 40, 20, 5); }}};
  const ITextStyle style(14, IColour(255, 255, 200, 63));
  graphics->SetBackdrop(2900, "backdrop.png");
  auto* knob =
    new IKnobMultiControlText(plug.get(), 10, 10, GuiTestPlug::kLevel, graphics->FetchBitmap(2901, "knob.png", 30),
                              style, true, IKnobMultiControlText::kTextCentred);
  graphics->AddControl(knob);
  graphics->AddControl(
    new ISwitchControl(plug.get(), 70, 40, GuiTestPlug::kSwitch, graphics->FetchBitmap(2902, "switch.png", 3, true)));
  graphics->AddControl(new IFaderControl(plug.get(), 60, 70, 140, GuiTestPlug::kGain,
                                         graphics->FetchBitmap(2903, "handle.png"), IFaderControl::kHorizontal));
  graphics->AddControl(new IBitmapControl(plug.get(), 190, 40, graphics->FetchBitmap(2904, "meter.png", 10)));
  graphics->AddControl(
    new IKnobMultiControl(plug.get(), 120, 100, GuiTestPlug::kGain, graphics->FetchBitmap(2905, "small.png", 20)));
  auto* text = new ITextControl(plug.get(), IRectangle(100, 115, 220, 135), style, "Level");
  graphics->AddControl(text);
  knob->SetValueTextLink(text);
  plug->AttachEditor(graphics);
  return plug;
}

TEST(RedrawProperty, EveryTickLeavesThePictureAWholeRedrawGivesAndThenStops)
{
  struct Case
  {
    const char* editor;
    std::function<std::unique_ptr<IPlugBase>()> make;
    std::uint32_t seed;
    int steps;
  };
  IGraphicsFlags eachControlWhole, overlay;
  eachControlWhole.strictDrawing = false;
  overlay.showBounds = true;
  overlay.hoverHandling = true;
  const auto mixed = [](IGraphicsFlags flags) { return [flags] { return MixedEditor(flags); }; };
  for (const Case& c : {Case{"the effect's", EffectEditor, 1, 400},
                        {"the effect's", EffectEditor, 3, 400},
                        {"the mixed", mixed(IGraphicsFlags()), 3, 400},
                        {"the mixed", mixed(IGraphicsFlags()), 4, 400},
                        {"the mixed (each changed control drawn whole)", mixed(eachControlWhole), 5, 300},
                        {"the mixed (bounds overlay, following the pointer)", mixed(overlay), 6, 300}})
  {
    const std::unique_ptr<IPlugBase> ticked = c.make(), whole = c.make();
    EditorPlayer frameByFrame(EditorOf(*ticked)), redrawnWhole(EditorOf(*whole));
    const RedrawReport report = CheckRedraws(frameByFrame, redrawnWhole, c.seed, c.steps);
    EXPECT_TRUE(report.Passed()) << c.editor << " editor, " << report.Summary();
  }
}

}  // namespace
