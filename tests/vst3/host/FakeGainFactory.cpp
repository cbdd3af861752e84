#include "tests/vst3/host/FakeGainFactory.h"

#include "tests/vst3/host/FakeGainEffect.h"

namespace fakegain {
namespace {

void registerClasses(vst3::CPluginFactory& factory)
{
  const char* sdkVersion = FakeGainEffect::faultsForNewInstances().claimsNewSdk ? "VST 3.7.14" : "VST 3.5.2";
  const vst3::PClassInfo2 info =
    vst3::makeClassInfo2(kClassId, vst3::kManyInstances, vst3::kVstAudioEffectClass, "Fake Gain",
                         vst3::kSimpleModeSupported, "Fx", "", "1.0.0", sdkVersion);
  factory.registerClass(&info, &FakeGainEffect::create);
}

}  // namespace

vst3::IPluginFactory* obtainFactory()
{
  static const vst3::PFactoryInfo info =
    vst3::makeFactoryInfo("Tarvex Test", "https://tarvex.invalid", "test@tarvex.invalid", vst3::PFactoryInfo::kUnicode);
  return vst3::CPluginFactory::obtain(info, &registerClasses);
}

}  // namespace fakegain
