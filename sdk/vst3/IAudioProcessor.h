// The audio side of a plug-in: IAudioProcessor with its set-up, buffer, context and
// process records, and the speaker arrangements.
#pragma once

#include <cstddef>

#include "sdk/vst3/FUnknown.h"
#include "sdk/vst3/IComponent.h"

namespace vst3 {

class IParameterChanges;
class IEventList;

using Sample32 = float;
using Sample64 = double;
using SampleRate = double;
using TSamples = int64;
using TQuarterNotes = double;
using Speaker = uint64;
using SpeakerArrangement = uint64;

namespace speaker {
constexpr Speaker kL = 1 << 0;
constexpr Speaker kR = 1 << 1;
constexpr Speaker kC = 1 << 2;
constexpr Speaker kLfe = 1 << 3;
constexpr Speaker kLs = 1 << 4;
constexpr Speaker kRs = 1 << 5;
constexpr Speaker kLc = 1 << 6;
constexpr Speaker kRc = 1 << 7;
constexpr Speaker kS = 1 << 8;
constexpr Speaker kSl = 1 << 9;
constexpr Speaker kSr = 1 << 10;
constexpr Speaker kM = 1 << 19;
constexpr Speaker kACN0 = 1 << 20;
constexpr Speaker kACN1 = 1 << 21;
constexpr Speaker kACN2 = 1 << 22;
constexpr Speaker kACN3 = 1 << 23;
}  // namespace speaker

namespace arrangement {
constexpr SpeakerArrangement kEmpty = 0;
constexpr SpeakerArrangement kMono = speaker::kM;
constexpr SpeakerArrangement kStereo = speaker::kL | speaker::kR;
constexpr SpeakerArrangement k30Cine = kStereo | speaker::kC;
constexpr SpeakerArrangement k30Music = kStereo | speaker::kS;
constexpr SpeakerArrangement k50 = k30Cine | speaker::kLs | speaker::kRs;
constexpr SpeakerArrangement k51 = k50 | speaker::kLfe;
constexpr SpeakerArrangement kAmbi1stOrderACN = speaker::kACN0 | speaker::kACN1 | speaker::kACN2 | speaker::kACN3;
constexpr SpeakerArrangement kStereoSurround = speaker::kLs | speaker::kRs;
}  // namespace arrangement

// Channel count of an arrangement: the number of set bits of the 64-bit mask.
inline int32 channelCount(SpeakerArrangement arr)
{
  int32 n = 0;
  for (; arr != 0; arr &= arr - 1)
    ++n;
  return n;
}

enum SymbolicSampleSizes : int32
{
  kSample32 = 0,
  kSample64 = 1
};
enum ProcessModes : int32
{
  kRealtime = 0,
  kPrefetch = 1,
  kOffline = 2
};
constexpr uint32 kNoTail = 0;
constexpr uint32 kInfiniteTail = 0xFFFFFFFFu;

struct ProcessSetup
{
  int32 processMode;
  int32 symbolicSampleSize;
  int32 maxSamplesPerBlock;
  SampleRate sampleRate;
};
static_assert(sizeof(ProcessSetup) == 24 && offsetof(ProcessSetup, sampleRate) == 16, "ProcessSetup layout");

struct AudioBusBuffers
{
  int32 numChannels;
  uint64 silenceFlags;  // bit n: channel n is all zero
  union
  {
    Sample32** channelBuffers32;
    Sample64** channelBuffers64;
  };
};
static_assert(sizeof(AudioBusBuffers) == 24 && offsetof(AudioBusBuffers, silenceFlags) == 8 &&
                offsetof(AudioBusBuffers, channelBuffers32) == 16,
              "AudioBusBuffers layout");

struct Chord
{
  uint8 keyNote;
  uint8 rootNote;
  int16 chordMask;
};

struct FrameRate
{
  enum FrameRateFlags : uint32
  {
    kPullDownRate = 1,
    kDropRate = 2
  };
  uint32 framesPerSecond;
  uint32 flags;
};

struct ProcessContext
{
  enum StatesAndFlags : uint32
  {
    kPlaying = 1 << 1,
    kCycleActive = 1 << 2,
    kRecording = 1 << 3,
    kSystemTimeValid = 1 << 8,
    kProjectTimeMusicValid = 1 << 9,
    kTempoValid = 1 << 10,
    kBarPositionValid = 1 << 11,
    kCycleValid = 1 << 12,
    kTimeSigValid = 1 << 13,
    kSmpteValid = 1 << 14,
    kClockValid = 1 << 15,
    kContTimeValid = 1 << 17,
    kChordValid = 1 << 18,
  };

  uint32 state;
  SampleRate sampleRate;
  TSamples projectTimeSamples;
  int64 systemTime;  // ns
  TSamples continuousTimeSamples;
  TQuarterNotes projectTimeMusic;
  TQuarterNotes barPositionMusic;
  TQuarterNotes cycleStartMusic;
  TQuarterNotes cycleEndMusic;
  double tempo;  // BPM
  int32 timeSigNumerator;
  int32 timeSigDenominator;
  Chord chord;
  int32 smpteOffsetSubframes;
  FrameRate frameRate;
  int32 samplesToNextClock;
};
static_assert(sizeof(ProcessContext) == 112, "ProcessContext size");
static_assert(offsetof(ProcessContext, sampleRate) == 8 && offsetof(ProcessContext, projectTimeSamples) == 16 &&
                offsetof(ProcessContext, projectTimeMusic) == 40 && offsetof(ProcessContext, barPositionMusic) == 48 &&
                offsetof(ProcessContext, cycleStartMusic) == 56 && offsetof(ProcessContext, cycleEndMusic) == 64 &&
                offsetof(ProcessContext, tempo) == 72 && offsetof(ProcessContext, timeSigNumerator) == 80 &&
                offsetof(ProcessContext, timeSigDenominator) == 84 && offsetof(ProcessContext, chord) == 88 &&
                offsetof(ProcessContext, smpteOffsetSubframes) == 92 && offsetof(ProcessContext, frameRate) == 96 &&
                offsetof(ProcessContext, samplesToNextClock) == 104,
              "ProcessContext layout");

struct ProcessData
{
  int32 processMode;
  int32 symbolicSampleSize;
  int32 numSamples;
  int32 numInputs;   // audio input buses
  int32 numOutputs;  // audio output buses
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext;
};
#if UINTPTR_MAX > 0xFFFFFFFFu
static_assert(sizeof(ProcessData) == 80 && offsetof(ProcessData, inputs) == 24 &&
                offsetof(ProcessData, processContext) == 72,
              "ProcessData layout (64-bit)");
#else
static_assert(sizeof(ProcessData) == 48 && offsetof(ProcessData, inputs) == 20 &&
                offsetof(ProcessData, processContext) == 44,
              "ProcessData layout (32-bit)");
#endif

class IAudioProcessor : public FUnknown
{
public:
  virtual tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                                int32 numOuts) = 0;
  virtual tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) = 0;
  virtual tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) = 0;
  virtual uint32 PLUGIN_API getLatencySamples() = 0;
  virtual tresult PLUGIN_API setupProcessing(ProcessSetup& setup) = 0;
  virtual tresult PLUGIN_API setProcessing(TBool state) = 0;
  virtual tresult PLUGIN_API process(ProcessData& data) = 0;
  virtual uint32 PLUGIN_API getTailSamples() = 0;
  TQ_VST3_IID(42043F99, B7DA453C, A569E79D, 9AAEC33D);
};

// Declared so hosts and tests can ask for it; plug-ins built here do not offer it.
class IProcessContextRequirements : public FUnknown
{
public:
  virtual uint32 PLUGIN_API getProcessContextRequirements() = 0;
  TQ_VST3_IID(2A654303, EF764E3D, 95B5FE83, 730EF6D0);
};

}  // namespace vst3
