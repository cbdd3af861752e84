// The host window that holds the editor, asked from the host object the editor receives.
#pragma once

#include "sdk/aax/ACFUnknown.h"

// A view size as the host exchanges it: vertical first.
struct AAX_Point
{
  float vertical;
  float horizontal;
};

class HostViewContainerInterface : public IACFUnknown
{
public:
  static constexpr ACFGuid kIID = {0x22DA0BBC, 0xD550, 0x4D5E, {0x8C, 0xC6, 0x73, 0x44, 0x83, 0xB8, 0x83, 0x7F}};

  virtual ACFResult Unused3() = 0;
  virtual void* NativeWindow() = 0;
  virtual ACFResult CurrentModifiers(uint32_t* modifiers) = 0;
  virtual ACFResult ChangeViewSize(const AAX_Point* size) = 0;
  virtual ACFResult ForwardParameterClick(const char* parameterId, uint32_t modifiers) = 0;
  virtual ACFResult Unused8(ACFWord, ACFWord) = 0;
  virtual ACFResult Unused9(ACFWord, ACFWord) = 0;

protected:
  ~HostViewContainerInterface() = default;
};
