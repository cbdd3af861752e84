#include "framework/bindings/aax/AAX_VViewContainer.h"

namespace {
using I = HostViewContainerInterface;
constexpr ACFResult kMissing = kAAX_ErrUnsupported;
}  // namespace

AAX_VViewContainer::AAX_VViewContainer(IACFUnknown* hostObject)
{
  mInterface.QueryFrom(hostObject);
}

ACFResult AAX_VViewContainer::Unused3()
{
  return mInterface.CallOr(kAAX_Success, &I::Unused3);
}
void* AAX_VViewContainer::NativeWindow()
{
  return mInterface ? mInterface.Get()->NativeWindow() : nullptr;
}
ACFResult AAX_VViewContainer::CurrentModifiers(uint32_t* modifiers)
{
  return mInterface.CallOr(kMissing, &I::CurrentModifiers, modifiers);
}
ACFResult AAX_VViewContainer::ChangeViewSize(const AAX_Point* size)
{
  return mInterface.CallOr(kAAX_Success, &I::ChangeViewSize, size);
}
ACFResult AAX_VViewContainer::ForwardParameterClick(const char* parameterId, uint32_t modifiers)
{
  return mInterface.CallOr(kMissing, &I::ForwardParameterClick, parameterId, modifiers);
}
ACFResult AAX_VViewContainer::Unused8(ACFWord a, ACFWord b)
{
  return mInterface.CallOr(kMissing, &I::Unused8, a, b);
}
ACFResult AAX_VViewContainer::Unused9(ACFWord a, ACFWord b)
{
  return mInterface.CallOr(kMissing, &I::Unused9, a, b);
}
