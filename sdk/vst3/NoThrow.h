// No exception may reach a host: its frames come from another compiler and runtime, so an
// exception crossing the boundary ends the host process. Host calls that can fail inside
// (memory running out, above all) answer with a result code instead.
#pragma once

#include <new>

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

template <class Call>
tresult noThrow(Call&& call) noexcept
{
  try
  {
    return call();
  }
  catch (const std::bad_alloc&)
  {
    return kOutOfMemory;
  }
  catch (...)
  {
    return kInternalError;
  }
}

}  // namespace vst3
