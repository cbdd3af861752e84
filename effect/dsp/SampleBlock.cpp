#include "effect/dsp/SampleBlock.h"

#include <cstring>

namespace Dsp {

double* CopyWithStride(size_t count, size_t frames, double* dst, const double* src, size_t dstSkip, size_t srcSkip)
{
  double* end = dst;
  for (size_t f = 0; f < frames; ++f)
  {
    for (size_t i = 0; i < count; ++i)
      dst[i] = src[i];
    end = dst + count;
    dst += count + dstSkip;
    src += count + srcSkip;
  }
  return end;
}

double* AccumulateWithStride(size_t count, size_t frames, double* dst, const double* src, size_t dstSkip,
                             size_t srcSkip)
{
  double* end = dst;
  for (size_t f = 0; f < frames; ++f)
  {
    for (size_t i = 0; i < count; ++i)
      dst[i] += src[i];
    end = dst + count;
    dst += count + dstSkip;
    src += count + srcSkip;
  }
  return end;
}

double* ScaleWithStride(size_t count, size_t frames, double* buf, double factor, size_t skip)
{
  double* end = buf;
  for (size_t f = 0; f < frames; ++f)
  {
    for (size_t i = 0; i < count; ++i)
      buf[i] *= factor;
    end = buf + count;
    buf += count + skip;
  }
  return end;
}

// Stereo runs on every audio block: the odd frames first, then four frames a round.
static const double* SplitStereo(size_t frames, double* left, double* right, const double* src)
{
  size_t head = frames % 4;
  for (size_t f = 0; f < head; ++f, src += 2)
  {
    *left++ = src[0];
    *right++ = src[1];
  }
  for (size_t f = head; f < frames; f += 4, src += 8, left += 4, right += 4)
  {
    left[0] = src[0];
    right[0] = src[1];
    left[1] = src[2];
    right[1] = src[3];
    left[2] = src[4];
    right[2] = src[5];
    left[3] = src[6];
    right[3] = src[7];
  }
  return src;
}

static double* JoinStereo(size_t frames, double* dst, const double* left, const double* right)
{
  size_t head = frames % 4;
  for (size_t f = 0; f < head; ++f, dst += 2)
  {
    dst[0] = *left++;
    dst[1] = *right++;
  }
  for (size_t f = head; f < frames; f += 4, dst += 8, left += 4, right += 4)
  {
    dst[0] = left[0];
    dst[1] = right[0];
    dst[2] = left[1];
    dst[3] = right[1];
    dst[4] = left[2];
    dst[5] = right[2];
    dst[6] = left[3];
    dst[7] = right[3];
  }
  return dst;
}

const double* SplitInterleaved(size_t channels, size_t frames, double* const* dst, const double* src)
{
  if (channels == 0 || frames == 0)
    return src;
  if (channels == 2)
    return SplitStereo(frames, dst[0], dst[1], src);
  if (channels == 1)
  {
    std::memmove(dst[0], src, frames * sizeof(double));
    return src + frames;
  }
  for (size_t c = 0; c < channels; ++c)
    CopyWithStride(1, frames, dst[c], src + c, 0, channels - 1);
  return src + channels * frames;
}

double* JoinInterleaved(size_t channels, size_t frames, double* dst, const double* const* src)
{
  if (channels == 0 || frames == 0)
    return dst;
  if (channels == 2)
    return JoinStereo(frames, dst, src[0], src[1]);
  if (channels == 1)
  {
    std::memmove(dst, src[0], frames * sizeof(double));
    return dst + frames;
  }
  for (size_t c = 0; c < channels; ++c)
    CopyWithStride(1, frames, dst + c, src[c], channels - 1, 0);
  return dst + channels * frames;
}

}  // namespace Dsp
