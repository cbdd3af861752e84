#pragma once

// The buttons and keys held with a pointer event.
struct PointerModifiers
{
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};
