#include "framework/gui/WindowInput.h"

#include "framework/gui/IGraphics.h"

int KeyCodeForVirtualKey(int virtualKey)
{
  switch (virtualKey)
  {
  case 32:
    return IGraphics::kKeySpace;
  case 38:
    return IGraphics::kKeyUp;
  case 40:
    return IGraphics::kKeyDown;
  case 37:
    return IGraphics::kKeyLeft;
  case 39:
    return IGraphics::kKeyRight;
  default:
    break;
  }
  if (virtualKey >= '0' && virtualKey <= '9')
    return virtualKey - '0' + IGraphics::kKeyDigit0;
  if (virtualKey >= 'A' && virtualKey <= 'Z')
    return virtualKey - 'A' + IGraphics::kKeyLetterA;
  // 97..122 map like the letters.
  if (virtualKey >= 'a' && virtualKey <= 'z')
    return virtualKey - 'a' + IGraphics::kKeyLetterA;
  return -1;
}

PointerModifiers ModifiersFromMouseKeys(unsigned mouseKeys, bool altDown)
{
  PointerModifiers mods;
  mods.left = (mouseKeys & kMouseKeyLeft) != 0;
  mods.right = (mouseKeys & kMouseKeyRight) != 0;
  mods.shift = (mouseKeys & kMouseKeyShift) != 0;
  mods.control = (mouseKeys & kMouseKeyControl) != 0;
  mods.alt = altDown;
  return mods;
}

int TimerPeriodMs(int fps)
{
  return static_cast<int>(1000.0 / (fps > 0 ? fps : IGraphics::kDefaultFps));
}
