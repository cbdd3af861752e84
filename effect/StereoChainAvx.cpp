#include "effect/StereoChain.h"

#include <algorithm>
#include <cmath>

#include "effect/TransientControl.h"
#include "platform/cpu/SseSupport.h"

#if TQ_HAVE_SSE_PATH
#include <immintrin.h>

// Every oversampled frame passes eleven steps: three interpolation stages, detector,
// followers, gain, two rounds of waiting, three decimation stages. Round r runs step k on
// frame r - k, so the steps of a round do not wait for one another; the wait lets the
// gain's long division finish before the decimation needs its result, which would
// otherwise hold the filters up. The six filter stages travel two by two
// in 256-bit registers, an interpolation stage beside the decimation stage of the same
// place (one stage's two channels per half), so each pair feeds the next without
// shuffling; the detector and the followers work on both channels, and the gain on two
// frames at once, every second round. Per stage and frame the arithmetic is that of the
// two-channel paths with multiplies and adds fused, which shortens the recursions; the
// results agree with the other paths to rounding.

namespace {

constexpr int kSteps = 11;  // the last step runs on frame r - 10

// Two filter stages side by side: lanes 0 and 1 the two channels of the first, lanes 2
// and 3 those of the second.
struct StagePair
{
  __m256d a1, a2, b0, b1, b2, w1, w2;
};

TQ_AVX_FUNCTION __m256d Halves(double lo, double hi)
{
  return _mm256_setr_pd(lo, lo, hi, hi);
}

TQ_AVX_FUNCTION void Load(StagePair& p, const Dsp::BiquadStage& lo, const Dsp::StageHistory* hlo,
                          const Dsp::BiquadStage& hi, const Dsp::StageHistory* hhi)
{
  p.a1 = Halves(lo.a1, hi.a1);
  p.a2 = Halves(lo.a2, hi.a2);
  p.b0 = Halves(lo.b0, hi.b0);
  p.b1 = Halves(lo.b1, hi.b1);
  p.b2 = Halves(lo.b2, hi.b2);
  p.w1 = _mm256_setr_pd(hlo[0].w1, hlo[1].w1, hhi[0].w1, hhi[1].w1);
  p.w2 = _mm256_setr_pd(hlo[0].w2, hlo[1].w2, hhi[0].w2, hhi[1].w2);
}

TQ_AVX_FUNCTION void Store(const StagePair& p, Dsp::StageHistory* hlo, Dsp::StageHistory* hhi)
{
  double w1[4], w2[4];
  _mm256_storeu_pd(w1, p.w1);
  _mm256_storeu_pd(w2, p.w2);
  hlo[0] = {w1[0], w2[0]};
  hlo[1] = {w1[1], w2[1]};
  hhi[0] = {w1[2], w2[2]};
  hhi[1] = {w1[3], w2[3]};
}

// w = a1 w1 + a2 w2 + (in + 1e-18) + 1e-25; out = b0 w + b1 w1 + b2 w2. UnitB2 says
// that b2 is exactly 1 in both halves (so is every stage of this design whose zeros were
// not scaled for the gain), where b2 w2 is w2 itself and needs no multiply.
template <bool UnitB2>
TQ_AVX_FUNCTION __m256d Run(StagePair& p, __m256d in)
{
  const __m256d pre =
    _mm256_add_pd(_mm256_add_pd(in, _mm256_set1_pd(Dsp::kVectorInputOffset)), _mm256_set1_pd(Dsp::kStageOffset));
  const __m256d w = _mm256_fmadd_pd(p.a1, p.w1, _mm256_fmadd_pd(p.a2, p.w2, pre));
  const __m256d last = UnitB2 ? p.w2 : _mm256_mul_pd(p.b2, p.w2);
  const __m256d out = _mm256_fmadd_pd(p.b0, w, _mm256_fmadd_pd(p.b1, p.w1, last));
  p.w2 = p.w1;
  p.w1 = w;
  return out;
}

TQ_AVX_FUNCTION bool UnitB2(const StagePair& p)
{
  return _mm256_movemask_pd(_mm256_cmp_pd(p.b2, _mm256_set1_pd(1.0), _CMP_EQ_OQ)) == 0xF;
}

// As Run on the halves that have a frame; a half without one keeps its history (its
// output goes unused).
template <bool UnitB2>
TQ_AVX_FUNCTION __m256d RunPart(StagePair& p, __m256d in, bool lo, bool hi)
{
  if (lo && hi)
    return Run<UnitB2>(p, in);
  if (!lo && !hi)
    return in;
  const __m256d w1 = p.w1, w2 = p.w2;
  const __m256d out = Run<UnitB2>(p, in);
  if (lo)
  {
    p.w1 = _mm256_blend_pd(w1, p.w1, 0x3);
    p.w2 = _mm256_blend_pd(w2, p.w2, 0x3);
  }
  else
  {
    p.w1 = _mm256_blend_pd(w1, p.w1, 0xC);
    p.w2 = _mm256_blend_pd(w2, p.w2, 0xC);
  }
  return out;
}

// The transient engine on both channels, lane 0 the first. The fast and the slow
// follower step alike (each rises where its level is below the detector's output), so
// their levels share one register: fast 0, fast 1, slow 0, slow 1.
struct Transient
{
  __m128d a1, a2, b0, b1, b2, w1, w2;  // detector high-pass
  __m256d levels;
  // Attack and release coefficients, and each with its complement, so that choosing
  // one costs no subtraction on the way from one level to the next.
  __m256d att, rel, attC, relC;
  __m128d peak;
  __m256d amount, upper, lower, outGain;
};

TQ_AVX_FUNCTION __m128d Pair(double left, double right)
{
  return _mm_setr_pd(left, right);
}

TQ_AVX_FUNCTION void Unpair(__m128d v, double& left, double& right)
{
  double t[2];
  _mm_storeu_pd(t, v);
  left = t[0];
  right = t[1];
}

TQ_AVX_FUNCTION __m128d Detect(Transient& t, __m128d in)
{
  const __m128d pre = _mm_add_pd(in, _mm_set1_pd(Dsp::kStageOffset));
  const __m128d w = _mm_fmadd_pd(t.a1, t.w1, _mm_fmadd_pd(t.a2, t.w2, pre));
  const __m128d out = _mm_fmadd_pd(t.b0, w, _mm_fmadd_pd(t.b1, t.w1, _mm_mul_pd(t.b2, t.w2)));
  t.w2 = t.w1;
  t.w1 = w;
  return _mm_andnot_pd(_mm_set1_pd(-0.0), out);
}

// level = (1 - c) d + level c, c the attack coefficient where rising; tiny levels are 0.
TQ_AVX_FUNCTION void Follow(Transient& t, __m128d d)
{
  const __m256d d4 = _mm256_set_m128d(d, d);
  const __m256d rising = _mm256_cmp_pd(t.levels, d4, _CMP_LT_OQ);
  const __m256d c = _mm256_blendv_pd(t.rel, t.att, rising);
  const __m256d complement = _mm256_blendv_pd(t.relC, t.attC, rising);
  const __m256d level = _mm256_fmadd_pd(t.levels, c, _mm256_mul_pd(complement, d4));
  t.levels = _mm256_and_pd(_mm256_cmp_pd(level, _mm256_set1_pd(TransientControl::kFlushLevel), _CMP_GE_OQ), level);
}

// The peak takes g when g lies beyond both 1 and the peak, on either side.
TQ_AVX_FUNCTION void TrackPeak(Transient& t, __m128d g)
{
  const __m128d one = _mm_set1_pd(1.0);
  const __m128d away = _mm_or_pd(_mm_cmpgt_pd(g, _mm_max_pd(one, t.peak)), _mm_cmplt_pd(g, _mm_min_pd(one, t.peak)));
  t.peak = _mm_blendv_pd(t.peak, g, away);
}

// The gain step on two frames side by side (lanes 0 and 1 the first frame's channels,
// 2 and 3 the second's), from each frame's fast and slow levels.
TQ_AVX_FUNCTION __m256d ShapeTwo(Transient& t, __m256d in, __m256d fast, __m256d slow)
{
  const __m256d one = _mm256_set1_pd(1.0);
  // Levels are never negative, so either being 0 is the smaller one being 0.
  const __m256d silent = _mm256_cmp_pd(_mm256_min_pd(fast, slow), _mm256_setzero_pd(), _CMP_EQ_OQ);
  const __m256d q = _mm256_min_pd(_mm256_div_pd(fast, slow), _mm256_set1_pd(TransientControl::kMaxRatio));
  const __m256d ratio = _mm256_blendv_pd(q, one, silent);
  __m256d g = _mm256_fnmadd_pd(t.amount, _mm256_sub_pd(one, ratio), one);
  g = _mm256_min_pd(t.upper, g);  // upper < g ? upper : g
  g = _mm256_max_pd(t.lower, g);  // lower > g ? lower : g
  TrackPeak(t, _mm256_castpd256_pd128(g));
  TrackPeak(t, _mm256_extractf128_pd(g, 1));
  return _mm256_mul_pd(_mm256_mul_pd(in, g), t.outGain);
}

struct Engine
{
  StagePair p1, p2, p3;  // interpolation 0 + decimation 0, 1 + 1, 2 + 2
  Transient t;
  __m256d out1, out2, out3;  // each pair's outputs of the last round
  __m128d d;                 // detector output of the last round (frame r - 4)
  __m128d x4, x5;            // interpolated frames r - 4 and r - 5
  __m256d earlier;           // follower levels of frame r - 5
  __m256d shaped;            // gain step outputs of the odd round before the last (two frames)
  __m256d shapedNext;        // those of the last odd round
};

// Which steps of a round have a frame: all of them in the body of a block; steps Lo..Hi
// while the pipeline fills (0..r) or drains; any of them, as the round and the block
// length say, in blocks too short for either.
struct EveryStep
{
  static constexpr bool Has(int) { return true; }
};

template <int Lo, int Hi>
struct StepRange
{
  static constexpr bool Has(int k) { return k >= Lo && k <= Hi; }
};

struct StepsOfRound
{
  int r, n;
  bool Has(int k) const { return r - k >= 0 && r - k < n; }
};

// One round. The gain runs in odd rounds, on frames r - 5 and r - 4 (which exist
// together, as the rounds of a block come in pairs).
template <bool Odd, bool Unit, class Steps>
TQ_AVX_FUNCTION void Round(Engine& e, __m128d hold, Steps steps)
{
  // Decimation 0 takes frame r - 8: the later of the two shaped frames in odd rounds,
  // the earlier in even ones.
  const __m256d shaped = Odd ? e.shaped : _mm256_permute2f128_pd(e.shaped, e.shaped, 0x00);
  const __m256d in1 = _mm256_blend_pd(_mm256_castpd128_pd256(hold), shaped, 0xC);
  const __m128d x3 = _mm256_castpd256_pd128(e.out3);
  const __m256d o1 = RunPart<false>(e.p1, in1, steps.Has(0), steps.Has(8));
  const __m256d o2 = RunPart<Unit>(e.p2, e.out1, steps.Has(1), steps.Has(9));
  e.out3 = RunPart<Unit>(e.p3, e.out2, steps.Has(2), steps.Has(10));
  e.out2 = o2;
  e.out1 = o1;
  if (steps.Has(4))
    Follow(e.t, e.d);
  if (Odd)
    e.shaped = e.shapedNext;
  if (Odd && steps.Has(5))
  {
    const __m256d fast = _mm256_permute2f128_pd(e.earlier, e.t.levels, 0x20);
    const __m256d slow = _mm256_permute2f128_pd(e.earlier, e.t.levels, 0x31);
    e.shapedNext = ShapeTwo(e.t, _mm256_set_m128d(e.x4, e.x5), fast, slow);
  }
  if (!Odd)
    e.earlier = e.t.levels;
  if (steps.Has(3))
    e.d = Detect(e.t, x3);
  e.x5 = e.x4;
  e.x4 = x3;
}

// A round of either parity.
template <bool Unit, class Steps>
TQ_AVX_FUNCTION void AnyRound(Engine& e, __m128d hold, int r, Steps steps)
{
  if (r & 1)
    Round<true, Unit>(e, hold, steps);
  else
    Round<false, Unit>(e, hold, steps);
}

TQ_AVX_FUNCTION void Load(Engine& e, const StereoChain& c)
{
  const Dsp::BiquadStage* ip = c.interpolation;
  const Dsp::BiquadStage* dp = c.decimation;
  const Dsp::StageHistory* ih = c.interpolationHistory;
  const Dsp::StageHistory* dh = c.decimationHistory;
  Load(e.p1, ip[0], ih, dp[0], dh);
  Load(e.p2, ip[1], ih + 2, dp[1], dh + 2);
  Load(e.p3, ip[2], ih + 4, dp[2], dh + 4);
  e.out1 = e.out2 = e.out3 = e.earlier = e.shaped = e.shapedNext = _mm256_setzero_pd();
  e.d = e.x4 = e.x5 = _mm_setzero_pd();

  Transient& t = e.t;
  const Dsp::BiquadStage& s0 = *c.detector[0];
  const Dsp::BiquadStage& s1 = *c.detector[1];
  t.a1 = Pair(s0.a1, s1.a1);
  t.a2 = Pair(s0.a2, s1.a2);
  t.b0 = Pair(s0.b0, s1.b0);
  t.b1 = Pair(s0.b1, s1.b1);
  t.b2 = Pair(s0.b2, s1.b2);
  t.w1 = Pair(c.detectorHistory[0]->w1, c.detectorHistory[1]->w1);
  t.w2 = Pair(c.detectorHistory[0]->w2, c.detectorHistory[1]->w2);
  const EnvelopeFollower* fl = c.followers;
  t.levels = _mm256_setr_pd(fl[0].level, fl[2].level, fl[1].level, fl[3].level);
  t.att =
    _mm256_setr_pd(fl[0].attackCoefficient, fl[2].attackCoefficient, fl[1].attackCoefficient, fl[3].attackCoefficient);
  t.rel = _mm256_setr_pd(fl[0].releaseCoefficient, fl[2].releaseCoefficient, fl[1].releaseCoefficient,
                         fl[3].releaseCoefficient);
  const __m256d one = _mm256_set1_pd(1.0);
  t.attC = _mm256_sub_pd(one, t.att);
  t.relC = _mm256_sub_pd(one, t.rel);
  t.peak = Pair(c.peaks[0], c.peaks[1]);
  t.amount = _mm256_set1_pd(c.amount);
  t.upper = _mm256_set1_pd(c.upper);
  t.lower = _mm256_set1_pd(c.lower);
  t.outGain = _mm256_set1_pd(c.outGain);
}

TQ_AVX_FUNCTION void Store(const Engine& e, StereoChain& c)
{
  Dsp::StageHistory* ih = c.interpolationHistory;
  Dsp::StageHistory* dh = c.decimationHistory;
  Store(e.p1, ih, dh);
  Store(e.p2, ih + 2, dh + 2);
  Store(e.p3, ih + 4, dh + 4);
  const Transient& t = e.t;
  Unpair(t.w1, c.detectorHistory[0]->w1, c.detectorHistory[1]->w1);
  Unpair(t.w2, c.detectorHistory[0]->w2, c.detectorHistory[1]->w2);
  EnvelopeFollower* fl = c.followers;
  double levels[4];
  _mm256_storeu_pd(levels, t.levels);
  fl[0].level = levels[0];
  fl[2].level = levels[1];
  fl[1].level = levels[2];
  fl[3].level = levels[3];
  Unpair(t.peak, c.peaks[0], c.peaks[1]);
}

// The host side of the pass: frames in and out, with the four peak meters stepping in one
// register (input 0, input 1, output 0, output 1), as MeterFollower::Run steps them.
struct HostSide
{
  const double* in0;
  const double* in1;
  double* out0;
  double* out1;
  std::ptrdiff_t step;
  __m256d meters, attack, release;
};

TQ_AVX_FUNCTION __m128d Magnitude(__m128d v)
{
  return _mm_andnot_pd(_mm_set1_pd(-0.0), v);
}

// Not-finite values become 0.
TQ_AVX_FUNCTION __m128d Finite(__m128d v)
{
  return _mm_and_pd(v, _mm_cmplt_pd(Magnitude(v), _mm_set1_pd(INFINITY)));
}

// One meter step on the lanes of mask: the level moves towards |x| by the attack
// coefficient while below it, else by the release coefficient.
TQ_AVX_FUNCTION void StepMeters(HostSide& h, __m256d x, __m256d mask)
{
  const __m256d magnitude = _mm256_andnot_pd(_mm256_set1_pd(-0.0), x);
  const __m256d c = _mm256_blendv_pd(h.release, h.attack, _mm256_cmp_pd(h.meters, magnitude, _CMP_LT_OQ));
  const __m256d level = _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(h.meters, magnitude), c), magnitude);
  h.meters = _mm256_blendv_pd(h.meters, level, mask);
}

TQ_AVX_FUNCTION __m256d Lanes(bool inputs, bool outputs)
{
  const long long i = inputs ? -1 : 0, o = outputs ? -1 : 0;
  return _mm256_castsi256_pd(_mm256_setr_epi64x(i, i, o, o));
}

TQ_AVX_FUNCTION __m128d Read(const HostSide& h, int frame)
{
  const std::ptrdiff_t at = frame * h.step;
  return _mm_loadh_pd(_mm_load_sd(h.in0 + at), h.in1 + at);
}

TQ_AVX_FUNCTION void Write(const HostSide& h, int frame, __m128d v)
{
  const std::ptrdiff_t at = frame * h.step;
  _mm_storel_pd(h.out0 + at, v);
  _mm_storeh_pd(h.out1 + at, v);
}

// Reads host frame `frame` for the chain; meters see the raw input.
template <bool Metered>
TQ_AVX_FUNCTION __m128d TakeInput(HostSide& h, int frame)
{
  const __m128d raw = Read(h, frame);
  if (Metered)
    StepMeters(h, _mm256_zextpd128_pd256(raw), Lanes(true, false));
  return Finite(raw);
}

// Writes host frame `frame` of the result; meters see what is written.
template <bool Metered>
TQ_AVX_FUNCTION void GiveOutput(HostSide& h, int frame, __m128d chainOut)
{
  const __m128d v = Finite(chainOut);
  if (Metered)
    StepMeters(h, _mm256_set_m128d(v, v), Lanes(false, true));
  Write(h, frame, v);
}

// The rounds of whole host frames from..to - 1, where every step has its frame, with
// the factor's rounds unrolled: the output of host frame j - kLag leaves in round kAt of
// host frame j's rounds.
template <int F, bool Metered, bool Unit>
TQ_AVX_FUNCTION void RunHostFrames(Engine& e, HostSide& h, int from, int to)
{
  constexpr int kLag = (kSteps - 1) / F, kAt = (kSteps - 1) % F;
  static_assert(kAt % 2 == 0, "rounds run in pairs");
  for (int j = from; j < to; ++j)
  {
    const __m128d raw = Read(h, j);
    const __m128d hold = Finite(raw);
    // Unrolled whole, the rounds of a host frame keep their histories in registers from
    // one round to the next instead of moving them at every turn of a loop.
#pragma GCC unroll 8
    for (int k = 0; k < F; k += 2)
    {
      Round<false, Unit>(e, hold, EveryStep{});
      if (k == kAt)
      {
        const __m128d out = Finite(_mm256_extractf128_pd(e.out3, 1));
        if (Metered)
          StepMeters(h, _mm256_set_m128d(out, raw), Lanes(true, true));
        Write(h, j - kLag, out);
      }
      Round<true, Unit>(e, hold, EveryStep{});
    }
  }
}

// One round of the body (every step has its frame), reading and writing host frames
// where they fall.
template <bool Metered, bool Unit>
TQ_AVX_FUNCTION void BodyRound(Engine& e, HostSide& h, int r, int factor, __m128d& hold)
{
  if (r % factor == 0)
    hold = TakeInput<Metered>(h, r / factor);
  AnyRound<Unit>(e, hold, r, EveryStep{});
  const int done = r - (kSteps - 1);  // the oversampled frame leaving now
  if (done % factor == 0)
    GiveOutput<Metered>(h, done / factor, _mm256_extractf128_pd(e.out3, 1));
}

// Rounds kSteps - 1..n - 1, where every step has its frame: one by one up to the start
// of a host frame, then host frame by host frame where the factor has an unrolled form.
template <bool Metered, bool Unit>
TQ_AVX_FUNCTION void RunBody(Engine& e, HostSide& h, int frames, int factor, __m128d hold)
{
  const int first = kSteps - 1, n = frames * factor;
  const int aligned = std::min(n, (first + factor - 1) / factor * factor);
  int r = first;
  for (; r < aligned; ++r)
    BodyRound<Metered, Unit>(e, h, r, factor, hold);
  switch (factor)
  {
  case 2:
    return RunHostFrames<2, Metered, Unit>(e, h, r / 2, frames);
  case 4:
    return RunHostFrames<4, Metered, Unit>(e, h, r / 4, frames);
  case 8:
    return RunHostFrames<8, Metered, Unit>(e, h, r / 8, frames);
  default:
    break;
  }
  for (; r < n; ++r)
    BodyRound<Metered, Unit>(e, h, r, factor, hold);
}

// Rounds R..kSteps - 2 of a block of at least kSteps - 1 rounds: the pipeline fills,
// round r running steps 0..r. Answers the host frame last read.
template <int R, bool Metered, bool Unit>
TQ_AVX_FUNCTION __m128d Fill(Engine& e, HostSide& h, int factor, __m128d hold)
{
  if constexpr (R < kSteps - 1)
  {
    if (R % factor == 0)
      hold = TakeInput<Metered>(h, R / factor);
    Round<R % 2 == 1, Unit>(e, hold, StepRange<0, R>{});
    return Fill<R + 1, Metered, Unit>(e, h, factor, hold);
  }
  return hold;
}

// Rounds n + D..n + kSteps - 2: the pipeline drains, round n + D running steps
// D + 1..kSteps - 1 (n is even, so round n + D has the parity of D).
template <int D, bool Metered, bool Unit>
TQ_AVX_FUNCTION void Drain(Engine& e, HostSide& h, int n, int factor)
{
  if constexpr (D < kSteps - 1)
  {
    Round<D % 2 == 1, Unit>(e, _mm_setzero_pd(), StepRange<D + 1, kSteps - 1>{});
    const int done = n + D - (kSteps - 1);  // the oversampled frame leaving now
    if (done % factor == 0)
      GiveOutput<Metered>(h, done / factor, _mm256_extractf128_pd(e.out3, 1));
    Drain<D + 1, Metered, Unit>(e, h, n, factor);
  }
}

template <bool Metered, bool Unit>
TQ_AVX_FUNCTION void RunRounds(Engine& e, HostSide& h, int frames, int factor)
{
  const int n = frames * factor;
  if (n >= kSteps - 1)
  {
    const __m128d hold = Fill<0, Metered, Unit>(e, h, factor, _mm_setzero_pd());
    RunBody<Metered, Unit>(e, h, frames, factor, hold);
    Drain<0, Metered, Unit>(e, h, n, factor);
    return;
  }
  // Frame r enters in round r and leaves in round r + kSteps - 1; every factor-th is kept.
  // A host frame is read before its own output is written, so in place is safe.
  __m128d hold = _mm_setzero_pd();
  for (int r = 0; r < n + kSteps - 1; ++r)
  {
    if (r < n && r % factor == 0)
      hold = TakeInput<Metered>(h, r / factor);
    AnyRound<Unit>(e, hold, r, StepsOfRound{r, n});
    const int done = r - (kSteps - 1);
    if (done >= 0 && done % factor == 0)
      GiveOutput<Metered>(h, done / factor, _mm256_extractf128_pd(e.out3, 1));
  }
}

TQ_AVX_FUNCTION __m256d MeterRegister(const StereoFrames& io, double MeterFollower::*field)
{
  const MeterFollower* in = io.inputMeters;
  const MeterFollower* out = io.outputMeters;
  return _mm256_setr_pd(in[0].*field, in[1].*field, out[0].*field, out[1].*field);
}

}  // namespace

TQ_AVX_ENTRY void RunStereoChainAvx(StereoChain& chain, const StereoFrames& io, int frames, int factor)
{
  if (frames <= 0 || factor < 2)
    return;
  Engine e;
  Load(e, chain);
  HostSide h{io.in[0],           io.in[1], io.out[0], io.out[1], io.step, _mm256_setzero_pd(), _mm256_setzero_pd(),
             _mm256_setzero_pd()};
  const bool metered = io.inputMeters && io.outputMeters;
  const bool unit = UnitB2(e.p2) && UnitB2(e.p3);
  if (metered)
  {
    h.meters = MeterRegister(io, &MeterFollower::level);
    h.attack = MeterRegister(io, &MeterFollower::attackCoefficient);
    h.release = MeterRegister(io, &MeterFollower::releaseCoefficient);
    if (unit)
      RunRounds<true, true>(e, h, frames, factor);
    else
      RunRounds<true, false>(e, h, frames, factor);
    double levels[4];
    _mm256_storeu_pd(levels, h.meters);
    for (int c = 0; c < 2; ++c)
    {
      io.inputMeters[c].Settle(levels[c]);
      io.outputMeters[c].Settle(levels[2 + c]);
    }
  }
  else
  {
    if (unit)
      RunRounds<false, true>(e, h, frames, factor);
    else
      RunRounds<false, false>(e, h, frames, factor);
  }
  Store(e, chain);
}
#else
void RunStereoChainAvx(StereoChain&, const StereoFrames&, int, int) {}
#endif
