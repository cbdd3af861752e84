#include "tests/gui/RedrawProperty.h"

#include "framework/core/IPlugBase.h"
#include "framework/gui/IControl.h"
#include "framework/gui/IGraphics.h"
#include "framework/gui/IKnobControl.h"
#include "lice/LICE_Bitmap.h"

#include <cstdio>
#include <numeric>
#include <random>
#include <vector>

using hostwindow::PointerAction;

namespace {

// Numbers joined by commas.
template <class... Numbers>
std::string Text(Numbers... numbers)
{
  std::string text;
  ((text += (text.empty() ? "" : ",") + std::to_string(numbers)), ...);
  return text;
}

// As the window passes a person's pointer on: the buttons held with each message, none with a
// release or a wheel turn. A lost drag ends without its release.
void PlayPointer(IGraphics& editor, const PointerAction& a, bool lost)
{
  PointerModifiers held, none;
  (a.kind == PointerAction::RightClick ? held.right : held.left) = true;
  if (a.kind == PointerAction::Wheel)
    return editor.DispatchWheel(a.x, a.y, none, a.notches);
  editor.DispatchPress(a.x, a.y, held);
  for (int move = 1; a.kind == PointerAction::Drag && move <= hostwindow::kDragMoves; ++move)
    editor.DispatchDrag(hostwindow::dragX(a, move), hostwindow::dragY(a, move), held);
  if (lost)
    return editor.CancelPointer();
  if (a.kind == PointerAction::DoubleClick)
  {
    editor.DispatchRelease(a.x, a.y, none);
    editor.DispatchDoubleClick(a.x, a.y, held);
  }
  const bool drag = a.kind == PointerAction::Drag;
  editor.DispatchRelease(drag ? a.x2 : a.x, drag ? a.y2 : a.y, none);
}

EditorStep PointerStep(const PointerAction& a, bool lost)
{
  static const char* const kWords[] = {"click", "right-click", "double-click", "drag", "wheel"};
  return {kWords[a.kind] + (":" + Text(a.x, a.y, a.x2, a.y2, a.notches)) + (lost ? " lost" : ""),
          [a, lost](IGraphics& g) { PlayPointer(g, a, lost); }, lost ? std::nullopt : std::optional(a)};
}

// Steps fitted to the editor: its size, controls and parameters.
struct StepSource
{
  int Below(int n) { return static_cast<int>(random() % static_cast<std::uint32_t>(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  double Unit() { return Below(1001) / 1000.0; }
  // An index drawn in proportion to the weights.
  int Weighted(std::initializer_list<int> weights)
  {
    int roll = Below(std::accumulate(weights.begin(), weights.end(), 0)), i = 0;
    for (auto w = weights.begin(); roll >= *w; roll -= *w++)
      ++i;
    return i;
  }
  // A control other than the backdrop for which the test holds, or -1.
  template <class Test>
  int AnyControl(const IGraphics& editor, Test test)
  {
    std::vector<int> fitting;
    for (int i = 1; i < editor.NControls(); ++i)
      if (test(*editor.ControlAt(i)))
        fitting.push_back(i);
    return fitting.empty() ? -1 : fitting[static_cast<size_t>(Below(static_cast<int>(fitting.size())))];
  }

  PointerAction Pointer(const IGraphics& editor, PointerAction::Kind kind)
  {
    // Pressed mostly on a control, however small, but never on a knob's value text, whose
    // prompt would take the editor elsewhere; drags may leave the editor.
    const IRectangle all(0, 0, editor.Width(), editor.Height());
    const int aimed = Below(4) > 0 ? AnyControl(editor, [](const IControl& c) { return !c.TargetRect().Empty(); }) : -1;
    const IRectangle on = aimed > 0 ? editor.ControlAt(aimed)->TargetRect().IntersectionWith(all) : IRectangle();
    IRectangle area = on.W() > 0 && on.H() > 0 ? on : all;
    PointerAction a;
    a.kind = kind;
    for (int tries = 1; tries == 1 || OnKnobValueText(editor, a.x, a.y); ++tries)
    {
      if (tries > 20)  // all of it is value text
        area = all;
      a.x = Between(area.L, area.R - 1);
      a.y = Between(area.T, area.B - 1);
    }
    a.x2 = Between(-20, editor.Width() + 20);
    a.y2 = Between(-20, editor.Height() + 20);
    a.notches = Between(-3, 3);
    return a;
  }

  EditorStep Next(const IGraphics& editor)
  {
    const IRectangle all(0, 0, editor.Width(), editor.Height());
    const auto control = [](int c) { return " on control " + std::to_string(c); };
    switch (const int kind = Weighted({7, 1, 3, 2, 3, 2, 1, 2, 1}))
    {
    case 0:
      return PointerStep(Pointer(editor, static_cast<PointerAction::Kind>(Weighted({2, 1, 2, 2, 2}))), false);
    case 1:  // the window lost the pointer during a drag
      return PointerStep(Pointer(editor, PointerAction::Drag), true);
    case 2:
    {
      const int param = Below(editor.Plug()->NParams());
      const double value = Unit();
      return {"host value " + std::to_string(value) + " for parameter " + std::to_string(param),
              [=](IGraphics& g) { g.Plug()->SetParameterFromHost(param, value); }};
    }
    case 3:
    {
      const int c = AnyControl(editor, [](const IControl& c) { return c.ParamIdx() >= 0; });
      if (c < 0)
        break;
      const IPlugParameter* param = editor.Plug()->ParamAt(editor.ControlAt(c)->ParamIdx());
      char typed[IPlugParameter::kTextSize];
      if (param->TextCount() > 0)
        std::snprintf(typed, sizeof typed, "%s", param->TextForValue(Below(param->TextCount())));
      else  // a little beyond the range at either end, too
        std::snprintf(typed, sizeof typed, "%.2f", param->Min() + (param->Max() - param->Min()) * (Unit() * 1.2 - 0.1));
      return {"typed \"" + std::string(typed) + "\"" + control(c), [c, text = std::string(typed)](IGraphics& g) {
                g.CommitTextEntry(g.ControlAt(c), g.Plug()->ParamAt(g.ControlAt(c)->ParamIdx()), text.c_str());
              }};
    }
    case 4:  // from the plug-in, on a control without parameter (a meter)
    {
      const int c = AnyControl(editor, [](const IControl& c) { return c.ParamIdx() < 0; });
      const double value = Unit() * 1.1 - 0.05;
      if (c < 0)
        break;
      return {"plug-in value " + std::to_string(value) + control(c),
              [=](IGraphics& g) { g.ControlAt(c)->ApplyPlugValue(value); }};
    }
    case 5:
    case 6:
    {
      const int c = AnyControl(editor, [](const IControl&) { return true; });
      const bool on = Below(3) == 0;  // a third of the times: most of the editor stays usable
      if (c < 0)
        break;
      return {std::string(kind == 5 ? "greyed " : "hidden ") + (on ? "on" : "off") + control(c),
              [=](IGraphics& g) { kind == 5 ? g.ControlAt(c)->SetGreyed(on) : g.ControlAt(c)->SetHidden(on); }};
    }
    case 7:
    {
      // Mostly a part of a control, which is then drawn only in part.
      const int shown = AnyControl(editor, [](const IControl& c) { return !c.Rect().Empty(); });
      const IRectangle near = Below(4) > 0 && shown > 0 ? editor.ControlAt(shown)->Rect() : all;
      const int x = Between(near.L, near.R - 1), y = Between(near.T, near.B - 1);
      const int w = 1 + Below(near.W()), h = 1 + Below(near.H());
      const IRectangle area = IRectangle(x, y, x + w, y + h).IntersectionWith(all);
      return {"window paints " + Text(area.L, area.T, area.R, area.B), [=](IGraphics& g) { g.RedrawRect(area); },
              std::nullopt, area};
    }
    case 8:
    {
      const int x = Below(editor.Width()), y = Below(editor.Height());
      if (!editor.Flags().hoverHandling)
        break;
      return {"hover at " + Text(x, y), [=](IGraphics& g) { g.DispatchHover(x, y, PointerModifiers()); }};
    }
    }
    // Without such a control, or in an editor that does not follow the pointer: a wheel turn.
    return PointerStep(Pointer(editor, PointerAction::Wheel), false);
  }

  std::mt19937 random;
};

}  // namespace

bool OnKnobValueText(const IGraphics& editor, int x, int y)
{
  for (int i = 0; i < editor.NControls(); ++i)
    if (const auto* knob = dynamic_cast<const IKnobMultiControlText*>(editor.ControlAt(i)))
    {
      const IRectangle& t = knob->TextRect();
      if (x >= t.L && x < t.R && y >= t.T && y < t.B)
        return true;
    }
  return false;
}

void EditorPlayer::Tick()
{
  IRectangle dirty;
  if (graphics.CollectDirtyRect(&dirty))
    graphics.RedrawRect(dirty);
}

std::string CheckRedraws(EditorPlayer& ticked, IGraphics& whole, std::uint32_t seed, int steps)
{
  StepSource source{std::mt19937(seed)};
  EditorPlayer wholePlayer(whole);
  ticked.Tick();
  for (int i = 1; i <= steps;)
  {
    std::string where = "seed " + std::to_string(seed) + ", after step";
    // One step to a frame, or two to four.
    for (int n = source.Below(2) == 0 ? source.Between(2, 4) : 1; n > 0 && i <= steps; --n, ++i)
    {
      const EditorStep step = source.Next(ticked.graphics);
      where += " " + std::to_string(i) + " (" + step.what + ")";
      ticked.Play(step);
      wholePlayer.Play(step);
    }
    whole.MarkAllChanged();
    whole.RedrawRect(IRectangle(0, 0, whole.Width(), whole.Height()));
    for (int tick = 1; tick <= 2; ++tick)
    {
      ticked.Tick();
      const LICE_IBitmap &a = *ticked.graphics.DrawBitmap(), &b = *whole.DrawBitmap();
      int different = 0;
      for (int y = 0; y < a.PixelHeight(); ++y)
        for (int x = 0; x < a.PixelWidth(); ++x)
          different += a.PixelData()[y * a.RowPitch() + x] != b.PixelData()[y * b.RowPitch() + x];
      if (different > 0)
        return where + ", tick " + std::to_string(tick) + ": " + std::to_string(different) +
               " pixels unlike a whole redraw";
      const std::string shown = ticked.CheckShown();
      if (!shown.empty())
        return where + ", tick " + std::to_string(tick) + ": " + shown;
    }
    // Asked of the controls: the editor's bounds overlay asks on every frame anyway.
    for (int c = 0; c < ticked.graphics.NControls(); ++c)
      if (ticked.graphics.ControlAt(c)->NeedsRedraw() && !ticked.graphics.ControlAt(c)->Rect().Empty())
        return where + ": control " + std::to_string(c) + " still asks to be drawn";
  }
  return "";
}
