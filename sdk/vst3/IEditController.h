// The controller side of a plug-in (IEditController, IEditController2) and the host's
// component handler interfaces with its context menu.
#pragma once

#include <cstddef>

#include "sdk/vst3/FUnknown.h"
#include "sdk/vst3/IComponent.h"
#include "sdk/vst3/IParameterChanges.h"

namespace vst3 {

class IBStream;
class IPlugView;

using UnitID = int32;
using ProgramListID = int32;
using KnobMode = int32;

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;
constexpr int32 kAllProgramInvalid = -1;

enum KnobModes : int32
{
  kCircularMode = 0,
  kRelativCircularMode = 1,
  kLinearMode = 2
};

constexpr const char* kEditorViewType = "editor";

struct ParameterInfo
{
  enum ParameterFlags : int32
  {
    kNoFlags = 0,
    kCanAutomate = 1 << 0,
    kIsReadOnly = 1 << 1,
    kIsWrapAround = 1 << 2,
    kIsList = 1 << 3,
    kIsHidden = 1 << 4,
    kIsProgramChange = 1 << 15,
    kIsBypass = 1 << 16,
  };

  ParamID id;
  String128 title;
  String128 shortTitle;
  String128 units;
  int32 stepCount;  // 0: continuous, 1: toggle, n: n + 1 discrete values
  ParamValue defaultNormalizedValue;
  UnitID unitId;
  int32 flags;
};
static_assert(sizeof(ParameterInfo) == 792, "ParameterInfo size");
static_assert(offsetof(ParameterInfo, title) == 4 && offsetof(ParameterInfo, shortTitle) == 260 &&
                offsetof(ParameterInfo, units) == 516 && offsetof(ParameterInfo, stepCount) == 772 &&
                offsetof(ParameterInfo, defaultNormalizedValue) == 776 && offsetof(ParameterInfo, unitId) == 784 &&
                offsetof(ParameterInfo, flags) == 788,
              "ParameterInfo layout");

enum RestartFlags : int32
{
  kReloadComponent = 1 << 0,
  kIoChanged = 1 << 1,
  kParamValuesChanged = 1 << 2,
  kLatencyChanged = 1 << 3,
  kParamTitlesChanged = 1 << 4,
  kMidiCCAssignmentChanged = 1 << 5,
  kNoteExpressionChanged = 1 << 6,
  kIoTitlesChanged = 1 << 7,
  kPrefetchableSupportChanged = 1 << 8,
  kRoutingInfoChanged = 1 << 9,
  kKeyswitchChanged = 1 << 10,
  kParamIDMappingChanged = 1 << 11,
};

class IComponentHandler : public FUnknown
{
public:
  virtual tresult PLUGIN_API beginEdit(ParamID id) = 0;
  virtual tresult PLUGIN_API performEdit(ParamID id, ParamValue valueNormalized) = 0;
  virtual tresult PLUGIN_API endEdit(ParamID id) = 0;
  virtual tresult PLUGIN_API restartComponent(int32 flags) = 0;
  TQ_VST3_IID(93A0BEA3, 0BD045DB, 8E890B0C, C1E46AC6);
};

class IComponentHandler2 : public FUnknown
{
public:
  virtual tresult PLUGIN_API setDirty(TBool state) = 0;
  virtual tresult PLUGIN_API requestOpenEditor(FIDString name) = 0;
  virtual tresult PLUGIN_API startGroupEdit() = 0;
  virtual tresult PLUGIN_API finishGroupEdit() = 0;
  TQ_VST3_IID(F040B4B3, A36045EC, ABCDC045, B4D5A2CC);
};

struct IContextMenuItem
{
  enum Flags : int32
  {
    kIsSeparator = 1 << 0,
    kIsDisabled = 1 << 1,
    kIsChecked = 1 << 2,
    kIsGroupStart = 1 << 3 | kIsDisabled,
    kIsGroupEnd = 1 << 4 | kIsSeparator,
  };
  String128 name;
  int32 tag;
  int32 flags;
};
static_assert(sizeof(IContextMenuItem) == 264 && offsetof(IContextMenuItem, tag) == 256, "IContextMenuItem layout");

class IContextMenuTarget : public FUnknown
{
public:
  virtual tresult PLUGIN_API executeMenuItem(int32 tag) = 0;
  TQ_VST3_IID(3CDF2E75, 85D34144, BF86D36B, D7C4894D);
};

class IContextMenu : public FUnknown
{
public:
  virtual int32 PLUGIN_API getItemCount() = 0;
  virtual tresult PLUGIN_API getItem(int32 index, IContextMenuItem& item, IContextMenuTarget** target) = 0;
  virtual tresult PLUGIN_API addItem(const IContextMenuItem& item, IContextMenuTarget* target) = 0;
  virtual tresult PLUGIN_API removeItem(const IContextMenuItem& item, IContextMenuTarget* target) = 0;
  virtual tresult PLUGIN_API popup(UCoord x, UCoord y) = 0;
  TQ_VST3_IID(2E93C863, 0C9C4588, 97DBECF5, AD17817D);
};

class IComponentHandler3 : public FUnknown
{
public:
  // The menu comes back with a reference the caller releases.
  virtual IContextMenu* PLUGIN_API createContextMenu(IPlugView* view, const ParamID* paramID) = 0;
  TQ_VST3_IID(69F11617, D26B400D, A4B6B964, 7B6EBBAB);
};

class IEditController : public IPluginBase
{
public:
  virtual tresult PLUGIN_API setComponentState(IBStream* state) = 0;
  virtual tresult PLUGIN_API setState(IBStream* state) = 0;
  virtual tresult PLUGIN_API getState(IBStream* state) = 0;
  virtual int32 PLUGIN_API getParameterCount() = 0;
  virtual tresult PLUGIN_API getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
  virtual tresult PLUGIN_API getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                   TChar* string) = 0;  // String128 out
  virtual tresult PLUGIN_API getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) = 0;
  virtual ParamValue PLUGIN_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
  virtual ParamValue PLUGIN_API plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
  virtual ParamValue PLUGIN_API getParamNormalized(ParamID id) = 0;
  virtual tresult PLUGIN_API setParamNormalized(ParamID id, ParamValue value) = 0;
  virtual tresult PLUGIN_API setComponentHandler(IComponentHandler* handler) = 0;
  virtual IPlugView* PLUGIN_API createView(FIDString name) = 0;
  TQ_VST3_IID(DCD7BBE3, 7742448D, A874AACC, 979C759E);
};

class IEditController2 : public FUnknown
{
public:
  virtual tresult PLUGIN_API setKnobMode(KnobMode mode) = 0;
  virtual tresult PLUGIN_API openHelp(TBool onlyCheck) = 0;
  virtual tresult PLUGIN_API openAboutBox(TBool onlyCheck) = 0;
  TQ_VST3_IID(7F4EFE59, F3204967, AC27A3AE, AFB63038);
};

}  // namespace vst3
