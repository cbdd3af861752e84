#pragma once
// A generated test signal with sharp transients: percussive hits (a click plus a decaying
// tone and noise) over a quiet sustained tone, so that a transient shaper audibly changes
// the crest factor. Deterministic: the same arguments always give the same samples.

#include "tools/plughost/AudioBuffer.h"
#include "tools/plughost/AudioStream.h"

#include <cstdint>
#include <memory>

namespace plughost {

struct TestSignalShape
{
  double sampleRate = 44100.0;
  double seconds = 4.0;
  int channels = 2;
  double hitsPerSecond = 4.0;  // 120 BPM eighth notes
  double hitLevel = 0.8;       // peak of a hit
  double bedLevel = 0.05;      // level of the sustained tone between hits
};

// The signal made a chunk at a time.
class TestSignalReader : public AudioReader
{
public:
  // Null for non-finite or non-positive rates, lengths or hit rates, and for channel counts
  // outside 1..64.
  static std::unique_ptr<TestSignalReader> open(const TestSignalShape& shape);
  double sampleRate() const override { return mShape.sampleRate; }
  int numChannels() const override { return mShape.channels; }
  std::uint64_t numFrames() const override { return mFrames; }
  bool read(std::size_t maxFrames, AudioBuffer& chunk, std::string& error) override;

private:
  explicit TestSignalReader(const TestSignalShape& shape);
  double nextNoise();

  TestSignalShape mShape;
  std::uint64_t mFrames;
  std::uint64_t mPeriod;
  double mDecay;
  double mClick;
  std::uint64_t mDone = 0;
  std::uint32_t mNoise = 0x2545F491u;
  double mEnvelope = 0.0;
  double mClickEnvelope = 0.0;
};

// The whole signal. Fails (returns false) where open does; out is then unchanged.
bool makeTestSignal(const TestSignalShape& shape, AudioBuffer& out);

}  // namespace plughost
