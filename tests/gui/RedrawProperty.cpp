#include "tests/gui/RedrawProperty.h"

#include "framework/core/IPlugBase.h"
#include "framework/gui/IControl.h"
#include "framework/gui/IGraphics.h"
#include "framework/gui/IKnobControl.h"
#include "lice/LICE_Bitmap.h"

#include <cstdio>
#include <vector>

using hostwindow::PointerAction;

namespace {

std::string RectText(const IRectangle& r)
{
  char text[64];
  std::snprintf(text, sizeof text, "{%d,%d,%d,%d}", r.L, r.T, r.R, r.B);
  return text;
}

const PointerModifiers kNoButtons{};

PointerModifiers Button(bool right)
{
  PointerModifiers mods;
  mods.left = !right;
  mods.right = right;
  return mods;
}

// A press and the drag's moves; the release is the caller's.
void PressAndDrag(IGraphics& editor, const PointerAction& drag)
{
  editor.DispatchPress(drag.x, drag.y, Button(false));
  for (int move = 1; move <= hostwindow::kDragMoves; ++move)
    editor.DispatchDrag(hostwindow::dragX(drag, move), hostwindow::dragY(drag, move), Button(false));
}

// As the window passes a person's pointer on: the buttons held with each message, none with
// a release or a wheel turn.
void PlayPointer(IGraphics& editor, const PointerAction& a)
{
  switch (a.kind)
  {
  case PointerAction::Click:
  case PointerAction::RightClick:
    editor.DispatchPress(a.x, a.y, Button(a.kind == PointerAction::RightClick));
    editor.DispatchRelease(a.x, a.y, kNoButtons);
    break;
  case PointerAction::DoubleClick:
    editor.DispatchPress(a.x, a.y, Button(false));
    editor.DispatchRelease(a.x, a.y, kNoButtons);
    editor.DispatchDoubleClick(a.x, a.y, Button(false));
    editor.DispatchRelease(a.x, a.y, kNoButtons);
    break;
  case PointerAction::Drag:
    PressAndDrag(editor, a);
    editor.DispatchRelease(a.x2, a.y2, kNoButtons);
    break;
  case PointerAction::Wheel:
    editor.DispatchWheel(a.x, a.y, kNoButtons, a.notches);
    break;
  }
}

std::string PointerText(const PointerAction& a)
{
  static const char* const kWords[] = {"click", "right-click", "double-click", "drag", "wheel"};
  char text[96];
  if (a.kind == PointerAction::Drag)
    std::snprintf(text, sizeof text, "drag:%d,%d,%d,%d", a.x, a.y, a.x2, a.y2);
  else if (a.kind == PointerAction::Wheel)
    std::snprintf(text, sizeof text, "wheel:%d,%d,%d", a.x, a.y, a.notches);
  else
    std::snprintf(text, sizeof text, "%s:%d,%d", kWords[a.kind], a.x, a.y);
  return text;
}

struct Difference
{
  int pixels = 0;
  IRectangle box;
};

Difference Compare(const LICE_IBitmap& a, const LICE_IBitmap& b)
{
  Difference d;
  for (int y = 0; y < a.PixelHeight(); ++y)
    for (int x = 0; x < a.PixelWidth(); ++x)
      if (a.PixelData()[y * a.RowPitch() + x] != b.PixelData()[y * b.RowPitch() + x])
      {
        ++d.pixels;
        d.box = d.box.UnionWith(IRectangle(x, y, x + 1, y + 1));
      }
  return d;
}

// Where controls still ask to be drawn (the bounds overlay asks on every frame anyway).
IRectangle ControlsToDraw(const IGraphics& editor)
{
  IRectangle area;
  for (int i = 0; i < editor.NControls(); ++i)
    if (editor.ControlAt(i)->NeedsRedraw() && !editor.ControlAt(i)->Rect().Empty())
      area = area.UnionWith(editor.ControlAt(i)->Rect());
  return area;
}

void DrawWhole(IGraphics& editor)
{
  editor.MarkAllChanged();
  editor.RedrawRect(IRectangle(0, 0, editor.Width(), editor.Height()));
}

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

std::string EditorStep::Describe() const
{
  const std::string control = "control " + std::to_string(index);
  switch (kind)
  {
  case kPointer:
    return PointerText(pointer);
  case kPointerLost:
    return PointerText(pointer) + " without its release";
  case kHover:
    return "hover:" + std::to_string(pointer.x) + "," + std::to_string(pointer.y);
  case kHostValue:
    return "host sets parameter " + std::to_string(index) + " to " + std::to_string(value);
  case kEditorValue:
    return "\"" + text + "\" typed for " + control;
  case kPlugValue:
    return "plug-in shows " + std::to_string(value) + " on " + control;
  case kGrey:
    return control + (on ? " greyed" : " no longer greyed");
  case kHide:
    return control + (on ? " hidden" : " shown");
  case kUncover:
    return "window uncovered at " + RectText(area);
  }
  return "";
}

template <class Test>
int EditorStepSource::AnyControl(const IGraphics& editor, Test test)
{
  std::vector<int> fitting;
  for (int i = 1; i < editor.NControls(); ++i)
    if (test(*editor.ControlAt(i)))
      fitting.push_back(i);
  return fitting.empty() ? -1 : fitting[static_cast<size_t>(Below(static_cast<int>(fitting.size())))];
}

void EditorStepSource::PressPoint(const IGraphics& editor, int* x, int* y)
{
  // Mostly on a control, however small.
  const int aimed = Below(4) > 0 ? AnyControl(editor, [](const IControl& c) { return !c.TargetRect().Empty(); }) : -1;
  IRectangle area(0, 0, editor.Width(), editor.Height());
  const IRectangle on = aimed > 0 ? editor.ControlAt(aimed)->TargetRect().IntersectionWith(area) : IRectangle();
  if (on.W() > 0 && on.H() > 0)
    area = on;
  for (int tries = 1; tries == 1 || OnKnobValueText(editor, *x, *y); ++tries)
  {
    if (tries > 20)  // all of it is value text
      area = IRectangle(0, 0, editor.Width(), editor.Height());
    *x = Between(area.L, area.R - 1);
    *y = Between(area.T, area.B - 1);
  }
}

PointerAction EditorStepSource::Pointer(const IGraphics& editor, PointerAction::Kind kind)
{
  PointerAction a;
  a.kind = kind;
  PressPoint(editor, &a.x, &a.y);
  // Drags may leave the editor.
  a.x2 = Between(-20, editor.Width() + 20);
  a.y2 = Between(-20, editor.Height() + 20);
  a.notches = Between(-3, 3);
  return a;
}

EditorStep EditorStepSource::Next(const IGraphics& editor)
{
  // Weighted by repeats.
  static const PointerAction::Kind kPointerKinds[] = {
    PointerAction::Click,       PointerAction::Click,       PointerAction::RightClick,
    PointerAction::DoubleClick, PointerAction::DoubleClick, PointerAction::Drag,
    PointerAction::Drag,        PointerAction::Wheel,       PointerAction::Wheel};
  static const EditorStep::Kind kKinds[] = {
    EditorStep::kPointer,     EditorStep::kPointer,   EditorStep::kPointer,   EditorStep::kPointer,
    EditorStep::kPointer,     EditorStep::kPointer,   EditorStep::kPointer,   EditorStep::kPointerLost,
    EditorStep::kHostValue,   EditorStep::kHostValue, EditorStep::kHostValue, EditorStep::kEditorValue,
    EditorStep::kEditorValue, EditorStep::kPlugValue, EditorStep::kPlugValue, EditorStep::kPlugValue,
    EditorStep::kGrey,        EditorStep::kGrey,      EditorStep::kHide,      EditorStep::kUncover,
    EditorStep::kUncover,     EditorStep::kHover};
  const IPlugBase* plug = editor.Plug();
  EditorStep step;
  step.kind = kKinds[Below(sizeof kKinds / sizeof kKinds[0])];
  switch (step.kind)
  {
  case EditorStep::kPointer:
    step.pointer = Pointer(editor, kPointerKinds[Below(sizeof kPointerKinds / sizeof kPointerKinds[0])]);
    break;
  case EditorStep::kPointerLost:
    step.pointer = Pointer(editor, PointerAction::Drag);
    break;
  case EditorStep::kHover:
    step.pointer.x = Below(editor.Width());
    step.pointer.y = Below(editor.Height());
    break;
  case EditorStep::kHostValue:
    step.index = Below(plug->NParams());
    step.value = Unit();
    break;
  case EditorStep::kEditorValue:
  {
    step.index = AnyControl(editor, [](const IControl& c) { return c.ParamIdx() >= 0; });
    if (step.index < 0)
      break;
    const IPlugParameter* param = plug->ParamAt(editor.ControlAt(step.index)->ParamIdx());
    char typed[IPlugParameter::kTextSize];
    if (param->TextCount() > 0)
      std::snprintf(typed, sizeof typed, "%s", param->TextForValue(Below(param->TextCount())));
    else  // a little beyond the range at either end, too
      std::snprintf(typed, sizeof typed, "%.2f", param->Min() + (param->Max() - param->Min()) * (Unit() * 1.2 - 0.1));
    step.text = typed;
    break;
  }
  case EditorStep::kPlugValue:
    step.index = AnyControl(editor, [](const IControl& c) { return c.ParamIdx() < 0; });
    step.value = Unit() * 1.1 - 0.05;
    break;
  case EditorStep::kGrey:
  case EditorStep::kHide:
    step.index = AnyControl(editor, [](const IControl&) { return true; });
    // Greyed or hidden a third of the times: most of the editor stays to be seen and used.
    step.on = Below(3) == 0;
    break;
  case EditorStep::kUncover:
  {
    // Mostly a part of a control, which is then drawn only in part.
    const int shown = AnyControl(editor, [](const IControl& c) { return !c.Rect().Empty(); });
    const IRectangle near =
      Below(4) > 0 && shown > 0 ? editor.ControlAt(shown)->Rect() : IRectangle(0, 0, editor.Width(), editor.Height());
    const int x = Between(near.L, near.R - 1), y = Between(near.T, near.B - 1);
    step.area = IRectangle(x, y, x + 1 + Below(near.W()), y + 1 + Below(near.H()))
                  .IntersectionWith(IRectangle(0, 0, editor.Width(), editor.Height()));
    break;
  }
  }
  // An editor without such a control, or that does not follow the pointer, gets a wheel turn.
  const bool needsControl = step.kind == EditorStep::kEditorValue || step.kind == EditorStep::kPlugValue ||
                            step.kind == EditorStep::kGrey || step.kind == EditorStep::kHide;
  if ((needsControl && step.index < 0) || (step.kind == EditorStep::kHover && !editor.Flags().hoverHandling))
  {
    step.kind = EditorStep::kPointer;
    step.pointer = Pointer(editor, PointerAction::Wheel);
  }
  return step;
}

void PlayStep(IGraphics& editor, const EditorStep& step)
{
  IControl* control = step.index >= 0 && step.kind != EditorStep::kHostValue ? editor.ControlAt(step.index) : nullptr;
  switch (step.kind)
  {
  case EditorStep::kPointer:
    PlayPointer(editor, step.pointer);
    break;
  case EditorStep::kPointerLost:
    PressAndDrag(editor, step.pointer);
    editor.CancelPointer();
    break;
  case EditorStep::kHover:
    editor.DispatchHover(step.pointer.x, step.pointer.y, kNoButtons);
    break;
  case EditorStep::kHostValue:
    editor.Plug()->SetParameterFromHost(step.index, step.value);
    break;
  case EditorStep::kEditorValue:
    editor.CommitTextEntry(control, editor.Plug()->ParamAt(control->ParamIdx()), step.text.c_str());
    break;
  case EditorStep::kPlugValue:
    control->ApplyPlugValue(step.value);
    break;
  case EditorStep::kGrey:
    control->SetGreyed(step.on);
    break;
  case EditorStep::kHide:
    control->SetHidden(step.on);
    break;
  case EditorStep::kUncover:
    editor.RedrawRect(step.area);
    break;
  }
}

void EditorPlayer::Tick()
{
  IRectangle dirty;
  if (graphics.CollectDirtyRect(&dirty))
    graphics.RedrawRect(dirty);
}

std::string RedrawReport::Summary() const
{
  char text[256];
  std::snprintf(text, sizeof text,
                "seed %u, %d steps: %d of %d ticks left a picture unlike a whole redraw (%lld pixels in all)", seed,
                steps, differentTicks, ticks, differentPixels);
  std::string out = text;
  if (!firstDifference.empty())
    out += "; the first " + firstDifference;
  out += "; after " + std::to_string(restlessSteps) + " steps the editor still asked to be drawn after two ticks";
  if (!firstRestless.empty())
    out += " (the first " + firstRestless + ")";
  if (wrongShows > 0)
    out += "; " + std::to_string(wrongShows) + " ticks left the window showing another picture (the first " +
           firstWrongShow + ")";
  return out;
}

RedrawReport CheckRedraws(EditorPlayer& ticked, EditorPlayer& whole, std::uint32_t seed, int steps)
{
  RedrawReport report;
  report.seed = seed;
  report.steps = steps;
  EditorStepSource source(seed);
  ticked.Tick();
  for (int i = 1; i <= steps;)
  {
    std::string where = "after step";
    for (int n = source.StepsInFrame(); n > 0 && i <= steps; --n, ++i)
    {
      const EditorStep step = source.Next(ticked.graphics);
      where += " " + std::to_string(i) + " (" + step.Describe() + ")";
      ticked.Play(step);
      whole.Play(step);
    }
    DrawWhole(whole.graphics);
    for (int tick = 1; tick <= 2; ++tick)
    {
      ticked.Tick();
      ++report.ticks;
      const Difference d = Compare(*ticked.graphics.DrawBitmap(), *whole.graphics.DrawBitmap());
      if (d.pixels > 0 && report.differentTicks++ == 0)
        report.firstDifference =
          where + ", tick " + std::to_string(tick) + ": " + std::to_string(d.pixels) + " pixels in " + RectText(d.box);
      report.differentPixels += d.pixels;
      const std::string shown = ticked.CheckShown();
      if (!shown.empty() && report.wrongShows++ == 0)
        report.firstWrongShow = where + ": " + shown;
    }
    const IRectangle left = ControlsToDraw(ticked.graphics);
    if (!left.Empty() && report.restlessSteps++ == 0)
      report.firstRestless = where + ": " + RectText(left);
  }
  return report;
}
