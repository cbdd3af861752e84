#pragma once

#include "hosts/aax/HostObject.h"
#include "sdk/aax/AAX_IACFEffectParameters.h"
#include "sdk/aax/HostControllerInterface.h"

#include <functional>
#include <memory>

namespace aaxhost {

// The host object a host hands the effect parameters when it starts an instance: controller,
// automation and transport, each interface as its own face ("Controller", "Controller2",
// "Automation", "Transport", "Transport2"). Out values come from the public fields.
class InstanceHost : public HostObject
{
public:
  explicit InstanceHost(CallLog& log);
  ~InstanceHost() override;

  float sampleRate = 48000.0f;
  uint32_t inStem = 0x00010002;
  uint32_t outStem = 0x00010002;
  uint64_t unused22Value = 0;
  double tempo = 120.0;
  int32_t numerator = 4;
  int32_t denominator = 4;
  bool playing = false;
  int64_t ticks = 0;
  bool looping = false;
  int64_t cycleStart = 0;
  int64_t cycleEnd = 0;
  int64_t samplePosition = 0;

  // A host answers a value request by setting the value through the plug-in; tests that
  // want that round trip set this.
  std::function<void(const char* id, double normalized)> onRequestValue;
  // A host may look the parameter up as soon as it is enrolled.
  std::function<void(const char* id)> onEnrolParameter;

  // As the host object of an editor, the host also hands out the instance's effect-parameters
  // interface ("EffectParameters"), with a reference of its own.
  void OfferEffectParameters(IACFUnknown* parameters);

  HostControllerInterface2* Controller2() const;
  HostAutomationInterface* Automation() const;
  HostTransportInterface2* Transport2() const;

private:
  class ControllerFace;
  class AutomationFace;
  class TransportFace;

  std::unique_ptr<ControllerFace> mController;
  std::unique_ptr<ControllerFace> mController2;
  std::unique_ptr<AutomationFace> mAutomation;
  std::unique_ptr<TransportFace> mTransport;
  std::unique_ptr<TransportFace> mTransport2;
};
}  // namespace aaxhost
