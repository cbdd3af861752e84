// Common base of component and controller: keeps the host context given to initialize and
// the peer of a connection.
#pragma once

#include "sdk/vst3/FObject.h"
#include "sdk/vst3/IComponent.h"
#include "sdk/vst3/IConnectionPoint.h"

namespace vst3 {

class ComponentBase : public FObject, public IPluginBase, public IConnectionPoint
{
public:
  ComponentBase() = default;
  ~ComponentBase() override;

  // IPluginBase. A second initialize without terminate is refused; a null context is
  // accepted and counts as none.
  tresult PLUGIN_API initialize(FUnknown* context) override;
  tresult PLUGIN_API terminate() override;

  // IConnectionPoint
  tresult PLUGIN_API connect(IConnectionPoint* other) override;
  tresult PLUGIN_API disconnect(IConnectionPoint* other) override;
  tresult PLUGIN_API notify(IMessage* message) override;

  FUnknown* getHostContext() const { return mHostContext; }
  IConnectionPoint* getPeer() const { return mPeer; }
  bool isInitialized() const { return mInitialized; }

  // A "TextMessage" notification with a "Text" attribute arrives here.
  virtual tresult receiveText(const char* text);

  tresult PLUGIN_API queryInterface(const TUID iid_, void** obj) override;
  TQ_VST3_REFCOUNT_FROM(FObject)
  TQ_VST3_OBJECT(ComponentBase, FObject)

private:
  void dropContextAndPeer();

  FUnknown* mHostContext = nullptr;
  IConnectionPoint* mPeer = nullptr;
  bool mInitialized = false;
};

}  // namespace vst3
