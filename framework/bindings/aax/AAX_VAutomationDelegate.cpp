#include "framework/bindings/aax/AAX_VAutomationDelegate.h"

namespace {
using I = HostAutomationInterface;
constexpr ACFResult kMissing = kAAX_ErrMissingInterface;
}  // namespace

AAX_VAutomationDelegate::AAX_VAutomationDelegate(IACFUnknown* hostObject)
{
  mInterface.QueryFrom(hostObject);
}

ACFResult AAX_VAutomationDelegate::EnrolParameter(const char* id)
{
  return mInterface.CallOr(kMissing, &I::EnrolParameter, id);
}
ACFResult AAX_VAutomationDelegate::WithdrawParameter(const char* id)
{
  return mInterface.CallOr(kMissing, &I::WithdrawParameter, id);
}
ACFResult AAX_VAutomationDelegate::RequestValue(const char* id, double normalized)
{
  return mInterface.CallOr(kMissing, &I::RequestValue, id, normalized);
}
ACFResult AAX_VAutomationDelegate::AnnounceValue(const char* id, double normalized)
{
  return mInterface.CallOr(kMissing, &I::AnnounceValue, id, normalized);
}
ACFResult AAX_VAutomationDelegate::StartTouch(const char* id)
{
  return mInterface.CallOr(kMissing, &I::StartTouch, id);
}
ACFResult AAX_VAutomationDelegate::StopTouch(const char* id)
{
  return mInterface.CallOr(kMissing, &I::StopTouch, id);
}
ACFResult AAX_VAutomationDelegate::Unused9(ACFWord a, ACFWord b)
{
  return mInterface.CallOr(kMissing, &I::Unused9, a, b);
}
