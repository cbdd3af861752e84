#include "hosts/aax/ViewContainerHost.h"

namespace aaxhost {

class ViewContainerHost::ViewFace : public HostFace<HostViewContainerInterface>
{
public:
  explicit ViewFace(ViewContainerHost& host) : HostFace(host, "View"), mHost(host) {}
  ACFResult Unused3() override { return Record("Unused3"); }
  void* NativeWindow() override
  {
    Record("NativeWindow");
    return mHost.window;
  }
  ACFResult CurrentModifiers(uint32_t* modifiers) override
  {
    const ACFResult result = Record("CurrentModifiers", static_cast<const void*>(modifiers));
    if (result == kAAX_Success && modifiers)
      *modifiers = mHost.modifiers;
    return result;
  }
  ACFResult ChangeViewSize(const AAX_Point* size) override
  {
    return size ? Record("ChangeViewSize", size->vertical, size->horizontal) : Record("ChangeViewSize");
  }
  ACFResult ForwardParameterClick(const char* parameterId, uint32_t modifiers) override
  {
    return Record("ForwardParameterClick", parameterId, modifiers);
  }
  ACFResult Unused8(ACFWord a, ACFWord b) override { return Record("Unused8", a, b); }
  ACFResult Unused9(ACFWord a, ACFWord b) override { return Record("Unused9", a, b); }

private:
  ViewContainerHost& mHost;
};

ViewContainerHost::ViewContainerHost(CallLog& log)
  : HostObject(log, "ViewHost"), mView(std::make_unique<ViewFace>(*this))
{
  Offer(HostViewContainerInterface::kIID, mView.get(), "View");
}

ViewContainerHost::~ViewContainerHost() = default;

HostViewContainerInterface* ViewContainerHost::View() const
{
  return mView.get();
}
}  // namespace aaxhost
