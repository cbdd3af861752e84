#include "effect/dsp/Cascade.h"
#include "platform/cpu/SseSupport.h"

#if TQ_HAVE_SSE_PATH
#include <emmintrin.h>

namespace Dsp {
namespace {

// Both channels of a frame sit side by side in one register: lane 0 the first
// channel, lane 1 the second. Unaligned loads, so any caller buffer will do. While
// gliding, each frame first adds the planned steps to the working coefficients.
template <int S, bool Ramp>
TQ_SSE_FUNCTION void RunStages(size_t frames, double* x, BiquadStage* st, StageHistory* h, bool land)
{
  __m128d a1[S], a2[S], b0[S], b1[S], b2[S], w1[S], w2[S];
  __m128d da1[S], da2[S], db0[S], db1[S], db2[S];
  for (int s = 0; s < S; ++s)
  {
    a1[s] = _mm_set1_pd(st[s].workA1);
    a2[s] = _mm_set1_pd(st[s].workA2);
    b0[s] = _mm_set1_pd(st[s].workB0);
    b1[s] = _mm_set1_pd(st[s].workB1);
    b2[s] = _mm_set1_pd(st[s].workB2);
    if (Ramp)
    {
      da1[s] = _mm_set1_pd(st[s].stepA1);
      da2[s] = _mm_set1_pd(st[s].stepA2);
      db0[s] = _mm_set1_pd(st[s].stepB0);
      db1[s] = _mm_set1_pd(st[s].stepB1);
      db2[s] = _mm_set1_pd(st[s].stepB2);
    }
    w1[s] = _mm_set_pd(h[2 * s + 1].w1, h[2 * s].w1);
    w2[s] = _mm_set_pd(h[2 * s + 1].w2, h[2 * s].w2);
  }
  const __m128d inOffset = _mm_set1_pd(kVectorInputOffset);
  const __m128d offset = _mm_set1_pd(kStageOffset);

  for (size_t f = 0; f < frames; ++f, x += 2)
  {
    __m128d v = _mm_loadu_pd(x);
    for (int s = 0; s < S; ++s)
    {
      if (Ramp)
      {
        a1[s] = _mm_add_pd(a1[s], da1[s]);
        a2[s] = _mm_add_pd(a2[s], da2[s]);
        b0[s] = _mm_add_pd(b0[s], db0[s]);
        b1[s] = _mm_add_pd(b1[s], db1[s]);
        b2[s] = _mm_add_pd(b2[s], db2[s]);
      }
      __m128d fb = _mm_add_pd(_mm_mul_pd(a1[s], w1[s]), _mm_mul_pd(a2[s], w2[s]));
      __m128d w = _mm_add_pd(_mm_add_pd(fb, _mm_add_pd(v, inOffset)), offset);
      v = _mm_add_pd(_mm_add_pd(_mm_mul_pd(b0[s], w), _mm_mul_pd(b1[s], w1[s])), _mm_mul_pd(b2[s], w2[s]));
      w2[s] = w1[s];
      w1[s] = w;
    }
    _mm_storeu_pd(x, v);
  }

  for (int s = 0; s < S; ++s)
  {
    double lo[2], hi[2];
    _mm_storeu_pd(lo, w1[s]);
    _mm_storeu_pd(hi, w2[s]);
    h[2 * s].w1 = lo[0];
    h[2 * s + 1].w1 = lo[1];
    h[2 * s].w2 = hi[0];
    h[2 * s + 1].w2 = hi[1];
    if (Ramp && land)
    {
      st[s].Land();
    }
    else if (Ramp)
    {
      // The next pass of the glide goes on from here, with the same steps.
      st[s].workA1 = _mm_cvtsd_f64(a1[s]);
      st[s].workA2 = _mm_cvtsd_f64(a2[s]);
      st[s].workB0 = _mm_cvtsd_f64(b0[s]);
      st[s].workB1 = _mm_cvtsd_f64(b1[s]);
      st[s].workB2 = _mm_cvtsd_f64(b2[s]);
    }
  }
}

// One stage on one packed frame: the recursion of FilterStageStereoSse.
struct PackedStage
{
  __m128d a1, a2, b0, b1, b2, w1, w2;

  TQ_SSE_FUNCTION void Load(const BiquadStage& st, const StageHistory* h)
  {
    a1 = _mm_set1_pd(st.a1);
    a2 = _mm_set1_pd(st.a2);
    b0 = _mm_set1_pd(st.b0);
    b1 = _mm_set1_pd(st.b1);
    b2 = _mm_set1_pd(st.b2);
    w1 = _mm_set_pd(h[1].w1, h[0].w1);
    w2 = _mm_set_pd(h[1].w2, h[0].w2);
  }
  TQ_SSE_FUNCTION void Store(StageHistory* h) const
  {
    double lo[2], hi[2];
    _mm_storeu_pd(lo, w1);
    _mm_storeu_pd(hi, w2);
    h[0].w1 = lo[0];
    h[1].w1 = lo[1];
    h[0].w2 = hi[0];
    h[1].w2 = hi[1];
  }
  TQ_SSE_FUNCTION __m128d Run(__m128d v, __m128d inOffset, __m128d offset)
  {
    __m128d fb = _mm_add_pd(_mm_mul_pd(a1, w1), _mm_mul_pd(a2, w2));
    __m128d w = _mm_add_pd(_mm_add_pd(fb, _mm_add_pd(v, inOffset)), offset);
    v = _mm_add_pd(_mm_add_pd(_mm_mul_pd(b0, w), _mm_mul_pd(b1, w1)), _mm_mul_pd(b2, w2));
    w2 = w1;
    w1 = w;
    return v;
  }
};

// Three settled stages as a wavefront: each round runs stage 0 on frame n, stage 1 on
// frame n - 1 and stage 2 on frame n - 2. The three recursions of a round are then
// independent of one another and overlap in the processor, where running a frame through
// all three in turn would make each wait for the one before. Same arithmetic per stage
// and frame, so the same numbers.
TQ_SSE_FUNCTION void RunThreeStagesWavefront(size_t frames, double* x, BiquadStage* st, StageHistory* h)
{
  PackedStage s0, s1, s2;
  s0.Load(st[0], h);
  s1.Load(st[1], h + 2);
  s2.Load(st[2], h + 4);
  const __m128d inOffset = _mm_set1_pd(kVectorInputOffset);
  const __m128d offset = _mm_set1_pd(kStageOffset);

  // Rounds 0 and 1 fill the wavefront.
  __m128d v0 = s0.Run(_mm_loadu_pd(x), inOffset, offset);
  __m128d v1 = s1.Run(v0, inOffset, offset);
  v0 = s0.Run(_mm_loadu_pd(x + 2), inOffset, offset);
  for (size_t n = 2; n < frames; ++n)
  {
    __m128d out = s2.Run(v1, inOffset, offset);
    v1 = s1.Run(v0, inOffset, offset);
    v0 = s0.Run(_mm_loadu_pd(x + 2 * n), inOffset, offset);
    _mm_storeu_pd(x + 2 * (n - 2), out);
  }
  // Two rounds drain it.
  _mm_storeu_pd(x + 2 * (frames - 2), s2.Run(v1, inOffset, offset));
  v1 = s1.Run(v0, inOffset, offset);
  _mm_storeu_pd(x + 2 * (frames - 1), s2.Run(v1, inOffset, offset));

  s0.Store(h);
  s1.Store(h + 2);
  s2.Store(h + 4);
}

template <int S>
TQ_SSE_FUNCTION void RunStages(size_t frames, double* x, BiquadStage* st, StageHistory* h, Glide glide)
{
  if (glide != Glide::kNone)
    RunStages<S, true>(frames, x, st, h, glide == Glide::kLand);
  else if (S == 3 && frames >= 3)
    RunThreeStagesWavefront(frames, x, st, h);
  else
    RunStages<S, false>(frames, x, st, h, false);
}

}  // namespace

// On its own, a stage that finds new targets glides onto them over this block.
TQ_SSE_ENTRY void FilterStageStereoSse(size_t frames, double* x, BiquadStage& stage, StageHistory* history)
{
  if (frames == 0)
    return;
  const bool ramp = stage.Ramping();
  if (ramp)
    stage.PlanGlide(frames);
  RunStages<1>(frames, x, &stage, history, ramp ? Glide::kLand : Glide::kNone);
}

TQ_SSE_ENTRY void FilterStagesStereoSse(size_t frames, double* x, BiquadStage* stages, int stageCount,
                                        StageHistory* history, Glide glide)
{
  if (frames == 0)
    return;
  switch (stageCount)
  {
  case 1:
    RunStages<1>(frames, x, stages, history, glide);
    return;
  case 2:
    RunStages<2>(frames, x, stages, history, glide);
    return;
  case 3:
    RunStages<3>(frames, x, stages, history, glide);
    return;
  default:
    for (int s = 0; s < stageCount; ++s)
      RunStages<1>(frames, x, stages + s, history + 2 * s, glide);
    return;
  }
}

}  // namespace Dsp
#endif
