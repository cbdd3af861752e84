#pragma once

#include "sdk/aax/ACFUnknown.h"
#include "sdk/aax/HostCollectionInterface.h"

#include <stdexcept>
#include <utility>

// A host object handed back by the host in a way the module cannot work with (a query that
// succeeded with a null interface). Host-called entries turn it into a result code.
class ACFError : public std::runtime_error
{
public:
  explicit ACFError(ACFResult code) : std::runtime_error("host protocol error"), mCode(code) {}
  ACFResult Code() const { return mCode; }

private:
  ACFResult mCode;
};

// What a wrapper answers for an operation of an interface version the host did not hand
// over: the first version, or a later one.
constexpr ACFResult kNoFirst = kAAX_ErrMissingInterface;
constexpr ACFResult kNoSecond = kAAX_ErrUnsupported;

// One counted reference to a host interface, released exactly once. Wrappers keep their
// host interfaces in these, so a constructor that throws half-way still gives back what it
// took.
template <typename I>
class HostRef
{
public:
  HostRef() = default;
  ~HostRef() { Reset(); }

  HostRef(const HostRef&) = delete;
  HostRef& operator=(const HostRef&) = delete;

  // Takes a new reference of its own on `object`.
  void Retain(I* object)
  {
    Reset();
    if (object)
      object->AddRef();
    mObject = object;
  }

  // Asks `source` for interface I. A failed query keeps nothing, even when the host left a
  // pointer behind: only a successful one hands over a reference.
  void QueryFrom(IACFUnknown* source)
  {
    Reset();
    if (!source)
      return;
    void* out = nullptr;
    if (source->QueryInterface(I::kIID, &out) == kAAX_Success)
      mObject = static_cast<I*>(out);
  }

  // Adopts what a host call that creates an object left in `out` when `result` is success.
  void Adopt(ACFResult result, void* out)
  {
    Reset();
    if (result == kAAX_Success)
      mObject = static_cast<I*>(out);
  }

  void Reset()
  {
    if (I* object = std::exchange(mObject, nullptr))
      object->Release();
  }

  I* Get() const { return mObject; }
  explicit operator bool() const { return mObject != nullptr; }

  // The host operation's own answer, or `missing` without the interface.
  template <typename R, typename Op, typename... A>
  R CallOr(R missing, Op op, A... args) const
  {
    return mObject ? (mObject->*op)(args...) : missing;
  }

private:
  I* mObject = nullptr;
};

// Makes the host's object of `classId` through the component factory of `hostObject` and
// keeps its interface I in `made`. A host that claims a factory but hands over none is an
// error the caller cannot recover from.
template <typename I>
void CreateThroughFactory(IACFUnknown* hostObject, const ACFGuid& classId, HostRef<I>& made)
{
  made.Reset();
  if (!hostObject)
    return;
  void* out = nullptr;
  if (hostObject->QueryInterface(HostComponentFactoryInterface::kIID, &out) != kAAX_Success)
    return;
  if (!out)
    throw ACFError(kACF_BadPointer);
  HostRef<HostComponentFactoryInterface> factory;
  factory.Adopt(kAAX_Success, out);
  void* object = nullptr;
  const ACFResult created = factory.Get()->CreateInstance(classId, nullptr, I::kIID, &object);
  made.Adopt(created, object);
}

// Runs the body of an operation the host calls: no exception reaches the host, which gets
// a result code instead.
template <typename Body>
ACFResult GuardedHostCall(Body&& body) noexcept
{
  try
  {
    return body();
  }
  catch (const ACFError& error)
  {
    return error.Code();
  }
  catch (...)
  {
    return kACF_Unexpected;
  }
}
