#pragma once

#include "effect/AudioProcessor.h"
#include "effect/EnvelopeFollower.h"
#include "effect/dsp/HighPassBiquad.h"

// The effect's sound: per channel a high-passed copy of the signal drives a fast and a
// slow envelope, and the signal is multiplied by 1 - amount * (1 - fast / slow), held
// between the gain limits, so that a positive amount lifts attacks and a negative one
// flattens them. Runs at the oversampled rate inside AudioProcessor.
//
// Times are kept as times: every coefficient is derived again whenever the rate changes.
// A fresh object holds the effect's default settings and is ready for 44,100 Hz.
class TransientControl : public AudioProcessor
{
public:
  // Levels below this are taken as silence, which keeps subnormal numbers out of the
  // followers (some hundreds of dB below anything audible).
  static constexpr double kFlushLevel = 1e-30;
  static constexpr double kFastAttackMs = 1.0;
  // The envelope ratio is held below this, so the gain law never meets inf.
  static constexpr double kMaxRatio = 1e300;
  static constexpr double kDetectorQ = 0.707;

  TransientControl();

  int ProcessFrames(double* frames, int count) override;
  void UpdateForRate() override;

  // Setters refuse values that are not finite and positive (false, nothing changed).
  bool SetHighPassFrequency(double hz);
  bool SetSlowAttack(double ms);
  // While tempo release is on the release follows the tempo; the time is kept for later.
  bool SetReleaseTime(double ms);
  void SetTempoRelease(bool on);
  bool SetTempo(double bpm);
  // Refuses values that are not finite.
  bool SetAmount(double amount);
  bool SetOutputGain(double linear);
  bool SetGainUpperLimit(double linear);
  bool SetGainLowerLimit(double linear);

  double Amount() const { return mAmount; }
  double OutputGain() const { return mOutputGain; }
  double GainUpperLimit() const { return mUpperLimit; }
  double GainLowerLimit() const { return mLowerLimit; }
  double Tempo() const { return mTempo; }
  bool TempoRelease() const { return mTempoRelease; }
  double ReleaseTime() const { return mReleaseMs; }
  double SlowAttack() const { return mSlowAttackMs; }
  double HighPassFrequency() const { return mHighPassHz; }
  // The release time in force: half a beat with tempo release, else the release time.
  double EffectiveReleaseTime() const;

  // The latest excursion of the gain away from 1 in the last block, per channel.
  double GainPeak(int channel) const { return mGainPeak[channel]; }

  // fast 0, slow 0, fast 1, slow 1
  const EnvelopeFollower& Follower(int i) const { return mFollowers[i]; }
  const Dsp::HighPassBiquad& DetectorFilter(int channel) const { return mDetector[channel]; }

  // Coefficient that lets a follower at rate hz cover 99% of a step in ms milliseconds.
  static double TimeCoefficient(double ms, double hz);
  // The gain law for one sample, given both levels.
  static double Gain(double fast, double slow, double amount, double upper, double lower);

protected:
  bool ProcessFused(const StereoFrames& io, int count) override;

private:
  void ProcessScalar(double* frames, int count, int channels);
  void ProcessStereoSse(double* frames, int count);
  void UpdateSlowAttacks();
  void UpdateReleases();
  void ConfigureDetectors();
  void ClearNonFiniteState();

  EnvelopeFollower mFollowers[4];
  Dsp::HighPassBiquad mDetector[2];
  double mAmount = 0.0;
  double mTempo = 120.0;
  bool mTempoRelease = true;
  double mUpperLimit = 3.981071705534863;   // +12 dB
  double mLowerLimit = 0.2511886431509649;  // -12 dB
  double mGainPeak[2] = {1.0, 1.0};
  double mOutputGain = 1.0;
  double mReleaseMs = 50.0;
  double mSlowAttackMs = 30.0;
  double mHighPassHz = 20.0;
};
