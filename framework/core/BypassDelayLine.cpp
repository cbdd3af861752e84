#include "framework/core/BypassDelayLine.h"

#include <algorithm>
#include <cstring>

BypassDelayLine::BypassDelayLine(int nInputs, int nOutputs)
  : mBuffer(GrowBuffer::kPageGranularity), mNIn(std::max(nInputs, 0)), mNOut(std::max(nOutputs, 0))
{}

bool BypassDelayLine::SetLength(int frames)
{
  frames = std::max(frames, 0);
  mWritePos = 0;
  const int64_t bytes = int64_t(frames) * mNIn * int64_t(sizeof(double));
  if (bytes > INT32_MAX)
  {
    mBuffer.SetSize(0, true);
    mLength = 0;
    return false;
  }
  mBuffer.SetSize(static_cast<int>(bytes), true);
  if (mBuffer.Size() != bytes)
  {
    mLength = 0;
    return false;
  }
  if (bytes > 0)
    std::memset(mBuffer.Data(), 0, static_cast<size_t>(bytes));
  mLength = frames;
  return true;
}

void BypassDelayLine::Run(double* const* in, double* const* out, int frames)
{
  if (!out || frames <= 0)
    return;
  const int nCopy = in ? std::min(mNIn, mNOut) : 0;
  double* rings = static_cast<double*>(mBuffer.Data());
  if (mLength == 0 || !rings)
  {
    for (int j = 0; j < nCopy; ++j)
    {
      if (out[j] && in[j] && out[j] != in[j])
        std::memmove(out[j], in[j], sizeof(double) * static_cast<size_t>(frames));
    }
  }
  else
  {
    for (int f = 0; f < frames; ++f)
    {
      for (int j = 0; j < nCopy; ++j)
      {
        if (!out[j] || !in[j])
          continue;
        double& entry = rings[int64_t(j) * mLength + mWritePos];
        const double sample = in[j][f];  // read first: in and out may be one buffer
        out[j][f] = entry;
        entry = sample;
      }
      if (++mWritePos == mLength)
        mWritePos = 0;
    }
  }
  for (int j = nCopy; j < mNOut; ++j)
  {
    if (out[j])
      std::memset(out[j], 0, sizeof(double) * static_cast<size_t>(frames));
  }
}
