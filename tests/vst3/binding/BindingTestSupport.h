// The plug-in as a VST3 host sees it, in-process: the module's own GetPluginFactory, driven
// through the fake host, with the plug-in object reachable for looking inside.
#pragma once

#include "effect/TarvexQuoxel.h"
#include "modules/TarvexQuoxelFactory.h"
#include "sdk/vst3/ModuleEntry.h"
#include "hosts/vst3/HostDriver.h"
#include "hosts/vst3/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace vst3binding {
using namespace vst3;
using vst3host::HostDriver;
using vst3host::MemoryStream;
using vst3host::ProcessSettings;

constexpr ParamID kBypass = IPlugVST3::kBypassParamId;
constexpr ParamID kPreset = IPlugVST3::kPresetParamId;
constexpr int kNumParams = TarvexQuoxel::kNumParams;

// One plug-in instance loaded by a host; at the end every problem the host saw fails the test
// (references left over, refused calls, writes outside buffers, non-finite output).
class Session
{
public:
  Session()
  {
    IPluginFactory* factory = GetPluginFactory();
    driver = std::make_unique<HostDriver>(factory);
    factory->release();  // the driver keeps its own reference
    EXPECT_EQ(driver->load(tarvexquoxel::kClassId), kResultOk);
  }
  ~Session()
  {
    driver->unload();
    for (const std::string& p : driver->problems())
      ADD_FAILURE() << p;
  }

  // Stereo in and out, set up and started with the given width and block.
  void Start(int32 sampleSize = kSample32, int32 maxBlock = 512, double rate = 44100.0)
  {
    ASSERT_EQ(driver->arrange({arrangement::kStereo}, {arrangement::kStereo}), kResultOk);
    ProcessSettings s;
    s.sampleSize = sampleSize;
    s.maxBlock = maxBlock;
    s.sampleRate = rate;
    ASSERT_EQ(driver->start(s), kResultOk);
  }

  TarvexQuoxel& Plug() const { return *static_cast<TarvexQuoxel*>(static_cast<IPlugVST3*>(driver->component())); }
  IEditController& Controller() const { return *driver->controller(); }
  IAudioProcessor& Processor() const { return *driver->processor(); }
  template <class I>
  I* Query() const
  {
    void* p = nullptr;
    return driver->component()->queryInterface(I::iid, &p) == kResultOk ? static_cast<I*>(p) : nullptr;
  }

  // A drum-like signal: decaying bursts every 256 frames, the same in every width.
  // Frame i of the block is frame start + i of the signal.
  void FillDrums(int frames, int start = 0)
  {
    for (int ch = 0; ch < 2; ++ch)
      for (int i = 0; i < frames; ++i)
        driver->inputs().setSample(0, ch, i, Drum(start + i, ch));
  }
  static double Drum(int i, int ch)
  {
    const int t = i % 256;
    return static_cast<float>((ch ? -0.5 : 0.5) * (1.0 - t / 256.0) * (t % 2 ? 1.0 : -1.0));
  }
  std::vector<double> Output(int ch, int frames) const
  {
    std::vector<double> out;
    for (int i = 0; i < frames; ++i)
      out.push_back(driver->outputs().sample(0, ch, i));
    return out;
  }

  std::vector<uint8_t> SaveController()
  {
    MemoryStream s;
    EXPECT_EQ(Controller().getState(&s), kResultOk);
    return s.bytes();
  }
  tresult LoadController(const std::vector<uint8_t>& bytes)
  {
    MemoryStream s(bytes);
    return Controller().setState(&s);
  }

  std::unique_ptr<HostDriver> driver;
};

inline std::vector<uint8_t> LittleEndian(double v)
{
  std::vector<uint8_t> b(8);
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  for (int i = 0; i < 8; ++i)
    b[i] = static_cast<uint8_t>(bits >> (8 * i));
  return b;
}

}  // namespace vst3binding
