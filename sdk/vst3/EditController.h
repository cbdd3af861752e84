// The controller half of a plug-in: host parameters, the host's component handler and the
// edit notifications sent through it.
#pragma once

#include "sdk/vst3/ComponentBase.h"
#include "sdk/vst3/IEditController.h"
#include "sdk/vst3/Parameter.h"

namespace vst3 {

class EditController : public ComponentBase, public IEditController, public IEditController2
{
public:
  EditController() = default;
  ~EditController() override;

  // IPluginBase
  tresult PLUGIN_API initialize(FUnknown* context) override;
  tresult PLUGIN_API terminate() override;  // drops parameters and handlers

  // IEditController. The state pair goes to setEditorState/getEditorState, so a class that
  // is also a component can keep the component's state slots apart.
  tresult PLUGIN_API setComponentState(IBStream* state) override;
  tresult PLUGIN_API setState(IBStream* state) override;
  tresult PLUGIN_API getState(IBStream* state) override;
  int32 PLUGIN_API getParameterCount() override;
  tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) override;
  tresult PLUGIN_API getParamStringByValue(ParamID id, ParamValue valueNormalized, TChar* string) override;
  tresult PLUGIN_API getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) override;
  ParamValue PLUGIN_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) override;
  ParamValue PLUGIN_API plainParamToNormalized(ParamID id, ParamValue plainValue) override;
  ParamValue PLUGIN_API getParamNormalized(ParamID id) override;
  tresult PLUGIN_API setParamNormalized(ParamID id, ParamValue value) override;
  tresult PLUGIN_API setComponentHandler(IComponentHandler* handler) override;
  IPlugView* PLUGIN_API createView(FIDString name) override;

  // IEditController2
  tresult PLUGIN_API setKnobMode(KnobMode mode) override;
  tresult PLUGIN_API openHelp(TBool onlyCheck) override;
  tresult PLUGIN_API openAboutBox(TBool onlyCheck) override;

  // The controller's own state, as the host saves and restores it.
  virtual tresult setEditorState(IBStream* state);
  virtual tresult getEditorState(IBStream* state);

  // Edit notifications to the host; kResultFalse while no handler is set.
  virtual tresult beginEdit(ParamID id);
  virtual tresult performEdit(ParamID id, ParamValue valueNormalized);
  virtual tresult endEdit(ParamID id);
  // Forwarded to the handler's second interface; kNotImplemented without it.
  virtual tresult startGroupEdit();
  virtual tresult finishGroupEdit();
  virtual tresult setDirty(bool state);
  virtual tresult requestOpenEditor(FIDString name = kEditorViewType);

  IComponentHandler* getComponentHandler() const { return mComponentHandler; }
  KnobMode getKnobMode() const { return mKnobMode; }
  Parameter* getParameterObject(ParamID id) const { return mParameters.getParameter(id); }

  tresult PLUGIN_API queryInterface(const TUID iid_, void** obj) override;
  TQ_VST3_REFCOUNT_FROM(ComponentBase)
  TQ_VST3_OBJECT(EditController, ComponentBase)

protected:
  ParameterContainer mParameters;

private:
  void dropHandlers();

  IComponentHandler* mComponentHandler = nullptr;
  IComponentHandler2* mComponentHandler2 = nullptr;
  KnobMode mKnobMode = kCircularMode;
};

}  // namespace vst3
