#pragma once

// The effect record a VST 2.4 host drives, its entry types, the dispatcher's and the host
// callback's opcodes and the record's flags. Pointer-sized fields and the dispatcher's value
// and answer are intptr_t, so the record is 144 bytes in a 32-bit module and 192 in a
// 64-bit one.

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define VST2_CALLBACK __cdecl
#else
#define VST2_CALLBACK
#endif

namespace vst2 {

struct AEffect;

using AudioMasterCallback = intptr_t(VST2_CALLBACK*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                                     void* ptr, float opt);
using DispatcherProc = intptr_t(VST2_CALLBACK*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                                void* ptr, float opt);
using ProcessProc = void(VST2_CALLBACK*)(AEffect* effect, float** inputs, float** outputs, int32_t frames);
using ProcessDoubleProc = void(VST2_CALLBACK*)(AEffect* effect, double** inputs, double** outputs, int32_t frames);
using SetParameterProc = void(VST2_CALLBACK*)(AEffect* effect, int32_t index, float value);
using GetParameterProc = float(VST2_CALLBACK*)(AEffect* effect, int32_t index);
// The module's exported entry.
using PluginEntryProc = AEffect*(VST2_CALLBACK*)(AudioMasterCallback audioMaster);

constexpr int32_t kEffectMagic = 0x56737450;  // 'VstP'

struct AEffect
{
  int32_t magic;
  DispatcherProc dispatcher;
  ProcessProc process;  // accumulating
  SetParameterProc setParameter;
  GetParameterProc getParameter;
  int32_t numPrograms;
  int32_t numParams;
  int32_t numInputs;
  int32_t numOutputs;
  int32_t flags;
  intptr_t resvd1;
  intptr_t resvd2;
  int32_t initialDelay;
  int32_t realQualities;
  int32_t offQualities;
  float ioRatio;
  void* object;
  void* user;
  int32_t uniqueID;
  int32_t version;
  ProcessProc processReplacing;
  ProcessDoubleProc processDoubleReplacing;
  char future[56];
};

enum EffectFlags : int32_t
{
  effFlagsHasEditor = 1,
  effFlagsCanMono = 8,
  effFlagsCanReplacing = 0x10,
  effFlagsProgramChunks = 0x20,
  effFlagsIsSynth = 0x100,
  effFlagsCanDoubleReplacing = 0x1000,
};

// What the host asks of the plug-in through the dispatcher.
enum EffectOpcodes : int32_t
{
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditIdle = 19,
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,
  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effString2Parameter = 27,
  effGetProgramNameIndexed = 29,
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effSetSpeakerArrangement = 42,
  effSetBypass = 44,
  effGetEffectName = 45,
  effGetVendorString = 47,
  effGetProductString = 48,
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,
  effGetTailSize = 52,
  effIdle = 53,
  effGetVstVersion = 58,
  effGetMidiKeyName = 66,
  effGetSpeakerArrangement = 69,
};

// What the plug-in asks of the host through its callback.
enum AudioMasterOpcodes : int32_t
{
  audioMasterAutomate = 0,
  audioMasterVersion = 1,
  audioMasterWantMidi = 6,
  audioMasterGetTime = 7,
  audioMasterProcessEvents = 8,
  audioMasterGetSampleRate = 16,
  audioMasterGetBlockSize = 17,
  audioMasterGetCurrentProcessLevel = 23,
  audioMasterGetVendorString = 32,
  audioMasterGetProductString = 33,
  audioMasterGetVendorVersion = 34,
  audioMasterCanDo = 37,
  audioMasterUpdateDisplay = 42,
  audioMasterBeginEdit = 43,
  audioMasterEndEdit = 44,
};

constexpr intptr_t kEffectIdentity = 0x4E764566;  // 'NvEf', the answer to effIdentify
constexpr intptr_t kVstVersion = 2400;
constexpr int32_t kProcessLevelOffline = 4;

enum PlugCategory : int32_t
{
  kPlugCategEffect = 1,
  kPlugCategSynth = 2,
};

// Buffer sizes of the texts a host asks for, NUL included. The parameter texts are wider
// than the interface's nominal 8 bytes, which no current host keeps to and which would cut
// most names.
constexpr int kParamTextSize = 32;
constexpr int kProgramNameSize = 24;
constexpr int kEffectNameSize = 32;
constexpr int kVendorStringSize = 64;
constexpr int kProductStringSize = 64;
constexpr int kHostProductStringSize = 256;  // what a host may write for audioMasterGetProductString

// The name of a dispatcher opcode, as in EffectOpcodes; "unknown" for any other number.
const char* EffectOpcodeName(int32_t opcode);

}  // namespace vst2
