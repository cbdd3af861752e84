#include "modules/TarvexQuoxelVst2Entry.h"

#include "effect/TarvexQuoxel.h"

vst2::AEffect* VST2_CALLBACK VSTPluginMain(vst2::AudioMasterCallback audioMaster)
{
  return IPlugVST::Create([audioMaster] { return NewTarvexQuoxel(audioMaster); });
}
