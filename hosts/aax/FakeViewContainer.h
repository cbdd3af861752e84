#pragma once

#include "hosts/aax/FakeHostObject.h"
#include "sdk/aax/HostViewContainerInterface.h"

#include <memory>

// The host object a host hands the editor when it attaches a view: its face "View" answers
// the window and the modifier word from the public fields; a click is taken (0) unless the
// log scripts "View.ForwardParameterClick" otherwise.
class FakeViewContainer : public FakeHostObject
{
public:
  explicit FakeViewContainer(CallLog& log);
  ~FakeViewContainer() override;

  void* window = nullptr;
  uint32_t modifiers = 0;

  HostViewContainerInterface* View() const;

private:
  class ViewFace;
  std::unique_ptr<ViewFace> mView;
};
