// The effect as the module describes it to the host: names, channel configurations with
// their render contexts and properties, and the procedures the host calls back.
#include "framework/bindings/aax/AAX_EffectDescription.h"

#include "framework/bindings/aax/AAX_CIPlugParameters.h"
#include "framework/core/PlugTrace.h"

#include <cstdio>
#include <string>

namespace {
// Property numbers of a component's property map.
constexpr uint32_t kPropertyHostFlag56 = 56;
constexpr uint32_t kPropertyInputStem = 51;
constexpr uint32_t kPropertyOutputStem = 52;
constexpr uint32_t kPropertyHostFlag60 = 60;
constexpr uint32_t kPropertyManufacturer = 11;
constexpr uint32_t kPropertyProduct = 12;
constexpr uint32_t kPropertyNativeType = 13;
constexpr uint32_t kPropertyAudioSuiteType = 14;

// Four bytes of private data: what a field holds when the effect does not use it.
constexpr uint32_t kPrivateWordBytes = 4;

// Calls take(line) for every line of a list of lines ended by "\n"; an empty line ends the list.
template <typename Take>
void ForEachLine(const char* lines, Take take)
{
  const std::string all = lines ? lines : "";
  for (size_t start = 0; start < all.size();)
  {
    const size_t end = all.find('\n', start);
    const std::string line = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (line.empty())
      break;
    take(line.c_str());
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
}

ACFResult DeclareNode(AAX_IComponentDescriptor* component, uint32_t field, uint32_t kind,
                      const EffectSetupInfo::Node& node)
{
  if (node.enabled)
    return component->DeclareMidiNode(field, kind, node.name, node.mask);
  return component->DeclarePrivateData(field, kPrivateWordBytes, 0);
}

ACFResult StoreProperties(AAX_IPropertyMap* props, const EffectSetupInfo& setup)
{
  ACFResult result = props->StoreProperty(kPropertyHostFlag56, setup.property56);
  result |= props->StoreProperty(kPropertyInputStem, setup.inputStemFormat);
  result |= props->StoreProperty(kPropertyOutputStem, setup.outputStemFormat);
  result |= props->StoreProperty(kPropertyHostFlag60, setup.property60);
  result |= props->StoreProperty(kPropertyManufacturer, setup.manufacturerId);
  result |= props->StoreProperty(kPropertyProduct, setup.productId);
  result |= props->StoreProperty(kPropertyNativeType, setup.nativeTypeId);
  if (setup.audioSuiteTypeId != FourCC("none"))
    result |= props->StoreProperty(kPropertyAudioSuiteType, setup.audioSuiteTypeId);
  return result;
}

EffectSetupInfo SetupFor(const AAX_PlugDescription& plug, int inputs, int outputs, int configuration)
{
  EffectSetupInfo setup;
  setup.inputMidi = {true, plug.midiNodeName, 1};
  setup.transport.enabled = true;
  setup.inputStemFormat = StemFormatForChannels(inputs);
  setup.outputStemFormat = StemFormatForChannels(outputs);
  setup.manufacturerId = plug.manufacturerId;
  setup.productId = plug.productId;
  setup.nativeTypeId = plug.typeIds[configuration].native;
  setup.audioSuiteTypeId = plug.typeIds[configuration].audioSuite;
  return setup;
}

// One component per "%d-%d" token of the configuration text; tokens that are not two
// numbers are skipped, and configurations beyond the type-id table are not described.
ACFResult DescribeConfigurations(AAX_IEffectDescriptor* effect, const AAX_PlugDescription& plug)
{
  ACFResult result = kAAX_Success;
  const std::string text = plug.channelIO ? plug.channelIO : "";
  int configuration = 0;
  for (size_t start = text.find_first_not_of(' '); start != std::string::npos && configuration < plug.typeIdCount;
       start = text.find_first_not_of(' ', start))
  {
    const size_t end = text.find(' ', start);
    const std::string token = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end;
    int inputs = 0;
    int outputs = 0;
    if (std::sscanf(token.c_str(), "%d-%d", &inputs, &outputs) != 2)
      continue;
    if (inputs < 1)
      inputs = 1;
    TQ_TRACE("DescribeConfigurations", "***** inputs %d *****", inputs);
    result |= AAX_CIPlugParameters::BuildComponent(effect, SetupFor(plug, inputs, outputs, configuration));
    ++configuration;
  }
  return result;
}
}  // namespace

uint32_t StemFormatForChannels(int channels)
{
  static constexpr uint32_t kFormats[] = {0x00000001, 0x00010002, 0x00020003, 0x00040004,
                                          0x00050005, 0x00060006, 0x00080007, 0x000C0008};
  if (channels < 1 || channels > int(sizeof kFormats / sizeof kFormats[0]))
    return 0xFF9C0000;
  return kFormats[channels - 1];
}

ACFResult AAX_CIPlugParameters::BuildComponent(AAX_IEffectDescriptor* effect, const EffectSetupInfo& setup)
{
  AAX_IComponentDescriptor* component = effect->CreateComponentDescriptor();
  ACFResult result = DeclareNode(component, kAAX_FieldGlobalMidi, kAAX_NodeMidiGlobal, setup.globalMidi);
  result |= DeclareNode(component, kAAX_FieldMidiIn, kAAX_NodeMidiInput, setup.inputMidi);
  result |= DeclareNode(component, kAAX_FieldTransport, kAAX_NodeTransport, setup.transport);
  result |= component->DeclareAudioInput(kAAX_FieldAudioIn);
  result |= component->DeclareAudioOutput(kAAX_FieldAudioOut);
  result |= component->DeclareBufferLength(kAAX_FieldBufferLength);
  if (setup.meterCount >= 1)
    result |= component->DeclareMeters(kAAX_FieldMeters, setup.meterIds, setup.meterCount);
  else
    result |= component->DeclarePrivateData(kAAX_FieldMeters, kPrivateWordBytes, 0);
  for (int i = 0; i < setup.auxStemCount && i < EffectSetupInfo::kMaxAuxStems; ++i)
    result |= component->DeclareAuxStem(0, setup.auxStems[i].stemFormat, setup.auxStems[i].name);
  // The instance field holds an address.
  result |= component->DeclarePrivateData(kAAX_FieldInstance, sizeof(void*), 0);
  AAX_IPropertyMap* props = component->CreatePropertyMap();
  result |= StoreProperties(props, setup);
  // Typed first, so that a render entry of another calling convention does not compile.
  const AAX_RenderProcedure render = &RenderEntry;
  result |=
    component->RegisterProcessProcedure(reinterpret_cast<ACFProcedure>(render), props, nullptr, nullptr, nullptr);
  result |= effect->AttachComponent(component);
  return result;
}

ACFResult DescribeEffect(AAX_ICollection* collection, const AAX_PlugDescription& plug)
{
  AAX_IEffectDescriptor* effect = collection->CreateEffectDescriptor();
  if (!effect)
    return kAAX_ErrMissingInterface;
  ACFResult result = kAAX_Success;
  ForEachLine(plug.effectNames, [&](const char* name) {
    result |= effect->AppendEffectName(name);
    collection->AppendBundleName(name);
  });
  result |= effect->AppendCategory(plug.category);
  result |= DescribeConfigurations(effect, plug);
  result |= effect->RegisterProcedure(reinterpret_cast<ACFProcedure>(plug.createParameters), kAAX_ProcEffectParameters);
  result |= effect->RegisterProcedure(reinterpret_cast<ACFProcedure>(plug.createGUI), kAAX_ProcEffectGUI);
  if (result == kAAX_Success)
    result = collection->RegisterEffect(plug.effectId, effect);
  ForEachLine(plug.makerNames, [&](const char* name) { collection->AppendMakerName(name); });
  collection->StoreBundleVersion(plug.version);
  return result;
}
