#pragma once

#include "framework/gui/PointerModifiers.h"

// The parts of reading the editor window's input messages that do not depend on the window
// system: key codes, pointer modifiers, wheel notches and the redraw timer's period.

// The key code offered to the controls for a virtual-key code; -1 when the key has none.
int KeyCodeForVirtualKey(int virtualKey);

// Mouse-key bits of a pointer message (left 1, right 2, shift 4, control 8).
enum EMouseKeys
{
  kMouseKeyLeft = 0x1,
  kMouseKeyRight = 0x2,
  kMouseKeyShift = 0x4,
  kMouseKeyControl = 0x8,
};

PointerModifiers ModifiersFromMouseKeys(unsigned mouseKeys, bool altDown);

// Whole notches of a wheel turn (120 units each), truncated toward zero.
inline int WheelNotches(int wheelDelta)
{
  return wheelDelta / 120;
}

// The redraw timer's period in milliseconds for a frame rate (1 and more).
int TimerPeriodMs(int fps);
