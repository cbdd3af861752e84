// The host object handed to initialize.
#pragma once

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

class IHostApplication : public FUnknown
{
public:
  virtual tresult PLUGIN_API getName(TChar* name) = 0;  // String128
  virtual tresult PLUGIN_API createInstance(char* cid, char* iid_, void** obj) = 0;
  TQ_VST3_IID(58E595CC, DB2D4969, 8B6AAF8C, 36A664E5);
};

}  // namespace vst3
