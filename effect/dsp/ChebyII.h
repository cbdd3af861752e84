#pragma once

#include "effect/dsp/Layout.h"

namespace Dsp {

// The Chebyshev type II design; also the design tag of PoleFilterSpace.
struct ChebyII
{
  // Order-n prototype with the given stop-band attenuation, stop-band edge at 1 rad/s.
  // Refuses (false, nothing changed) a non-positive or odd order, an order above the
  // layout's capacity, or an attenuation that is not finite and positive.
  static bool DesignAnalogPrototype(int order, double stopBandDb, Layout& analog);
};

}  // namespace Dsp
