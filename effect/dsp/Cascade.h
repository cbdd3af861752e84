#pragma once

#include <complex>
#include <cstddef>

#include "effect/dsp/Layout.h"

// Second-order stages in series, run in Direct Form II on interleaved frames in place.

namespace Dsp {

// One stage: H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 - a1 z^-1 - a2 z^-2). The feedback
// coefficients are stored negated so that the recursion adds them. The working copies
// are used only by the two-channel vector path, which glides them towards the targets
// over one block so that a new design never clicks in; the steps are what each frame of
// the glide in progress adds to them.
struct BiquadStage
{
  double a1 = 0.0, a2 = 0.0, b0 = 1.0, b1 = 0.0, b2 = 0.0;
  double workA1 = 0.0, workA2 = 0.0, workB0 = 0.0, workB1 = 0.0, workB2 = 0.0;
  double stepA1 = 0.0, stepA2 = 0.0, stepB0 = 0.0, stepB1 = 0.0, stepB2 = 0.0;

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
  // Steps that take the working coefficients onto the targets in frames frames.
  void PlanGlide(size_t frames)
  {
    const double d = 1.0 / static_cast<double>(frames);
    stepA1 = (a1 - workA1) * d;
    stepA2 = (a2 - workA2) * d;
    stepB0 = (b0 - workB0) * d;
    stepB1 = (b1 - workB1) * d;
    stepB2 = (b2 - workB2) * d;
  }
  // The glide has arrived: exactly on the targets, so later blocks need no further one.
  void Land()
  {
    workA1 = a1;
    workA2 = a2;
    workB0 = b0;
    workB1 = b1;
    workB2 = b2;
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

  int StageCount() const { return mStageCount; }
  int StageCapacity() const { return mStageCapacity; }
  const BiquadStage& Stage(int i) const { return mStages[i]; }
  BiquadStage& Stage(int i) { return mStages[i]; }

  // Every stage passes its input unchanged (targets only). New targets end any glide in
  // progress; the next block glides from where the working coefficients are.
  void SetPassThrough();
  // Response at z = e^(j angle).
  std::complex<double> EvaluateResponse(double angle) const;
  // Fills the stages from a digital layout and normalises the gain at the layout's normal
  // frequency. Refuses (false, targets unchanged) a layout that needs more stages than
  // there is room for, or whose gain cannot be normalised.
  bool BuildFromLayout(const Layout& digital);

protected:
  Cascade(BiquadStage* stages, int capacity) : mStageCapacity(capacity), mStages(stages) {}
  ~Cascade() = default;
  void SetStageCount(int count) { mStageCount = count < mStageCapacity ? count : mStageCapacity; }

  // Frames still to go of the glide in progress.
  size_t mGlideLeft = 0;

private:
  int mStageCount = 0;
  int mStageCapacity;
  BiquadStage* mStages;
};

class CascadeFilter : public Cascade
{
public:
  int ChannelCount() const { return mChannels; }
  int ChannelCapacity() const { return mChannelCapacity; }
  // How many channels the interleaved frames carry; refuses 0 and more than the capacity.
  bool SetChannelCount(int channels);

  const StageHistory& History(int channel, int stage) const { return mHistory[stage * mChannelCapacity + channel]; }
  StageHistory& MutableHistory(int channel, int stage) { return mHistory[stage * mChannelCapacity + channel]; }
  // True while a vector path would still glide a stage towards its targets.
  bool Ramping() const;
  // Makes the next frames frames one glide onto the targets, however they are split
  // across calls of FilterFrames: a block worked through in slices then sounds as it
  // would in one piece. Without it, each call that finds new targets glides over its own
  // frames.
  void BeginGlide(size_t frames);

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
    : Cascade(stages, stageCapacity), mChannels(channels), mChannelCapacity(channels), mHistory(history)
  {}
  ~CascadeFilter() = default;

private:
  int mChannels;
  int mChannelCapacity;
  StageHistory* mHistory;
};

template <int MaxPoles, int Channels>
class CascadeSpace
{
protected:
  static constexpr int kStages = (MaxPoles + 1) / 2;
  BiquadStage mStageStorage[kStages];
  StageHistory mHistoryStorage[Channels * kStages];
};

// One stage over packed two-channel frames, gliding the working coefficients towards
// the targets over the block; history holds the stage's two channels. Runs on the SSE2
// unit: call only when the processor has it.
void FilterStageStereoSse(size_t frames, double* interleaved, BiquadStage& stage, StageHistory* history);

// What a pass of the stages does with the working coefficients.
enum class Glide
{
  kNone,      // the stages are settled: they run on their targets
  kContinue,  // each frame adds the planned steps; the glide goes on after the pass
  kLand,      // as kContinue, and the pass ends the glide exactly on the targets
};

// All stages of a two-channel cascade in one pass over the frames (history: per stage
// its two channels). The arithmetic of each stage is that of FilterStageStereoSse, so
// the result is the same as running the stages one after the other over the block, but
// the stages overlap in time.
void FilterStagesStereoSse(size_t frames, double* interleaved, BiquadStage* stages, int stageCount,
                           StageHistory* history, Glide glide);

}  // namespace Dsp
