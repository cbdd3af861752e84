#pragma once

#include "framework/bindings/aax/HostRef.h"
#include "sdk/aax/HostControllerInterface.h"

// The host's controller as the module sees it: sample rate, stem formats, latency and data
// packets. Operations named UnusedN forward to host operation N and are never called.
class AAX_IController
{
public:
  virtual ~AAX_IController() = default;
  virtual ACFResult Unused3(ACFWord a) = 0;
  virtual ACFResult ReadSampleRate(float* rate) = 0;
  virtual ACFResult InStemLayout(uint32_t* stem) = 0;
  virtual ACFResult OutStemLayout(uint32_t* stem) = 0;
  virtual ACFResult Unused7(ACFWord a) = 0;
  virtual ACFResult Unused8(ACFWord a, ACFWord b) = 0;
  virtual ACFResult Unused9(ACFWord a) = 0;
  virtual ACFResult ReportLatency(int32_t samples) = 0;
  virtual ACFResult Unused11(ACFWord a, ACFWord b, ACFWord c) = 0;
  virtual ACFResult SendPacket(uint32_t packetId, const void* data, uint32_t size) = 0;
  virtual ACFResult Unused20(ACFWord a, ACFWord b, ACFWord c) = 0;
  virtual ACFResult Unused13(ACFWord a, ACFWord b) = 0;
  virtual ACFResult Unused14(ACFWord a, ACFWord b) = 0;
  virtual ACFResult Unused15(ACFWord a) = 0;
  virtual ACFResult Unused18(ACFWord a) = 0;
  virtual ACFResult Unused16(ACFWord a, ACFWord b) = 0;
  virtual ACFResult Unused17(ACFWord a) = 0;
  virtual ACFResult Unused19(ACFWord a, ACFWord b) = 0;
  virtual ACFResult Unused21(ACFWord a) = 0;
  virtual ACFResult Unused22(uint64_t* value) = 0;
  virtual ACFResult Unused23(ACFWord a) = 0;
};

// Forwards each operation unchanged to the host object's controller interfaces, queried once
// at construction; answers -20004 without the first and -20009 without the second.
class AAX_VController : public AAX_IController
{
public:
  explicit AAX_VController(IACFUnknown* hostObject);
  ~AAX_VController() override;

  ACFResult Unused3(ACFWord a) override;
  ACFResult ReadSampleRate(float* rate) override;
  ACFResult InStemLayout(uint32_t* stem) override;
  ACFResult OutStemLayout(uint32_t* stem) override;
  ACFResult Unused7(ACFWord a) override;
  ACFResult Unused8(ACFWord a, ACFWord b) override;
  ACFResult Unused9(ACFWord a) override;
  ACFResult ReportLatency(int32_t samples) override;
  ACFResult Unused11(ACFWord a, ACFWord b, ACFWord c) override;
  ACFResult SendPacket(uint32_t packetId, const void* data, uint32_t size) override;
  ACFResult Unused20(ACFWord a, ACFWord b, ACFWord c) override;
  ACFResult Unused13(ACFWord a, ACFWord b) override;
  ACFResult Unused14(ACFWord a, ACFWord b) override;
  ACFResult Unused15(ACFWord a) override;
  ACFResult Unused18(ACFWord a) override;
  ACFResult Unused16(ACFWord a, ACFWord b) override;
  ACFResult Unused17(ACFWord a) override;
  ACFResult Unused19(ACFWord a, ACFWord b) override;
  ACFResult Unused21(ACFWord a) override;
  // The only operation that writes on failure: the value is zeroed without the interface.
  ACFResult Unused22(uint64_t* value) override;
  ACFResult Unused23(ACFWord a) override;

private:
  HostRef<HostControllerInterface> mFirst;
  HostRef<HostControllerInterface2> mSecond;
};
