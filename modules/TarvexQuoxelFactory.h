#pragma once

#include "sdk/vst3/IPluginFactory.h"

// The VST3 module's one class: its id, and the factory's create callback for it.
namespace tarvexquoxel {
// Words 0xF2AEE70D, 0x00DE4F4E, 'Tvxr', 'Qxls'; in the Windows modules the bytes are
// 0D E7 AE F2 DE 00 4E 4F 'T' 'v' 'x' 'r' 'Q' 'x' 'l' 's'.
extern const vst3::TUID kClassId;
}  // namespace tarvexquoxel

// Makes one plug-in object and returns it with the creator's reference, or null.
vst3::FUnknown* CreateTarvexQuoxelProcessor(void* context);
