#include "hosts/aax/HostObject.h"

namespace aaxhost {

HostObject::HostObject(CallLog& log, std::string label) : mLog(log), mLabel(std::move(label))
{
  mLog.Name(static_cast<IACFUnknown*>(this), mLabel);
}

void HostObject::Offer(const ACFGuid& iid, IACFUnknown* face, const std::string& faceLabel)
{
  mFaces.push_back({iid, face, faceLabel, true});
  mLog.Name(face, faceLabel);
}

void HostObject::Withhold(const ACFGuid& iid)
{
  for (Face& face : mFaces)
    if (face.iid == iid)
      face.offered = false;
}

ACFResult ACF_STDCALL HostObject::QueryInterface(const ACFGuid& iid, void** out)
{
  IACFUnknown* found = nullptr;
  std::string asked = "unknown";
  if (iid == kIID_ACFUnknown)
  {
    found = this;
    asked = mLabel;
  }
  for (const Face& face : mFaces)
    if (face.iid == iid)
    {
      asked = face.label;
      found = face.offered ? face.face : nullptr;
    }
  mLog.Add(mLabel + ".QueryInterface(" + asked + ")");
  if (!out)
    return kACF_BadPointer;
  if (!found)
  {
    // Something that is not an interface, for hosts that leave garbage behind.
    static int sStale;
    *out = mStalePointers ? &sStale : nullptr;
    return kACF_NoInterface;
  }
  *out = found;
  found->AddRef();
  return kAAX_Success;
}

uint32_t HostObject::CountUp(const std::string& face)
{
  mLog.Add(face + ".AddRef()");
  return uint32_t(++mRefCount);
}

uint32_t HostObject::CountDown(const std::string& face)
{
  mLog.Add(face + ".Release()");
  return uint32_t(--mRefCount);
}

ACFResult HostObject::Record(const std::string& face, const char* operation, const ArgText& arguments)
{
  const std::string name = face + "." + operation;
  mLog.Add(name + "(" + arguments.Text() + ")");
  return mLog.ResultFor(name);
}
}  // namespace aaxhost
