#pragma once

#include "framework/bindings/aax/HostRef.h"
#include "sdk/aax/HostCollectionInterface.h"

// The host's services: trace output.
class AAX_IHostServices
{
public:
  virtual ~AAX_IHostServices() = default;
  virtual ACFResult Unused3(ACFWord a, ACFWord b, ACFWord c) = 0;
  virtual ACFResult SendTrace(int32_t priority, const char* text) = 0;
};

// Created through the host object's component factory; -20004 without the interface.
class AAX_VHostServices : public AAX_IHostServices
{
public:
  explicit AAX_VHostServices(IACFUnknown* hostObject);
  ~AAX_VHostServices() override = default;

  ACFResult Unused3(ACFWord a, ACFWord b, ACFWord c) override;
  ACFResult SendTrace(int32_t priority, const char* text) override;

private:
  HostRef<HostServicesInterface> mInterface;
};

// The module's one host-services wrapper. A non-null host object makes it when there is
// none (a later one keeps the first); null destroys it.
void SetHostServices(IACFUnknown* hostObject);
AAX_IHostServices* HostServices();

// Formats printf-style (cut to 511 characters) and sends the text to the host's trace
// output; 0 without host services.
ACFResult HostTrace(int32_t priority, const char* format, ...)
#if defined(__GNUC__)
  __attribute__((format(printf, 2, 3)))
#endif
  ;
