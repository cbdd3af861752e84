#pragma once

#include <complex>
#include <cstddef>

#include "effect/dsp/Layout.h"

// Second-order stages in series, run in Direct Form II on interleaved frames in place.

namespace Dsp
{

// One stage: H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 - a1 z^-1 - a2 z^-2). The feedback
// coefficients are stored negated so that the recursion adds them. The working copies
// are used only by the two-channel vector path, which glides them towards the targets
// over one block so that a new design never clicks in.
struct BiquadStage
{
  double a1 = 0.0, a2 = 0.0, b0 = 1.0, b1 = 0.0, b2 = 0.0;
  double workA1 = 0.0, workA2 = 0.0, workB0 = 0.0, workB1 = 0.0, workB2 = 0.0;

  void SetPassThrough()
  {
    a1 = a2 = b1 = b2 = 0.0;
    b0 = 1.0;
  }
  bool Ramping() const
  {
    // Written as negations so that a NaN on either side counts as a difference.
    return !(workA1 == a1 && workA2 == a2 && workB0 == b0 && workB1 == b1 && workB2 == b2);
  }
};

// The two previous intermediate values of one stage for one channel.
struct StageHistory
{
  double w1 = 0.0, w2 = 0.0;
};

// Keeps denormal numbers out of the recursions without touching processor flags.
constexpr double kStageOffset = 1e-25;
constexpr double kVectorInputOffset = 1e-18;

class Cascade
{
public:
  Cascade(const Cascade&) = delete;
  Cascade& operator=(const Cascade&) = delete;

  int StageCount() const { return stageCount_; }
  int StageCapacity() const { return stageCapacity_; }
  const BiquadStage& Stage(int i) const { return stages_[i]; }
  BiquadStage& Stage(int i) { return stages_[i]; }

  // Every stage passes its input unchanged (targets only).
  void SetPassThrough();
  // Response at z = e^(j angle).
  std::complex<double> EvaluateResponse(double angle) const;
  // Fills the stages from a digital layout and normalises the gain at the layout's normal
  // frequency. Refuses (false, targets unchanged) a layout that needs more stages than
  // there is room for, or whose gain cannot be normalised.
  bool BuildFromLayout(const Layout& digital);

protected:
  Cascade(BiquadStage* stages, int capacity) : stageCapacity_(capacity), stages_(stages) {}
  ~Cascade() = default;
  void SetStageCount(int count) { stageCount_ = count < stageCapacity_ ? count : stageCapacity_; }

private:
  int stageCount_ = 0;
  int stageCapacity_;
  BiquadStage* stages_;
};

class CascadeFilter : public Cascade
{
public:
  int ChannelCount() const { return channels_; }
  int ChannelCapacity() const { return channelCapacity_; }
  // How many channels the interleaved frames carry; refuses 0 and more than the capacity.
  bool SetChannelCount(int channels);

  const StageHistory& History(int channel, int stage) const
  {
    return history_[stage * channelCapacity_ + channel];
  }
  StageHistory& MutableHistory(int channel, int stage)
  {
    return history_[stage * channelCapacity_ + channel];
  }
  // True while a vector path would still glide a stage towards its targets.
  bool Ramping() const;

  // Filters frames interleaved frames in place; after each frame stride further values
  // are skipped. Two channels take the vector path when the processor offers it.
  void FilterFrames(size_t frames, double* interleaved, size_t stride);
  // The scalar path regardless of the processor.
  void FilterFramesScalar(size_t frames, double* interleaved, size_t stride);

  // Zeroes the history.
  void ClearHistory();
  // Clears the history when any of it is not finite; true when it had to.
  bool ClearIfNotFinite();

protected:
  CascadeFilter(BiquadStage* stages, int stageCapacity, StageHistory* history, int channels)
      : Cascade(stages, stageCapacity),
        channels_(channels),
        channelCapacity_(channels),
        history_(history)
  {
  }
  ~CascadeFilter() = default;

private:
  int channels_;
  int channelCapacity_;
  StageHistory* history_;
};

template <int MaxPoles, int Channels>
class CascadeSpace
{
protected:
  static constexpr int kStages = (MaxPoles + 1) / 2;
  BiquadStage stageStorage_[kStages];
  StageHistory historyStorage_[Channels * kStages];
};

// One stage over packed two-channel frames, gliding the working coefficients towards
// the targets over the block; history holds the stage's two channels. Runs on the SSE2
// unit: call only when the processor has it.
void FilterStageStereoSse(size_t frames, double* interleaved, BiquadStage& stage,
                          StageHistory* history);

// All stages of a two-channel cascade in one pass over the frames (history: per stage
// its two channels). The arithmetic of each stage is that of FilterStageStereoSse, so
// the result is the same as running the stages one after the other over the block, but
// the stages overlap in time.
void FilterStagesStereoSse(size_t frames, double* interleaved, BiquadStage* stages,
                           int stageCount, StageHistory* history);

}  // namespace Dsp
