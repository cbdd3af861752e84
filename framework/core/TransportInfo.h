#pragma once

#include <cstdint>

// The host's transport as last reported. Positions are in quarter notes except the sample
// position; -1 means "not reported".
struct TransportInfo
{
  double tempo = 120.0;
  double samplePos = -1.0;
  double ppqPos = -1.0;
  double lastBarPos = -1.0;
  double cycleStart = -1.0;
  double cycleEnd = -1.0;
  int32_t numerator = 4;
  int32_t denominator = 4;
  bool playing = false;
  bool cycling = false;
};
