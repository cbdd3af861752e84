// Units and program lists (IUnitInfo) and the MIDI-controller mapping (IMidiMapping).
#pragma once

#include <cstddef>

#include "sdk/vst3/IComponent.h"
#include "sdk/vst3/IEditController.h"

namespace vst3 {

using CtrlNumber = int16;

enum ControllerNumbers : int16
{
  kAfterTouch = 128,
  kPitchBend = 129,
  kCountCtrlNumber = 130
};

struct UnitInfo
{
  UnitID id;
  UnitID parentUnitId;
  String128 name;
  ProgramListID programListId;
};
static_assert(sizeof(UnitInfo) == 268 && offsetof(UnitInfo, name) == 8 && offsetof(UnitInfo, programListId) == 264,
              "UnitInfo layout");

struct ProgramListInfo
{
  ProgramListID id;
  String128 name;
  int32 programCount;
};
static_assert(sizeof(ProgramListInfo) == 264 && offsetof(ProgramListInfo, programCount) == 260,
              "ProgramListInfo layout");

class IUnitInfo : public FUnknown
{
public:
  virtual int32 PLUGIN_API getUnitCount() = 0;
  virtual tresult PLUGIN_API getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
  virtual int32 PLUGIN_API getProgramListCount() = 0;
  virtual tresult PLUGIN_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
  virtual tresult PLUGIN_API getProgramName(ProgramListID listId, int32 programIndex,
                                            TChar* name) = 0;  // String128
  virtual tresult PLUGIN_API getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                            TChar* attributeValue) = 0;
  virtual tresult PLUGIN_API hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
  virtual tresult PLUGIN_API getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                                 TChar* name) = 0;
  virtual UnitID PLUGIN_API getSelectedUnit() = 0;
  virtual tresult PLUGIN_API selectUnit(UnitID unitId) = 0;
  virtual tresult PLUGIN_API getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                          UnitID& unitId) = 0;
  virtual tresult PLUGIN_API setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) = 0;
  TQ_VST3_IID(3D4BD6B5, 913A4FD2, A886E768, A5EB92C1);
};

class IMidiMapping : public FUnknown
{
public:
  virtual tresult PLUGIN_API getMidiControllerAssignment(int32 busIndex, int16 channel, CtrlNumber midiControllerNumber,
                                                         ParamID& id) = 0;
  TQ_VST3_IID(DF0FF9F7, 49B74669, B63AB732, 7ADBF5E5);
};

}  // namespace vst3
