// What the host hands the render procedure: one context per instance, whose fields the
// module declared when it described its effect, and the host objects some fields point at.
#pragma once

#include "sdk/aax/ACFUnknown.h"

#include <cstddef>

// One block's MIDI: a count and the packets, kAAX_MidiPacketBytes apart. A packet holds its
// time stamp (samples into the block) at offset 0 and the three message bytes from offset 8.
struct AAX_MidiBuffer
{
  uint32_t count;
  const unsigned char* packets;
};

constexpr size_t kAAX_MidiPacketBytes = 14;
constexpr size_t kAAX_MidiMessageOffset = 8;

// The input MIDI node; operation 1 gives this block's MIDI. Slot 0 is the host's deleting
// destructor; the module never calls it.
class HostMidiNode
{
public:
  virtual void DeletingDestructor(uint32_t flags) = 0;
  virtual AAX_MidiBuffer* MidiBuffer() = 0;

protected:
  ~HostMidiNode() = default;
};

// The transport as the render sees it: slot 0 is the host's deleting destructor, then the
// queries (positions in ticks, 960000 to a quarter note).
class HostRenderTransport
{
public:
  virtual void DeletingDestructor(uint32_t flags) = 0;
  virtual ACFResult ReadTempo(double* bpm) = 0;
  virtual ACFResult ReadTimeSignature(int32_t* numerator, int32_t* denominator) = 0;
  virtual ACFResult ReadPlayState(bool* playing) = 0;
  virtual ACFResult ReadTicks(int64_t* ticks) = 0;
  virtual ACFResult ReadCycle(bool* looping, int64_t* startTicks, int64_t* endTicks) = 0;
  virtual ACFResult ReadSamplePosition(int64_t* samples) = 0;

protected:
  ~HostRenderTransport() = default;
};

// The transport node; operation 3 gives the transport. Slot 0 is the host's deleting
// destructor.
class HostTransportNode
{
public:
  virtual void DeletingDestructor(uint32_t flags) = 0;
  virtual void* Unused1() = 0;
  virtual void* Unused2() = 0;
  virtual HostRenderTransport* Transport() = 0;

protected:
  ~HostTransportNode() = default;
};

// One instance's render context: field N is the N-th pointer-sized word.
struct AAX_RenderContext
{
  float** audioIn;
  float** audioOut;
  void* field2;
  const int32_t* bufferLength;
  void* field4;
  HostMidiNode* midiIn;
  void* globalMidi;
  HostTransportNode* transport;
  // The block the host had the effect-parameters object fill: it holds that object's address.
  void* const* instance;
  void* meters;
};

// The field numbers the module declares.
#define TQ_AAX_FIELD(member) static_cast<uint32_t>(offsetof(AAX_RenderContext, member) / sizeof(void*))
constexpr uint32_t kAAX_FieldAudioIn = TQ_AAX_FIELD(audioIn);
constexpr uint32_t kAAX_FieldAudioOut = TQ_AAX_FIELD(audioOut);
constexpr uint32_t kAAX_FieldBufferLength = TQ_AAX_FIELD(bufferLength);
constexpr uint32_t kAAX_FieldMidiIn = TQ_AAX_FIELD(midiIn);
constexpr uint32_t kAAX_FieldGlobalMidi = TQ_AAX_FIELD(globalMidi);
constexpr uint32_t kAAX_FieldTransport = TQ_AAX_FIELD(transport);
constexpr uint32_t kAAX_FieldInstance = TQ_AAX_FIELD(instance);
constexpr uint32_t kAAX_FieldMeters = TQ_AAX_FIELD(meters);
#undef TQ_AAX_FIELD

// Node kinds of DeclareMidiNode.
constexpr uint32_t kAAX_NodeMidiInput = 0;
constexpr uint32_t kAAX_NodeMidiGlobal = 2;
constexpr uint32_t kAAX_NodeTransport = 3;

// The procedures the module registers: plain C functions (cdecl on 32-bit Windows).
using AAX_CreateProcedure = IACFUnknown* (*)();
using AAX_RenderProcedure = void (*)(AAX_RenderContext* const* first, AAX_RenderContext* const* end);
// Procedure ids of the create procedures.
constexpr uint32_t kAAX_ProcEffectParameters = 0;
constexpr uint32_t kAAX_ProcEffectGUI = 1;
