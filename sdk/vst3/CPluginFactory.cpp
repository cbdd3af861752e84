#include "sdk/vst3/CPluginFactory.h"

#include <mutex>
#include <new>

#include "sdk/vst3/StringConvert.h"

namespace vst3 {

namespace {

std::mutex gFactoryLock;
CPluginFactory* gKeptFactory = nullptr;  // the module's living factory, if any

}  // namespace

PFactoryInfo makeFactoryInfo(const char* vendor, const char* url, const char* email, int32 flags)
{
  PFactoryInfo info{};
  copyStr8(info.vendor, vendor, PFactoryInfo::kNameSize);
  copyStr8(info.url, url, PFactoryInfo::kURLSize);
  copyStr8(info.email, email, PFactoryInfo::kEmailSize);
  info.flags = flags;
  return info;
}

PClassInfo2 makeClassInfo2(const TUID cid, int32 cardinality, const char* category, const char* name, uint32 classFlags,
                           const char* subCategories, const char* vendor, const char* version, const char* sdkVersion)
{
  PClassInfo2 info{};
  std::memcpy(info.cid, cid, sizeof(TUID));
  info.cardinality = cardinality;
  copyStr8(info.category, category, PClassInfo2::kCategorySize);
  copyStr8(info.name, name, PClassInfo2::kNameSize);
  info.classFlags = classFlags;
  copyStr8(info.subCategories, subCategories, PClassInfo2::kSubCategoriesSize);
  copyStr8(info.vendor, vendor, PClassInfo2::kVendorSize);
  copyStr8(info.version, version, PClassInfo2::kVersionSize);
  copyStr8(info.sdkVersion, sdkVersion, PClassInfo2::kVersionSize);
  return info;
}

CPluginFactory::CPluginFactory(const PFactoryInfo& info) : mFactoryInfo(info) {}

CPluginFactory::~CPluginFactory()
{
  std::lock_guard<std::mutex> lock(gFactoryLock);
  if (gKeptFactory == this)
    gKeptFactory = nullptr;
}

bool CPluginFactory::registerClass(const PClassInfo* info, CreateFunction create, void* context)
{
  if (!info || !create)
    return false;
  ClassEntry e{};
  std::memcpy(&e.info2, info, sizeof(PClassInfo));  // PClassInfo2 begins with PClassInfo
  e.hasInfo2 = false;
  e.create = create;
  e.context = context;
  return append(e);
}

bool CPluginFactory::registerClass(const PClassInfo2* info, CreateFunction create, void* context)
{
  if (!info || !create)
    return false;
  return append(ClassEntry{*info, true, create, context});
}

bool CPluginFactory::append(const ClassEntry& entry)
{
  try
  {
    mClasses.push_back(entry);
    return true;
  }
  catch (const std::bad_alloc&)
  {
    return false;  // out of memory: the class is not offered
  }
}

IPluginFactory* CPluginFactory::obtain(const PFactoryInfo& info, void (*registerClasses)(CPluginFactory& factory))
{
  std::unique_lock<std::mutex> lock(gFactoryLock);
  // A factory whose count already reached zero is being destroyed: build a new one.
  if (gKeptFactory && gKeptFactory->tryAddRef())
    return gKeptFactory;
  CPluginFactory* factory = nullptr;
  try
  {
    factory = new CPluginFactory(info);
    if (registerClasses)
      registerClasses(*factory);
  }
  catch (...)
  {
    // Out of memory while the module's entry runs: the host gets no factory, never an
    // exception. The destructor takes the lock.
    lock.unlock();
    delete factory;
    return nullptr;
  }
  gKeptFactory = factory;
  return factory;
}

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID iid_, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (iidEqual(iid_, FUnknown::iid) || iidEqual(iid_, IPluginFactory::iid) || iidEqual(iid_, IPluginFactory2::iid))
  {
    *obj = static_cast<IPluginFactory2*>(this);
    addRef();
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef()
{
  return ++mRefCount;
}

uint32 PLUGIN_API CPluginFactory::release()
{
  const uint32 n = --mRefCount;
  if (n == 0)
    delete this;
  return n;
}

bool CPluginFactory::tryAddRef()
{
  uint32 n = mRefCount.load();
  while (n != 0)
    if (mRefCount.compare_exchange_weak(n, n + 1))
      return true;
  return false;
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
  if (!info)
    return kInvalidArgument;
  *info = mFactoryInfo;
  return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses()
{
  return static_cast<int32>(mClasses.size());
}

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
  if (!info || index < 0 || index >= countClasses())
    return kInvalidArgument;
  std::memcpy(info, &mClasses[static_cast<size_t>(index)].info2, sizeof(PClassInfo));
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
  if (!info || index < 0 || index >= countClasses())
    return kInvalidArgument;
  const ClassEntry& e = mClasses[static_cast<size_t>(index)];
  if (!e.hasInfo2)
  {
    *info = PClassInfo2{};
    return kResultFalse;
  }
  *info = e.info2;
  return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString iid_, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !iid_)
    return kInvalidArgument;
  for (const ClassEntry& e : mClasses)
  {
    if (!iidEqual(e.info2.cid, cid))
      continue;
    FUnknown* instance = nullptr;
    try
    {
      instance = e.create(e.context);
    }
    catch (...)
    {
      instance = nullptr;  // no exception may reach the host
    }
    if (!instance)
      return kNoInterface;
    const tresult r = instance->queryInterface(iid_, obj);
    instance->release();  // the creation reference; the object dies here when refused
    if (r != kResultOk)
    {
      *obj = nullptr;
      return kNoInterface;
    }
    return kResultOk;
  }
  return kNoInterface;
}

}  // namespace vst3
