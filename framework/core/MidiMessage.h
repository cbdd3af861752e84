#pragma once

#include <cstdint>

// A three-byte channel message with its position in the block.
struct MidiMessage
{
  int32_t offset = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;

  // Channels are 0..15 and data bytes 0..127; larger values are masked so that a bad
  // argument can never turn the message into a different kind.
  void SetNoteOn(int note, int velocity, int offset, int channel = 0);
  void SetNoteOff(int note, int offset, int channel = 0);
  // value 0..1 (clamped, NaN as 0) scaled to 0..127 by truncation.
  void SetControl(int controller, double value, int channel = 0);
};

// A system-exclusive message: its position in the block, byte count and bytes.
struct SysexData
{
  int32_t offset = 0;
  int32_t size = 0;
  const uint8_t* data = nullptr;
};
