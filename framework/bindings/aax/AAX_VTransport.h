#pragma once

#include "framework/bindings/aax/HostRef.h"
#include "sdk/aax/HostControllerInterface.h"

// The host's transport: tempo, time signature, play state and positions (ticks are 960000
// to a quarter note). Operations named UnusedN forward to host operation N.
class AAX_ITransport
{
public:
  virtual ~AAX_ITransport() = default;
  virtual ACFResult ReadTempo(double* bpm) = 0;
  virtual ACFResult ReadTimeSignature(int32_t* numerator, int32_t* denominator) = 0;
  virtual ACFResult ReadPlayState(bool* playing) = 0;
  virtual ACFResult ReadTicks(int64_t* ticks) = 0;
  virtual ACFResult ReadCycle(bool* looping, int64_t* startTicks, int64_t* endTicks) = 0;
  virtual ACFResult ReadSamplePosition(int64_t* samples) = 0;
  virtual ACFResult Unused9(ACFWord a, ACFWord b, ACFWord c) = 0;
  virtual ACFResult Unused10(ACFWord a, ACFWord b, ACFWord c, ACFWord d, ACFWord e) = 0;
  virtual ACFResult Unused11(ACFWord a) = 0;
  virtual ACFResult Unused12(ACFWord a) = 0;
  virtual ACFResult Unused13(ACFWord a) = 0;
  virtual ACFResult Unused14(ACFWord a, ACFWord b) = 0;
  virtual ACFResult Unused15(ACFWord a, ACFWord b) = 0;
  virtual ACFResult Unused16(ACFWord a) = 0;
};

// Forwards unchanged to the host object's transport interfaces; -20004 without the first,
// -20009 without the second.
class AAX_VTransport : public AAX_ITransport
{
public:
  explicit AAX_VTransport(IACFUnknown* hostObject);
  ~AAX_VTransport() override;

  ACFResult ReadTempo(double* bpm) override;
  ACFResult ReadTimeSignature(int32_t* numerator, int32_t* denominator) override;
  ACFResult ReadPlayState(bool* playing) override;
  ACFResult ReadTicks(int64_t* ticks) override;
  ACFResult ReadCycle(bool* looping, int64_t* startTicks, int64_t* endTicks) override;
  ACFResult ReadSamplePosition(int64_t* samples) override;
  ACFResult Unused9(ACFWord a, ACFWord b, ACFWord c) override;
  ACFResult Unused10(ACFWord a, ACFWord b, ACFWord c, ACFWord d, ACFWord e) override;
  ACFResult Unused11(ACFWord a) override;
  ACFResult Unused12(ACFWord a) override;
  ACFResult Unused13(ACFWord a) override;
  ACFResult Unused14(ACFWord a, ACFWord b) override;
  ACFResult Unused15(ACFWord a, ACFWord b) override;
  ACFResult Unused16(ACFWord a) override;

private:
  HostRef<HostTransportInterface> mFirst;
  HostRef<HostTransportInterface2> mSecond;
};
