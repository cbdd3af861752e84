// Compile-time checks of the records against the binary facts, for whichever target is
// being built: 32-bit Windows, 64-bit Windows or 64-bit Linux. Nothing runs here.
#include "sdk/vst2/AEffect.h"
#include "sdk/vst2/VstRecords.h"

#include <cstddef>
#include <type_traits>

namespace {

using namespace vst2;

constexpr bool k64 = sizeof(void*) == 8;
constexpr size_t P = sizeof(void*);

static_assert(sizeof(intptr_t) == P, "dispatcher values and answers are pointer-sized");

static_assert(sizeof(AEffect) == (k64 ? 192 : 144), "AEffect");
static_assert(offsetof(AEffect, dispatcher) == P && offsetof(AEffect, process) == 2 * P &&
                offsetof(AEffect, setParameter) == 3 * P && offsetof(AEffect, getParameter) == 4 * P,
              "AEffect entries");
static_assert(offsetof(AEffect, numPrograms) == 5 * P && offsetof(AEffect, flags) == 5 * P + 16 &&
                offsetof(AEffect, resvd1) == (k64 ? 64 : 40) && offsetof(AEffect, resvd2) == (k64 ? 72 : 44),
              "AEffect counts and flags");
static_assert(offsetof(AEffect, initialDelay) == (k64 ? 80 : 48) && offsetof(AEffect, ioRatio) == (k64 ? 92 : 60) &&
                offsetof(AEffect, object) == (k64 ? 96 : 64) && offsetof(AEffect, user) == (k64 ? 104 : 68),
              "AEffect delay, ratio and object");
static_assert(offsetof(AEffect, uniqueID) == (k64 ? 112 : 72) && offsetof(AEffect, version) == (k64 ? 116 : 76) &&
                offsetof(AEffect, processReplacing) == (k64 ? 120 : 80) &&
                offsetof(AEffect, processDoubleReplacing) == (k64 ? 128 : 84) &&
                offsetof(AEffect, future) == (k64 ? 136 : 88),
              "AEffect id, version and replacing entries");

static_assert(sizeof(ERect) == 8 && offsetof(ERect, right) == 6, "ERect");
static_assert(sizeof(VstTimeInfo) == 88 && offsetof(VstTimeInfo, tempo) == 32 &&
                offsetof(VstTimeInfo, timeSigNumerator) == 64 && offsetof(VstTimeInfo, flags) == 84,
              "VstTimeInfo");
static_assert(sizeof(VstEvent) == 32 && sizeof(VstMidiEvent) == 32 && offsetof(VstMidiEvent, midiData) == 24 &&
                offsetof(VstMidiEvent, noteOffVelocity) == 29,
              "MIDI events");
static_assert(sizeof(VstMidiSysexEvent) == (k64 ? 48 : 32) && offsetof(VstMidiSysexEvent, dumpBytes) == 16 &&
                offsetof(VstMidiSysexEvent, sysexDump) == (k64 ? 32 : 24),
              "VstMidiSysexEvent");
static_assert(offsetof(VstEvents, events) == 2 * P && sizeof(VstEvents) == 4 * P, "VstEvents");
static_assert(sizeof(VstPinProperties) == 128 && offsetof(VstPinProperties, flags) == 64 &&
                offsetof(VstPinProperties, shortLabel) == 72,
              "VstPinProperties");
static_assert(sizeof(VstSpeakerProperties) == 112 && offsetof(VstSpeakerProperties, name) == 16 &&
                offsetof(VstSpeakerProperties, type) == 80,
              "VstSpeakerProperties");
static_assert(sizeof(VstSpeakerArrangement) == 904 && offsetof(VstSpeakerArrangement, speakers) == 8,
              "VstSpeakerArrangement");
static_assert(sizeof(VstMidiKeyName) == 80 && offsetof(VstMidiKeyName, keyName) == 8 &&
                offsetof(VstMidiKeyName, flags) == 76,
              "VstMidiKeyName");

#if defined(_WIN32) && !defined(_WIN64)
// Hosts call every entry with the C convention; a callee-cleans entry would corrupt their stack.
static_assert(
  !std::is_same<DispatcherProc, intptr_t(__stdcall*)(AEffect*, int32_t, int32_t, intptr_t, void*, float)>::value,
  "entries are cdecl");
static_assert(
  std::is_same<DispatcherProc, intptr_t(__cdecl*)(AEffect*, int32_t, int32_t, intptr_t, void*, float)>::value,
  "entries are cdecl");
#endif

}  // namespace
