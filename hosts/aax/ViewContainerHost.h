#pragma once

#include "hosts/aax/HostObject.h"
#include "sdk/aax/HostViewContainerInterface.h"

#include <memory>

namespace aaxhost {

// The host object a host hands the editor when it attaches a view: its face "View" answers
// the window and the modifier word from the public fields; a click is taken (0) unless the
// log scripts "View.ForwardParameterClick" otherwise.
class ViewContainerHost : public HostObject
{
public:
  explicit ViewContainerHost(CallLog& log);
  ~ViewContainerHost() override;

  void* window = nullptr;
  uint32_t modifiers = 0;

  HostViewContainerInterface* View() const;

private:
  class ViewFace;
  std::unique_ptr<ViewFace> mView;
};
}  // namespace aaxhost
