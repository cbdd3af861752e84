#pragma once

#include "framework/bindings/aax/AAX_VCollection.h"
#include "sdk/aax/HostRenderContext.h"

// What the module tells the host about its one effect when it registers.
struct AAX_PlugDescription
{
  // One pair of plug-in type ids per channel configuration, in the configurations' order.
  struct TypeIds
  {
    uint32_t native;
    uint32_t audioSuite;
  };

  const char* effectNames;  // one name per line, each line ended by "\n"
  const char* makerNames;   // the same
  const char* effectId;
  const char* midiNodeName;
  const char* channelIO;  // "%d-%d" tokens separated by blanks
  uint32_t category;
  uint32_t manufacturerId;
  uint32_t productId;
  uint32_t version;
  const TypeIds* typeIds;
  int typeIdCount;
  AAX_CreateProcedure createParameters;
  AAX_CreateProcedure createGUI;
};

// One channel configuration as a component declares it.
struct EffectSetupInfo
{
  struct Node
  {
    bool enabled;
    const char* name;
    uint32_t mask;
  };
  static constexpr int kMaxAuxStems = 16;
  struct AuxStem
  {
    const char* name = nullptr;
    uint32_t stemFormat = 1;
  };

  Node globalMidi = {false, "GlobalMIDI", 0xFFFF};
  Node inputMidi = {false, "InputMIDI", 0xFFFF};
  Node transport = {false, "Transport", 0xFFFF};
  uint32_t meterCount = 0;
  const uint32_t* meterIds = nullptr;
  int auxStemCount = 0;
  AuxStem auxStems[kMaxAuxStems];
  uint32_t inputStemFormat = 1;
  uint32_t outputStemFormat = 1;
  uint8_t property60 = 1;
  uint32_t manufacturerId = FourCC("none");
  uint32_t productId = FourCC("none");
  uint32_t nativeTypeId = FourCC("none");
  uint32_t audioSuiteTypeId = FourCC("none");
  uint32_t property56 = 0;
};

// The stem format word of a channel count; a count without a format gives the "none" word.
uint32_t StemFormatForChannels(int channels);

// Describes the effect to the host's collection: names, category, one component per channel
// configuration that has type ids, the create procedures, then (only when every step so far
// succeeded) the effect's registration; maker names and version are sent in any case. Answers
// the OR of the host's results, -20004 without an effect descriptor.
ACFResult DescribeEffect(AAX_ICollection* collection, const AAX_PlugDescription& plug);
