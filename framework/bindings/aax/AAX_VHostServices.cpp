#include "framework/bindings/aax/AAX_VHostServices.h"

#include <cstdarg>
#include <cstdio>
#include <new>
#include <utility>

namespace {
// Released by ACFShutdown only, never by a static destructor: a host that unloads the module
// without shutting it down may have destroyed its services object already, and the release
// would run under the loader's lock.
AAX_VHostServices* sHostServices = nullptr;
constexpr size_t kTraceBytes = 512;
}  // namespace

AAX_VHostServices::AAX_VHostServices(IACFUnknown* hostObject)
{
  CreateThroughFactory(hostObject, HostServicesInterface::kCLSID, mInterface);
}

ACFResult AAX_VHostServices::Unused3(ACFWord a, ACFWord b, ACFWord c)
{
  return mInterface.CallOr(kAAX_ErrMissingInterface, &HostServicesInterface::Unused3, a, b, c);
}

ACFResult AAX_VHostServices::SendTrace(int32_t priority, const char* text)
{
  return mInterface.CallOr(kAAX_ErrMissingInterface, &HostServicesInterface::SendTrace, priority, text);
}

void SetHostServices(IACFUnknown* hostObject)
{
  if (!hostObject)
    delete std::exchange(sHostServices, nullptr);
  else if (!sHostServices)
    sHostServices = new (std::nothrow) AAX_VHostServices(hostObject);
}

AAX_IHostServices* HostServices()
{
  return sHostServices;
}

ACFResult HostTrace(int32_t priority, const char* format, ...)
{
  if (!sHostServices || !format)
    return kAAX_Success;
  char text[kTraceBytes];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return sHostServices->SendTrace(priority, text);
}
