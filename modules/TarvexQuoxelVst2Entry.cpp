#include "modules/TarvexQuoxelVst2Entry.h"

#include "effect/TarvexQuoxel.h"

vst2::AEffect* VST2_CALLBACK VSTPluginMain(vst2::AudioMasterCallback audioMaster)
{
  TarvexQuoxel* plug = NewTarvexQuoxel(audioMaster);
  try
  {
    return IPlugVST::HandOver(plug);
  }
  catch (...)
  {
    delete plug;
    return nullptr;
  }
}
