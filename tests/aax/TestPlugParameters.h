#pragma once

#include "framework/bindings/aax/AAX_CEffectParameters.h"
#include "framework/bindings/aax/AAX_CParameter.h"

#include <memory>
#include <stdexcept>

// A small plug-in over the effect-parameters base: a master bypass with the empty
// identifier, a gain "1" (-100..100 %), a mode "2" (A..D) and a switch "3".
class TestPlugParameters : public AAX_CEffectParameters
{
public:
  int definitions = 0;
  int hostValuesApplied = 0;
  bool throwWhileDefining = false;

  ACFResult DefineParameters() override
  {
    ++definitions;
    if (throwWhileDefining)
      throw std::runtime_error("no parameters today");
    Keep(AAX_MakeParameter<bool>("", "Master Bypass", false, AAX_CBinaryTaperDelegate<bool>(),
                                 AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true),
         2, AAX_IParameter::kDiscrete);
    Keep(AAX_MakeParameter<double>("1", "Gain", 0.0, AAX_CIPlugTaperDelegate<double>(-100.0, 100.0, 1.0),
                                   AAX_CUnitDisplayDelegateDecorator<double>(AAX_CNumberDisplayDelegate<double>(), "%"),
                                   true),
         128, AAX_IParameter::kContinuous);
    Keep(AAX_MakeParameter<int32_t>("2", "Mode", 1, AAX_CLinearTaperDelegate<int32_t>(0, 3),
                                    AAX_CStringDisplayDelegate<int32_t>({{0, "A"}, {1, "B"}, {2, "C"}, {3, "D"}}),
                                    true),
         4, AAX_IParameter::kDiscrete);
    Keep(AAX_MakeParameter<bool>("3", "Switch", false, AAX_CBinaryTaperDelegate<bool>(),
                                 AAX_CBinaryDisplayDelegate<bool>("off", "on"), false),
         2, AAX_IParameter::kDiscrete);
    return kAAX_Success;
  }

  ACFResult ApplyHostValue(const char* id, double normalized, uint32_t cause) override
  {
    ++hostValuesApplied;
    return AAX_CEffectParameters::ApplyHostValue(id, normalized, cause);
  }

  // Adds a parameter after start, as a plug-in with more parameters would.
  void Keep(AAX_ParameterPtr parameter, uint32_t steps, int32_t kind)
  {
    parameter->ChangeStepCount(steps);
    parameter->ChangeValueKind(kind);
    if (Parameters().Add(parameter.get()))
      parameter.release();
  }

  AAX_IParameter* Param(const char* id) { return Parameters().FindMutable(id); }
};
