#pragma once

#include "effect/MeterFollower.h"
#include "effect/PlugBinding.h"
#include "effect/TransientControl.h"
#include "framework/core/TransportInfo.h"

#include <atomic>

class IGraphics;

// The plug-in: nine parameters driving the transient engine, an output gain that can
// follow the amount, and input, output and gain meters.
class TarvexQuoxel : public PlugBinding
{
public:
  enum EParams
  {
    kLevel = 0,
    kOutGain,
    kAutoOutGain,
    kHiPass,
    kLength,
    kRelease,
    kAutoRelease,
    kUpperLimit,
    kLowerLimit,
    kNumParams
  };

  // The six meters, in the order the editor lays them out.
  enum EMeters
  {
    kGainMeter0 = 0,
    kGainMeter1,
    kInputMeter0,
    kInputMeter1,
    kOutputMeter0,
    kOutputMeter1,
    kNumMeters
  };

  static constexpr const char* kEffectName = "TarvexQuoxel";
  static constexpr const char* kMakerName = "Tarvex";
  static constexpr const char* kChannelIO = "1-1 2-2";
  static constexpr int kVersion = 0x00010004;
  static constexpr int kUniqueId = 0x51786C73;  // 'Qxls'
  static constexpr int kMakerId = 0x54767872;   // 'Tvxr'
  // Sample rates from here up are refused by the reset.
  static constexpr double kMaxSampleRate = 10000000.0;
  static constexpr int kEditorWidth = 650;
  static constexpr int kEditorHeight = 410;

  explicit TarvexQuoxel(const PlugBinding::InstanceInfo& info);
  // The editor goes first, while the binding can still answer it (a control let go of
  // during teardown ends its host gesture).
  ~TarvexQuoxel() override;

  void RestartProcessing() override;
  void HandleParameterChange(int paramIdx, int cause) override;
  void ProcessBlockDouble(double** inputs, double** outputs, int nFrames) override;

  // The last value sent to a meter, 0..1; read by the editor's timer on its own thread.
  double MeterValue(int meter) const { return mMeters[meter].load(std::memory_order_relaxed); }

  // The oversampling factor the reset chooses for a host sample rate.
  static int OversamplingFor(double sampleRate);

  const TransientControl& Engine() const { return mEngine; }
  // The editor, owned by the plug-in; null once it is gone.
  IGraphics* Graphics() const { return mGraphics; }
  // Hands a meter's value (0..1) to its control in the editor. Lock-free: the audio thread
  // calls it after every block.
  void ShowMeter(int meter, double value);

private:
  // Host frames processed per pass through the engine; longer blocks go in several passes.
  static constexpr int kChunkFrames = 1024;

  void DeclareParameters();
  // The editor with its images and controls, attached to the plug-in (TarvexQuoxelEditor.cpp).
  void BuildEditor();
  void ApplyAutomaticOutputGain();
  void GreyControlsOf(int paramIdx, bool grey);
  // Puts every parameter's value into the engine without telling the host (construction).
  void ApplyParametersToEngine();
  void FollowHostTempo();
  void ProcessChunk(double* const* inputs, double* const* outputs, int nFrames);
  void UpdateMeters(const double gainPeaks[2]);
  void SetMeter(int meter, double value);

  double Value(int paramIdx) const { return ParamAt(paramIdx)->Value(); }

  TransientControl mEngine;
  TransportInfo mTransport;
  double mLastHostTempo = 120.0;
  MeterFollower mInputFollowers[2];
  MeterFollower mOutputFollowers[2];
  std::atomic<double> mMeters[kNumMeters];
  IGraphics* mGraphics = nullptr;
  int mMeterControls[kNumMeters] = {-1, -1, -1, -1, -1, -1};
  alignas(16) double mInterleaved[kChunkFrames * 2];
};

// Creates one plug-in object; null when it cannot be made. Creations from several
// threads are made one after the other.
TarvexQuoxel* NewTarvexQuoxel(const PlugBinding::InstanceInfo& info);
