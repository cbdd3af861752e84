// The module's class factory: announces the classes a module offers and creates them.
#pragma once

#include <atomic>
#include <vector>

#include "sdk/vst3/IPluginFactory.h"

namespace vst3 {

// Creates one object; returns it with one reference (the creator's), or null.
using CreateFunction = FUnknown* (*)(void* context);

// Fills the factory information; texts are cut to their field size.
PFactoryInfo makeFactoryInfo(const char* vendor, const char* url, const char* email, int32 flags);
// Fills the class information; texts are cut to their field size.
PClassInfo2 makeClassInfo2(const TUID cid, int32 cardinality, const char* category, const char* name, uint32 classFlags,
                           const char* subCategories, const char* vendor, const char* version, const char* sdkVersion);

class CPluginFactory : public IPluginFactory2
{
public:
  explicit CPluginFactory(const PFactoryInfo& info);
  CPluginFactory(const CPluginFactory&) = delete;
  CPluginFactory& operator=(const CPluginFactory&) = delete;
  virtual ~CPluginFactory();

  // Appends a class; false for a null info or function, or when memory runs out.
  bool registerClass(const PClassInfo* info, CreateFunction create, void* context = nullptr);
  bool registerClass(const PClassInfo2* info, CreateFunction create, void* context = nullptr);

  // The module's factory: the living one with a reference added for the caller, or, when
  // there is none, a new one built from `info` and given its classes by `registerClasses`.
  // Safe against concurrent first calls and against the last release racing a new call.
  // Null when building it fails (memory running out): no exception reaches the host.
  static IPluginFactory* obtain(const PFactoryInfo& info, void (*registerClasses)(CPluginFactory& factory));

  // FUnknown
  tresult PLUGIN_API queryInterface(const TUID iid_, void** obj) override;
  uint32 PLUGIN_API addRef() override;
  uint32 PLUGIN_API release() override;
  uint32 refCount() const { return mRefCount.load(); }

  // IPluginFactory
  tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) override;
  int32 PLUGIN_API countClasses() override;
  tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) override;
  tresult PLUGIN_API createInstance(FIDString cid, FIDString iid_, void** obj) override;

  // IPluginFactory2
  tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) override;

private:
  struct ClassEntry
  {
    PClassInfo2 info2;
    bool hasInfo2;
    CreateFunction create;
    void* context;
  };

  bool tryAddRef();
  bool append(const ClassEntry& entry);

  PFactoryInfo mFactoryInfo;
  std::vector<ClassEntry> mClasses;
  std::atomic<uint32> mRefCount{1};
};

}  // namespace vst3
