#include "effect/dsp/HighPassBiquad.h"

#include <cmath>

#include "effect/dsp/PortableMath.h"

namespace Dsp {

void HighPassBiquad::InitStageStorage()
{
  // A one-stage cascade that passes everything until configured.
  mStage = BiquadStage{};
  SetStageCount(1);
  mHistory = StageHistory{};
}

bool HighPassBiquad::Configure(double f, double q)
{
  if (!std::isfinite(f) || !std::isfinite(q) || f <= 0.0 || q <= 0.0)
    return false;
  if (f > kMaxNormalisedFrequency)
    f = kMaxNormalisedFrequency;
  double w = f * 6.283185307179586;
  double cs = Cos(w);
  double sn = Sin(w);
  double alpha = sn / (2.0 * q);
  double a0 = 1.0 + alpha;
  BiquadStage& s = Stage(0);
  s.a1 = 2.0 * cs / a0;
  s.a2 = -(1.0 - alpha) / a0;
  s.b0 = (1.0 + cs) / (2.0 * a0);
  s.b1 = -(1.0 + cs) / a0;
  s.b2 = s.b0;
  return true;
}

}  // namespace Dsp
