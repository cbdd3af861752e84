#include "hosts/aax/RegistrationHost.h"

namespace aaxhost {

namespace {
const void* Ptr(const void* pointer)
{
  return pointer;
}
const void* Ptr(ACFProcedure procedure)
{
  return reinterpret_cast<const void*>(procedure);
}

class CollectionFace : public HostFace<HostCollectionInterface>
{
public:
  using HostFace::HostFace;
  ACFResult Unused3() override { return Record("Unused3"); }
  ACFResult Unused4() override { return Record("Unused4"); }
  ACFResult Unused5() override { return Record("Unused5"); }
  ACFResult Unused6() override { return Record("Unused6"); }
  ACFResult RegisterEffect(const char* effectId, HostEffectDescriptorInterface* effect) override
  {
    return Record("RegisterEffect", effectId, Ptr(effect));
  }
  ACFResult AppendMakerName(const char* name) override { return Record("AppendMakerName", name); }
  ACFResult AppendBundleName(const char* name) override { return Record("AppendBundleName", name); }
  ACFResult StoreBundleVersion(uint32_t version) override { return Record("StoreBundleVersion", version); }
  ACFResult AttachPropertyMap(HostPropertyMapInterface* properties) override
  {
    return Record("AttachPropertyMap", Ptr(properties));
  }
};

class EffectFace : public HostFace<HostEffectDescriptorInterface2>
{
public:
  using HostFace::HostFace;
  ACFResult AttachComponent(HostComponentDescriptorInterface* component) override
  {
    return Record("AttachComponent", Ptr(component));
  }
  ACFResult AppendEffectName(const char* name) override { return Record("AppendEffectName", name); }
  ACFResult AppendCategory(uint32_t category) override { return Record("AppendCategory", category); }
  ACFResult Unused6(ACFWord a, ACFWord b) override { return Record("Unused6", a, b); }
  ACFResult RegisterProcedure(ACFProcedure procedure, uint32_t procedureId) override
  {
    const ACFResult result = Record("RegisterProcedure", Ptr(procedure), procedureId);
    if (result == kAAX_Success)
      static_cast<MadeObject&>(mOwner).procedures[procedureId] = procedure;
    return result;
  }
  ACFResult Unused8(HostPropertyMapInterface* properties) override { return Record("Unused8", Ptr(properties)); }
  ACFResult Unused9(ACFWord a, ACFWord b) override { return Record("Unused9", a, b); }
  ACFResult Unused10(ACFWord a, ACFWord b, HostPropertyMapInterface* properties) override
  {
    return Record("Unused10", a, b, Ptr(properties));
  }
  ACFResult Unused11(ACFWord a, ACFWord b, ACFWord c, ACFWord d) override { return Record("Unused11", a, b, c, d); }
};

class ComponentFace : public HostFace<HostComponentDescriptorInterface2>
{
public:
  using HostFace::HostFace;
  ACFResult Unused3() override { return Record("Unused3"); }
  ACFResult Unused4(ACFWord a, ACFWord b) override { return Record("Unused4", a, b); }
  ACFResult DeclareAudioInput(uint32_t field) override { return Record("DeclareAudioInput", field); }
  ACFResult DeclareAudioOutput(uint32_t field) override { return Record("DeclareAudioOutput", field); }
  ACFResult DeclareBufferLength(uint32_t field) override { return Record("DeclareBufferLength", field); }
  ACFResult Unused8(ACFWord a) override { return Record("Unused8", a); }
  ACFResult Unused9(ACFWord a) override { return Record("Unused9", a); }
  ACFResult Unused10(ACFWord a) override { return Record("Unused10", a); }
  ACFResult Unused11(ACFWord a, ACFWord b, ACFWord c) override { return Record("Unused11", a, b, c); }
  ACFResult DeclareAuxStem(uint32_t field, uint32_t stemFormat, const char* name) override
  {
    return Record("DeclareAuxStem", field, stemFormat, name);
  }
  ACFResult DeclarePrivateData(uint32_t field, uint32_t size, uint32_t options) override
  {
    return Record("DeclarePrivateData", field, size, options);
  }
  ACFResult Unused14(ACFWord a, ACFWord b) override { return Record("Unused14", a, b); }
  ACFResult DeclareMidiNode(uint32_t field, uint32_t kind, const char* name, uint32_t mask) override
  {
    return Record("DeclareMidiNode", field, kind, name, mask);
  }
  ACFResult RegisterProcessProcedure(ACFProcedure procedure, HostPropertyMapInterface* properties, void* extra1,
                                     void* extra2, void* extra3) override
  {
    const ACFResult result =
      Record("RegisterProcessProcedure", Ptr(procedure), Ptr(properties), Ptr(extra1), Ptr(extra2), Ptr(extra3));
    if (result == kAAX_Success)
      static_cast<MadeObject&>(mOwner).processProcedure = procedure;
    return result;
  }
  ACFResult Unused17(ACFWord a, ACFWord b, HostPropertyMapInterface* properties, ACFWord c, ACFWord d,
                     ACFWord e) override
  {
    return Record("Unused17", a, b, Ptr(properties), c, d, e);
  }
  ACFResult DeclareMeters(uint32_t field, const uint32_t* meterIds, uint32_t count) override
  {
    return Record("DeclareMeters", field, Ptr(meterIds), count);
  }
  ACFResult Unused19(ACFWord a, ACFWord b) override { return Record("Unused19", a, b); }
};

class MapFace : public HostFace<HostPropertyMapInterface2>
{
public:
  MapFace(HostObject& owner, const std::string& label, std::map<uint32_t, uint32_t>& properties)
    : HostFace(owner, label), mProperties(properties)
  {}
  bool ReadProperty(uint32_t number, uint32_t* value) override
  {
    Record("ReadProperty", number, Ptr(value));
    const auto found = mProperties.find(number);
    if (found == mProperties.end() || !value)
      return false;
    *value = found->second;
    return true;
  }
  ACFResult StoreProperty(uint32_t number, uint32_t value) override
  {
    const ACFResult result = Record("StoreProperty", number, value);
    if (result == kAAX_Success)
      mProperties[number] = value;
    return result;
  }
  ACFResult Unused5(ACFWord a) override { return Record("Unused5", a); }
  ACFResult Unused6(ACFWord a, ACFWord b, ACFWord c) override { return Record("Unused6", a, b, c); }
  bool Unused7(ACFWord a, ACFWord b, ACFWord c) override { return Record("Unused7", a, b, c) == 0; }

private:
  std::map<uint32_t, uint32_t>& mProperties;
};

class ServicesFace : public HostFace<HostServicesInterface>
{
public:
  using HostFace::HostFace;
  ACFResult Unused3(ACFWord a, ACFWord b, ACFWord c) override { return Record("Unused3", a, b, c); }
  ACFResult SendTrace(int32_t priority, const char* text) override { return Record("SendTrace", priority, text); }
};
}  // namespace

class RegistrationHost::FactoryFace : public HostFace<HostComponentFactoryInterface>
{
public:
  explicit FactoryFace(RegistrationHost& host) : HostFace(host, "Factory"), mHost(host) {}
  ACFResult CreateInstance(const ACFGuid& classId, IACFUnknown* outer, const ACFGuid& iid, void** out) override
  {
    if (const ACFResult refused = Record("CreateInstance", Ptr(outer)); refused != kAAX_Success)
      return refused;
    return mHost.CreateInstance(classId, iid, out);
  }

private:
  RegistrationHost& mHost;
};

RegistrationHost::RegistrationHost(CallLog& log)
  : HostObject(log, "Host"), mFactory(std::make_unique<FactoryFace>(*this))
{
  Offer(HostComponentFactoryInterface::kIID, mFactory.get(), "Factory");
}

RegistrationHost::~RegistrationHost() = default;

ACFResult ACF_STDCALL RegistrationHost::QueryInterface(const ACFGuid& iid, void** out)
{
  if (nullFactory && iid == HostComponentFactoryInterface::kIID && out)
  {
    Log().Add(Label() + ".QueryInterface(Factory)");
    *out = nullptr;
    return kAAX_Success;
  }
  return HostObject::QueryInterface(iid, out);
}

MadeObject* RegistrationHost::Find(const std::string& label) const
{
  for (const auto& made : mMade)
    if (made->Label() == label)
      return made.get();
  return nullptr;
}

ACFProcedure RegistrationHost::Procedure(uint32_t procedureId) const
{
  const MadeObject* effect = Find("Effect1");
  if (!effect)
    return nullptr;
  const auto found = effect->procedures.find(procedureId);
  return found != effect->procedures.end() ? found->second : nullptr;
}

ACFProcedure RegistrationHost::ProcessProcedure() const
{
  const MadeObject* component = Find("Component1");
  return component ? component->processProcedure : nullptr;
}

MadeObject& RegistrationHost::Make(const std::string& kind)
{
  const std::string label = kind + std::to_string(++mCounts[kind]);
  mMade.push_back(std::make_unique<MadeObject>(Log(), label));
  return *mMade.back();
}

ACFResult RegistrationHost::CreateInstance(const ACFGuid& classId, const ACFGuid& iid, void** out)
{
  if (!out)
    return kACF_BadPointer;
  *out = nullptr;
  MadeObject* made = nullptr;
  if (classId == HostCollectionInterface::kCLSID)
  {
    made = &Make("Collection");
    auto* face = made->AddFace<CollectionFace>(HostCollectionInterface::kIID, made->Label());
    for (const auto& [extra, label] : extraCollectionInterfaces)
      made->Offer(extra, face, label);
  }
  else if (classId == HostEffectDescriptorInterface::kCLSID)
  {
    made = &Make("Effect");
    made->AddFace<EffectFace>(HostEffectDescriptorInterface::kIID, made->Label());
    made->AddFace<EffectFace>(HostEffectDescriptorInterface2::kIID, made->Label() + "/2");
    if (withholdSecondInterfaces)
      made->Withhold(HostEffectDescriptorInterface2::kIID);
  }
  else if (classId == HostComponentDescriptorInterface::kCLSID)
  {
    made = &Make("Component");
    made->AddFace<ComponentFace>(HostComponentDescriptorInterface::kIID, made->Label());
    made->AddFace<ComponentFace>(HostComponentDescriptorInterface2::kIID, made->Label() + "/2");
    if (withholdSecondInterfaces)
      made->Withhold(HostComponentDescriptorInterface2::kIID);
  }
  else if (classId == HostPropertyMapInterface::kCLSID)
  {
    made = &Make("Map");
    made->AddFace<MapFace>(HostPropertyMapInterface::kIID, made->Label(), made->properties);
    made->AddFace<MapFace>(HostPropertyMapInterface2::kIID, made->Label() + "/2", made->properties);
    if (withholdSecondInterfaces)
      made->Withhold(HostPropertyMapInterface2::kIID);
  }
  else if (classId == HostServicesInterface::kCLSID)
  {
    made = &Make("Services");
    made->AddFace<ServicesFace>(HostServicesInterface::kIID, made->Label());
  }
  if (!made)
    return kACF_NoInterface;
  return made->QueryInterface(iid, out);
}
}  // namespace aaxhost
