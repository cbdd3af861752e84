// A VST2 host as Microsoft's compiler builds it: the effect record, its function entries and
// the host callback declared as that compiler sees them (cdecl on x86, the record laid out
// with its pointer-sized fields), the host callback answering as a host does, and the calls
// behind MsAbiVst2Host.h. Compiled by clang for the MSVC target, without any system header;
// the module on the other side shares nothing with it but the binary interface.
#include "hosts/msabi/vst2/MsAbiVst2Host.h"

#if defined(_M_IX86)
#define VSTCALL __cdecl
#else
#define VSTCALL
#endif

namespace {

using int32 = int;
using VstIntPtr = MsVst2IntPtr;

struct AEffect;

using AudioMasterProc = VstIntPtr(VSTCALL*)(AEffect* effect, int32 opcode, int32 index, VstIntPtr value, void* ptr,
                                            float opt);
using DispatcherProc = VstIntPtr(VSTCALL*)(AEffect* effect, int32 opcode, int32 index, VstIntPtr value, void* ptr,
                                           float opt);
using ProcessProc = void(VSTCALL*)(AEffect* effect, float** inputs, float** outputs, int32 frames);
using ProcessDoubleProc = void(VSTCALL*)(AEffect* effect, double** inputs, double** outputs, int32 frames);
using SetParameterProc = void(VSTCALL*)(AEffect* effect, int32 index, float parameter);
using GetParameterProc = float(VSTCALL*)(AEffect* effect, int32 index);
using EntryProc = AEffect*(VSTCALL*)(AudioMasterProc audioMaster);

struct AEffect
{
  int32 magic;
  DispatcherProc dispatcher;
  ProcessProc process;
  SetParameterProc setParameter;
  GetParameterProc getParameter;
  int32 numPrograms;
  int32 numParams;
  int32 numInputs;
  int32 numOutputs;
  int32 flags;
  VstIntPtr resvd1;
  VstIntPtr resvd2;
  int32 initialDelay;
  int32 realQualities;
  int32 offQualities;
  float ioRatio;
  void* object;
  void* user;
  int32 uniqueID;
  int32 version;
  ProcessProc processReplacing;
  ProcessDoubleProc processDoubleReplacing;
  char future[56];
};

struct VstTimeInfo
{
  double samplePos;
  double sampleRate;
  double nanoSeconds;
  double ppqPos;
  double tempo;
  double barStartPos;
  double cycleStartPos;
  double cycleEndPos;
  int32 timeSigNumerator;
  int32 timeSigDenominator;
  int32 smpteOffset;
  int32 smpteFrameRate;
  int32 samplesToNextClock;
  int32 flags;
};

constexpr bool k64 = sizeof(void*) == 8;
static_assert(sizeof(AEffect) == (k64 ? 192 : 144), "effect record");
static_assert(__builtin_offsetof(AEffect, object) == (k64 ? 96 : 64), "effect record");
static_assert(__builtin_offsetof(AEffect, processDoubleReplacing) == (k64 ? 128 : 84), "effect record");
static_assert(sizeof(VstTimeInfo) == 88 && __builtin_offsetof(VstTimeInfo, flags) == 84, "time info");

constexpr int32 kMagic = 0x56737450;  // 'VstP'

enum HostOpcode : int32
{
  kAutomate = 0,
  kVersion = 1,
  kWantMidi = 6,
  kGetTime = 7,
  kGetSampleRate = 16,
  kGetBlockSize = 17,
  kGetProcessLevel = 23,
  kGetProductString = 33,
  kGetVendorVersion = 34,
};

enum EffectOpcode : int32
{
  kOpen = 0,
  kClose = 1,
  kSetSampleRate = 10,
  kSetBlockSize = 11,
  kMainsChanged = 12,
};

// Time info flags: playing; ppq position, tempo, bars and time signature valid.
constexpr int32 kTimeFlags = 2 | 0x200 | 0x400 | 0x800 | 0x2000;

struct Host
{
  AEffect* effect = nullptr;
  double sampleRate = 44100.0;
  double samplePos = 0.0;
  double tempo = 0.0;
  int32 blockSize = 512;
  VstTimeInfo time = {};
  MsVst2HostCalls calls = {};
};

Host gHost;

void copyText(char* out, const char* text, int capacity)
{
  int i = 0;
  for (; i < capacity - 1 && text[i]; ++i)
    out[i] = text[i];
  out[i] = 0;
}

VstTimeInfo* timeInfo()
{
  if (gHost.tempo <= 0.0)
    return nullptr;
  gHost.time = VstTimeInfo{};
  gHost.time.samplePos = gHost.samplePos;
  gHost.time.sampleRate = gHost.sampleRate;
  gHost.time.tempo = gHost.tempo;
  gHost.time.ppqPos = gHost.samplePos / gHost.sampleRate * gHost.tempo / 60.0;
  gHost.time.barStartPos = static_cast<double>(static_cast<int32>(gHost.time.ppqPos / 4.0)) * 4.0;
  gHost.time.timeSigNumerator = 4;
  gHost.time.timeSigDenominator = 4;
  gHost.time.flags = kTimeFlags;
  return &gHost.time;
}

VstIntPtr VSTCALL audioMaster(AEffect*, int32 opcode, int32, VstIntPtr, void* ptr, float)
{
  MsVst2HostCalls& calls = gHost.calls;
  ++calls.total;
  switch (opcode)
  {
  case kVersion:
    ++calls.version;
    return 2400;
  case kWantMidi:
    ++calls.wantMidi;
    return 1;
  case kGetTime:
    ++calls.getTime;
    return reinterpret_cast<VstIntPtr>(timeInfo());
  case kGetSampleRate:
    return static_cast<VstIntPtr>(gHost.sampleRate);
  case kGetBlockSize:
    return gHost.blockSize;
  case kGetProcessLevel:
    ++calls.processLevel;
    return 2;  // realtime
  case kGetProductString:
    ++calls.productString;
    if (ptr)
      copyText(static_cast<char*>(ptr), "MSVC ABI host", 64);
    return ptr ? 1 : 0;
  case kGetVendorVersion:
    ++calls.vendorVersion;
    return 10000;
  case kAutomate:
    ++calls.automate;
    return 0;
  default:
    ++calls.others;
    return 0;
  }
}

VstIntPtr dispatch(int32 opcode, int32 index, VstIntPtr value, void* ptr, float opt)
{
  return gHost.effect->dispatcher(gHost.effect, opcode, index, value, ptr, opt);
}

}  // namespace

extern "C" {

int tq_msvst2_open(void* entry, MsVst2EffectFacts* out)
{
  if (!entry || !out || gHost.effect)
    return kMsVst2NotReady;
  gHost = Host{};
  AEffect* effect = reinterpret_cast<EntryProc>(entry)(&audioMaster);
  if (!effect || effect->magic != kMagic)
    return 0;
  gHost.effect = effect;
  out->magic = effect->magic;
  out->numPrograms = effect->numPrograms;
  out->numParams = effect->numParams;
  out->numInputs = effect->numInputs;
  out->numOutputs = effect->numOutputs;
  out->flags = effect->flags;
  out->initialDelay = effect->initialDelay;
  out->ioRatio = effect->ioRatio;
  out->uniqueID = effect->uniqueID;
  out->version = effect->version;
  out->hasEntries = effect->dispatcher && effect->process && effect->setParameter && effect->getParameter &&
                    effect->processReplacing && effect->processDoubleReplacing;
  return 1;
}

void tq_msvst2_set_tempo(double tempo)
{
  gHost.tempo = tempo;
}

MsVst2IntPtr tq_msvst2_dispatch(int opcode, int index, MsVst2IntPtr value, void* ptr, float opt)
{
  if (!gHost.effect)
    return kMsVst2NotReady;
  if (opcode == kClose)
    return tq_msvst2_close();
  // The host keeps what it told the plug-in, for the time info it answers.
  if (opcode == kSetSampleRate)
    gHost.sampleRate = opt;
  if (opcode == kSetBlockSize)
    gHost.blockSize = static_cast<int32>(value);
  return dispatch(opcode, index, value, ptr, opt);
}

void tq_msvst2_set_parameter(int index, float value)
{
  if (gHost.effect)
    gHost.effect->setParameter(gHost.effect, index, value);
}

float tq_msvst2_get_parameter(int index)
{
  return gHost.effect ? gHost.effect->getParameter(gHost.effect, index) : -1.0f;
}

int tq_msvst2_process(int doublePrecision, void* const* inputs, void* const* outputs, int frames)
{
  if (!gHost.effect || !inputs || !outputs || frames < 0)
    return kMsVst2NotReady;
  void** in = const_cast<void**>(inputs);
  void** out = const_cast<void**>(outputs);
  if (doublePrecision)
    gHost.effect->processDoubleReplacing(gHost.effect, reinterpret_cast<double**>(in), reinterpret_cast<double**>(out),
                                         frames);
  else
    gHost.effect->processReplacing(gHost.effect, reinterpret_cast<float**>(in), reinterpret_cast<float**>(out), frames);
  gHost.samplePos += frames;
  return 0;
}

void tq_msvst2_host_calls(MsVst2HostCalls* out)
{
  if (out)
    *out = gHost.calls;
}

int tq_msvst2_close(void)
{
  if (!gHost.effect)
    return kMsVst2NotReady;
  dispatch(kMainsChanged, 0, 0, nullptr, 0.0f);
  const int closed = static_cast<int>(dispatch(kClose, 0, 0, nullptr, 0.0f));
  gHost.effect = nullptr;
  return closed;
}

}  // extern "C"
