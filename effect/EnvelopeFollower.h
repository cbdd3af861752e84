#pragma once

// Follows a signal's magnitude with a level that moves towards each new value by the
// attack coefficient while rising and the release coefficient while falling.
struct EnvelopeFollower
{
  double level = 0.0;
  int sampleRate = 44100;
  double attackCoefficient = 0.0;
  double releaseCoefficient = 0.0;
};
