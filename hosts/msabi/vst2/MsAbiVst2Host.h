#pragma once
// A VST2 host built for Microsoft's ABI, seen from the MinGW test program: C functions whose
// bodies are compiled by clang for the MSVC target, with their own declaration of the effect
// record, its entries and the host callback. Only plain C types cross here, which both
// compilers lay out alike; no system header, so the MSVC-target translation unit includes it
// too. One effect at a time.

#ifdef __cplusplus
extern "C" {
#endif

typedef __INTPTR_TYPE__ MsVst2IntPtr;

enum
{
  kMsVst2NotReady = -99
};

// The record's fields as the host reads them right after the entry.
struct MsVst2EffectFacts
{
  int magic;
  int numPrograms;
  int numParams;
  int numInputs;
  int numOutputs;
  int flags;
  int initialDelay;
  float ioRatio;
  int uniqueID;
  int version;
  int hasEntries;  // every function entry filled in
};

// What the plug-in asked of the host's callback.
struct MsVst2HostCalls
{
  int total;
  int version;
  int wantMidi;
  int getTime;
  int processLevel;
  int productString;
  int vendorVersion;
  int automate;
  int others;
};

// Calls the module's entry with the host's callback: 1 and the record's facts when it gives
// an effect record, else 0.
int tq_msvst2_open(void* entry, struct MsVst2EffectFacts* out);
// The host's time info at a tempo, playing in 4/4; 0: the host has none to give.
void tq_msvst2_set_tempo(double tempo);
MsVst2IntPtr tq_msvst2_dispatch(int opcode, int index, MsVst2IntPtr value, void* ptr, float opt);
void tq_msvst2_set_parameter(int index, float value);
float tq_msvst2_get_parameter(int index);
// processReplacing (float) or processDoubleReplacing over the host's channel arrays.
int tq_msvst2_process(int doublePrecision, void* const* inputs, void* const* outputs, int frames);
void tq_msvst2_host_calls(struct MsVst2HostCalls* out);
// effMainsChanged(0), effClose; the record is gone afterwards.
int tq_msvst2_close(void);

#ifdef __cplusplus
}
#endif
