#pragma once

#include "framework/bindings/test/IPlugTestBinding.h"

#include <vector>

// A plug-in for the core's tests: records every parameter-change notice together with
// the parameter values it could see at that moment.
class TestPlug : public IPlugTestBinding
{
public:
  struct Change
  {
    int index;
    int cause;
    std::vector<double> values;
  };

  explicit TestPlug(const Args& args) : IPlugTestBinding(args) {}

  void HandleParameterChange(int paramIdx, int cause) override
  {
    IPlugTestBinding::HandleParameterChange(paramIdx, cause);
    changes.push_back({paramIdx, cause, Values()});
  }

  std::vector<double> Values() const
  {
    std::vector<double> values;
    for (int i = 0; i < NParams(); ++i)
      values.push_back(ParamAt(i)->Value());
    return values;
  }

  std::vector<Change> changes;
};

// Arguments for a plug-in with n parameters and the usual mono/stereo configurations.
inline IPlugTestBinding::Args PlugArgs(int nParams, const char* channelIO = "1-1 2-2", int nPresets = 1)
{
  IPlugTestBinding::Args args;
  args.nParams = nParams;
  args.channelIOStr = channelIO;
  args.nPresets = nPresets;
  return args;
}
