#include "framework/core/MidiMessage.h"

#include <cmath>

namespace {
uint8_t Status(int kind, int channel)
{
  return static_cast<uint8_t>(kind | (channel & 0x0F));
}

uint8_t DataByte(int value)
{
  return static_cast<uint8_t>(value & 0x7F);
}
}  // namespace

void MidiMessage::SetNoteOn(int note, int velocity, int sampleOffset, int channel)
{
  status = Status(0x90, channel);
  data1 = DataByte(note);
  data2 = DataByte(velocity);
  offset = sampleOffset;
}

void MidiMessage::SetNoteOff(int note, int sampleOffset, int channel)
{
  status = Status(0x80, channel);
  data1 = DataByte(note);
  data2 = 0;
  offset = sampleOffset;
}

void MidiMessage::SetControl(int controller, double value, int channel)
{
  if (!(value > 0.0))  // also NaN
    value = 0.0;
  else if (value > 1.0)
    value = 1.0;
  status = Status(0xB0, channel);
  data1 = DataByte(controller);
  data2 = static_cast<uint8_t>(value * 127.0);
  offset = 0;
}
