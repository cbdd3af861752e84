#include "framework/bindings/aax/AAX_VCollection.h"

namespace {

// The host interface behind one of our wrappers; null for a null or foreign wrapper.
template <typename Wrapper, typename Interface>
auto HostSide(Interface* wrapper) -> decltype(static_cast<Wrapper*>(nullptr)->HostInterface())
{
  const auto* ours = dynamic_cast<const Wrapper*>(wrapper);
  return ours ? ours->HostInterface() : nullptr;
}

template <typename Wrapper, typename Interface>
Interface* Keep(std::vector<std::unique_ptr<Wrapper>>& made, std::unique_ptr<Wrapper> wrapper)
{
  made.push_back(std::move(wrapper));
  return made.back().get();
}
}  // namespace

// ---- AAX_VPropertyMap ----------------------------------------------------------------------

AAX_VPropertyMap::AAX_VPropertyMap(IACFUnknown* hostObject)
{
  CreateThroughFactory(hostObject, HostPropertyMapInterface::kCLSID, mFirst);
  mSecond.QueryFrom(mFirst.Get());
}

AAX_VPropertyMap::~AAX_VPropertyMap() = default;

bool AAX_VPropertyMap::ReadProperty(uint32_t number, uint32_t* value) const
{
  return mFirst.CallOr(false, &HostPropertyMapInterface::ReadProperty, number, value);
}
ACFResult AAX_VPropertyMap::StoreProperty(uint32_t number, uint32_t value)
{
  return mFirst.CallOr(kNoFirst, &HostPropertyMapInterface::StoreProperty, number, value);
}
ACFResult AAX_VPropertyMap::Unused5(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &HostPropertyMapInterface::Unused5, a);
}
ACFResult AAX_VPropertyMap::Unused6(ACFWord a, ACFWord b, ACFWord c)
{
  return mSecond.CallOr(kNoSecond, &HostPropertyMapInterface2::Unused6, a, b, c);
}
bool AAX_VPropertyMap::Unused7(ACFWord a, ACFWord b, ACFWord c)
{
  return mSecond.CallOr(false, &HostPropertyMapInterface2::Unused7, a, b, c);
}

// ---- AAX_VComponentDescriptor ----------------------------------------------------------------

namespace {
using C1 = HostComponentDescriptorInterface;
using C2 = HostComponentDescriptorInterface2;
}  // namespace

AAX_VComponentDescriptor::AAX_VComponentDescriptor(IACFUnknown* hostObject)
{
  mHostObject.Retain(hostObject);
  CreateThroughFactory(hostObject, C1::kCLSID, mFirst);
  mSecond.QueryFrom(mFirst.Get());
}

AAX_VComponentDescriptor::~AAX_VComponentDescriptor() = default;

ACFResult AAX_VComponentDescriptor::Unused3()
{
  return mFirst.CallOr(kNoFirst, &C1::Unused3);
}
ACFResult AAX_VComponentDescriptor::DeclareAudioInput(uint32_t field)
{
  return mFirst.CallOr(kNoFirst, &C1::DeclareAudioInput, field);
}
ACFResult AAX_VComponentDescriptor::DeclareAudioOutput(uint32_t field)
{
  return mFirst.CallOr(kNoFirst, &C1::DeclareAudioOutput, field);
}
ACFResult AAX_VComponentDescriptor::DeclareBufferLength(uint32_t field)
{
  return mFirst.CallOr(kNoFirst, &C1::DeclareBufferLength, field);
}
ACFResult AAX_VComponentDescriptor::Unused8(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &C1::Unused8, a);
}
ACFResult AAX_VComponentDescriptor::Unused9(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &C1::Unused9, a);
}
ACFResult AAX_VComponentDescriptor::Unused10(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &C1::Unused10, a);
}
ACFResult AAX_VComponentDescriptor::Unused11(ACFWord a, ACFWord b, ACFWord c)
{
  return mFirst.CallOr(kNoFirst, &C1::Unused11, a, b, c);
}
ACFResult AAX_VComponentDescriptor::DeclareAuxStem(uint32_t field, uint32_t stemFormat, const char* name)
{
  return mFirst.CallOr(kNoFirst, &C1::DeclareAuxStem, field, stemFormat, name);
}
ACFResult AAX_VComponentDescriptor::DeclarePrivateData(uint32_t field, uint32_t size, uint32_t options)
{
  return mFirst.CallOr(kNoFirst, &C1::DeclarePrivateData, field, size, options);
}
ACFResult AAX_VComponentDescriptor::Unused19(ACFWord a, ACFWord b)
{
  return mSecond.CallOr(kNoSecond, &C2::Unused19, a, b);
}
ACFResult AAX_VComponentDescriptor::Unused14(ACFWord a, ACFWord b)
{
  return mFirst.CallOr(kNoFirst, &C1::Unused14, a, b);
}
ACFResult AAX_VComponentDescriptor::DeclareMeters(uint32_t field, const uint32_t* meterIds, uint32_t count)
{
  return mFirst.CallOr(kNoFirst, &C1::DeclareMeters, field, meterIds, count);
}
ACFResult AAX_VComponentDescriptor::DeclareMidiNode(uint32_t field, uint32_t kind, const char* name, uint32_t mask)
{
  return mFirst.CallOr(kNoFirst, &C1::DeclareMidiNode, field, kind, name, mask);
}
ACFResult AAX_VComponentDescriptor::Unused4(ACFWord a, ACFWord b)
{
  return mFirst.CallOr(kNoFirst, &C1::Unused4, a, b);
}

AAX_IPropertyMap* AAX_VComponentDescriptor::CreatePropertyMap()
{
  return Keep<AAX_VPropertyMap, AAX_IPropertyMap>(mPropertyMaps, std::make_unique<AAX_VPropertyMap>(mHostObject.Get()));
}

AAX_IPropertyMap* AAX_VComponentDescriptor::CopyPropertyMap(const AAX_IPropertyMap* source)
{
  if (!source)
    return nullptr;
  AAX_IPropertyMap* copy = CreatePropertyMap();
  for (uint32_t number = kFirstProperty; number <= kLastProperty; ++number)
  {
    uint32_t value = 0;
    if (source->ReadProperty(number, &value))
      copy->StoreProperty(number, value);
  }
  return copy;
}

ACFResult AAX_VComponentDescriptor::RegisterProcessProcedure(ACFProcedure procedure, AAX_IPropertyMap* properties,
                                                             void* extra1, void* extra2, void* extra3)
{
  return mFirst.CallOr(kNoFirst, &C1::RegisterProcessProcedure, procedure, HostSide<AAX_VPropertyMap>(properties),
                       extra1, extra2, extra3);
}

ACFResult AAX_VComponentDescriptor::Unused17(ACFWord a, ACFWord b, AAX_IPropertyMap* properties, ACFWord c, ACFWord d,
                                             ACFWord e)
{
  return mFirst.CallOr(kNoFirst, &C1::Unused17, a, b, HostSide<AAX_VPropertyMap>(properties), c, d, e);
}

// ---- AAX_VEffectDescriptor -------------------------------------------------------------------

namespace {
using E1 = HostEffectDescriptorInterface;
using E2 = HostEffectDescriptorInterface2;
}  // namespace

AAX_VEffectDescriptor::AAX_VEffectDescriptor(IACFUnknown* hostObject)
{
  mHostObject.Retain(hostObject);
  CreateThroughFactory(hostObject, E1::kCLSID, mFirst);
  mSecond.QueryFrom(mFirst.Get());
}

AAX_VEffectDescriptor::~AAX_VEffectDescriptor() = default;

AAX_IComponentDescriptor* AAX_VEffectDescriptor::CreateComponentDescriptor()
{
  return Keep<AAX_VComponentDescriptor, AAX_IComponentDescriptor>(
    mComponents, std::make_unique<AAX_VComponentDescriptor>(mHostObject.Get()));
}

ACFResult AAX_VEffectDescriptor::AttachComponent(AAX_IComponentDescriptor* component)
{
  return mFirst.CallOr(kNoFirst, &E1::AttachComponent, HostSide<AAX_VComponentDescriptor>(component));
}
ACFResult AAX_VEffectDescriptor::AppendEffectName(const char* name)
{
  return mFirst.CallOr(kNoFirst, &E1::AppendEffectName, name);
}
ACFResult AAX_VEffectDescriptor::AppendCategory(uint32_t category)
{
  return mFirst.CallOr(kNoFirst, &E1::AppendCategory, category);
}
ACFResult AAX_VEffectDescriptor::Unused6(ACFWord a, ACFWord b)
{
  return mFirst.CallOr(kNoFirst, &E1::Unused6, a, b);
}
ACFResult AAX_VEffectDescriptor::RegisterProcedure(ACFProcedure procedure, uint32_t procedureId)
{
  return mFirst.CallOr(kNoFirst, &E1::RegisterProcedure, procedure, procedureId);
}

AAX_IPropertyMap* AAX_VEffectDescriptor::CreatePropertyMap()
{
  return Keep<AAX_VPropertyMap, AAX_IPropertyMap>(mPropertyMaps, std::make_unique<AAX_VPropertyMap>(mHostObject.Get()));
}

ACFResult AAX_VEffectDescriptor::Unused8(AAX_IPropertyMap* properties)
{
  return mFirst.CallOr(kNoFirst, &E1::Unused8, HostSide<AAX_VPropertyMap>(properties));
}
ACFResult AAX_VEffectDescriptor::Unused9(ACFWord a, ACFWord b)
{
  return mFirst.CallOr(kNoFirst, &E1::Unused9, a, b);
}
ACFResult AAX_VEffectDescriptor::Unused10(ACFWord a, ACFWord b, AAX_IPropertyMap* properties)
{
  return mFirst.CallOr(kNoFirst, &E1::Unused10, a, b, HostSide<AAX_VPropertyMap>(properties));
}
ACFResult AAX_VEffectDescriptor::Unused11(ACFWord a, ACFWord b, ACFWord c, ACFWord d)
{
  return mSecond.CallOr(kNoSecond, &E2::Unused11, a, b, c, d);
}

// ---- AAX_VCollection -------------------------------------------------------------------------

AAX_VCollection::AAX_VCollection(IACFUnknown* hostObject)
{
  mHostObject.Retain(hostObject);
  CreateThroughFactory(hostObject, HostCollectionInterface::kCLSID, mFirst);
}

AAX_VCollection::~AAX_VCollection() = default;

AAX_IEffectDescriptor* AAX_VCollection::CreateEffectDescriptor()
{
  return Keep<AAX_VEffectDescriptor, AAX_IEffectDescriptor>(mEffects,
                                                            std::make_unique<AAX_VEffectDescriptor>(mHostObject.Get()));
}

ACFResult AAX_VCollection::RegisterEffect(const char* effectId, AAX_IEffectDescriptor* effect)
{
  if (!effect)
    return kNoFirst;
  return mFirst.CallOr(kNoFirst, &HostCollectionInterface::RegisterEffect, effectId,
                       HostSide<AAX_VEffectDescriptor>(effect));
}
ACFResult AAX_VCollection::AppendMakerName(const char* name)
{
  return mFirst.CallOr(kNoFirst, &HostCollectionInterface::AppendMakerName, name);
}
ACFResult AAX_VCollection::AppendBundleName(const char* name)
{
  return mFirst.CallOr(kNoFirst, &HostCollectionInterface::AppendBundleName, name);
}
ACFResult AAX_VCollection::StoreBundleVersion(uint32_t version)
{
  return mFirst.CallOr(kNoFirst, &HostCollectionInterface::StoreBundleVersion, version);
}

AAX_IPropertyMap* AAX_VCollection::CreatePropertyMap()
{
  return Keep<AAX_VPropertyMap, AAX_IPropertyMap>(mPropertyMaps, std::make_unique<AAX_VPropertyMap>(mHostObject.Get()));
}

ACFResult AAX_VCollection::AttachPropertyMap(AAX_IPropertyMap* properties)
{
  return mFirst.CallOr(kNoFirst, &HostCollectionInterface::AttachPropertyMap, HostSide<AAX_VPropertyMap>(properties));
}
