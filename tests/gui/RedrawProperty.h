// What a person and a host do to an editor, as a seeded random sequence of steps played into
// two editors of one plug-in: one drawn as its window's timer draws it, the other drawn whole.
// Whatever the sequence, both must show the same picture, and the timer must then stop drawing.
#pragma once

#include "framework/core/IRectangle.h"
#include "hosts/window/PointerActions.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class IGraphics;

// One thing a person or a host does. A person's pointer (but a lost one) and the window's own
// paints are also given as what its window gets.
struct EditorStep
{
  std::string what;  // for failure messages
  std::function<void(IGraphics&)> play;
  std::optional<hostwindow::PointerAction> windowPointer = std::nullopt;
  std::optional<IRectangle> windowPaint = std::nullopt;
};

// True on a knob's value text, where a press opens the value prompt.
bool OnKnobValueText(const IGraphics& editor, int x, int y);

// The editor drawn frame by frame: how a step reaches it, its timer, and what its window shows.
struct EditorPlayer
{
  explicit EditorPlayer(IGraphics& editor) : graphics(editor) {}
  virtual ~EditorPlayer() = default;
  virtual void Play(const EditorStep& step) { step.play(graphics); }
  virtual void Tick();  // the changed area drawn and presented
  // After a tick: empty when the window shows what was drawn.
  virtual std::string CheckShown() { return ""; }

  IGraphics& graphics;
};

// Plays the seed's steps into both editors, a few to a frame. After each frame's steps the
// ticked editor's timer runs twice (a value from the plug-in is drawn on two frames), each time
// matching `whole` drawn whole; then no control may still ask to be drawn. Returns "" or what
// went wrong first, with the seed and the frame's steps.
std::string CheckRedraws(EditorPlayer& ticked, IGraphics& whole, std::uint32_t seed, int steps);
