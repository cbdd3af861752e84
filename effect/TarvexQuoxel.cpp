#include "effect/TarvexQuoxel.h"

#include "effect/dsp/SampleBlock.h"
#include "platform/ScopedLock.h"

#include <cmath>
#include <new>

namespace {

double DecibelsToLinear(double db)
{
  return std::exp(db * 0.1151292546497);
}

bool IsUsableRate(double rate)
{
  return std::isfinite(rate) && rate >= 1.0 && rate < TarvexQuoxel::kMaxSampleRate;
}

double ClampMeter(double value)
{
  if (!(value > 0.0))  // also NaN
    return 0.0;
  return value > 1.0 ? 1.0 : value;
}

}  // namespace

TarvexQuoxel::TarvexQuoxel(const PlugBinding::InstanceInfo& info)
  : PlugBinding(info, kNumParams, kChannelIO, 1, kEffectName, "", kMakerName, kVersion, kUniqueId, kMakerId, 0, true,
                false, false, 0)
{
  for (std::atomic<double>& meter : mMeters)
    meter.store(0.0, std::memory_order_relaxed);
  // Memory that ran out while the framework made its records leaves the object short of
  // parameters, channels, display texts or its preset: such an object is not made at all.
  if (NParams() != kNumParams || NInChannels() != 2 || NOutChannels() != 2 || NChannelConfigs() != 2)
    throw std::bad_alloc();
  DeclareParameters();
  BuildEditor();
  FillFreePresets("-", 1);
  if (ParamAt(kAutoOutGain)->TextCount() != 2 || ParamAt(kAutoRelease)->TextCount() != 2 || !PresetAt(0)->initialised)
    throw std::bad_alloc();
  mLastHostTempo = 120.0;
  // A new object processes audibly before any host call: the engine holds the
  // defaults and is reset for the framework's initial rate.
  ApplyParametersToEngine();
  RestartProcessing();
  // The automatic modes start switched on: their manual controls start greyed.
  GreyControlsOf(kOutGain, Value(kAutoOutGain) >= 0.5);
  GreyControlsOf(kRelease, Value(kAutoRelease) >= 0.5);
  // Until audio comes the meters show what a stopped host shows: silence and no gain change.
  for (int meter = 0; meter < kNumMeters; ++meter)
    SetMeter(meter, meter == kGainMeter0 || meter == kGainMeter1 ? 0.5 : 0.0);
}

TarvexQuoxel::~TarvexQuoxel()
{
  mGraphics = nullptr;
  DeleteEditor();
}

void TarvexQuoxel::DeclareParameters()
{
  ParamAt(kLevel)->DefineDouble("Quoxel Level", 0.0, -100.0, 100.0, 1.0, "%", "", 1.0);
  ParamAt(kOutGain)->DefineDouble("Out gain", 0.0, -12.0, 12.0, 1.0, "dB", "", 1.0);
  ParamAt(kAutoOutGain)->DefineBool("Auto output gain", true, "", "");
  ParamAt(kHiPass)->DefineDouble("Hi Pass", 20.0, 20.0, 400.0, 1.0, "Hz", "", 1.0);
  ParamAt(kLength)->DefineDouble("Quoxel length", 30.0, 10.0, 100.0, 1.0, "ms", "", 1.0);
  ParamAt(kRelease)->DefineDouble("Detector release", 50.0, 10.0, 500.0, 1.0, "ms", "", 1.0);
  ParamAt(kAutoRelease)->DefineBool("Auto release", true, "", "");
  ParamAt(kUpperLimit)->DefineDouble("Gain upper limit", 12.0, 1.0, 12.0, 1.0, "dB", "", 1.0);
  ParamAt(kLowerLimit)->DefineDouble("Gain lower limit", -12.0, -12.0, -1.0, 1.0, "dB", "", 1.0);
}

void TarvexQuoxel::ApplyParametersToEngine()
{
  mEngine.SetAmount(Value(kLevel) / 100.0);
  mEngine.SetOutputGain(DecibelsToLinear(Value(kOutGain)));
  mEngine.SetHighPassFrequency(Value(kHiPass));
  mEngine.SetSlowAttack(Value(kLength));
  mEngine.SetReleaseTime(Value(kRelease));
  mEngine.SetTempoRelease(Value(kAutoRelease) >= 0.5);
  mEngine.SetGainUpperLimit(DecibelsToLinear(Value(kUpperLimit)));
  mEngine.SetGainLowerLimit(DecibelsToLinear(Value(kLowerLimit)));
}

int TarvexQuoxel::OversamplingFor(double sampleRate)
{
  if (sampleRate < 88100.0)
    return 8;
  if (sampleRate < 192000.0)
    return 4;
  return 2;
}

void TarvexQuoxel::RestartProcessing()
{
  ScopedLock lock(Mutex());
  const double fs = SampleRate();
  // A rate the engine cannot run at keeps the previous set-up.
  if (!IsUsableRate(fs))
    return;
  const int rate = static_cast<int>(fs);
  mEngine.SetChannelCount(2);
  mEngine.SetSampleRate(rate);
  mEngine.SetOversampling(OversamplingFor(fs));
  for (MeterFollower* follower : {&mInputFollowers[0], &mInputFollowers[1], &mOutputFollowers[0], &mOutputFollowers[1]})
    follower->SetTimes(1.0, 300.0, rate);
}

void TarvexQuoxel::HandleParameterChange(int paramIdx, int)
{
  ScopedLock lock(Mutex());
  switch (paramIdx)
  {
  case kLevel:
    mEngine.SetAmount(Value(kLevel) / 100.0);
    if (Value(kAutoOutGain) >= 0.5)
      ApplyAutomaticOutputGain();
    break;
  case kOutGain:
    mEngine.SetOutputGain(DecibelsToLinear(Value(kOutGain)));
    break;
  case kAutoOutGain:
    GreyControlsOf(kOutGain, Value(kAutoOutGain) >= 0.5);
    // Switching the automatic gain on applies it at once, editor or not.
    if (Value(kAutoOutGain) >= 0.5)
      HandleParameterChange(kLevel, 0);
    break;
  case kHiPass:
    mEngine.SetHighPassFrequency(Value(kHiPass));
    break;
  case kLength:
    mEngine.SetSlowAttack(Value(kLength));
    break;
  case kRelease:
    mEngine.SetReleaseTime(Value(kRelease));
    break;
  case kAutoRelease:
    mEngine.SetTempoRelease(Value(kAutoRelease) >= 0.5);
    GreyControlsOf(kRelease, Value(kAutoRelease) >= 0.5);
    break;
  case kUpperLimit:
    mEngine.SetGainUpperLimit(DecibelsToLinear(Value(kUpperLimit)));
    HandleParameterChange(kLevel, 0);
    break;
  case kLowerLimit:
    mEngine.SetGainLowerLimit(DecibelsToLinear(Value(kLowerLimit)));
    HandleParameterChange(kLevel, 0);
    break;
  default:
    break;
  }
}

// The output gain compensates the amount (-0.12 dB per percent, in whole dB), kept
// within what the gain limits let the engine reach. The gain is set on the parameter and
// reported to the host; its control is not moved.
void TarvexQuoxel::ApplyAutomaticOutputGain()
{
  IPlugParameter* outGain = ParamAt(kOutGain);
  outGain->SetFromNormal(std::fabs(1.0 - ParamAt(kLevel)->Normal()));
  const double gain = outGain->Value();
  if (gain > 0.0 && gain > std::fabs(Value(kLowerLimit)))
    outGain->SetPlain(std::fabs(Value(kLowerLimit)));
  else if (gain <= 0.0 && Value(kUpperLimit) < std::fabs(gain))
    outGain->SetPlain(-Value(kUpperLimit));
  InformHostOfParamChange(kOutGain, outGain->Normal());
  HandleParameterChange(kOutGain, 0);
}

void TarvexQuoxel::GreyControlsOf(int paramIdx, bool grey)
{
  if (IPlugEditor* editor = Editor())
    editor->GreyControlsOfParam(paramIdx, grey);
}

void TarvexQuoxel::FollowHostTempo()
{
  const double tempo = HostTempo();
  // A tempo that is not finite and positive is ignored: the last good one stays.
  if (!std::isfinite(tempo) || tempo <= 0.0 || tempo == mLastHostTempo)
    return;
  mLastHostTempo = tempo;
  mEngine.SetTempo(tempo);
}

void TarvexQuoxel::ProcessBlockDouble(double** inputs, double** outputs, int nFrames)
{
  if (nFrames < 1 || !inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1])
    return;
  HostTransport(&mTransport);
  FollowHostTempo();

  // One pass from the host's buffers to the host's buffers, meters included, where the
  // engine can take the block so; otherwise meters, engine and meters one after another.
  const StereoFrames io{{inputs[0], inputs[1]}, {outputs[0], outputs[1]}, 1, mInputFollowers, mOutputFollowers};
  if (!mEngine.ProcessStereoBlock(io, nFrames))
  {
    mInputFollowers[0].Run(inputs[0], nFrames);
    mInputFollowers[1].Run(inputs[1], nFrames);
    mEngine.BeginHostBlock(nFrames);
    for (int done = 0; done < nFrames; done += kChunkFrames)
    {
      const int frames = nFrames - done < kChunkFrames ? nFrames - done : kChunkFrames;
      double* const in[2] = {inputs[0] + done, inputs[1] + done};
      double* const out[2] = {outputs[0] + done, outputs[1] + done};
      ProcessChunk(in, out, frames);
    }
    mOutputFollowers[0].Run(outputs[0], nFrames);
    mOutputFollowers[1].Run(outputs[1], nFrames);
  }
  const double gainPeaks[2] = {mEngine.GainPeak(0), mEngine.GainPeak(1)};
  UpdateMeters(gainPeaks);
}

void TarvexQuoxel::ProcessChunk(double* const* inputs, double* const* outputs, int nFrames)
{
  Dsp::JoinInterleaved(2, nFrames, mInterleaved, inputs);
  mEngine.ProcessBlock(mInterleaved, nFrames);
  Dsp::SplitInterleaved(2, nFrames, outputs, mInterleaved);
}

void TarvexQuoxel::UpdateMeters(const double gainPeaks[2])
{
  for (int ch = 0; ch < 2; ++ch)
  {
    // While the host is stopped the gain meters rest at 0 dB.
    const double gainDb = mTransport.playing ? std::log(std::fabs(gainPeaks[ch])) * 8.685889638065037 : 0.0;
    SetMeter(kGainMeter0 + ch, (gainDb + 12.0) / 24.0);
    SetMeter(kInputMeter0 + ch, (mInputFollowers[ch].Decibels() + 48.0) / 48.0);
    SetMeter(kOutputMeter0 + ch, (mOutputFollowers[ch].Decibels() + 48.0) / 48.0);
  }
}

void TarvexQuoxel::SetMeter(int meter, double value)
{
  value = ClampMeter(value);
  mMeters[meter].store(value, std::memory_order_relaxed);
  ShowMeter(meter, value);
}

TarvexQuoxel* NewTarvexQuoxel(const PlugBinding::InstanceInfo& info)
{
  ScopedLock lock(IPlugBase::CreationLock());
  try
  {
    return new TarvexQuoxel(info);
  }
  catch (...)
  {
    // A failed construction has freed its memory; the host gets no object.
    return nullptr;
  }
}
