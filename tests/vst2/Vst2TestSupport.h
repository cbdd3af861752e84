#pragma once

#include "framework/bindings/vst2/IPlugVST.h"
#include "hosts/vst2/HostDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vst2test {

// The shape of the next test plug-in an entry makes.
struct PlugShape
{
  int nParams = 3;
  const char* channelIO = "1-1 2-2";
  int nPresets = 3;
  const char* effectName = "TestEffect";
  const char* productName = "TestProduct";
  const char* makerName = "TestMaker";
  bool doesMidi = true;
  bool longTexts = false;  // names longer than every text cap of the interface
  bool throwInConstructor = false;
  // Called each time a preset is filled once the plug-in is constructed.
  std::function<void()> whileFillingPresets;
};

// A plug-in over the VST2 binding: parameter 0 a double of range [0, 1] shown negated,
// parameter 1 a bool, the rest doubles of range [-10, 10]. It counts change handlers
// and keeps the MIDI and sysex it was given.
class TestVstPlug : public IPlugVST
{
public:
  TestVstPlug(vst2::AudioMasterCallback host, const PlugShape& shape);

  void HandleParameterChange(int paramIdx, int cause) override;
  void HandleSysex(const SysexData* sysex) override { sysexSizes.push_back(sysex->size); }
  bool NoteNameFor(int noteNumber, char* out, int capacity) override;
  bool WriteState(StateChunk* chunk) override;

  std::vector<int> changes;  // parameter indices, in order
  std::vector<int> sysexSizes;

private:
  std::function<void()> mWhileFillingPresets;
};

// An entry making TestVstPlug objects of the shape set here.
extern PlugShape gNextShape;
vst2::AEffect* VST2_CALLBACK TestEntry(vst2::AudioMasterCallback host);

inline TestVstPlug* PlugOf(vst2::AEffect* effect)
{
  return static_cast<TestVstPlug*>(IPlugVST::FromEffect(effect));
}

// A driver of a fresh test plug-in, open at 44.1 kHz with blocks of 256.
struct TestHost
{
  explicit TestHost(const PlugShape& shape = PlugShape());
  vst2::AEffect* effect() const { return driver.Effect(); }
  TestVstPlug* plug() const { return PlugOf(driver.Effect()); }

  vst2host::HostDriver driver{&TestEntry};
};

// The whole life of a plug-in, as a host plays it: open, rate, block size, resume, float
// and double blocks of odd sizes, automation of every parameter, programs and names,
// chunks, suspend, close. Checks only what every VST2 effect must do.
void PlayWholeLife(vst2::PluginEntryProc entry);

}  // namespace vst2test
