#include "hosts/aax/FakeViewContainer.h"

class FakeViewContainer::ViewFace : public FakeFace<HostViewContainerInterface>
{
public:
  explicit ViewFace(FakeViewContainer& host) : FakeFace(host, "View"), mHost(host) {}
  ACFResult AAX_CALL Unused3() override { return Record("Unused3"); }
  void* AAX_CALL NativeWindow() override
  {
    Record("NativeWindow");
    return mHost.window;
  }
  ACFResult AAX_CALL CurrentModifiers(uint32_t* modifiers) override
  {
    const ACFResult result = Record("CurrentModifiers", static_cast<const void*>(modifiers));
    if (result == kAAX_Success && modifiers)
      *modifiers = mHost.modifiers;
    return result;
  }
  ACFResult AAX_CALL ChangeViewSize(const AAX_Point* size) override
  {
    return size ? Record("ChangeViewSize", size->vertical, size->horizontal) : Record("ChangeViewSize");
  }
  ACFResult AAX_CALL ForwardParameterClick(const char* parameterId, uint32_t modifiers) override
  {
    return Record("ForwardParameterClick", parameterId, modifiers);
  }
  ACFResult AAX_CALL Unused8(ACFWord a, ACFWord b) override { return Record("Unused8", a, b); }
  ACFResult AAX_CALL Unused9(ACFWord a, ACFWord b) override { return Record("Unused9", a, b); }

private:
  FakeViewContainer& mHost;
};

FakeViewContainer::FakeViewContainer(CallLog& log)
  : FakeHostObject(log, "ViewHost"), mView(std::make_unique<ViewFace>(*this))
{
  Offer(HostViewContainerInterface::kIID, mView.get(), "View");
}

FakeViewContainer::~FakeViewContainer() = default;

HostViewContainerInterface* FakeViewContainer::View() const
{
  return mView.get();
}
