#pragma once

#include "hosts/aax/CallLog.h"

#include <string>
#include <vector>

namespace aaxhost {

// One host object as a host implements it: one identity and reference count behind several
// interfaces ("faces"), each of which can be withheld. Queries, reference counting and every
// operation are written to the shared call log. The fake never deletes itself: its owner
// keeps it, so a test can check that every reference came back.
class HostObject : public IACFUnknown
{
public:
  HostObject(CallLog& log, std::string label);
  virtual ~HostObject() = default;

  HostObject(const HostObject&) = delete;
  HostObject& operator=(const HostObject&) = delete;

  ACFResult ACF_STDCALL QueryInterface(const ACFGuid& iid, void** out) override;
  uint32_t ACF_STDCALL AddRef() override { return CountUp(mLabel); }
  uint32_t ACF_STDCALL Release() override { return CountDown(mLabel); }

  int32_t RefCount() const { return mRefCount; }
  const std::string& Label() const { return mLabel; }
  CallLog& Log() const { return mLog; }

  // The interface is not offered: queries for it fail.
  void Withhold(const ACFGuid& iid);
  // A refused query still leaves a pointer behind, as a careless host might.
  void LeaveStalePointers(bool on) { mStalePointers = on; }

  uint32_t CountUp(const std::string& face);
  uint32_t CountDown(const std::string& face);
  // Logs "<face>.<operation>(<arguments>)" and answers what the log scripts for "<face>.<operation>".
  ACFResult Record(const std::string& face, const char* operation, const ArgText& arguments);

protected:
  void Offer(const ACFGuid& iid, IACFUnknown* face, const std::string& faceLabel);

private:
  struct Face
  {
    ACFGuid iid;
    IACFUnknown* face;
    std::string label;
    bool offered;
  };

  CallLog& mLog;
  std::string mLabel;
  int32_t mRefCount = 0;
  bool mStalePointers = false;
  std::vector<Face> mFaces;
};

// What every face is, so an owner can keep faces of any interface.
class HostFaceBase
{
public:
  virtual ~HostFaceBase() = default;
};

// An interface of a fake host object that shares the object's identity and count.
template <typename I>
class HostFace : public I, public HostFaceBase
{
public:
  HostFace(HostObject& owner, std::string label) : mOwner(owner), mLabel(std::move(label)) {}

  ACFResult ACF_STDCALL QueryInterface(const ACFGuid& iid, void** out) override
  {
    return mOwner.QueryInterface(iid, out);
  }
  uint32_t ACF_STDCALL AddRef() override { return mOwner.CountUp(mLabel); }
  uint32_t ACF_STDCALL Release() override { return mOwner.CountDown(mLabel); }

protected:
  template <typename... A>
  ACFResult Record(const char* operation, A... arguments)
  {
    ArgText text(mOwner.Log());
    ((text << arguments), ...);
    return mOwner.Record(mLabel, operation, text);
  }

  HostObject& mOwner;
  std::string mLabel;
};
}  // namespace aaxhost
