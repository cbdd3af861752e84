// The host's description interfaces, which the module uses while it registers its effect:
// the component factory of the host object, the collection, effect and component
// descriptors, property maps, and the host services. Each descriptor class is created
// through the factory by its class id; a second interface extends the first and continues
// its numbering. Operations named UnusedN are never called by the module.
#pragma once

#include "sdk/aax/ACFUnknown.h"

class HostComponentFactoryInterface : public IACFUnknown
{
public:
  static constexpr ACFGuid kIID = {0x382B6A96, 0x7FD0, 0x11D6, {0xBC, 0xFE, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24}};

  virtual ACFResult CreateInstance(const ACFGuid& classId, IACFUnknown* outer, const ACFGuid& iid, void** out) = 0;

protected:
  ~HostComponentFactoryInterface() = default;
};

class HostPropertyMapInterface : public IACFUnknown
{
public:
  static constexpr ACFGuid kCLSID = {0xA587AD3D, 0xD53C, 0x4ADC, {0xD0, 0xDD, 0xD9, 0xD1, 0x2D, 0xDD, 0xDC, 0xDA}};
  static constexpr ACFGuid kIID = {0x96EE2C2D, 0xEECC, 0x5EFF, {0xE2, 0xD7, 0xE8, 0x49, 0xE3, 0xE2, 0xEE, 0xEE}};

  virtual bool ReadProperty(uint32_t number, uint32_t* value) = 0;
  virtual ACFResult StoreProperty(uint32_t number, uint32_t value) = 0;
  virtual ACFResult Unused5(ACFWord) = 0;

protected:
  ~HostPropertyMapInterface() = default;
};

class HostPropertyMapInterface2 : public HostPropertyMapInterface
{
public:
  static constexpr ACFGuid kIID = {0x7177DF80, 0x7C9C, 0x11E2, {0xB9, 0x2A, 0x08, 0x00, 0x20, 0x0C, 0x9A, 0x66}};

  virtual ACFResult Unused6(ACFWord, ACFWord, ACFWord) = 0;
  virtual bool Unused7(ACFWord, ACFWord, ACFWord) = 0;

protected:
  ~HostPropertyMapInterface2() = default;
};

// One channel configuration of an effect. The three trailing arguments of the process
// procedure are handed over as null; they are pointer-sized.
class HostComponentDescriptorInterface : public IACFUnknown
{
public:
  static constexpr ACFGuid kCLSID = {0x94872C3D, 0x95BC, 0x413D, {0xD0, 0xDB, 0xD9, 0xB1, 0x2A, 0xAD, 0x0C, 0xCA}};
  static constexpr ACFGuid kIID = {0x96E42C2D, 0xE2BC, 0x51EF, {0x61, 0xC7, 0x48, 0x99, 0x4A, 0xEB, 0x0C, 0xDA}};

  virtual ACFResult Unused3() = 0;
  virtual ACFResult Unused4(ACFWord, ACFWord) = 0;
  virtual ACFResult DeclareAudioInput(uint32_t field) = 0;
  virtual ACFResult DeclareAudioOutput(uint32_t field) = 0;
  virtual ACFResult DeclareBufferLength(uint32_t field) = 0;
  virtual ACFResult Unused8(ACFWord) = 0;
  virtual ACFResult Unused9(ACFWord) = 0;
  virtual ACFResult Unused10(ACFWord) = 0;
  virtual ACFResult Unused11(ACFWord, ACFWord, ACFWord) = 0;
  virtual ACFResult DeclareAuxStem(uint32_t field, uint32_t stemFormat, const char* name) = 0;
  virtual ACFResult DeclarePrivateData(uint32_t field, uint32_t size, uint32_t options) = 0;
  virtual ACFResult Unused14(ACFWord, ACFWord) = 0;
  virtual ACFResult DeclareMidiNode(uint32_t field, uint32_t kind, const char* name, uint32_t mask) = 0;
  virtual ACFResult RegisterProcessProcedure(ACFProcedure procedure, HostPropertyMapInterface* properties, void* extra1,
                                             void* extra2, void* extra3) = 0;
  virtual ACFResult Unused17(ACFWord, ACFWord, HostPropertyMapInterface*, ACFWord, ACFWord, ACFWord) = 0;
  virtual ACFResult DeclareMeters(uint32_t field, const uint32_t* meterIds, uint32_t count) = 0;

protected:
  ~HostComponentDescriptorInterface() = default;
};

class HostComponentDescriptorInterface2 : public HostComponentDescriptorInterface
{
public:
  static constexpr ACFGuid kIID = {0x1895259E, 0xAAA9, 0x4F0F, {0xA9, 0x85, 0x14, 0x98, 0x37, 0xB7, 0x6F, 0x89}};

  virtual ACFResult Unused19(ACFWord, ACFWord) = 0;

protected:
  ~HostComponentDescriptorInterface2() = default;
};

class HostEffectDescriptorInterface : public IACFUnknown
{
public:
  static constexpr ACFGuid kCLSID = {0x89872C2D, 0x75BC, 0x423F, {0x40, 0x1B, 0xF9, 0xA1, 0xBA, 0xAD, 0x0C, 0xCA}};
  static constexpr ACFGuid kIID = {0x96D42C2D, 0xEBBC, 0x41EF, {0xD1, 0xCB, 0x49, 0x94, 0x42, 0xE4, 0x0F, 0xDA}};

  virtual ACFResult AttachComponent(HostComponentDescriptorInterface* component) = 0;
  virtual ACFResult AppendEffectName(const char* name) = 0;
  virtual ACFResult AppendCategory(uint32_t category) = 0;
  virtual ACFResult Unused6(ACFWord, ACFWord) = 0;
  virtual ACFResult RegisterProcedure(ACFProcedure procedure, uint32_t procedureId) = 0;
  virtual ACFResult Unused8(HostPropertyMapInterface*) = 0;
  virtual ACFResult Unused9(ACFWord, ACFWord) = 0;
  virtual ACFResult Unused10(ACFWord, ACFWord, HostPropertyMapInterface*) = 0;

protected:
  ~HostEffectDescriptorInterface() = default;
};

class HostEffectDescriptorInterface2 : public HostEffectDescriptorInterface
{
public:
  static constexpr ACFGuid kIID = {0x41ECCC52, 0x416B, 0x4072, {0x84, 0xBD, 0x40, 0xB0, 0x52, 0x10, 0xA7, 0x4C}};

  virtual ACFResult Unused11(ACFWord, ACFWord, ACFWord, ACFWord) = 0;

protected:
  ~HostEffectDescriptorInterface2() = default;
};

// The registration collection. Its first four operations are never addressed.
class HostCollectionInterface : public IACFUnknown
{
public:
  static constexpr ACFGuid kCLSID = {0x89882C2D, 0x77BC, 0x42EF, {0x70, 0x7B, 0x79, 0x81, 0xB7, 0xBD, 0x0C, 0xCA}};
  static constexpr ACFGuid kIID = {0x96D42C2D, 0xEBBC, 0x41DF, {0xB1, 0xAB, 0x99, 0x91, 0xA2, 0xEE, 0x0C, 0xCA}};

  virtual ACFResult Unused3() = 0;
  virtual ACFResult Unused4() = 0;
  virtual ACFResult Unused5() = 0;
  virtual ACFResult Unused6() = 0;
  virtual ACFResult RegisterEffect(const char* effectId, HostEffectDescriptorInterface* effect) = 0;
  virtual ACFResult AppendMakerName(const char* name) = 0;
  virtual ACFResult AppendBundleName(const char* name) = 0;
  virtual ACFResult StoreBundleVersion(uint32_t version) = 0;
  virtual ACFResult AttachPropertyMap(HostPropertyMapInterface* properties) = 0;

protected:
  ~HostCollectionInterface() = default;
};

class HostServicesInterface : public IACFUnknown
{
public:
  static constexpr ACFGuid kCLSID = {0x88882C2D, 0xEBBC, 0x42EF, {0xC0, 0xAB, 0x89, 0x81, 0xB0, 0xBD, 0x0C, 0xCA}};
  static constexpr ACFGuid kIID = {0x96D42C2D, 0xEBBC, 0x41EF, {0xB0, 0xAB, 0x99, 0x91, 0xA0, 0xED, 0x0C, 0xCA}};

  virtual ACFResult Unused3(ACFWord, ACFWord, ACFWord) = 0;
  virtual ACFResult SendTrace(int32_t priority, const char* text) = 0;

protected:
  ~HostServicesInterface() = default;
};
