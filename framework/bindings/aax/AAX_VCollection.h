#pragma once

#include "framework/bindings/aax/HostRef.h"
#include "sdk/aax/HostCollectionInterface.h"

#include <memory>
#include <vector>

// Typed access to the host's description objects while the module registers its effect.
// Each wrapper creates its host object through the component factory of the host object it
// is given, forwards its operations unchanged, answers -20004 when its first interface is
// missing and -20009 when its second is, and owns the wrappers it creates. Operations named
// UnusedN forward to host operation N and are never called.

class AAX_IPropertyMap
{
public:
  virtual ~AAX_IPropertyMap() = default;
  virtual bool ReadProperty(uint32_t number, uint32_t* value) const = 0;
  virtual ACFResult StoreProperty(uint32_t number, uint32_t value) = 0;
  virtual ACFResult Unused5(ACFWord a) = 0;
  virtual ACFResult Unused6(ACFWord a, ACFWord b, ACFWord c) = 0;
  virtual bool Unused7(ACFWord a, ACFWord b, ACFWord c) = 0;
};

class AAX_IComponentDescriptor
{
public:
  virtual ~AAX_IComponentDescriptor() = default;
  virtual ACFResult Unused3() = 0;
  virtual ACFResult DeclareAudioInput(uint32_t field) = 0;
  virtual ACFResult DeclareAudioOutput(uint32_t field) = 0;
  virtual ACFResult DeclareBufferLength(uint32_t field) = 0;
  virtual ACFResult Unused8(ACFWord a) = 0;
  virtual ACFResult Unused9(ACFWord a) = 0;
  virtual ACFResult Unused10(ACFWord a) = 0;
  virtual ACFResult Unused11(ACFWord a, ACFWord b, ACFWord c) = 0;
  virtual ACFResult DeclareAuxStem(uint32_t field, uint32_t stemFormat, const char* name) = 0;
  virtual ACFResult DeclarePrivateData(uint32_t field, uint32_t size, uint32_t options) = 0;
  virtual ACFResult Unused19(ACFWord a, ACFWord b) = 0;
  virtual ACFResult Unused14(ACFWord a, ACFWord b) = 0;
  virtual ACFResult DeclareMeters(uint32_t field, const uint32_t* meterIds, uint32_t count) = 0;
  virtual ACFResult DeclareMidiNode(uint32_t field, uint32_t kind, const char* name, uint32_t mask) = 0;
  virtual ACFResult Unused4(ACFWord a, ACFWord b) = 0;
  virtual AAX_IPropertyMap* CreatePropertyMap() = 0;
  virtual AAX_IPropertyMap* CopyPropertyMap(const AAX_IPropertyMap* source) = 0;
  virtual ACFResult RegisterProcessProcedure(ACFProcedure procedure, AAX_IPropertyMap* properties, void* extra1,
                                             void* extra2, void* extra3) = 0;
  virtual ACFResult Unused17(ACFWord a, ACFWord b, AAX_IPropertyMap* properties, ACFWord c, ACFWord d, ACFWord e) = 0;
};

class AAX_IEffectDescriptor
{
public:
  virtual ~AAX_IEffectDescriptor() = default;
  virtual AAX_IComponentDescriptor* CreateComponentDescriptor() = 0;
  virtual ACFResult AttachComponent(AAX_IComponentDescriptor* component) = 0;
  virtual ACFResult AppendEffectName(const char* name) = 0;
  virtual ACFResult AppendCategory(uint32_t category) = 0;
  virtual ACFResult Unused6(ACFWord a, ACFWord b) = 0;
  virtual ACFResult RegisterProcedure(ACFProcedure procedure, uint32_t procedureId) = 0;
  virtual AAX_IPropertyMap* CreatePropertyMap() = 0;
  virtual ACFResult Unused8(AAX_IPropertyMap* properties) = 0;
  virtual ACFResult Unused9(ACFWord a, ACFWord b) = 0;
  virtual ACFResult Unused10(ACFWord a, ACFWord b, AAX_IPropertyMap* properties) = 0;
  virtual ACFResult Unused11(ACFWord a, ACFWord b, ACFWord c, ACFWord d) = 0;
};

class AAX_ICollection
{
public:
  virtual ~AAX_ICollection() = default;
  virtual AAX_IEffectDescriptor* CreateEffectDescriptor() = 0;
  virtual ACFResult RegisterEffect(const char* effectId, AAX_IEffectDescriptor* effect) = 0;
  virtual ACFResult AppendMakerName(const char* name) = 0;
  virtual ACFResult AppendBundleName(const char* name) = 0;
  virtual ACFResult StoreBundleVersion(uint32_t version) = 0;
  virtual AAX_IPropertyMap* CreatePropertyMap() = 0;
  virtual ACFResult AttachPropertyMap(AAX_IPropertyMap* properties) = 0;
};

class AAX_VPropertyMap : public AAX_IPropertyMap
{
public:
  explicit AAX_VPropertyMap(IACFUnknown* hostObject);
  ~AAX_VPropertyMap() override;

  bool ReadProperty(uint32_t number, uint32_t* value) const override;
  ACFResult StoreProperty(uint32_t number, uint32_t value) override;
  ACFResult Unused5(ACFWord a) override;
  ACFResult Unused6(ACFWord a, ACFWord b, ACFWord c) override;
  bool Unused7(ACFWord a, ACFWord b, ACFWord c) override;

  HostPropertyMapInterface* HostInterface() const { return mFirst.Get(); }

private:
  HostRef<HostPropertyMapInterface> mFirst;
  HostRef<HostPropertyMapInterface2> mSecond;
};

class AAX_VComponentDescriptor : public AAX_IComponentDescriptor
{
public:
  // Properties the copy looks for, both ends included.
  static constexpr uint32_t kFirstProperty = 10;
  static constexpr uint32_t kLastProperty = 351;

  explicit AAX_VComponentDescriptor(IACFUnknown* hostObject);
  ~AAX_VComponentDescriptor() override;

  ACFResult Unused3() override;
  ACFResult DeclareAudioInput(uint32_t field) override;
  ACFResult DeclareAudioOutput(uint32_t field) override;
  ACFResult DeclareBufferLength(uint32_t field) override;
  ACFResult Unused8(ACFWord a) override;
  ACFResult Unused9(ACFWord a) override;
  ACFResult Unused10(ACFWord a) override;
  ACFResult Unused11(ACFWord a, ACFWord b, ACFWord c) override;
  ACFResult DeclareAuxStem(uint32_t field, uint32_t stemFormat, const char* name) override;
  ACFResult DeclarePrivateData(uint32_t field, uint32_t size, uint32_t options) override;
  ACFResult Unused19(ACFWord a, ACFWord b) override;
  ACFResult Unused14(ACFWord a, ACFWord b) override;
  ACFResult DeclareMeters(uint32_t field, const uint32_t* meterIds, uint32_t count) override;
  ACFResult DeclareMidiNode(uint32_t field, uint32_t kind, const char* name, uint32_t mask) override;
  ACFResult Unused4(ACFWord a, ACFWord b) override;
  AAX_IPropertyMap* CreatePropertyMap() override;
  AAX_IPropertyMap* CopyPropertyMap(const AAX_IPropertyMap* source) override;
  ACFResult RegisterProcessProcedure(ACFProcedure procedure, AAX_IPropertyMap* properties, void* extra1, void* extra2,
                                     void* extra3) override;
  ACFResult Unused17(ACFWord a, ACFWord b, AAX_IPropertyMap* properties, ACFWord c, ACFWord d, ACFWord e) override;

  HostComponentDescriptorInterface* HostInterface() const { return mFirst.Get(); }

private:
  HostRef<IACFUnknown> mHostObject;
  HostRef<HostComponentDescriptorInterface> mFirst;
  HostRef<HostComponentDescriptorInterface2> mSecond;
  std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};

class AAX_VEffectDescriptor : public AAX_IEffectDescriptor
{
public:
  explicit AAX_VEffectDescriptor(IACFUnknown* hostObject);
  ~AAX_VEffectDescriptor() override;

  AAX_IComponentDescriptor* CreateComponentDescriptor() override;
  ACFResult AttachComponent(AAX_IComponentDescriptor* component) override;
  ACFResult AppendEffectName(const char* name) override;
  ACFResult AppendCategory(uint32_t category) override;
  ACFResult Unused6(ACFWord a, ACFWord b) override;
  ACFResult RegisterProcedure(ACFProcedure procedure, uint32_t procedureId) override;
  AAX_IPropertyMap* CreatePropertyMap() override;
  ACFResult Unused8(AAX_IPropertyMap* properties) override;
  ACFResult Unused9(ACFWord a, ACFWord b) override;
  ACFResult Unused10(ACFWord a, ACFWord b, AAX_IPropertyMap* properties) override;
  ACFResult Unused11(ACFWord a, ACFWord b, ACFWord c, ACFWord d) override;

  HostEffectDescriptorInterface* HostInterface() const { return mFirst.Get(); }

private:
  HostRef<IACFUnknown> mHostObject;
  HostRef<HostEffectDescriptorInterface> mFirst;
  HostRef<HostEffectDescriptorInterface2> mSecond;
  std::vector<std::unique_ptr<AAX_VComponentDescriptor>> mComponents;
  std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};

class AAX_VCollection : public AAX_ICollection
{
public:
  explicit AAX_VCollection(IACFUnknown* hostObject);
  ~AAX_VCollection() override;

  AAX_IEffectDescriptor* CreateEffectDescriptor() override;
  ACFResult RegisterEffect(const char* effectId, AAX_IEffectDescriptor* effect) override;
  ACFResult AppendMakerName(const char* name) override;
  ACFResult AppendBundleName(const char* name) override;
  ACFResult StoreBundleVersion(uint32_t version) override;
  AAX_IPropertyMap* CreatePropertyMap() override;
  ACFResult AttachPropertyMap(AAX_IPropertyMap* properties) override;

  HostCollectionInterface* HostInterface() const { return mFirst.Get(); }

private:
  HostRef<IACFUnknown> mHostObject;
  HostRef<HostCollectionInterface> mFirst;
  std::vector<std::unique_ptr<AAX_VEffectDescriptor>> mEffects;
  std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
