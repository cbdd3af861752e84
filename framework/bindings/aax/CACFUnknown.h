#pragma once

#include "sdk/aax/ACFUnknown.h"

#include <atomic>

// Reference count and interface queries of every object the module hands the host, and the
// process-wide count of such objects that the module's unload query reads. The count starts
// at 0: the host's first successful query brings it to 1, and the release back to 0 deletes
// the object.
class CACFUnknown
{
public:
  CACFUnknown();
  virtual ~CACFUnknown();

  CACFUnknown(const CACFUnknown&) = delete;
  CACFUnknown& operator=(const CACFUnknown&) = delete;

  virtual ACFResult ArgumentHook(void* argument);
  virtual void FinalReleaseHook();
  virtual void DeleteSelf();
  // Answers the unknown's own id; derived classes add their interfaces and fall back here.
  virtual ACFResult InnerQueryInterface(const ACFGuid& iid, void** out);
  virtual int32_t InnerAddRef();
  virtual int32_t InnerRelease();

  // The unknown that the host-facing interfaces forward their counting and queries to.
  IACFUnknown* ControllingUnknown() const { return mControllingUnknown; }

  static int32_t LiveObjectCount();

private:
  class PrivateUnknown : public IACFUnknown
  {
  public:
    explicit PrivateUnknown(CACFUnknown* owner) : mOwner(owner) {}
    ACFResult ACF_STDCALL QueryInterface(const ACFGuid& iid, void** out) override;
    uint32_t ACF_STDCALL AddRef() override;
    uint32_t ACF_STDCALL Release() override;

  private:
    CACFUnknown* mOwner;
  };

  std::atomic<int32_t> mRefCount{0};
  IACFUnknown* mControllingUnknown;
  PrivateUnknown mPrivateUnknown;
};
