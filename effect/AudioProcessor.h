#pragma once

#include <cstddef>

#include "effect/StereoChain.h"
#include "effect/dsp/PoleFilter.h"

// Runs a per-sample stage (the derived class) at an integer multiple of the host rate:
// each host frame is repeated factor times, smoothed by a low-pass, processed, mixed
// with the unprocessed signal, low-passed again and every factor-th frame kept.
//
// Blocks are worked through in slices that fit fixed scratch buffers, so processing
// never allocates and a block of any length can be taken.
class AudioProcessor
{
public:
  static constexpr int kMaxChannels = 2;
  static constexpr int kMaxSampleRate = 10000000;
  // Oversampled frames per slice.
  static constexpr int kSliceFrames = 1024;

  AudioProcessor();
  virtual ~AudioProcessor() = default;
  AudioProcessor(const AudioProcessor&) = delete;
  AudioProcessor& operator=(const AudioProcessor&) = delete;

  // A factor below 1 becomes 1. Designs both low-passes for it (histories kept), then
  // UpdateForRate.
  virtual void SetOversampling(int factor);
  // The proportion of processed signal; refuses values that are not finite.
  virtual bool SetMix(double mix);
  // Resets both low-passes' stages to pass-through, then designs them again.
  virtual void RedesignFilters();
  // Refuses rates that are not positive or above kMaxSampleRate (false, nothing
  // changed). A changed rate runs UpdateForRate, so everything derived from it follows.
  virtual bool SetSampleRate(int hz);
  // Refuses counts outside 1..kMaxChannels.
  virtual bool SetChannelCount(int channels);
  // Processes interleaved frames in place at the oversampled rate.
  virtual int ProcessFrames(double* frames, int count) = 0;
  // Called after the factor or the rate changed.
  virtual void UpdateForRate() = 0;

  // Announces that the next frames host frames make one host block, however they are
  // handed to ProcessBlock: a new filter design glides in over the whole of it, as it
  // would if the block came in one piece, and the gain peaks span all of it. A
  // ProcessBlock call that finds no announced block (or one too short for it) is a host
  // block of its own.
  void BeginHostBlock(int frames);
  // Processes one host block of two channels straight from the host's buffers into its
  // output buffers in one pass, the peak meters of io included, when the fused chain can
  // take it: two channels, a factor of 2 or more, the whole processed signal and no new
  // filter design to glide in. Answers false, having processed nothing, when it cannot.
  bool ProcessStereoBlock(const StereoFrames& io, int frames);
  // Processes a block of interleaved host frames in place. Values that are not finite
  // enter as silence, and state that overflowed is cleared, so the output stays finite.
  void ProcessBlock(double* interleaved, int frames);

  int SampleRate() const { return mSampleRate; }
  int Oversampling() const { return mFactor; }
  int ChannelCount() const { return static_cast<int>(mChannels); }
  double Mix() const { return mMix; }
  // The oversampled rate the per-sample stage runs at.
  int ProcessingRate() const { return mSampleRate * mFactor; }

  const Dsp::ChebyIILowPass<6, 2>& InterpolationFilter() const { return mInterpolation; }
  const Dsp::ChebyIILowPass<6, 2>& DecimationFilter() const { return mDecimation; }

protected:
  // True while ProcessBlock feeds the second or a later slice of one host block to
  // ProcessFrames (also across the calls of one announced host block), so per-block
  // figures can span the whole block.
  bool ContinuingBlock() const { return mContinuingBlock; }
  // May run stereo host frames through hold, interpolation filter, the per-sample stage
  // and decimation filter in one pass, the same arithmetic as the separate passes; false
  // when it cannot, and the passes run. Asked only with two channels, a factor of 2 or
  // more and the whole processed signal.
  virtual bool ProcessFused(const StereoFrames& /*io*/, int /*count*/) { return false; }
  Dsp::ChebyIILowPass<6, 2>& MutableInterpolationFilter() { return mInterpolation; }
  Dsp::ChebyIILowPass<6, 2>& MutableDecimationFilter() { return mDecimation; }

private:
  void DesignFilters();
  void ProcessSlice(double* x, int frames);
  void UpsampleHold(const double* x, double* work, int frames) const;
  void FilterAndDecimate(double* work, double* x, int oversampledFrames);
  void MixWithDry(double* work, double* dry, size_t values) const;

  int mSampleRate = 44100;
  int mFactor = 1;
  double mChannels = 2.0;
  double mMix = 1.0;
  bool mContinuingBlock = false;
  int mHostFramesLeft = 0;  // of the announced host block
  bool mHostBlockUnderway = false;
  Dsp::ChebyIILowPass<6, 2> mInterpolation;
  Dsp::ChebyIILowPass<6, 2> mDecimation;
  alignas(16) double mWork[kSliceFrames * kMaxChannels];
  alignas(16) double mDry[kSliceFrames * kMaxChannels];
};
