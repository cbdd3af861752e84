#include "sdk/vst3/EditController.h"

#include "sdk/vst3/NoThrow.h"
#include "sdk/vst3/StringConvert.h"

#include <cstring>

namespace vst3 {

EditController::~EditController()
{
  dropHandlers();
}

void EditController::dropHandlers()
{
  if (mComponentHandler2)
    mComponentHandler2->release();
  mComponentHandler2 = nullptr;
  if (mComponentHandler)
    mComponentHandler->release();
  mComponentHandler = nullptr;
}

tresult PLUGIN_API EditController::initialize(FUnknown* context)
{
  return ComponentBase::initialize(context);
}

tresult PLUGIN_API EditController::terminate()
{
  mParameters.removeAll();
  dropHandlers();
  return ComponentBase::terminate();
}

tresult PLUGIN_API EditController::setComponentState(IBStream*)
{
  return kNotImplemented;
}
tresult PLUGIN_API EditController::setState(IBStream* state)
{
  return setEditorState(state);
}
tresult PLUGIN_API EditController::getState(IBStream* state)
{
  return getEditorState(state);
}
tresult EditController::setEditorState(IBStream*)
{
  return kNotImplemented;
}
tresult EditController::getEditorState(IBStream*)
{
  return kNotImplemented;
}

int32 PLUGIN_API EditController::getParameterCount()
{
  return mParameters.getParameterCount();
}

tresult PLUGIN_API EditController::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
  const Parameter* p = mParameters.getParameterByIndex(paramIndex);
  if (!p)
    return kResultFalse;
  info = p->getInfo();
  return kResultTrue;
}

tresult PLUGIN_API EditController::getParamStringByValue(ParamID id, ParamValue valueNormalized, TChar* string)
{
  const Parameter* p = mParameters.getParameter(id);
  if (!p || !string)
    return kResultFalse;
  p->toString(valueNormalized, string);
  return kResultTrue;
}

tresult PLUGIN_API EditController::getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized)
{
  const Parameter* p = mParameters.getParameter(id);
  if (!p || !string)
    return kResultFalse;
  // The host's text is a String128: a text filling it without a terminator is read no further.
  String128 text;
  copyStr16(text, string, 128);
  return noThrow([&] { return p->fromString(text, valueNormalized) ? kResultTrue : kResultFalse; });
}

ParamValue PLUGIN_API EditController::normalizedParamToPlain(ParamID id, ParamValue valueNormalized)
{
  const Parameter* p = mParameters.getParameter(id);
  return p ? p->toPlain(valueNormalized) : valueNormalized;
}

ParamValue PLUGIN_API EditController::plainParamToNormalized(ParamID id, ParamValue plainValue)
{
  const Parameter* p = mParameters.getParameter(id);
  return p ? p->toNormalized(plainValue) : plainValue;
}

ParamValue PLUGIN_API EditController::getParamNormalized(ParamID id)
{
  const Parameter* p = mParameters.getParameter(id);
  return p ? p->getNormalized() : 0.0;
}

tresult PLUGIN_API EditController::setParamNormalized(ParamID id, ParamValue value)
{
  Parameter* p = mParameters.getParameter(id);
  if (!p)
    return kResultFalse;
  p->setNormalized(value);
  return kResultTrue;
}

tresult PLUGIN_API EditController::setComponentHandler(IComponentHandler* handler)
{
  if (handler == mComponentHandler)
    return kResultTrue;
  if (handler)
    handler->addRef();  // before dropping the old one: it may be the same object
  dropHandlers();
  mComponentHandler = handler;
  if (handler)
  {
    void* p = nullptr;
    if (handler->queryInterface(IComponentHandler2::iid, &p) == kResultOk && p)
      mComponentHandler2 = static_cast<IComponentHandler2*>(p);
  }
  return kResultTrue;
}

IPlugView* PLUGIN_API EditController::createView(FIDString)
{
  return nullptr;
}

tresult PLUGIN_API EditController::setKnobMode(KnobMode mode)
{
  mKnobMode = mode;
  return kResultTrue;
}

tresult PLUGIN_API EditController::openHelp(TBool)
{
  return kResultFalse;
}
tresult PLUGIN_API EditController::openAboutBox(TBool)
{
  return kResultFalse;
}

tresult EditController::beginEdit(ParamID id)
{
  return mComponentHandler ? mComponentHandler->beginEdit(id) : kResultFalse;
}

tresult EditController::performEdit(ParamID id, ParamValue valueNormalized)
{
  return mComponentHandler ? mComponentHandler->performEdit(id, valueNormalized) : kResultFalse;
}

tresult EditController::endEdit(ParamID id)
{
  return mComponentHandler ? mComponentHandler->endEdit(id) : kResultFalse;
}

tresult EditController::startGroupEdit()
{
  return mComponentHandler2 ? mComponentHandler2->startGroupEdit() : kNotImplemented;
}

tresult EditController::finishGroupEdit()
{
  return mComponentHandler2 ? mComponentHandler2->finishGroupEdit() : kNotImplemented;
}

tresult EditController::setDirty(bool state)
{
  return mComponentHandler2 ? mComponentHandler2->setDirty(state ? 1 : 0) : kNotImplemented;
}

tresult EditController::requestOpenEditor(FIDString name)
{
  return mComponentHandler2 ? mComponentHandler2->requestOpenEditor(name) : kNotImplemented;
}

tresult PLUGIN_API EditController::queryInterface(const TUID iid_, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (queryAs<IEditController>(iid_, obj, this) == kResultOk)
    return kResultOk;
  if (queryAs<IEditController2>(iid_, obj, this) == kResultOk)
    return kResultOk;
  return ComponentBase::queryInterface(iid_, obj);
}

}  // namespace vst3
