#include "sdk/vst3/ComponentBase.h"

#include <cstring>
#include <string>
#include <utility>

#include "sdk/vst3/NoThrow.h"
#include "sdk/vst3/StringConvert.h"

namespace vst3 {

ComponentBase::~ComponentBase()
{
  dropContextAndPeer();
}

void ComponentBase::dropContextAndPeer()
{
  // The peer is let go of before it is told: its disconnect may call back into ours.
  if (IConnectionPoint* peer = std::exchange(mPeer, nullptr))
  {
    peer->disconnect(this);
    peer->release();
  }
  if (mHostContext)
  {
    mHostContext->release();
    mHostContext = nullptr;
  }
}

tresult PLUGIN_API ComponentBase::initialize(FUnknown* context)
{
  if (mInitialized)
    return kResultFalse;
  mInitialized = true;
  mHostContext = context;
  if (mHostContext)
    mHostContext->addRef();
  return kResultOk;
}

tresult PLUGIN_API ComponentBase::terminate()
{
  dropContextAndPeer();
  mInitialized = false;
  return kResultOk;
}

tresult PLUGIN_API ComponentBase::connect(IConnectionPoint* other)
{
  if (!other)
    return kInvalidArgument;
  // An object that is processor and controller at once may be connected to itself by a
  // host that connects the two halves: there is nothing to carry, and holding a reference
  // to itself would keep it alive for ever.
  if (other == static_cast<IConnectionPoint*>(this))
    return kResultOk;
  if (mPeer)
    return kResultFalse;
  mPeer = other;
  mPeer->addRef();
  return kResultOk;
}

tresult PLUGIN_API ComponentBase::disconnect(IConnectionPoint* other)
{
  if (other && other == static_cast<IConnectionPoint*>(this))
    return kResultOk;
  if (!mPeer || other != mPeer)
    return kResultFalse;
  std::exchange(mPeer, nullptr)->release();
  return kResultOk;
}

tresult PLUGIN_API ComponentBase::notify(IMessage* message)
{
  if (!message)
    return kInvalidArgument;
  const char* id = message->getMessageID();
  if (!id || std::strcmp(id, "TextMessage") != 0)
    return kResultFalse;
  IAttributeList* attributes = message->getAttributes();
  if (!attributes)
    return kResultFalse;
  String128 text = {};
  if (attributes->getString("Text", text, sizeof(text)) != kResultOk)
    return kResultFalse;
  text[127] = 0;  // the host may fill the whole buffer
  return noThrow([&] { return receiveText(toStr8(text).c_str()); });
}

tresult ComponentBase::receiveText(const char*)
{
  return kResultOk;
}

tresult PLUGIN_API ComponentBase::queryInterface(const TUID iid_, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (queryAs<IPluginBase>(iid_, obj, this) == kResultOk)
    return kResultOk;
  if (queryAs<IConnectionPoint>(iid_, obj, this) == kResultOk)
    return kResultOk;
  return FObject::queryInterface(iid_, obj);
}

}  // namespace vst3
