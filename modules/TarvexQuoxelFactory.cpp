// The module's factory: one audio-effect class whose instances are TarvexQuoxel objects.
#include "modules/TarvexQuoxelFactory.h"

#include "effect/TarvexQuoxel.h"
#include "sdk/vst3/CPluginFactory.h"
#include "sdk/vst3/ModuleEntry.h"

namespace tarvexquoxel {
const vst3::TUID kClassId = TQ_VST3_UID(0xF2AEE70Du, 0x00DE4F4Eu, 0x54767872u, 0x51786C73u);
}  // namespace tarvexquoxel

namespace {
void RegisterClasses(vst3::CPluginFactory& factory)
{
  static const vst3::PClassInfo2 info =
    vst3::makeClassInfo2(tarvexquoxel::kClassId, vst3::kManyInstances, vst3::kVstAudioEffectClass, "TarvexQuoxel",
                         vst3::kSimpleModeSupported, "Fx|Dynamics", "", "1.0.4", "VST 3.5.2");
  factory.registerClass(&info, &CreateTarvexQuoxelProcessor, nullptr);
}
}  // namespace

vst3::FUnknown* CreateTarvexQuoxelProcessor(void* context)
{
  TarvexQuoxel* plug = NewTarvexQuoxel(context);
  return plug ? static_cast<vst3::IAudioProcessor*>(plug) : nullptr;
}

extern "C" TQ_VST3_EXPORT vst3::IPluginFactory* PLUGIN_API GetPluginFactory()
{
  static const vst3::PFactoryInfo info =
    vst3::makeFactoryInfo("Tarvex", "https://tarvex.example", "support@tarvex.example", vst3::PFactoryInfo::kUnicode);
  return vst3::CPluginFactory::obtain(info, &RegisterClasses);
}
