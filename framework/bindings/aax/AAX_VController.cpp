#include "framework/bindings/aax/AAX_VController.h"

namespace {
using I1 = HostControllerInterface;
using I2 = HostControllerInterface2;
}  // namespace

AAX_VController::AAX_VController(IACFUnknown* hostObject)
{
  mFirst.QueryFrom(hostObject);
  mSecond.QueryFrom(hostObject);
}

AAX_VController::~AAX_VController()
{
  mSecond.Reset();
  mFirst.Reset();
}

ACFResult AAX_VController::Unused3(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused3, a);
}
ACFResult AAX_VController::ReadSampleRate(float* rate)
{
  return mFirst.CallOr(kNoFirst, &I1::ReadSampleRate, rate);
}
ACFResult AAX_VController::InStemLayout(uint32_t* stem)
{
  return mFirst.CallOr(kNoFirst, &I1::InStemLayout, stem);
}
ACFResult AAX_VController::OutStemLayout(uint32_t* stem)
{
  return mFirst.CallOr(kNoFirst, &I1::OutStemLayout, stem);
}
ACFResult AAX_VController::Unused7(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused7, a);
}
ACFResult AAX_VController::Unused8(ACFWord a, ACFWord b)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused8, a, b);
}
ACFResult AAX_VController::Unused9(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused9, a);
}
ACFResult AAX_VController::ReportLatency(int32_t samples)
{
  return mFirst.CallOr(kNoFirst, &I1::ReportLatency, samples);
}
ACFResult AAX_VController::Unused11(ACFWord a, ACFWord b, ACFWord c)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused11, a, b, c);
}
ACFResult AAX_VController::SendPacket(uint32_t packetId, const void* data, uint32_t size)
{
  return mFirst.CallOr(kNoFirst, &I1::SendPacket, packetId, data, size);
}
ACFResult AAX_VController::Unused20(ACFWord a, ACFWord b, ACFWord c)
{
  return mSecond.CallOr(kNoSecond, &I2::Unused20, a, b, c);
}
ACFResult AAX_VController::Unused13(ACFWord a, ACFWord b)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused13, a, b);
}
ACFResult AAX_VController::Unused14(ACFWord a, ACFWord b)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused14, a, b);
}
ACFResult AAX_VController::Unused15(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused15, a);
}
ACFResult AAX_VController::Unused18(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused18, a);
}
ACFResult AAX_VController::Unused16(ACFWord a, ACFWord b)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused16, a, b);
}
ACFResult AAX_VController::Unused17(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused17, a);
}
ACFResult AAX_VController::Unused19(ACFWord a, ACFWord b)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused19, a, b);
}
ACFResult AAX_VController::Unused21(ACFWord a)
{
  return mSecond.CallOr(kNoSecond, &I2::Unused21, a);
}
ACFResult AAX_VController::Unused22(uint64_t* value)
{
  if (!mSecond && value)
    *value = 0;
  return mSecond.CallOr(kNoSecond, &I2::Unused22, value);
}
ACFResult AAX_VController::Unused23(ACFWord a)
{
  return mSecond.CallOr(kNoSecond, &I2::Unused23, a);
}
