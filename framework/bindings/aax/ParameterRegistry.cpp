#include "framework/bindings/aax/ParameterRegistry.h"

#include <cstring>

ParameterRegistry::~ParameterRegistry()
{
  RemoveAll();
}

bool ParameterRegistry::Add(AAX_IParameter* parameter)
{
  if (!parameter || FindMutable(parameter->IdString()))
    return false;
  // The list has room before anything changes. Should the map run out of memory, the list
  // lets go again and the caller, who still owns the parameter, frees it (withdrawing it).
  mParameters.reserve(mParameters.size() + 1);
  parameter->AttachAutomationDelegate(mAutomation);
  mParameters.push_back(parameter);
  try
  {
    mById.emplace(parameter->IdString(), parameter);
  }
  catch (...)
  {
    mParameters.pop_back();
    throw;
  }
  return true;
}

int32_t ParameterRegistry::IndexOf(const char* id) const
{
  if (!id)
    return -1;
  for (size_t i = 0; i < mParameters.size(); ++i)
    if (std::strcmp(mParameters[i]->IdString(), id) == 0)
      return static_cast<int32_t>(i);
  return -1;
}

AAX_IParameter* ParameterRegistry::At(int32_t index) const
{
  return index >= 0 && index < Count() ? mParameters[static_cast<size_t>(index)] : nullptr;
}

AAX_IParameter* ParameterRegistry::FindMutable(const char* id) const
{
  if (!id)
    return nullptr;
  const auto found = mById.find(id);
  return found != mById.end() ? found->second : nullptr;
}

void ParameterRegistry::RemoveAll()
{
  for (AAX_IParameter* parameter : mParameters)
    parameter->DeletingDestructor(kAAX_DestroyFreesMemory);
  mParameters.clear();
  mById.clear();
}
