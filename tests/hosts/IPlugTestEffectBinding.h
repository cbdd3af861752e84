#pragma once

#include "tests/hosts/IPlugTestBinding.h"

// The test binding with the constructor shape every format binding offers the effect:
// instance information first, then the plug-in's description, then side-chain channels.
class IPlugTestEffectBinding : public IPlugTestBinding
{
public:
  struct InstanceInfo
  {
  };

  IPlugTestEffectBinding(const InstanceInfo&, int nParams, const char* channelIOStr, int nPresets,
                         const char* effectName, const char* productName, const char* makerName, int version,
                         int uniqueId, int makerId, int latency, bool doesMidi, bool doesStateChunks,
                         bool isInstrument, int /*sideChainChannels*/)
    : IPlugTestBinding(Args{nParams, channelIOStr, nPresets, effectName, productName, makerName, version, uniqueId,
                            makerId, latency, doesMidi, doesStateChunks, isInstrument, kBindingVST3})
  {
  }
};
