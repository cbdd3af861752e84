#pragma once

#include "effect/dsp/Cascade.h"
#include "effect/dsp/ChebyII.h"
#include "effect/dsp/Layout.h"

// Filters designed from poles and zeros and run as a cascade of second-order stages.

namespace Dsp {

struct DesignParams
{
  int order = 0;
  double sampleRate = 1.0;
  double cutoff = 0.0;      // same unit as the sample rate
  double stopBandDb = 0.0;  // stop-band attenuation
};

class PoleFilter : public CascadeFilter
{
public:
  // Designs the filter; keeps the history, so a running filter continues from its
  // state. Refuses a request it cannot meet (false, the previous design stays).
  virtual bool Configure(const DesignParams& params) = 0;

protected:
  using CascadeFilter::CascadeFilter;
  ~PoleFilter() = default;
};

// Kind tag (ChebyII is the design tag).
struct LowPass;

template <class Design, class Kind, int MaxPoles, int Channels>
class PoleFilterSpace;

template <int MaxPoles, int Channels>
class PoleFilterSpace<ChebyII, LowPass, MaxPoles, Channels> : private CascadeSpace<MaxPoles, Channels>,
                                                              public PoleFilter
{
  using Space = CascadeSpace<MaxPoles, Channels>;

public:
  PoleFilterSpace() : PoleFilter(Space::mStageStorage, Space::kStages, Space::mHistoryStorage, Channels)
  {
    // Pass-through stages until the first design; working coefficients start at zero.
    this->SetStageCount(Space::kStages);
  }

  bool Configure(const DesignParams& p) override
  {
    if (p.order > MaxPoles)
      return false;
    LayoutSpace<MaxPoles> analog, digital;
    if (!ChebyII::DesignAnalogPrototype(p.order, p.stopBandDb, analog))
      return false;
    if (!MapLayoutToDigital(analog, p.sampleRate, p.cutoff, digital))
      return false;
    if (!BuildFromLayout(digital))
      return false;
    mAnalog.CopyFrom(analog);
    mDigital.CopyFrom(digital);
    return true;
  }

  const Layout& AnalogLayout() const { return mAnalog; }
  const Layout& DigitalLayout() const { return mDigital; }

private:
  LayoutSpace<MaxPoles> mAnalog;
  LayoutSpace<MaxPoles> mDigital;
};

template <int MaxPoles, int Channels>
class ChebyIILowPass : public PoleFilterSpace<ChebyII, LowPass, MaxPoles, Channels>
{};

}  // namespace Dsp
