// The AAX module's effect: the plug-in over the AAX binding, as the entry points describe it.
#include "effect/TarvexQuoxel.h"
#include "framework/bindings/aax/ACFModuleEntry.h"
#include "framework/bindings/aax/AAX_CEffectGUI.h"

#include <string>

namespace {
// The effect-parameters create procedure: a new plug-in object (reference count 0), or null.
IACFUnknown* CreateEffectParameters()
{
  try
  {
    TarvexQuoxel* plug = NewTarvexQuoxel(nullptr);
    return plug ? static_cast<AAX_IACFEffectParameters*>(plug) : nullptr;
  }
  catch (...)
  {
    return nullptr;
  }
}

// One plug-in type per channel configuration of TarvexQuoxel::kChannelIO.
constexpr AAX_PlugDescription::TypeIds kTypeIds[] = {
  {FourCC("EFN1"), FourCC("EFA1")},
  {FourCC("EFN2"), FourCC("EFA2")},
};
constexpr uint32_t kEffectCategory = 2;
}  // namespace

const AAX_PlugDescription& ModulePlugDescription()
{
  static const std::string names = std::string(TarvexQuoxel::kEffectName) + "\n";
  static const std::string makers = std::string(TarvexQuoxel::kMakerName) + "\n";
  static const std::string effectId =
    std::string("com.") + TarvexQuoxel::kMakerName + ".aax." + TarvexQuoxel::kEffectName;
  static const std::string midiNode = std::string(TarvexQuoxel::kEffectName) + " Midi";
  static const AAX_PlugDescription description = {
    names.c_str(),
    makers.c_str(),
    effectId.c_str(),
    midiNode.c_str(),
    TarvexQuoxel::kChannelIO,
    kEffectCategory,
    uint32_t(TarvexQuoxel::kMakerId),
    uint32_t(TarvexQuoxel::kUniqueId),
    uint32_t(TarvexQuoxel::kVersion),
    kTypeIds,
    int(sizeof kTypeIds / sizeof kTypeIds[0]),
    CreateEffectParameters,
    CreateEffectGUI,
  };
  return description;
}
