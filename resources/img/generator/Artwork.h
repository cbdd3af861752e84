// The eight images of the editor, each as one strip of frames stacked top to bottom.
#pragma once

#include "Image.h"
#include "Typeface.h"

Image DrawBackdrop(const Typeface& bold);
// `bipolar` knobs light their arc from twelve o'clock, the others from the start of the sweep.
Image DrawKnobStrip(int size, bool bipolar);
Image DrawGainMeterStrip();
Image DrawPeakMeterStrip();
// Off, then on.
Image DrawButtonStrip();
Image DrawUpperLimitHandle(const Typeface& bold);
Image DrawLowerLimitHandle(const Typeface& bold);
