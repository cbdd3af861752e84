// The artwork's colours.
#pragma once

#include "Canvas.h"

namespace Palette {
// The knobs' value text is drawn in this amber by the editor; the artwork's lit parts match it.
const Rgba kAmber = Colour(0xFFC83F);
const Rgba kCyan = Colour(0x5AC8FF);
const Rgba kBackTop = Colour(0x24272C);
const Rgba kBackBottom = Colour(0x16171A);
const Rgba kPanelTop = Colour(0x2E3137);
const Rgba kPanelBottom = Colour(0x24262B);
const Rgba kPanelEdge = Colour(0x0E0F11);
const Rgba kHighlight = Colour(0x4A4F58);
const Rgba kWell = Colour(0x0A0B0D);
const Rgba kLabel = Colour(0xC4C8CF);
const Rgba kScale = Colour(0x8A9099);
const Rgba kTick = Colour(0x5C626C);
const Rgba kMeterGreen = Colour(0x46D26E);
const Rgba kMeterYellow = Colour(0xF0D246);
const Rgba kMeterOrange = Colour(0xFF9632);
const Rgba kMeterRed = Colour(0xFF463C);
}  // namespace Palette
