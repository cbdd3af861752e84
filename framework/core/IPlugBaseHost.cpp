// What every binding does when its host makes or ends an object, sets a parameter or hands
// over a block: the bindings translate their host's calls into these, so the sequences
// exist once.
#include "framework/core/IPlugBase.h"

#include "platform/ScopedLock.h"

#include <algorithm>
#include <cmath>

PlugMutex* IPlugBase::CreationLock()
{
  // Made on first use, whichever thread that is; gone when the module unloads.
  static PlugMutex lock;
  return &lock;
}

void IPlugBase::DestroyAndFree(int flags)
{
  if (flags & kFreeObject)
    delete this;
  else
    this->~IPlugBase();
}

bool IPlugBase::SetParameterFromHost(int paramIdx, double normalised)
{
  return SetParameterFromHost(paramIdx, normalised, normalised);
}

bool IPlugBase::SetParameterFromHost(int paramIdx, double normalised, double shown)
{
  IPlugParameter* param = ParamAt(paramIdx);
  if (!param || std::isnan(normalised) || std::isnan(shown))
    return false;
  ScopedLock lock(&mMutex);
  param->SetFromNormal(std::clamp(normalised, 0.0, 1.0));
  if (mEditor)
    mEditor->PushParamToControls(paramIdx, std::clamp(shown, 0.0, 1.0), true);
  HandleParameterChange(paramIdx, kCauseEditorOrHost);
  return true;
}

void IPlugBase::ConnectHostInputs(int n)
{
  ConnectInputs(0, n, true);
  ConnectInputs(n, NInChannels(), false);
}

void IPlugBase::ConnectHostOutputs(int n)
{
  ConnectOutputs(0, n, true);
  ConnectOutputs(n, NOutChannels(), false);
}

void IPlugBase::AttachHostBuffers(float** in, float** out, int nFrames)
{
  BindInputsFloat(0, NInChannels(), in, nFrames);
  BindOutputsFloat(0, NOutChannels(), out);
}

void IPlugBase::AttachHostBuffers(double** in, double** out)
{
  BindInputsDouble(0, NInChannels(), in);
  BindOutputsDouble(0, NOutChannels(), out);
}

void IPlugBase::ProcessHostBlock(float** in, float** out, int nFrames, EBlockMode mode)
{
  AttachHostBuffers(in, out, nFrames);
  RunHostBlockFloat(nFrames, mode);
}

void IPlugBase::ProcessHostBlock(double** in, double** out, int nFrames, EBlockMode mode)
{
  AttachHostBuffers(in, out);
  RunHostBlockDouble(nFrames, mode);
}

void IPlugBase::RunHostBlockFloat(int nFrames, EBlockMode mode)
{
  switch (mode)
  {
  case kBlockBypass:
    BypassFloat(nFrames);
    break;
  case kBlockAccumulate:
    RunFloatAccumulate(nFrames);
    break;
  default:
    RunFloat(nFrames);
    break;
  }
}

void IPlugBase::RunHostBlockDouble(int nFrames, EBlockMode mode)
{
  if (mode == kBlockBypass)
    BypassDouble(nFrames);
  else
    RunDouble(nFrames);
}
