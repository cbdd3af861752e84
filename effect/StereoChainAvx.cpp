#include "effect/StereoChain.h"

#include <cmath>

#include "effect/TransientControl.h"
#include "effect/dsp/SseSupport.h"

#if TQ_HAVE_SSE_PATH
#include <immintrin.h>

// Every oversampled frame passes nine steps: three interpolation stages, detector,
// followers, gain, three decimation stages. Round r runs step k on frame r - k, so the
// steps of a round do not wait for one another. The six filter stages travel two by two
// in 256-bit registers (one stage's two channels per half); the transient engine works
// on both channels in 128-bit registers. Per stage and frame the arithmetic is that of
// the two-channel paths with multiplies and adds fused, which shortens the recursions;
// the results agree with the other paths to rounding.

namespace {

constexpr int kSteps = 9;  // the last step runs on frame r - 8

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

// w = a1 w1 + a2 w2 + (in + 1e-18) + 1e-25; out = b0 w + b1 w1 + b2 w2.
TQ_AVX_FUNCTION __m256d Run(StagePair& p, __m256d in)
{
  const __m256d pre =
    _mm256_add_pd(_mm256_add_pd(in, _mm256_set1_pd(Dsp::kVectorInputOffset)), _mm256_set1_pd(Dsp::kStageOffset));
  const __m256d w = _mm256_fmadd_pd(p.a1, p.w1, _mm256_fmadd_pd(p.a2, p.w2, pre));
  const __m256d out = _mm256_fmadd_pd(p.b0, w, _mm256_fmadd_pd(p.b1, p.w1, _mm256_mul_pd(p.b2, p.w2)));
  p.w2 = p.w1;
  p.w1 = w;
  return out;
}

// As Run, but a half whose frame lies outside the slice keeps its history.
TQ_AVX_FUNCTION __m256d RunMasked(StagePair& p, __m256d in, bool lo, bool hi)
{
  const __m256d w1 = p.w1, w2 = p.w2;
  const __m256d out = Run(p, in);
  const long long l = lo ? -1 : 0, h = hi ? -1 : 0;
  const __m256d keep = _mm256_castsi256_pd(_mm256_setr_epi64x(l, l, h, h));
  p.w1 = _mm256_blendv_pd(w1, p.w1, keep);
  p.w2 = _mm256_blendv_pd(w2, p.w2, keep);
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
  __m128d peak, amount, upper, lower, outGain;
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

TQ_AVX_FUNCTION __m128d Shape(Transient& t, __m128d in)
{
  const __m128d one = _mm_set1_pd(1.0);
  const __m128d fast = _mm256_castpd256_pd128(t.levels), slow = _mm256_extractf128_pd(t.levels, 1);
  // Levels are never negative, so either being 0 is the smaller one being 0.
  const __m128d silent = _mm_cmpeq_pd(_mm_min_pd(fast, slow), _mm_setzero_pd());
  const __m128d q = _mm_min_pd(_mm_div_pd(fast, slow), _mm_set1_pd(TransientControl::kMaxRatio));
  const __m128d ratio = _mm_blendv_pd(q, one, silent);
  __m128d g = _mm_fnmadd_pd(t.amount, _mm_sub_pd(one, ratio), one);
  g = _mm_min_pd(t.upper, g);  // upper < g ? upper : g
  g = _mm_max_pd(t.lower, g);  // lower > g ? lower : g
  const __m128d away = _mm_or_pd(_mm_cmpgt_pd(g, _mm_max_pd(one, t.peak)), _mm_cmplt_pd(g, _mm_min_pd(one, t.peak)));
  t.peak = _mm_blendv_pd(t.peak, g, away);
  return _mm_mul_pd(_mm_mul_pd(in, g), t.outGain);
}

struct Engine
{
  StagePair a, b, c;  // interpolation 0+1, interpolation 2 + decimation 0, decimation 1+2
  Transient t;
  __m256d outA, outB, outC;  // each pair's outputs of the last round
  __m128d d;                 // detector output of the last round (frame r - 4)
  __m128d x4, x5;            // interpolated frames r - 4 and r - 5
  __m128d shaped;            // gain step output of the last round (frame r - 6)
};

// One round; Edge marks the first and last rounds, where some steps have no frame.
template <bool Edge>
TQ_AVX_FUNCTION void Round(Engine& e, __m128d hold, int r, int n)
{
  const __m256d inA = _mm256_permute2f128_pd(_mm256_castpd128_pd256(hold), e.outA, 0x20);
  const __m256d inB = _mm256_permute2f128_pd(e.outA, _mm256_castpd128_pd256(e.shaped), 0x21);
  const __m256d inC = _mm256_permute2f128_pd(e.outB, e.outC, 0x21);
  const __m128d x3 = _mm256_castpd256_pd128(e.outB);
  if (!Edge)
  {
    e.outA = Run(e.a, inA);
    e.outB = Run(e.b, inB);
    e.outC = Run(e.c, inC);
    e.shaped = Shape(e.t, e.x5);
    Follow(e.t, e.d);
    e.d = Detect(e.t, x3);
  }
  else
  {
    bool has[kSteps];
    for (int k = 0; k < kSteps; ++k)
      has[k] = r - k >= 0 && r - k < n;
    e.outA = RunMasked(e.a, inA, has[0], has[1]);
    e.outB = RunMasked(e.b, inB, has[2], has[6]);
    e.outC = RunMasked(e.c, inC, has[7], has[8]);
    if (has[5])
      e.shaped = Shape(e.t, e.x5);
    if (has[4])
      Follow(e.t, e.d);
    if (has[3])
      e.d = Detect(e.t, x3);
  }
  e.x5 = e.x4;
  e.x4 = x3;
}

TQ_AVX_FUNCTION void Load(Engine& e, const StereoChain& c)
{
  const Dsp::BiquadStage* ip = c.interpolation;
  const Dsp::BiquadStage* dp = c.decimation;
  const Dsp::StageHistory* ih = c.interpolationHistory;
  const Dsp::StageHistory* dh = c.decimationHistory;
  Load(e.a, ip[0], ih, ip[1], ih + 2);
  Load(e.b, ip[2], ih + 4, dp[0], dh);
  Load(e.c, dp[1], dh + 2, dp[2], dh + 4);
  e.outA = e.outB = e.outC = _mm256_setzero_pd();
  e.d = e.x4 = e.x5 = e.shaped = _mm_setzero_pd();

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
  t.amount = _mm_set1_pd(c.amount);
  t.upper = _mm_set1_pd(c.upper);
  t.lower = _mm_set1_pd(c.lower);
  t.outGain = _mm_set1_pd(c.outGain);
}

TQ_AVX_FUNCTION void Store(const Engine& e, StereoChain& c)
{
  Dsp::StageHistory* ih = c.interpolationHistory;
  Dsp::StageHistory* dh = c.decimationHistory;
  Store(e.a, ih, ih + 2);
  Store(e.b, ih + 4, dh);
  Store(e.c, dh + 2, dh + 4);
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

// The rounds of whole host frames from..to - 1 where every step has its frame, for a
// factor that divides the pipeline length: a host frame is read in the round that writes
// the output of one kSteps - 1 rounds earlier, and the factor's rounds unroll.
template <int F, bool Metered>
TQ_AVX_FUNCTION void RunHostFrames(Engine& e, HostSide& h, int from, int to, int n)
{
  static_assert((kSteps - 1) % F == 0, "outputs must fall on the input rounds");
  constexpr int kLag = (kSteps - 1) / F;
  for (int j = from; j < to; ++j)
  {
    const __m128d raw = Read(h, j);
    const __m128d hold = Finite(raw);
    Round<false>(e, hold, 0, n);
    const __m128d out = Finite(_mm256_extractf128_pd(e.outC, 1));
    if (Metered)
      StepMeters(h, _mm256_set_m128d(out, raw), Lanes(true, true));
    Write(h, j - kLag, out);
    for (int k = 1; k < F; ++k)
      Round<false>(e, hold, 0, n);
  }
}

// Runs rounds first..n - 1 (all steps busy) when the factor has an unrolled form; answers
// whether it did.
template <bool Metered>
TQ_AVX_FUNCTION bool RunUnrolled(Engine& e, HostSide& h, int frames, int factor)
{
  const int from = (kSteps - 1) / factor;
  switch (factor)
  {
  case 2:
    RunHostFrames<2, Metered>(e, h, from, frames, frames * factor);
    return true;
  case 4:
    RunHostFrames<4, Metered>(e, h, from, frames, frames * factor);
    return true;
  case 8:
    RunHostFrames<8, Metered>(e, h, from, frames, frames * factor);
    return true;
  default:
    return false;
  }
}

template <bool Metered>
TQ_AVX_FUNCTION void RunRounds(Engine& e, HostSide& h, int frames, int factor)
{
  const int n = frames * factor;
  // Frame r enters in round r and leaves in round r + kSteps - 1; every factor-th is kept.
  // A host frame is read before its own output is written, so in place is safe.
  int inPhase = 0, outPhase = 0, inFrame = 0, outFrame = 0;
  __m128d hold = _mm_setzero_pd();
  for (int r = 0; r < n + kSteps - 1;)
  {
    if (r >= kSteps - 1 && r < n && RunUnrolled<Metered>(e, h, frames, factor))
    {
      // Every input is read and the outputs have reached the pipeline's tail; the
      // phases are those of round n, where both are 0.
      inFrame = frames;
      outFrame = frames - (kSteps - 1) / factor;
      r = n;
      continue;
    }
    if (r >= kSteps - 1 && r < n)
    {
      for (; r < n; ++r)
      {
        if (inPhase == 0)
          hold = TakeInput<Metered>(h, inFrame++);
        inPhase = inPhase + 1 == factor ? 0 : inPhase + 1;
        Round<false>(e, hold, r, n);
        if (outPhase == 0)
          GiveOutput<Metered>(h, outFrame++, _mm256_extractf128_pd(e.outC, 1));
        outPhase = outPhase + 1 == factor ? 0 : outPhase + 1;
      }
      continue;
    }
    if (r < n)
    {
      if (inPhase == 0)
        hold = TakeInput<Metered>(h, inFrame++);
      inPhase = inPhase + 1 == factor ? 0 : inPhase + 1;
    }
    Round<true>(e, hold, r, n);
    if (r >= kSteps - 1)
    {
      if (outPhase == 0)
        GiveOutput<Metered>(h, outFrame++, _mm256_extractf128_pd(e.outC, 1));
      outPhase = outPhase + 1 == factor ? 0 : outPhase + 1;
    }
    ++r;
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
  if (metered)
  {
    h.meters = MeterRegister(io, &MeterFollower::level);
    h.attack = MeterRegister(io, &MeterFollower::attackCoefficient);
    h.release = MeterRegister(io, &MeterFollower::releaseCoefficient);
    RunRounds<true>(e, h, frames, factor);
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
    RunRounds<false>(e, h, frames, factor);
  }
  Store(e, chain);
}
#else
void RunStereoChainAvx(StereoChain&, const StereoFrames&, int, int) {}
#endif
