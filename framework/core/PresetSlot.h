#pragma once

#include "framework/core/StateChunk.h"

// One preset: whether it holds a state, its name and the state itself.
struct PresetSlot
{
  static constexpr int kNameSize = 256;  // NUL included

  bool initialised = false;
  char name[kNameSize] = "empty";
  StateChunk state;

  // Names longer than 255 characters are cut.
  void SetName(const char* text);
};
