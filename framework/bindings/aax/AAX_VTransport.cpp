#include "framework/bindings/aax/AAX_VTransport.h"

namespace {
using I1 = HostTransportInterface;
using I2 = HostTransportInterface2;
}  // namespace

AAX_VTransport::AAX_VTransport(IACFUnknown* hostObject)
{
  mFirst.QueryFrom(hostObject);
  mSecond.QueryFrom(hostObject);
}

AAX_VTransport::~AAX_VTransport()
{
  mSecond.Reset();
  mFirst.Reset();
}

ACFResult AAX_VTransport::ReadTempo(double* bpm)
{
  return mFirst.CallOr(kNoFirst, &I1::ReadTempo, bpm);
}
ACFResult AAX_VTransport::ReadTimeSignature(int32_t* numerator, int32_t* denominator)
{
  return mFirst.CallOr(kNoFirst, &I1::ReadTimeSignature, numerator, denominator);
}
ACFResult AAX_VTransport::ReadPlayState(bool* playing)
{
  return mFirst.CallOr(kNoFirst, &I1::ReadPlayState, playing);
}
ACFResult AAX_VTransport::ReadTicks(int64_t* ticks)
{
  return mFirst.CallOr(kNoFirst, &I1::ReadTicks, ticks);
}
ACFResult AAX_VTransport::ReadCycle(bool* looping, int64_t* startTicks, int64_t* endTicks)
{
  return mFirst.CallOr(kNoFirst, &I1::ReadCycle, looping, startTicks, endTicks);
}
ACFResult AAX_VTransport::ReadSamplePosition(int64_t* samples)
{
  return mFirst.CallOr(kNoFirst, &I1::ReadSamplePosition, samples);
}
ACFResult AAX_VTransport::Unused9(ACFWord a, ACFWord b, ACFWord c)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused9, a, b, c);
}
ACFResult AAX_VTransport::Unused10(ACFWord a, ACFWord b, ACFWord c, ACFWord d, ACFWord e)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused10, a, b, c, d, e);
}
ACFResult AAX_VTransport::Unused11(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused11, a);
}
ACFResult AAX_VTransport::Unused12(ACFWord a)
{
  return mFirst.CallOr(kNoFirst, &I1::Unused12, a);
}
ACFResult AAX_VTransport::Unused13(ACFWord a)
{
  return mSecond.CallOr(kNoSecond, &I2::Unused13, a);
}
ACFResult AAX_VTransport::Unused14(ACFWord a, ACFWord b)
{
  return mSecond.CallOr(kNoSecond, &I2::Unused14, a, b);
}
ACFResult AAX_VTransport::Unused15(ACFWord a, ACFWord b)
{
  return mSecond.CallOr(kNoSecond, &I2::Unused15, a, b);
}
ACFResult AAX_VTransport::Unused16(ACFWord a)
{
  return mSecond.CallOr(kNoSecond, &I2::Unused16, a);
}
