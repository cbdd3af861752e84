#pragma once

#include "effect/dsp/Cascade.h"

namespace Dsp {

// The detector's second-order high-pass: one stage, one channel, always the scalar path.
class HighPassBiquad : public CascadeFilter
{
public:
  HighPassBiquad() : CascadeFilter(&mStage, 1, &mHistory, 1) { InitStageStorage(); }

  // The normalised frequency is limited to below 0.49 of the rate, where the design
  // stays stable; a frequency or Q that is not finite and positive is refused.
  bool Configure(double normalisedFrequency, double q);

  // One sample through the stage, as FilterFrames would run it.
  double Tick(double in)
  {
    const BiquadStage& s = Stage(0);
    StageHistory& h = mHistory;
    double w = in + s.a1 * h.w1 + s.a2 * h.w2 + kStageOffset;
    double out = s.b0 * w + s.b1 * h.w1 + s.b2 * h.w2;
    h.w2 = h.w1;
    h.w1 = w;
    return out;
  }

  StageHistory& MutableHistory() { return mHistory; }

  static constexpr double kMaxNormalisedFrequency = 0.49;

private:
  void InitStageStorage();

  BiquadStage mStage;
  StageHistory mHistory;
};

}  // namespace Dsp
