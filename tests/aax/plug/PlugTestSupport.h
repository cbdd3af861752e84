#pragma once

#include "framework/bindings/aax/ACFModuleEntry.h"
#include "framework/bindings/aax/IPlugAAX.h"
#include "hosts/aax/HostDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace aaxtest {

using Calls = std::vector<std::string>;
using Channels = aaxhost::HostDriver::Channels;

// The entry points of the module linked into the test.
inline aaxhost::EntryPoints LinkedEntryPoints()
{
  return {ACFStartup,        ACFShutdown,          ACFCanUnloadNow,   ACFGetSDKVersion,
          ACFRegisterPlugin, ACFRegisterComponent, ACFGetClassFactory};
}

// The plug-in object behind the effect-parameters interface a host holds.
inline IPlugAAX* PlugOf(AAX_IACFEffectParameters* face)
{
  return dynamic_cast<IPlugAAX*>(AAX_CIPlugParameters::FromInterface(face));
}

// Stereo drum-like bursts: decaying noise every 2205 frames, different per channel.
inline Channels Bursts(size_t frames)
{
  Channels signal(2, std::vector<double>(frames));
  uint32_t seed = 12345;
  for (size_t i = 0; i < frames; ++i)
    for (auto& channel : signal)
    {
      seed = seed * 1664525u + 1013904223u;
      const double noise = double(int32_t(seed)) / 2147483648.0;
      channel[i] = 0.8 * noise * std::exp(-double(i % 2205) / 200.0);
    }
  return signal;
}

// A driver of the linked-in module, registered and with one started instance.
class OpenDriver : public aaxhost::HostDriver
{
public:
  explicit OpenDriver(double sampleRate = 48000.0, int channels = 2) : HostDriver(LinkedEntryPoints())
  {
    std::string error;
    EXPECT_TRUE(Register(error) && Open(sampleRate, channels, error)) << error;
  }
  IPlugAAX* Plug() const { return PlugOf(Parameters()); }
};

}  // namespace aaxtest
