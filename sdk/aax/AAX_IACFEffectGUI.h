// The editor interface the host drives: instance life, the view container it shows the
// editor in, and the editor's size. The module implements it; operation N of the host's
// numbering is table slot N. Operations named IdleN take arguments the module ignores.
#pragma once

#include "sdk/aax/ACFUnknown.h"
#include "sdk/aax/HostViewContainerInterface.h"

class AAX_IACFEffectGUI : public IACFUnknown
{
public:
  static constexpr ACFGuid kIID = {0x964E323D, 0x424C, 0x5E1A, {0x22, 0x27, 0x28, 0x24, 0x23, 0x22, 0x2E, 0x1E}};

  virtual ACFResult StartInstance(IACFUnknown* hostObject) = 0;
  virtual ACFResult StopInstance() = 0;
  virtual ACFResult IdleThreeArgsA(ACFWord, ACFWord, ACFWord) = 0;
  // A host object offering the view container, or null when the host takes the view away.
  virtual ACFResult AttachViewContainer(IACFUnknown* viewHost) = 0;
  virtual ACFResult QueryViewSize(AAX_Point* size) = 0;
  virtual ACFResult IdleOneArg(ACFWord) = 0;
  virtual ACFResult IdleNoArgs() = 0;
  virtual ACFResult ParameterNotice(const char* parameterId) = 0;
  virtual ACFResult RefuseRequest(ACFWord, ACFWord) = 0;
  virtual ACFResult IdleThreeArgsB(ACFWord, ACFWord, ACFWord) = 0;

protected:
  ~AAX_IACFEffectGUI() = default;
};
