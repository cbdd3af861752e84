#include "framework/bindings/aax/CACFUnknown.h"

namespace {
std::atomic<int32_t> sLiveObjects{0};
}  // namespace

CACFUnknown::CACFUnknown() : mControllingUnknown(&mPrivateUnknown), mPrivateUnknown(this)
{
  sLiveObjects.fetch_add(1);
}

CACFUnknown::~CACFUnknown()
{
  sLiveObjects.fetch_sub(1);
}

int32_t CACFUnknown::LiveObjectCount()
{
  return sLiveObjects.load();
}

ACFResult CACFUnknown::ArgumentHook(void*)
{
  return kAAX_Success;
}

void CACFUnknown::FinalReleaseHook() {}

void CACFUnknown::DeleteSelf()
{
  delete this;
}

ACFResult CACFUnknown::InnerQueryInterface(const ACFGuid& iid, void** out)
{
  // A host that passes no out pointer gets a pointer error rather than a write through null.
  if (!out)
    return kACF_BadPointer;
  *out = nullptr;
  if (iid != kIID_ACFUnknown)
    return kACF_NoInterface;
  *out = &mPrivateUnknown;
  mPrivateUnknown.AddRef();
  return kAAX_Success;
}

int32_t CACFUnknown::InnerAddRef()
{
  return mRefCount.fetch_add(1) + 1;
}

int32_t CACFUnknown::InnerRelease()
{
  const int32_t count = mRefCount.fetch_sub(1) - 1;
  if (count == 0)
  {
    FinalReleaseHook();
    DeleteSelf();
  }
  return count;
}

ACFResult ACF_STDCALL CACFUnknown::PrivateUnknown::QueryInterface(const ACFGuid& iid, void** out)
{
  return mOwner->InnerQueryInterface(iid, out);
}

uint32_t ACF_STDCALL CACFUnknown::PrivateUnknown::AddRef()
{
  return static_cast<uint32_t>(mOwner->InnerAddRef());
}

uint32_t ACF_STDCALL CACFUnknown::PrivateUnknown::Release()
{
  return static_cast<uint32_t>(mOwner->InnerRelease());
}
