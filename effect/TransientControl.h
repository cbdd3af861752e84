#pragma once

#include "effect/AudioProcessor.h"
#include "effect/dsp/HighPassBiquad.h"

// Follows a signal's magnitude with a level that moves towards each new value by the
// attack coefficient while rising and the release coefficient while falling.
struct EnvelopeFollower
{
  double level = 0.0;
  int sampleRate = 44100;
  double attackCoefficient = 0.0;
  double releaseCoefficient = 0.0;
};

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

  double Amount() const { return amount_; }
  double OutputGain() const { return outputGain_; }
  double GainUpperLimit() const { return upperLimit_; }
  double GainLowerLimit() const { return lowerLimit_; }
  double Tempo() const { return tempo_; }
  bool TempoRelease() const { return tempoRelease_; }
  double ReleaseTime() const { return releaseMs_; }
  double SlowAttack() const { return slowAttackMs_; }
  double HighPassFrequency() const { return highPassHz_; }
  // The release time in force: half a beat with tempo release, else the release time.
  double EffectiveReleaseTime() const;

  // The latest excursion of the gain away from 1 in the last block, per channel.
  double GainPeak(int channel) const { return gainPeak_[channel]; }

  // fast 0, slow 0, fast 1, slow 1
  const EnvelopeFollower& Follower(int i) const { return followers_[i]; }
  const Dsp::HighPassBiquad& DetectorFilter(int channel) const { return detector_[channel]; }

  // Coefficient that lets a follower at rate hz cover 99% of a step in ms milliseconds.
  static double TimeCoefficient(double ms, double hz);
  // The gain law for one sample, given both levels.
  static double Gain(double fast, double slow, double amount, double upper, double lower);

protected:
  bool ProcessSliceFused(double* frames, int count) override;

private:
  void ProcessScalar(double* frames, int count, int channels);
  void ProcessStereoSse(double* frames, int count);
  void UpdateSlowAttacks();
  void UpdateReleases();
  void ConfigureDetectors();
  void ClearNonFiniteState();

  EnvelopeFollower followers_[4];
  Dsp::HighPassBiquad detector_[2];
  double amount_ = 0.0;
  double tempo_ = 120.0;
  bool tempoRelease_ = true;
  double upperLimit_ = 3.981071705534863;   // +12 dB
  double lowerLimit_ = 0.2511886431509649;  // -12 dB
  double gainPeak_[2] = {1.0, 1.0};
  double outputGain_ = 1.0;
  double releaseMs_ = 50.0;
  double slowAttackMs_ = 30.0;
  double highPassHz_ = 20.0;
};
