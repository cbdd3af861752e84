// The older name of the entry, which some hosts still look for. C++ cannot declare a
// function called main that returns a record, so the symbol is named for the assembler.
// Windows modules get the same alias from their export definitions.
#include "modules/TarvexQuoxelVst2Entry.h"

extern "C" TQ_VST2_EXPORT vst2::AEffect* Vst2MainAlias(vst2::AudioMasterCallback audioMaster) __asm__("main");

vst2::AEffect* Vst2MainAlias(vst2::AudioMasterCallback audioMaster)
{
  return VSTPluginMain(audioMaster);
}
