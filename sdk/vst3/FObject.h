// Reference counting and class identity shared by the helper classes. The count starts at
// one (the creator's reference), is atomic, and the object deletes itself when it reaches
// zero. Every interface a derived class implements shares this one count.
#pragma once

#include <atomic>

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

// Exact, case-sensitive; a null name never matches.
bool classNameEquals(const char* a, const char* b);

class FObject : public FUnknown
{
public:
  FObject() = default;
  FObject(const FObject&) = delete;
  FObject& operator=(const FObject&) = delete;
  virtual ~FObject() = default;

  tresult PLUGIN_API queryInterface(const TUID iid_, void** obj) override;
  uint32 PLUGIN_API addRef() override;
  uint32 PLUGIN_API release() override;

  uint32 refCount() const { return mRefCount.load(); }
  // Adds a reference unless the count already reached zero (the object is going away).
  bool tryAddRef();

  // Class identity: the class's own name, and whether it is (or derives from) a named class.
  static constexpr const char* getFClassName() { return "FObject"; }
  virtual const char* isA() const { return getFClassName(); }
  virtual bool isTypeOf(const char* name, bool askBaseClass = true) const;
  bool isA(const char* name) const { return isTypeOf(name, false); }

  // The object's identity as FUnknown: the same pointer whichever interface is asked.
  FUnknown* unknownCast() { return static_cast<FUnknown*>(this); }

private:
  std::atomic<uint32> mRefCount{1};
};

}  // namespace vst3

// Gives a class derived from FObject its name and its place in the is-a chain.
#define TQ_VST3_OBJECT(ClassName, BaseName)                                                                            \
  static constexpr const char* getFClassName()                                                                         \
  {                                                                                                                    \
    return #ClassName;                                                                                                 \
  }                                                                                                                    \
  using BaseName::isA;                                                                                                 \
  const char* isA() const override                                                                                     \
  {                                                                                                                    \
    return #ClassName;                                                                                                 \
  }                                                                                                                    \
  bool isTypeOf(const char* name, bool askBaseClass = true) const override                                             \
  {                                                                                                                    \
    return ::vst3::classNameEquals(name, #ClassName) || (askBaseClass && BaseName::isTypeOf(name, true));              \
  }

// In a class that adds interfaces to an FObject, the FUnknown methods of every added
// interface go to the one shared count.
#define TQ_VST3_REFCOUNT_FROM(BaseName)                                                                                \
  ::vst3::uint32 PLUGIN_API addRef() override                                                                          \
  {                                                                                                                    \
    return BaseName::addRef();                                                                                         \
  }                                                                                                                    \
  ::vst3::uint32 PLUGIN_API release() override                                                                         \
  {                                                                                                                    \
    return BaseName::release();                                                                                        \
  }
