// The host's per-instance interfaces, reached from the host object the module receives when
// the host starts an instance: controller, automation and transport. Operations named
// UnusedN are never called by the module; N is the operation's number in the host's table.
#pragma once

#include "sdk/aax/ACFUnknown.h"

class HostControllerInterface : public IACFUnknown
{
public:
  static constexpr ACFGuid kIID = {0x9D5E3E3D, 0x52DC, 0x5EFB, {0x20, 0x18, 0xDE, 0x1D, 0xE2, 0xE6, 0x3F, 0x4E}};

  virtual ACFResult Unused3(ACFWord) = 0;
  virtual ACFResult ReadSampleRate(float* rate) = 0;
  virtual ACFResult InStemLayout(uint32_t* stem) = 0;
  virtual ACFResult OutStemLayout(uint32_t* stem) = 0;
  virtual ACFResult Unused7(ACFWord) = 0;
  virtual ACFResult Unused8(ACFWord, ACFWord) = 0;
  virtual ACFResult Unused9(ACFWord) = 0;
  virtual ACFResult ReportLatency(int32_t samples) = 0;
  virtual ACFResult Unused11(ACFWord, ACFWord, ACFWord) = 0;
  virtual ACFResult SendPacket(uint32_t packetId, const void* data, uint32_t size) = 0;
  virtual ACFResult Unused13(ACFWord, ACFWord) = 0;
  virtual ACFResult Unused14(ACFWord, ACFWord) = 0;
  virtual ACFResult Unused15(ACFWord) = 0;
  virtual ACFResult Unused16(ACFWord, ACFWord) = 0;
  virtual ACFResult Unused17(ACFWord) = 0;
  virtual ACFResult Unused18(ACFWord) = 0;
  virtual ACFResult Unused19(ACFWord, ACFWord) = 0;

protected:
  ~HostControllerInterface() = default;
};

class HostControllerInterface2 : public HostControllerInterface
{
public:
  static constexpr ACFGuid kIID = {0x4C59AA0E, 0xD7C0, 0x4205, {0x8B, 0x6C, 0x32, 0x46, 0x8D, 0x42, 0xD2, 0x02}};

  virtual ACFResult Unused20(ACFWord, ACFWord, ACFWord) = 0;
  virtual ACFResult Unused21(ACFWord) = 0;
  virtual ACFResult Unused22(uint64_t* value) = 0;
  virtual ACFResult Unused23(ACFWord) = 0;

protected:
  ~HostControllerInterface2() = default;
};

// Parameters are named by their identifier text; values are normalised, 0 to 1.
class HostAutomationInterface : public IACFUnknown
{
public:
  static constexpr ACFGuid kIID = {0x9D5E3D3D, 0x42DC, 0x5EFA, {0x22, 0x17, 0xEE, 0xE2, 0xE8, 0xE5, 0x3E, 0x2E}};

  virtual ACFResult EnrolParameter(const char* id) = 0;
  virtual ACFResult WithdrawParameter(const char* id) = 0;
  virtual ACFResult RequestValue(const char* id, double normalized) = 0;
  virtual ACFResult AnnounceValue(const char* id, double normalized) = 0;
  virtual ACFResult StartTouch(const char* id) = 0;
  virtual ACFResult StopTouch(const char* id) = 0;
  virtual ACFResult Unused9(ACFWord, ACFWord) = 0;

protected:
  ~HostAutomationInterface() = default;
};

// Positions are in ticks, 960000 to a quarter note.
class HostTransportInterface : public IACFUnknown
{
public:
  static constexpr ACFGuid kIID = {0x5CEE4EF4, 0x6337, 0x4359, {0xB6, 0x3B, 0xFE, 0x58, 0xDC, 0x36, 0x54, 0x3A}};

  virtual ACFResult ReadTempo(double* bpm) = 0;
  virtual ACFResult ReadTimeSignature(int32_t* numerator, int32_t* denominator) = 0;
  virtual ACFResult ReadPlayState(bool* playing) = 0;
  virtual ACFResult ReadTicks(int64_t* ticks) = 0;
  virtual ACFResult ReadCycle(bool* looping, int64_t* startTicks, int64_t* endTicks) = 0;
  virtual ACFResult ReadSamplePosition(int64_t* samples) = 0;
  virtual ACFResult Unused9(ACFWord, ACFWord, ACFWord) = 0;
  virtual ACFResult Unused10(ACFWord, ACFWord, ACFWord, ACFWord, ACFWord) = 0;
  virtual ACFResult Unused11(ACFWord) = 0;
  virtual ACFResult Unused12(ACFWord) = 0;

protected:
  ~HostTransportInterface() = default;
};

class HostTransportInterface2 : public HostTransportInterface
{
public:
  static constexpr ACFGuid kIID = {0x203CBD9F, 0x982C, 0x4FE6, {0xA8, 0x27, 0x07, 0x48, 0x02, 0x57, 0xAE, 0xC3}};

  virtual ACFResult Unused13(ACFWord) = 0;
  virtual ACFResult Unused14(ACFWord, ACFWord) = 0;
  virtual ACFResult Unused15(ACFWord, ACFWord) = 0;
  virtual ACFResult Unused16(ACFWord) = 0;

protected:
  ~HostTransportInterface2() = default;
};
