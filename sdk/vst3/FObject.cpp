#include "sdk/vst3/FObject.h"

#include <cstring>

namespace vst3 {

bool classNameEquals(const char* a, const char* b)
{
  return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

tresult PLUGIN_API FObject::queryInterface(const TUID iid_, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (iidEqual(iid_, FUnknown::iid))
  {
    *obj = unknownCast();
    addRef();
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API FObject::addRef()
{
  return ++mRefCount;
}

uint32 PLUGIN_API FObject::release()
{
  const uint32 n = --mRefCount;
  if (n == 0)
    delete this;
  return n;
}

bool FObject::tryAddRef()
{
  uint32 n = mRefCount.load();
  while (n != 0)
    if (mRefCount.compare_exchange_weak(n, n + 1))
      return true;
  return false;
}

bool FObject::isTypeOf(const char* name, bool) const
{
  return classNameEquals(name, getFClassName());
}

}  // namespace vst3
