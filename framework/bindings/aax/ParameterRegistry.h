#pragma once

#include "framework/bindings/aax/AAX_IParameter.h"

#include <map>
#include <string>
#include <vector>

// The AAX parameters of one instance, in the order they were added and by identifier. It owns
// them; every parameter added is enrolled with the automation delegate set at that time.
class ParameterRegistry
{
public:
  ParameterRegistry() = default;
  ~ParameterRegistry();

  ParameterRegistry(const ParameterRegistry&) = delete;
  ParameterRegistry& operator=(const ParameterRegistry&) = delete;

  // Takes ownership and answers true, or answers false for a null parameter or an identifier
  // already present; a refused parameter stays with the caller.
  bool Add(AAX_IParameter* parameter);
  int32_t IndexOf(const char* id) const;
  AAX_IParameter* At(int32_t index) const;
  AAX_IParameter* FindMutable(const char* id) const;
  const AAX_IParameter* Find(const char* id) const { return FindMutable(id); }
  void UseAutomationDelegate(AAX_IAutomationDelegate* delegate) { mAutomation = delegate; }
  int32_t Count() const { return static_cast<int32_t>(mParameters.size()); }
  // Deletes every parameter, in order; each withdraws from its automation delegate.
  void RemoveAll();

private:
  AAX_IAutomationDelegate* mAutomation = nullptr;
  std::vector<AAX_IParameter*> mParameters;
  std::map<std::string, AAX_IParameter*> mById;
};
