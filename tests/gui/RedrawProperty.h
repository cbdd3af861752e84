// What a person and a host do to an editor, as a seeded random sequence of steps, played into
// two editors of the same plug-in: one drawn as its window's timer draws it, the other drawn
// whole after every step. Whatever the sequence, both must show the same picture, and once
// nothing changes the timer must stop drawing.
#pragma once

#include "framework/core/IRectangle.h"
#include "hosts/window/PointerActions.h"

#include <cstdint>
#include <random>
#include <string>

class IGraphics;
class LICE_IBitmap;

struct EditorStep
{
  enum Kind
  {
    kPointer,      // a click, right click, double click, drag or wheel turn
    kPointerLost,  // a drag whose release never comes: the window lost the pointer
    kHover,        // the pointer moves without a button (editors that follow it only)
    kHostValue,    // the host sets a parameter
    kEditorValue,  // a value typed into a control's value prompt
    kPlugValue,    // the plug-in shows a value on a control without parameter (a meter)
    kGrey,
    kHide,
    kUncover,  // the window paints part of itself (the host uncovered it)
  };

  Kind kind = kPointer;
  hostwindow::PointerAction pointer;  // kPointer, kPointerLost, kHover
  int index = -1;                     // the parameter of a host value, else the control
  double value = 0.0;                 // normalised
  std::string text;                   // typed
  bool on = false;                    // greyed, hidden
  IRectangle area;                    // uncovered

  std::string Describe() const;
};

class EditorStepSource
{
public:
  explicit EditorStepSource(std::uint32_t seed) : mRandom(seed) {}

  // A step that fits the editor: its size, controls and parameters. Presses never land on a
  // knob's value text, whose prompt would take the editor elsewhere.
  EditorStep Next(const IGraphics& editor);
  // How many steps come before the next frame is drawn: mostly one, sometimes a few.
  int StepsInFrame() { return Below(2) == 0 ? Between(2, 4) : 1; }

private:
  int Below(int n) { return static_cast<int>(mRandom() % static_cast<std::uint32_t>(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  double Unit() { return Below(1001) / 1000.0; }
  hostwindow::PointerAction Pointer(const IGraphics& editor, hostwindow::PointerAction::Kind kind);
  void PressPoint(const IGraphics& editor, int* x, int* y);
  // A control other than the backdrop for which the test holds, or -1.
  template <class Test>
  int AnyControl(const IGraphics& editor, Test test);

  std::mt19937 mRandom;
};

// True on a knob's value text, where a press opens the value prompt.
bool OnKnobValueText(const IGraphics& editor, int x, int y);

// Plays the step into the editor, the pointer's messages as its window passes them on.
void PlayStep(IGraphics& editor, const EditorStep& step);

// One editor of the compared pair: how a step reaches it, and its timer.
class EditorPlayer
{
public:
  explicit EditorPlayer(IGraphics& editor) : graphics(editor) {}
  virtual ~EditorPlayer() = default;

  virtual void Play(const EditorStep& step) { PlayStep(graphics, step); }
  // What the window's timer does: the changed area drawn and presented.
  virtual void Tick();
  // After a tick: what the window shows against what was drawn; empty when they agree.
  virtual std::string CheckShown() { return ""; }

  IGraphics& graphics;
};

struct RedrawReport
{
  std::uint32_t seed = 0;
  int steps = 0;
  int ticks = 0;
  int differentTicks = 0;  // after which the picture was not what a whole redraw gives
  long long differentPixels = 0;
  std::string firstDifference;
  int restlessSteps = 0;  // after whose two ticks the editor still asked to be drawn
  std::string firstRestless;
  int wrongShows = 0;  // ticks after which the window showed something else
  std::string firstWrongShow;

  bool Passed() const { return differentTicks == 0 && restlessSteps == 0 && wrongShows == 0; }
  std::string Summary() const;
};

// Plays the seed's steps into both editors, a frame's worth at a time. After each frame's
// steps the ticked editor's timer runs twice (a value from the plug-in is drawn on two
// frames) and each picture is compared with the other editor drawn whole; then no control may
// ask to be drawn.
RedrawReport CheckRedraws(EditorPlayer& ticked, EditorPlayer& whole, std::uint32_t seed, int steps);
