#pragma once
// A generated test signal with sharp transients: percussive hits (a click plus a decaying
// tone and noise) over a quiet sustained tone, so that a transient shaper audibly changes
// the crest factor. Deterministic: the same arguments always give the same samples.

#include "tools/plughost/AudioBuffer.h"

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

// Fails (returns false) for non-finite or non-positive rates, lengths or hit rates, and for
// channel counts outside 1..64; out is then unchanged.
bool makeTestSignal(const TestSignalShape& shape, AudioBuffer& out);

}  // namespace plughost
