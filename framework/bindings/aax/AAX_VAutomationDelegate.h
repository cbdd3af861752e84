#pragma once

#include "framework/bindings/aax/HostRef.h"
#include "sdk/aax/HostControllerInterface.h"

// The host's parameter automation: enrol and withdraw parameters, touch them, request and
// announce normalised values. Parameters are named by their identifier text.
class AAX_IAutomationDelegate
{
public:
  virtual ~AAX_IAutomationDelegate() = default;
  virtual ACFResult EnrolParameter(const char* id) = 0;
  virtual ACFResult WithdrawParameter(const char* id) = 0;
  virtual ACFResult RequestValue(const char* id, double normalized) = 0;
  virtual ACFResult AnnounceValue(const char* id, double normalized) = 0;
  virtual ACFResult StartTouch(const char* id) = 0;
  virtual ACFResult StopTouch(const char* id) = 0;
  virtual ACFResult Unused9(ACFWord a, ACFWord b) = 0;
};

// Forwards unchanged to the host object's automation interface; -20004 without it.
class AAX_VAutomationDelegate : public AAX_IAutomationDelegate
{
public:
  explicit AAX_VAutomationDelegate(IACFUnknown* hostObject);
  ~AAX_VAutomationDelegate() override = default;

  ACFResult EnrolParameter(const char* id) override;
  ACFResult WithdrawParameter(const char* id) override;
  ACFResult RequestValue(const char* id, double normalized) override;
  ACFResult AnnounceValue(const char* id, double normalized) override;
  ACFResult StartTouch(const char* id) override;
  ACFResult StopTouch(const char* id) override;
  ACFResult Unused9(ACFWord a, ACFWord b) override;

private:
  HostRef<HostAutomationInterface> mInterface;
};
