// The component side of a plug-in: IPluginBase, IComponent and the bus records.
#pragma once

#include <cstddef>

#include "sdk/vst3/FUnknown.h"

namespace vst3 {

class IBStream;

using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;

enum MediaTypes : int32
{
  kAudio = 0,
  kEvent = 1,
  kNumMediaTypes = 2
};
enum BusDirections : int32
{
  kInput = 0,
  kOutput = 1
};
enum BusTypes : int32
{
  kMain = 0,
  kAux = 1
};
enum IoModes : int32
{
  kSimple = 0,
  kAdvanced = 1,
  kOfflineProcessing = 2
};

struct BusInfo
{
  enum BusFlags : uint32
  {
    kDefaultActive = 1,
    kIsControlVoltage = 2
  };

  MediaType mediaType;
  BusDirection direction;
  int32 channelCount;
  String128 name;
  BusType busType;
  uint32 flags;
};
static_assert(sizeof(BusInfo) == 276, "BusInfo size");
static_assert(offsetof(BusInfo, name) == 12 && offsetof(BusInfo, busType) == 268 && offsetof(BusInfo, flags) == 272,
              "BusInfo layout");

struct RoutingInfo
{
  MediaType mediaType;
  int32 busIndex;
  int32 channel;  // -1: all channels
};
static_assert(sizeof(RoutingInfo) == 12, "RoutingInfo size");

class IPluginBase : public FUnknown
{
public:
  virtual tresult PLUGIN_API initialize(FUnknown* context) = 0;
  virtual tresult PLUGIN_API terminate() = 0;
  TQ_VST3_IID(22888DDB, 156E45AE, 8358B348, 08190625);
};

class IComponent : public IPluginBase
{
public:
  virtual tresult PLUGIN_API getControllerClassId(char* classId) = 0;  // TUID out
  virtual tresult PLUGIN_API setIoMode(IoMode mode) = 0;
  virtual int32 PLUGIN_API getBusCount(MediaType type, BusDirection dir) = 0;
  virtual tresult PLUGIN_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) = 0;
  virtual tresult PLUGIN_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
  virtual tresult PLUGIN_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) = 0;
  virtual tresult PLUGIN_API setActive(TBool state) = 0;
  virtual tresult PLUGIN_API setState(IBStream* state) = 0;
  virtual tresult PLUGIN_API getState(IBStream* state) = 0;
  TQ_VST3_IID(E831FF31, F2D54301, 928EBBEE, 25697802);
};

}  // namespace vst3
