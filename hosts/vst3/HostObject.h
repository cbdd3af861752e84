#pragma once
// Reference counting and interface queries shared by every host object.
//
// Host objects belong to the host (on the stack or in a member), so the count starts at the
// host's own reference, 1, and reaching 0 never deletes anything. What the count is for is
// checking the plug-in: after it has let go of everything the count is back at 1, and a
// release below the host's own reference is recorded as an over-release instead of wrapping.

#include "sdk/vst3/FUnknown.h"

#include <atomic>

namespace vst3host {

template <class Primary, class... Others>
class HostObject : public Primary, public Others...
{
public:
  HostObject() = default;
  HostObject(const HostObject&) = delete;
  HostObject& operator=(const HostObject&) = delete;
  virtual ~HostObject() = default;

  vst3::tresult PLUGIN_API queryInterface(const vst3::TUID iid, void** obj) override
  {
    if (obj == nullptr)
      return vst3::kInvalidArgument;
    *obj = nullptr;
    if (iid == nullptr)
      return vst3::kNoInterface;
    if (vst3::iidEqual(iid, vst3::FUnknown::iid))
    {
      *obj = static_cast<vst3::FUnknown*>(static_cast<Primary*>(this));
      addRef();
      return vst3::kResultOk;
    }
    if (answer<Primary, Others...>(iid, obj))
      return vst3::kResultOk;
    return vst3::kNoInterface;
  }

  vst3::uint32 PLUGIN_API addRef() override { return ++mCount; }

  vst3::uint32 PLUGIN_API release() override
  {
    int now = mCount.load();
    do
    {
      if (now <= 1)
      {
        mOverReleased = true;
        return static_cast<vst3::uint32>(now);
      }
    } while (!mCount.compare_exchange_weak(now, now - 1));
    return static_cast<vst3::uint32>(now - 1);
  }

  // The host's own reference included: 1 when the plug-in holds none.
  int refCount() const { return mCount.load(); }
  // True once the plug-in released a reference it did not hold.
  bool overReleased() const { return mOverReleased.load(); }
  // References the plug-in holds now.
  int heldByPlugin() const { return mCount.load() - 1; }

protected:
  // Lets an object hide one of its interfaces (a host that does not offer it).
  virtual bool offers(const vst3::TUID /*iid*/) const { return true; }

private:
  template <class I, class... Rest>
  bool answer(const vst3::TUID iid, void** obj)
  {
    if (vst3::iidEqual(iid, I::iid) && offers(iid))
    {
      *obj = static_cast<I*>(this);
      addRef();
      return true;
    }
    if constexpr (sizeof...(Rest) > 0)
      return answer<Rest...>(iid, obj);
    return false;
  }

  std::atomic<int> mCount{1};
  std::atomic<bool> mOverReleased{false};
};

}  // namespace vst3host
