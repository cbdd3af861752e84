#include "effect/TransientControl.h"

#include <cmath>

#include "effect/StereoChain.h"
#include "platform/cpu/CpuFeatures.h"
#include "platform/cpu/SseSupport.h"

#if TQ_HAVE_SSE_PATH
#include <emmintrin.h>
#endif

TransientControl::TransientControl()
{
  // Ready to run at the base's default rate without any further call.
  UpdateForRate();
}

double TransientControl::TimeCoefficient(double ms, double hz)
{
  return std::pow(0.01, 1.0 / (hz * ms * 0.001));
}

double TransientControl::Gain(double fast, double slow, double amount, double upper, double lower)
{
  double ratio = (fast == 0.0 || slow == 0.0) ? 1.0 : fast / slow;
  ratio = ratio < kMaxRatio ? ratio : kMaxRatio;  // an overflow would make 0 * inf
  double g = 1.0 - amount * (1.0 - ratio);
  if (g > upper)
    g = upper;
  if (g < lower)
    g = lower;  // the lower limit wins when the limits cross
  return g;
}

double TransientControl::EffectiveReleaseTime() const
{
  return mTempoRelease ? 60.0 / mTempo * 1000.0 * 0.5 : mReleaseMs;
}

void TransientControl::UpdateForRate()
{
  const int rate = ProcessingRate();
  for (EnvelopeFollower& f : mFollowers)
  {
    f.sampleRate = rate;
    f.level = 0.0;
  }
  mFollowers[0].attackCoefficient = TimeCoefficient(kFastAttackMs, rate);
  mFollowers[2].attackCoefficient = mFollowers[0].attackCoefficient;
  UpdateSlowAttacks();
  UpdateReleases();
  ConfigureDetectors();
  ClearNonFiniteState();
}

void TransientControl::UpdateSlowAttacks()
{
  for (int i : {1, 3})
    mFollowers[i].attackCoefficient = TimeCoefficient(mSlowAttackMs, mFollowers[i].sampleRate);
}

void TransientControl::UpdateReleases()
{
  const double ms = EffectiveReleaseTime();
  for (EnvelopeFollower& f : mFollowers)
    f.releaseCoefficient = TimeCoefficient(ms, f.sampleRate);
}

void TransientControl::ConfigureDetectors()
{
  const double f = mHighPassHz / ProcessingRate();
  for (Dsp::HighPassBiquad& hp : mDetector)
    hp.Configure(f, kDetectorQ);
}

static bool FinitePositive(double v)
{
  return std::isfinite(v) && v > 0.0;
}

bool TransientControl::SetHighPassFrequency(double hz)
{
  if (!FinitePositive(hz))
    return false;
  mHighPassHz = hz;
  ConfigureDetectors();
  return true;
}

bool TransientControl::SetSlowAttack(double ms)
{
  if (!FinitePositive(ms))
    return false;
  mSlowAttackMs = ms;
  UpdateSlowAttacks();
  return true;
}

bool TransientControl::SetReleaseTime(double ms)
{
  if (!FinitePositive(ms))
    return false;
  mReleaseMs = ms;
  UpdateReleases();
  return true;
}

void TransientControl::SetTempoRelease(bool on)
{
  mTempoRelease = on;
  UpdateReleases();
}

bool TransientControl::SetTempo(double bpm)
{
  // A host without a tempo may send 0 or garbage: keep the last good one.
  if (!FinitePositive(bpm))
    return false;
  mTempo = bpm;
  if (mTempoRelease)
    UpdateReleases();
  return true;
}

bool TransientControl::SetAmount(double amount)
{
  if (!std::isfinite(amount))
    return false;
  mAmount = amount;
  return true;
}

bool TransientControl::SetOutputGain(double linear)
{
  if (!std::isfinite(linear))
    return false;
  mOutputGain = linear;
  return true;
}

bool TransientControl::SetGainUpperLimit(double linear)
{
  if (!std::isfinite(linear))
    return false;
  mUpperLimit = linear;
  return true;
}

bool TransientControl::SetGainLowerLimit(double linear)
{
  if (!std::isfinite(linear))
    return false;
  mLowerLimit = linear;
  return true;
}

int TransientControl::ProcessFrames(double* frames, int count)
{
  // Gain peaks describe one host block, which AudioProcessor may hand over in slices.
  if (!ContinuingBlock())
    mGainPeak[0] = mGainPeak[1] = 1.0;
  if (!frames || count <= 0)
    return 0;
  const int channels = ChannelCount();
#if TQ_HAVE_SSE_PATH
  if (channels == 2 && ProcessorFeatures().sse3)
    ProcessStereoSse(frames, count);
  else
#endif
    ProcessScalar(frames, count, channels);
  ClearNonFiniteState();
  return 0;
}

bool TransientControl::ProcessFused(const StereoFrames& io, int count)
{
#if TQ_HAVE_SSE_PATH
  const CpuFeatures& cpu = ProcessorFeatures();
  Dsp::CascadeFilter& ip = MutableInterpolationFilter();
  Dsp::CascadeFilter& dp = MutableDecimationFilter();
  // A gliding design runs through the separate passes, which know the glide.
  // The chain works the gain on pairs of frames: an odd factor could leave one over.
  if (!cpu.sse3 || !cpu.avx2 || Oversampling() % 2 != 0 || ip.StageCount() != 3 || dp.StageCount() != 3 ||
      ip.Ramping() || dp.Ramping())
    return false;
  if (!ContinuingBlock())
    mGainPeak[0] = mGainPeak[1] = 1.0;
  StereoChain chain{&ip.Stage(0),
                    &ip.MutableHistory(0, 0),
                    &dp.Stage(0),
                    &dp.MutableHistory(0, 0),
                    {&mDetector[0].Stage(0), &mDetector[1].Stage(0)},
                    {&mDetector[0].MutableHistory(), &mDetector[1].MutableHistory()},
                    mFollowers,
                    mAmount,
                    mUpperLimit,
                    mLowerLimit,
                    mOutputGain,
                    mGainPeak};
  RunStereoChainAvx(chain, io, count, Oversampling());
  ClearNonFiniteState();
  return true;
#else
  (void)io;
  (void)count;
  return false;
#endif
}

namespace {
inline void StepFollower(EnvelopeFollower& f, double d, bool rising)
{
  double c = rising ? f.attackCoefficient : f.releaseCoefficient;
  f.level = (1.0 - c) * d + f.level * c;
  if (!(f.level >= TransientControl::kFlushLevel))
    f.level = 0.0;  // also catches NaN
}
}  // namespace

void TransientControl::ProcessScalar(double* frames, int count, int channels)
{
  for (int i = 0; i < count; ++i, frames += channels)
  {
    for (int c = 0; c < channels; ++c)
    {
      const double x = frames[c];
      const double d = std::fabs(mDetector[c].Tick(x));
      EnvelopeFollower& fast = mFollowers[2 * c];
      EnvelopeFollower& slow = mFollowers[2 * c + 1];
      StepFollower(fast, d, fast.level < d);
      StepFollower(slow, d, d > slow.level);
      const double g = Gain(fast.level, slow.level, mAmount, mUpperLimit, mLowerLimit);
      double& peak = mGainPeak[c];
      if ((g > 1.0 && g > peak) || (g < 1.0 && g < peak))
        peak = g;
      frames[c] = x * g * mOutputGain;
    }
  }
}

#if TQ_HAVE_SSE_PATH
namespace {
TQ_SSE_FUNCTION inline __m128d Select(__m128d mask, __m128d yes, __m128d no)
{
  return _mm_or_pd(_mm_and_pd(mask, yes), _mm_andnot_pd(mask, no));
}

TQ_SSE_FUNCTION inline __m128d Pair(double left, double right)
{
  return _mm_set_pd(right, left);
}

TQ_SSE_FUNCTION inline void Unpair(__m128d v, double& left, double& right)
{
  double t[2];
  _mm_storeu_pd(t, v);
  left = t[0];
  right = t[1];
}

// Both channels side by side, lane 0 the first: the same operations in the same order
// as the scalar path, so the two give the same numbers.
struct StereoEngine
{
  __m128d a1, a2, b0, b1, b2, w1, w2;  // detector high-pass
  // Followers; the coefficients are kept as release and attack ^ release, so that a
  // choice between them costs two operations.
  __m128d fast, slow, fastRel, fastFlip, slowRel, slowFlip;
  __m128d peak, amount, upper, lower, outGain;

  TQ_SSE_FUNCTION __m128d Detect(__m128d in)
  {
    const __m128d w =
      _mm_add_pd(_mm_add_pd(_mm_add_pd(in, _mm_mul_pd(a1, w1)), _mm_mul_pd(a2, w2)), _mm_set1_pd(Dsp::kStageOffset));
    const __m128d out = _mm_add_pd(_mm_add_pd(_mm_mul_pd(b0, w), _mm_mul_pd(b1, w1)), _mm_mul_pd(b2, w2));
    w2 = w1;
    w1 = w;
    return _mm_andnot_pd(_mm_set1_pd(-0.0), out);
  }

  TQ_SSE_FUNCTION void Follow(__m128d d)
  {
    const __m128d one = _mm_set1_pd(1.0), flush = _mm_set1_pd(TransientControl::kFlushLevel);
    __m128d c = _mm_xor_pd(fastRel, _mm_and_pd(_mm_cmplt_pd(fast, d), fastFlip));
    fast = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(one, c), d), _mm_mul_pd(fast, c));
    fast = _mm_and_pd(_mm_cmpge_pd(fast, flush), fast);
    c = _mm_xor_pd(slowRel, _mm_and_pd(_mm_cmpgt_pd(d, slow), slowFlip));
    slow = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(one, c), d), _mm_mul_pd(slow, c));
    slow = _mm_and_pd(_mm_cmpge_pd(slow, flush), slow);
  }

  // The gain for levels f and s applied to one frame; tracks the peak.
  TQ_SSE_FUNCTION __m128d Shape(__m128d in, __m128d f, __m128d s)
  {
    const __m128d one = _mm_set1_pd(1.0), zero = _mm_setzero_pd();
    // Levels are never negative, so either being 0 is the smaller one being 0.
    const __m128d silent = _mm_cmpeq_pd(_mm_min_pd(f, s), zero);
    const __m128d q = _mm_min_pd(_mm_div_pd(f, s), _mm_set1_pd(TransientControl::kMaxRatio));
    const __m128d ratio = Select(silent, one, q);
    __m128d g = _mm_sub_pd(one, _mm_mul_pd(amount, _mm_sub_pd(one, ratio)));
    g = _mm_min_pd(upper, g);  // upper < g ? upper : g
    g = _mm_max_pd(lower, g);  // lower > g ? lower : g
    // Above both 1 and the peak, or below both.
    const __m128d away = _mm_or_pd(_mm_cmpgt_pd(g, _mm_max_pd(one, peak)), _mm_cmplt_pd(g, _mm_min_pd(one, peak)));
    peak = Select(away, g, peak);
    return _mm_mul_pd(_mm_mul_pd(in, g), outGain);
  }
};

// Each round detects frame n, follows frame n - 1 and shapes frame n - 2: the three
// recursions of a round do not wait for one another, so they overlap in the processor.
TQ_SSE_FUNCTION void RunWavefront(StereoEngine& e, double* x, int count)
{
  if (count < 2)
  {
    const __m128d in = _mm_loadu_pd(x);
    e.Follow(e.Detect(in));
    _mm_storeu_pd(x, e.Shape(in, e.fast, e.slow));
    return;
  }
  e.Follow(e.Detect(_mm_loadu_pd(x)));
  __m128d d = e.Detect(_mm_loadu_pd(x + 2));
  for (int n = 2; n < count; ++n)
  {
    const __m128d out = e.Shape(_mm_loadu_pd(x + 2 * (n - 2)), e.fast, e.slow);
    e.Follow(d);
    d = e.Detect(_mm_loadu_pd(x + 2 * n));
    _mm_storeu_pd(x + 2 * (n - 2), out);
  }
  double* last = x + 2 * (count - 2);
  _mm_storeu_pd(last, e.Shape(_mm_loadu_pd(last), e.fast, e.slow));
  e.Follow(d);
  _mm_storeu_pd(last + 2, e.Shape(_mm_loadu_pd(last + 2), e.fast, e.slow));
}

TQ_SSE_ENTRY void RunStereo(double* x, int count, EnvelopeFollower* fl, Dsp::HighPassBiquad* hp, double amount,
                            double upper, double lower, double outGain, double* peaks)
{
  const Dsp::BiquadStage& s0 = hp[0].Stage(0);
  const Dsp::BiquadStage& s1 = hp[1].Stage(0);
  Dsp::StageHistory& h0 = hp[0].MutableHistory();
  Dsp::StageHistory& h1 = hp[1].MutableHistory();
  StereoEngine e;
  e.a1 = Pair(s0.a1, s1.a1);
  e.a2 = Pair(s0.a2, s1.a2);
  e.b0 = Pair(s0.b0, s1.b0);
  e.b1 = Pair(s0.b1, s1.b1);
  e.b2 = Pair(s0.b2, s1.b2);
  e.w1 = Pair(h0.w1, h1.w1);
  e.w2 = Pair(h0.w2, h1.w2);
  e.fast = Pair(fl[0].level, fl[2].level);
  e.slow = Pair(fl[1].level, fl[3].level);
  e.fastRel = Pair(fl[0].releaseCoefficient, fl[2].releaseCoefficient);
  e.fastFlip = _mm_xor_pd(Pair(fl[0].attackCoefficient, fl[2].attackCoefficient), e.fastRel);
  e.slowRel = Pair(fl[1].releaseCoefficient, fl[3].releaseCoefficient);
  e.slowFlip = _mm_xor_pd(Pair(fl[1].attackCoefficient, fl[3].attackCoefficient), e.slowRel);
  e.peak = Pair(peaks[0], peaks[1]);
  e.amount = _mm_set1_pd(amount);
  e.upper = _mm_set1_pd(upper);
  e.lower = _mm_set1_pd(lower);
  e.outGain = _mm_set1_pd(outGain);

  RunWavefront(e, x, count);

  Unpair(e.w1, h0.w1, h1.w1);
  Unpair(e.w2, h0.w2, h1.w2);
  Unpair(e.fast, fl[0].level, fl[2].level);
  Unpair(e.slow, fl[1].level, fl[3].level);
  Unpair(e.peak, peaks[0], peaks[1]);
}
}  // namespace

void TransientControl::ProcessStereoSse(double* frames, int count)
{
  RunStereo(frames, count, mFollowers, mDetector, mAmount, mUpperLimit, mLowerLimit, mOutputGain, mGainPeak);
}
#else
void TransientControl::ProcessStereoSse(double* frames, int count)
{
  ProcessScalar(frames, count, 2);
}
#endif

void TransientControl::ClearNonFiniteState()
{
  for (EnvelopeFollower& f : mFollowers)
    if (!std::isfinite(f.level))
      f.level = 0.0;
  for (Dsp::HighPassBiquad& hp : mDetector)
    hp.ClearIfNotFinite();
}
