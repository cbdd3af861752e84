#pragma once

#include "framework/core/GrowBuffer.h"

// Delays the dry signal by the plug-in's latency while it is bypassed, one ring per input
// channel, so that switching bypass does not shift the audio in time.
class BypassDelayLine
{
public:
  BypassDelayLine(int nInputs, int nOutputs);

  BypassDelayLine(const BypassDelayLine&) = delete;
  BypassDelayLine& operator=(const BypassDelayLine&) = delete;

  // Sets the delay in frames and clears the rings. Returns false (and leaves a length of
  // 0, a plain copy) when the rings cannot be had.
  bool SetLength(int frames);
  int Length() const { return mLength; }
  int NInputs() const { return mNIn; }
  int NOutputs() const { return mNOut; }

  // out := in delayed by Length() frames; in and out may be the same buffers. Outputs
  // without an input are zeroed.
  void Run(double* const* in, double* const* out, int frames);

private:
  GrowBuffer mBuffer;
  int mWritePos = 0;
  int mNIn;
  int mNOut;
  int mLength = 0;
};
