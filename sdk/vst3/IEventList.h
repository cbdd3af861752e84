// Events the host hands to process. Hosts copy a whole Event in getEvent, so the record
// must have exactly the size hosts use: a union of note-on, note-off and data payloads
// reproduces it on every target.
#pragma once

#include <cstddef>

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

struct NoteOnEvent
{
  int16 channel;
  int16 pitch;
  float tuning;    // cents
  float velocity;  // 0..1
  int32 length;
  int32 noteId;  // -1: unknown
};
static_assert(sizeof(NoteOnEvent) == 20, "NoteOnEvent size");

struct NoteOffEvent
{
  int16 channel;
  int16 pitch;
  float velocity;
  int32 noteId;
  float tuning;
};
static_assert(sizeof(NoteOffEvent) == 16, "NoteOffEvent size");

struct DataEvent
{
  enum DataTypes : uint32
  {
    kMidiSysEx = 0
  };
  uint32 size;
  uint32 type;
  const uint8* bytes;
};

struct Event
{
  enum EventFlags : uint16
  {
    kIsLive = 1,
    kUserReserved1 = 0x4000,
    kUserReserved2 = 0x8000
  };
  enum EventTypes : uint16
  {
    kNoteOnEvent = 0,
    kNoteOffEvent = 1,
    kDataEvent = 2,
    kPolyPressureEvent = 3,
    kNoteExpressionValueEvent = 4,
    kNoteExpressionTextEvent = 5,
    kChordEvent = 6,
    kScaleEvent = 7,
    kLegacyMIDICCOutEvent = 65535,
  };

  int32 busIndex;
  int32 sampleOffset;
  double ppqPosition;
  uint16 flags;
  uint16 type;
  union
  {
    NoteOnEvent noteOn;
    NoteOffEvent noteOff;
    DataEvent data;
  };
};
#if UINTPTR_MAX > 0xFFFFFFFFu
static_assert(sizeof(Event) == 48 && offsetof(Event, noteOn) == 24, "Event layout (64-bit)");
#else
static_assert(sizeof(Event) == 40 && offsetof(Event, noteOn) == 20, "Event layout (32-bit)");
#endif
static_assert(alignof(Event) == 8 && offsetof(Event, flags) == 16 && offsetof(Event, type) == 18,
              "Event header layout");

class IEventList : public FUnknown
{
public:
  virtual int32 PLUGIN_API getEventCount() = 0;
  virtual tresult PLUGIN_API getEvent(int32 index, Event& e) = 0;
  virtual tresult PLUGIN_API addEvent(Event& e) = 0;
  TQ_VST3_IID(3A2C4214, 346349FE, B2C4F397, B9695A44);
};

}  // namespace vst3
