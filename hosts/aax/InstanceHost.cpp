#include "hosts/aax/InstanceHost.h"

namespace aaxhost {

class InstanceHost::ControllerFace : public HostFace<HostControllerInterface2>
{
public:
  ControllerFace(InstanceHost& host, const char* label) : HostFace(host, label), mHost(host) {}

  ACFResult Unused3(ACFWord a) override { return Record("Unused3", a); }
  ACFResult ReadSampleRate(float* rate) override
  {
    const ACFResult result = Record("ReadSampleRate", static_cast<const void*>(rate));
    if (result == kAAX_Success && rate)
      *rate = mHost.sampleRate;
    return result;
  }
  ACFResult InStemLayout(uint32_t* stem) override { return Answer("InStemLayout", stem, mHost.inStem); }
  ACFResult OutStemLayout(uint32_t* stem) override { return Answer("OutStemLayout", stem, mHost.outStem); }
  ACFResult Unused7(ACFWord a) override { return Record("Unused7", a); }
  ACFResult Unused8(ACFWord a, ACFWord b) override { return Record("Unused8", a, b); }
  ACFResult Unused9(ACFWord a) override { return Record("Unused9", a); }
  ACFResult ReportLatency(int32_t samples) override { return Record("ReportLatency", samples); }
  ACFResult Unused11(ACFWord a, ACFWord b, ACFWord c) override { return Record("Unused11", a, b, c); }
  ACFResult SendPacket(uint32_t packetId, const void* data, uint32_t size) override
  {
    return Record("SendPacket", packetId, data, size);
  }
  ACFResult Unused13(ACFWord a, ACFWord b) override { return Record("Unused13", a, b); }
  ACFResult Unused14(ACFWord a, ACFWord b) override { return Record("Unused14", a, b); }
  ACFResult Unused15(ACFWord a) override { return Record("Unused15", a); }
  ACFResult Unused16(ACFWord a, ACFWord b) override { return Record("Unused16", a, b); }
  ACFResult Unused17(ACFWord a) override { return Record("Unused17", a); }
  ACFResult Unused18(ACFWord a) override { return Record("Unused18", a); }
  ACFResult Unused19(ACFWord a, ACFWord b) override { return Record("Unused19", a, b); }
  ACFResult Unused20(ACFWord a, ACFWord b, ACFWord c) override { return Record("Unused20", a, b, c); }
  ACFResult Unused21(ACFWord a) override { return Record("Unused21", a); }
  ACFResult Unused22(uint64_t* value) override
  {
    const ACFResult result = Record("Unused22", static_cast<const void*>(value));
    if (result == kAAX_Success && value)
      *value = mHost.unused22Value;
    return result;
  }
  ACFResult Unused23(ACFWord a) override { return Record("Unused23", a); }

private:
  ACFResult Answer(const char* operation, uint32_t* out, uint32_t value)
  {
    const ACFResult result = Record(operation, static_cast<const void*>(out));
    if (result == kAAX_Success && out)
      *out = value;
    return result;
  }

  InstanceHost& mHost;
};

class InstanceHost::AutomationFace : public HostFace<HostAutomationInterface>
{
public:
  explicit AutomationFace(InstanceHost& host) : HostFace(host, "Automation"), mHost(host) {}

  ACFResult EnrolParameter(const char* id) override
  {
    const ACFResult result = Record("EnrolParameter", id);
    if (mHost.onEnrolParameter)
      mHost.onEnrolParameter(id);
    return result;
  }
  ACFResult WithdrawParameter(const char* id) override { return Record("WithdrawParameter", id); }
  ACFResult RequestValue(const char* id, double normalized) override
  {
    const ACFResult result = Record("RequestValue", id, normalized);
    if (mHost.onRequestValue)
      mHost.onRequestValue(id, normalized);
    return result;
  }
  ACFResult AnnounceValue(const char* id, double normalized) override
  {
    return Record("AnnounceValue", id, normalized);
  }
  ACFResult StartTouch(const char* id) override { return Record("StartTouch", id); }
  ACFResult StopTouch(const char* id) override { return Record("StopTouch", id); }
  ACFResult Unused9(ACFWord a, ACFWord b) override { return Record("Unused9", a, b); }

private:
  InstanceHost& mHost;
};

class InstanceHost::TransportFace : public HostFace<HostTransportInterface2>
{
public:
  TransportFace(InstanceHost& host, const char* label) : HostFace(host, label), mHost(host) {}

  ACFResult ReadTempo(double* bpm) override { return Answer("ReadTempo", bpm, mHost.tempo); }
  ACFResult ReadTimeSignature(int32_t* numerator, int32_t* denominator) override
  {
    const ACFResult result =
      Record("ReadTimeSignature", static_cast<const void*>(numerator), static_cast<const void*>(denominator));
    if (result == kAAX_Success && numerator && denominator)
    {
      *numerator = mHost.numerator;
      *denominator = mHost.denominator;
    }
    return result;
  }
  ACFResult ReadPlayState(bool* playing) override { return Answer("ReadPlayState", playing, mHost.playing); }
  ACFResult ReadTicks(int64_t* ticks) override { return Answer("ReadTicks", ticks, mHost.ticks); }
  ACFResult ReadCycle(bool* looping, int64_t* startTicks, int64_t* endTicks) override
  {
    const ACFResult result = Record("ReadCycle", static_cast<const void*>(looping),
                                    static_cast<const void*>(startTicks), static_cast<const void*>(endTicks));
    if (result == kAAX_Success && looping && startTicks && endTicks)
    {
      *looping = mHost.looping;
      *startTicks = mHost.cycleStart;
      *endTicks = mHost.cycleEnd;
    }
    return result;
  }
  ACFResult ReadSamplePosition(int64_t* samples) override
  {
    return Answer("ReadSamplePosition", samples, mHost.samplePosition);
  }
  ACFResult Unused9(ACFWord a, ACFWord b, ACFWord c) override { return Record("Unused9", a, b, c); }
  ACFResult Unused10(ACFWord a, ACFWord b, ACFWord c, ACFWord d, ACFWord e) override
  {
    return Record("Unused10", a, b, c, d, e);
  }
  ACFResult Unused11(ACFWord a) override { return Record("Unused11", a); }
  ACFResult Unused12(ACFWord a) override { return Record("Unused12", a); }
  ACFResult Unused13(ACFWord a) override { return Record("Unused13", a); }
  ACFResult Unused14(ACFWord a, ACFWord b) override { return Record("Unused14", a, b); }
  ACFResult Unused15(ACFWord a, ACFWord b) override { return Record("Unused15", a, b); }
  ACFResult Unused16(ACFWord a) override { return Record("Unused16", a); }

private:
  template <typename T>
  ACFResult Answer(const char* operation, T* out, T value)
  {
    const ACFResult result = Record(operation, static_cast<const void*>(out));
    if (result == kAAX_Success && out)
      *out = value;
    return result;
  }

  InstanceHost& mHost;
};

InstanceHost::InstanceHost(CallLog& log)
  : HostObject(log, "Host"),
    mController(std::make_unique<ControllerFace>(*this, "Controller")),
    mController2(std::make_unique<ControllerFace>(*this, "Controller2")),
    mAutomation(std::make_unique<AutomationFace>(*this)),
    mTransport(std::make_unique<TransportFace>(*this, "Transport")),
    mTransport2(std::make_unique<TransportFace>(*this, "Transport2"))
{
  Offer(HostControllerInterface::kIID, mController.get(), "Controller");
  Offer(HostControllerInterface2::kIID, mController2.get(), "Controller2");
  Offer(HostAutomationInterface::kIID, mAutomation.get(), "Automation");
  Offer(HostTransportInterface::kIID, mTransport.get(), "Transport");
  Offer(HostTransportInterface2::kIID, mTransport2.get(), "Transport2");
}

InstanceHost::~InstanceHost() = default;

void InstanceHost::OfferEffectParameters(IACFUnknown* parameters)
{
  Offer(AAX_IACFEffectParameters::kIID, parameters, "EffectParameters");
}

HostControllerInterface2* InstanceHost::Controller2() const
{
  return mController2.get();
}
HostAutomationInterface* InstanceHost::Automation() const
{
  return mAutomation.get();
}
HostTransportInterface2* InstanceHost::Transport2() const
{
  return mTransport2.get();
}
}  // namespace aaxhost
