#include "effect/dsp/Cascade.h"

#include <algorithm>
#include <cmath>

#include "platform/cpu/CpuFeatures.h"
#include "effect/dsp/PortableMath.h"
#include "platform/cpu/SseSupport.h"

namespace Dsp {

void Cascade::SetPassThrough()
{
  for (int i = 0; i < mStageCount; ++i)
    mStages[i].SetPassThrough();
  mGlideLeft = 0;
}

std::complex<double> Cascade::EvaluateResponse(double angle) const
{
  const Complex z1 = std::polar(1.0, -angle);  // z^-1
  const Complex z2 = z1 * z1;
  Complex h(1.0, 0.0);
  for (int i = 0; i < mStageCount; ++i)
  {
    const BiquadStage& s = mStages[i];
    Complex num = s.b0 + s.b1 * z1 + s.b2 * z2;
    Complex den = 1.0 - s.a1 * z1 - s.a2 * z2;
    h *= num / den;
  }
  return h;
}

namespace {
// Target coefficients only; the working copies stay with the live stages.
struct StageTargets
{
  double a1 = 0.0, a2 = 0.0, b0 = 1.0, b1 = 0.0, b2 = 0.0;
};

// Places conjugate pairs from the last stage downwards; real roots gather in stage 0
// and move out in pairs. Works on the denominator (isPole) or the numerator.
bool PlaceRoots(const Layout& layout, bool isPole, StageTargets* st, int stages)
{
  int count = isPole ? layout.PoleCount() : layout.ZeroCount();
  int c = 0;
  int realCount = 0;
  double firstReal = 0.0;
  for (int i = 0; i < count; ++i)
  {
    Complex r = isPole ? layout.Pole(i) : layout.Zero(i);
    if (r.imag() < 0.0)
      continue;  // its conjugate stands for it
    if (r.imag() > 0.0)
    {
      int at = stages - 1 - c;
      if (at < 0)
        return false;
      double mag2 = r.real() * r.real() + r.imag() * r.imag();
      if (isPole)
      {
        st[at].a1 = 2.0 * r.real();
        st[at].a2 = -mag2;
      }
      else
      {
        st[at].b0 = mag2;
        st[at].b1 = -2.0 * r.real();
        st[at].b2 = 1.0;
      }
      ++c;
      continue;
    }
    double x = r.real();
    if (realCount == 0)
    {
      firstReal = x;
      realCount = 1;
      if (isPole)
      {
        st[0].a1 = x;
        st[0].a2 = 0.0;
      }
      else
      {
        st[0].b0 = 1.0;
        st[0].b1 = -x;
        st[0].b2 = 0.0;
      }
      continue;
    }
    double second = isPole ? -firstReal * x : firstReal * x;
    if (isPole)
    {
      st[0].a1 = firstReal + x;
      st[0].a2 = second;
    }
    else
    {
      st[0].b0 = 1.0;
      st[0].b1 = -(firstReal + x);
      st[0].b2 = second;
    }
    realCount = 0;
    int at = stages - 1 - c;
    if (second != 0.0 && at > 0)
    {
      st[at] = st[0];
      if (isPole)
        st[0].a1 = st[0].a2 = 0.0;
      else
      {
        st[0].b0 = 1.0;
        st[0].b1 = st[0].b2 = 0.0;
      }
      ++c;
    }
  }
  return true;
}
}  // namespace

bool Cascade::BuildFromLayout(const Layout& digital)
{
  int stages = std::max((digital.ZeroCount() + 1) / 2, (digital.PoleCount() + 1) / 2);
  if (stages > mStageCapacity)
    return false;

  constexpr int kMaxStages = 16;
  if (stages > kMaxStages)
    return false;
  StageTargets st[kMaxStages];
  // Poles and zeros keep separate counters; a stage moved out for a pole pair keeps
  // its numerator, so the two passes only ever write their own half of a stage.
  StageTargets poles[kMaxStages], zeros[kMaxStages];
  if (!PlaceRoots(digital, true, poles, stages) || !PlaceRoots(digital, false, zeros, stages))
    return false;
  for (int i = 0; i < stages; ++i)
  {
    st[i].a1 = poles[i].a1;
    st[i].a2 = poles[i].a2;
    st[i].b0 = zeros[i].b0;
    st[i].b1 = zeros[i].b1;
    st[i].b2 = zeros[i].b2;
  }

  // Normalise the gain at the normal frequency into stage 0.
  const Complex z1(Cos(digital.NormalFrequency()), -Sin(digital.NormalFrequency()));
  const Complex z2 = z1 * z1;
  Complex h(1.0, 0.0);
  for (int i = 0; i < stages; ++i)
    h *= Divide(st[i].b0 + st[i].b1 * z1 + st[i].b2 * z2, 1.0 - st[i].a1 * z1 - st[i].a2 * z2);
  double mag = Magnitude(h);
  double g = digital.NormalGain() / mag;
  if (!std::isfinite(g) || !(mag > 0.0))
    return false;
  st[0].b0 *= g;
  st[0].b1 *= g;
  st[0].b2 *= g;

  mStageCount = stages;
  mGlideLeft = 0;
  for (int i = 0; i < stages; ++i)
  {
    BiquadStage& s = mStages[i];
    s.a1 = st[i].a1;
    s.a2 = st[i].a2;
    s.b0 = st[i].b0;
    s.b1 = st[i].b1;
    s.b2 = st[i].b2;
  }
  return true;
}

bool CascadeFilter::SetChannelCount(int channels)
{
  if (channels < 1 || channels > mChannelCapacity)
    return false;
  mChannels = channels;
  return true;
}

void CascadeFilter::FilterFrames(size_t frames, double* x, size_t stride)
{
#if TQ_HAVE_SSE_PATH
  // The vector path packs both channels of a frame; it knows no stride (callers pass 0).
  if (mChannels == 2 && stride == 0 && ProcessorFeatures().sse3)
  {
    if (mGlideLeft == 0)
      BeginGlide(frames);
    const size_t gliding = std::min(frames, mGlideLeft);
    if (gliding > 0)
    {
      mGlideLeft -= gliding;
      FilterStagesStereoSse(gliding, x, &Stage(0), StageCount(), mHistory,
                            mGlideLeft == 0 ? Glide::kLand : Glide::kContinue);
    }
    if (frames > gliding)
      FilterStagesStereoSse(frames - gliding, x + 2 * gliding, &Stage(0), StageCount(), mHistory, Glide::kNone);
    return;
  }
#endif
  FilterFramesScalar(frames, x, stride);
}

void CascadeFilter::FilterFramesScalar(size_t frames, double* x, size_t stride)
{
  const int stages = StageCount();
  for (size_t f = 0; f < frames; ++f)
  {
    for (int ch = 0; ch < mChannels; ++ch)
    {
      double v = x[ch];
      for (int s = 0; s < stages; ++s)
      {
        const BiquadStage& st = Stage(s);
        StageHistory& h = mHistory[s * mChannelCapacity + ch];
        double w = v + st.a1 * h.w1 + st.a2 * h.w2 + kStageOffset;
        v = st.b0 * w + st.b1 * h.w1 + st.b2 * h.w2;
        h.w2 = h.w1;
        h.w1 = w;
      }
      x[ch] = v;
    }
    x += mChannels + stride;
  }
}

bool CascadeFilter::Ramping() const
{
  if (mGlideLeft > 0)
    return true;
  for (int s = 0; s < StageCount(); ++s)
    if (Stage(s).Ramping())
      return true;
  return false;
}

void CascadeFilter::BeginGlide(size_t frames)
{
  bool moving = false;
  for (int s = 0; s < StageCount(); ++s)
    moving = moving || Stage(s).Ramping();
  mGlideLeft = moving ? frames : 0;
  if (mGlideLeft > 0)
    for (int s = 0; s < StageCount(); ++s)
      Stage(s).PlanGlide(frames);
}

void CascadeFilter::ClearHistory()
{
  for (int i = 0; i < StageCapacity() * mChannelCapacity; ++i)
    mHistory[i] = StageHistory{};
}

bool CascadeFilter::ClearIfNotFinite()
{
  for (int i = 0; i < StageCapacity() * mChannelCapacity; ++i)
  {
    if (!std::isfinite(mHistory[i].w1) || !std::isfinite(mHistory[i].w2))
    {
      ClearHistory();
      return true;
    }
  }
  return false;
}

}  // namespace Dsp
