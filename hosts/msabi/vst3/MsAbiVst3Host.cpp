// A VST3 host as Microsoft's compiler builds it: the interfaces are plain C++ classes whose
// every operation is stdcall on x86 and which have no destructor, the records are laid out by
// that compiler, and the host's own objects (application, component handler, streams,
// parameter changes, the process data and transport) implement those declarations. Compiled
// by clang for the MSVC target, without any system header; the module on the other side
// shares nothing with it but the binary interface.
#include "hosts/msabi/vst3/MsAbiVst3Host.h"

#if defined(_M_IX86)
#define HOSTCALL __stdcall
#else
#define HOSTCALL
#endif

namespace {

using int16 = short;
using int32 = int;
using uint32 = unsigned int;
using int64 = long long;
using uint64 = unsigned long long;
using tresult = int32;
using TBool = unsigned char;
using char16 = char16_t;
using ParamID = uint32;
using ParamValue = double;
using SpeakerArrangement = uint64;

static_assert(sizeof(int64) == 8 && sizeof(char16) == 2 && sizeof(uint32) == 4, "basic types");

constexpr tresult kResultOk = 0;
constexpr tresult kResultFalse = 1;
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);

// ---- Ids in the COM layout the host's compiler uses --------------------------------------------

struct Uid
{
  unsigned char bytes[16];
};

constexpr Uid comId(uint32 l1, uint32 l2, uint32 l3, uint32 l4)
{
  Uid id{};
  for (int i = 0; i < 4; ++i)
  {
    id.bytes[i] = static_cast<unsigned char>(l1 >> (8 * i));
    id.bytes[8 + i] = static_cast<unsigned char>(l3 >> (24 - 8 * i));
    id.bytes[12 + i] = static_cast<unsigned char>(l4 >> (24 - 8 * i));
  }
  id.bytes[4] = static_cast<unsigned char>(l2 >> 16);
  id.bytes[5] = static_cast<unsigned char>(l2 >> 24);
  id.bytes[6] = static_cast<unsigned char>(l2);
  id.bytes[7] = static_cast<unsigned char>(l2 >> 8);
  return id;
}

constexpr Uid kFUnknownId = comId(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
constexpr Uid kComponentId = comId(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
constexpr Uid kAudioProcessorId = comId(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
constexpr Uid kEditControllerId = comId(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
constexpr Uid kPluginFactory2Id = comId(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
constexpr Uid kHostApplicationId = comId(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
constexpr Uid kComponentHandlerId = comId(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
constexpr Uid kStreamId = comId(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
constexpr Uid kParameterChangesId = comId(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
constexpr Uid kParamValueQueueId = comId(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);

bool sameId(const char* bytes, const Uid& id)
{
  if (!bytes)
    return false;
  for (int i = 0; i < 16; ++i)
    if (static_cast<unsigned char>(bytes[i]) != id.bytes[i])
      return false;
  return true;
}

const char* idPointer(const Uid& id)
{
  return reinterpret_cast<const char*>(id.bytes);
}

// ---- Records ---------------------------------------------------------------------------------------

struct PFactoryInfo
{
  char vendor[64];
  char url[256];
  char email[128];
  int32 flags;
};

struct PClassInfo2
{
  char cid[16];
  int32 cardinality;
  char category[32];
  char name[64];
  uint32 classFlags;
  char subCategories[128];
  char vendor[64];
  char version[64];
  char sdkVersion[64];
};

struct BusInfo
{
  int32 mediaType;
  int32 direction;
  int32 channelCount;
  char16 name[128];
  int32 busType;
  uint32 flags;
};

struct ParameterInfo
{
  ParamID id;
  char16 title[128];
  char16 shortTitle[128];
  char16 units[128];
  int32 stepCount;
  ParamValue defaultNormalizedValue;
  int32 unitId;
  int32 flags;
};

struct ProcessSetup
{
  int32 processMode;
  int32 symbolicSampleSize;
  int32 maxSamplesPerBlock;
  double sampleRate;
};

struct AudioBusBuffers
{
  int32 numChannels;
  uint64 silenceFlags;
  union
  {
    float** channelBuffers32;
    double** channelBuffers64;
  };
};

struct ProcessContext
{
  uint32 state;
  double sampleRate;
  int64 projectTimeSamples;
  int64 systemTime;
  int64 continousTimeSamples;
  double projectTimeMusic;
  double barPositionMusic;
  double cycleStartMusic;
  double cycleEndMusic;
  double tempo;
  int32 timeSigNumerator;
  int32 timeSigDenominator;
  int32 chord;
  int32 smpteOffsetSubframes;
  uint32 frameRate[2];
  int32 samplesToNextClock;
};

class IParameterChanges;
class IEventList;

struct ProcessData
{
  int32 processMode;
  int32 symbolicSampleSize;
  int32 numSamples;
  int32 numInputs;
  int32 numOutputs;
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext;
};

constexpr bool k64 = sizeof(void*) == 8;
static_assert(sizeof(PFactoryInfo) == 452 && sizeof(PClassInfo2) == 440, "factory records");
static_assert(sizeof(BusInfo) == 276 && sizeof(ParameterInfo) == 792, "bus and parameter records");
static_assert(__builtin_offsetof(ParameterInfo, defaultNormalizedValue) == 776, "parameter default");
static_assert(sizeof(ProcessSetup) == 24 && sizeof(AudioBusBuffers) == 24, "set-up and bus buffers");
static_assert(sizeof(ProcessContext) == 112 && __builtin_offsetof(ProcessContext, tempo) == 72, "transport");
static_assert(sizeof(ProcessData) == (k64 ? 80 : 48), "process data");
static_assert(__builtin_offsetof(ProcessData, processContext) == (k64 ? 72 : 44), "process data");

// ---- Interfaces, slot by slot ----------------------------------------------------------------------

class FUnknown
{
public:
  virtual tresult HOSTCALL queryInterface(const char* iid, void** obj) = 0;
  virtual uint32 HOSTCALL addRef() = 0;
  virtual uint32 HOSTCALL release() = 0;
};

class IPluginFactory : public FUnknown
{
public:
  virtual tresult HOSTCALL getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32 HOSTCALL countClasses() = 0;
  virtual tresult HOSTCALL getClassInfo(int32 index, void* info) = 0;
  virtual tresult HOSTCALL createInstance(const char* cid, const char* iid, void** obj) = 0;
};

class IPluginFactory2 : public IPluginFactory
{
public:
  virtual tresult HOSTCALL getClassInfo2(int32 index, PClassInfo2* info) = 0;
};

class IPluginBase : public FUnknown
{
public:
  virtual tresult HOSTCALL initialize(FUnknown* context) = 0;
  virtual tresult HOSTCALL terminate() = 0;
};

class IBStream : public FUnknown
{
public:
  virtual tresult HOSTCALL read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
  virtual tresult HOSTCALL write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
  virtual tresult HOSTCALL seek(int64 pos, int32 mode, int64* result) = 0;
  virtual tresult HOSTCALL tell(int64* pos) = 0;
};

class IComponent : public IPluginBase
{
public:
  virtual tresult HOSTCALL getControllerClassId(char* classId) = 0;
  virtual tresult HOSTCALL setIoMode(int32 mode) = 0;
  virtual int32 HOSTCALL getBusCount(int32 type, int32 dir) = 0;
  virtual tresult HOSTCALL getBusInfo(int32 type, int32 dir, int32 index, BusInfo& bus) = 0;
  virtual tresult HOSTCALL getRoutingInfo(void* inInfo, void* outInfo) = 0;
  virtual tresult HOSTCALL activateBus(int32 type, int32 dir, int32 index, TBool state) = 0;
  virtual tresult HOSTCALL setActive(TBool state) = 0;
  virtual tresult HOSTCALL setState(IBStream* state) = 0;
  virtual tresult HOSTCALL getState(IBStream* state) = 0;
};

class IAudioProcessor : public FUnknown
{
public:
  virtual tresult HOSTCALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                              int32 numOuts) = 0;
  virtual tresult HOSTCALL getBusArrangement(int32 dir, int32 index, SpeakerArrangement& arr) = 0;
  virtual tresult HOSTCALL canProcessSampleSize(int32 symbolicSampleSize) = 0;
  virtual uint32 HOSTCALL getLatencySamples() = 0;
  virtual tresult HOSTCALL setupProcessing(ProcessSetup& setup) = 0;
  virtual tresult HOSTCALL setProcessing(TBool state) = 0;
  virtual tresult HOSTCALL process(ProcessData& data) = 0;
  virtual uint32 HOSTCALL getTailSamples() = 0;
};

class IComponentHandler : public FUnknown
{
public:
  virtual tresult HOSTCALL beginEdit(ParamID id) = 0;
  virtual tresult HOSTCALL performEdit(ParamID id, ParamValue valueNormalized) = 0;
  virtual tresult HOSTCALL endEdit(ParamID id) = 0;
  virtual tresult HOSTCALL restartComponent(int32 flags) = 0;
};

class IEditController : public IPluginBase
{
public:
  virtual tresult HOSTCALL setComponentState(IBStream* state) = 0;
  virtual tresult HOSTCALL setState(IBStream* state) = 0;
  virtual tresult HOSTCALL getState(IBStream* state) = 0;
  virtual int32 HOSTCALL getParameterCount() = 0;
  virtual tresult HOSTCALL getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
  virtual tresult HOSTCALL getParamStringByValue(ParamID id, ParamValue valueNormalized, char16* string) = 0;
  virtual tresult HOSTCALL getParamValueByString(ParamID id, char16* string, ParamValue& valueNormalized) = 0;
  virtual ParamValue HOSTCALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
  virtual ParamValue HOSTCALL plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
  virtual ParamValue HOSTCALL getParamNormalized(ParamID id) = 0;
  virtual tresult HOSTCALL setParamNormalized(ParamID id, ParamValue value) = 0;
  virtual tresult HOSTCALL setComponentHandler(IComponentHandler* handler) = 0;
  virtual void* HOSTCALL createView(const char* name) = 0;
};

class IHostApplication : public FUnknown
{
public:
  virtual tresult HOSTCALL getName(char16* name) = 0;
  virtual tresult HOSTCALL createInstance(char* cid, char* iid, void** obj) = 0;
};

class IParamValueQueue : public FUnknown
{
public:
  virtual ParamID HOSTCALL getParameterId() = 0;
  virtual int32 HOSTCALL getPointCount() = 0;
  virtual tresult HOSTCALL getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
  virtual tresult HOSTCALL addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;
};

class IParameterChanges : public FUnknown
{
public:
  virtual int32 HOSTCALL getParameterCount() = 0;
  virtual IParamValueQueue* HOSTCALL getParameterData(int32 index) = 0;
  virtual IParamValueQueue* HOSTCALL addParameterData(const ParamID& id, int32& index) = 0;
};

// ---- The host's objects ----------------------------------------------------------------------------

// Reference counting of an object the host owns: it starts with the host's own reference
// and is never freed by a release, so a count left over shows after the session.
template <class Interface>
class HostObject : public Interface
{
public:
  constexpr explicit HostObject(const Uid& ownId) : mOwnId(ownId) {}

  tresult HOSTCALL queryInterface(const char* iid, void** obj) override
  {
    if (!obj)
      return kInvalidArgument;
    if (sameId(iid, kFUnknownId) || sameId(iid, mOwnId))
    {
      *obj = static_cast<Interface*>(this);
      addRef();
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 HOSTCALL addRef() override { return static_cast<uint32>(++references); }
  uint32 HOSTCALL release() override { return static_cast<uint32>(--references); }

  int references = 1;

private:
  Uid mOwnId;
};

void copyText16(char16* out, const char* text, int capacity)
{
  int i = 0;
  for (; text[i] && i < capacity - 1; ++i)
    out[i] = static_cast<char16>(text[i]);
  out[i] = 0;
}

class HostApplication : public HostObject<IHostApplication>
{
public:
  constexpr HostApplication() : HostObject(kHostApplicationId) {}

  tresult HOSTCALL getName(char16* name) override
  {
    ++nameCalls;
    if (!name)
      return kInvalidArgument;
    copyText16(name, "MSVC ABI host", 128);
    return kResultOk;
  }
  tresult HOSTCALL createInstance(char*, char*, void** obj) override
  {
    if (obj)
      *obj = nullptr;
    return kNoInterface;
  }

  int nameCalls = 0;
};

class ComponentHandler : public HostObject<IComponentHandler>
{
public:
  constexpr ComponentHandler() : HostObject(kComponentHandlerId) {}

  tresult HOSTCALL beginEdit(ParamID) override { return kResultOk; }
  tresult HOSTCALL performEdit(ParamID, ParamValue) override
  {
    ++performEdits;
    return kResultOk;
  }
  tresult HOSTCALL endEdit(ParamID) override { return kResultOk; }
  tresult HOSTCALL restartComponent(int32) override { return kResultOk; }

  int performEdits = 0;
};

// A stream over a fixed buffer; reads and writes share the position.
class MemoryStream : public HostObject<IBStream>
{
public:
  constexpr MemoryStream() : HostObject(kStreamId) {}

  void reset()
  {
    size = 0;
    position = 0;
  }
  tresult HOSTCALL read(void* buffer, int32 numBytes, int32* numBytesRead) override
  {
    if (!buffer || numBytes < 0)
      return kInvalidArgument;
    int32 n = 0;
    for (; n < numBytes && position < size; ++n)
      static_cast<unsigned char*>(buffer)[n] = bytes[position++];
    if (numBytesRead)
      *numBytesRead = n;
    return kResultOk;
  }
  tresult HOSTCALL write(void* buffer, int32 numBytes, int32* numBytesWritten) override
  {
    if (!buffer || numBytes < 0 || numBytes > kMsVst3StateCapacity - position)
      return kResultFalse;
    for (int32 n = 0; n < numBytes; ++n)
      bytes[position++] = static_cast<const unsigned char*>(buffer)[n];
    if (position > size)
      size = position;
    if (numBytesWritten)
      *numBytesWritten = numBytes;
    return kResultOk;
  }
  tresult HOSTCALL seek(int64 pos, int32 mode, int64* result) override
  {
    const int64 base = mode == 0 ? 0 : mode == 1 ? position : size;
    if (mode < 0 || mode > 2 || base + pos < 0 || base + pos > size)
      return kInvalidArgument;
    position = static_cast<int32>(base + pos);
    if (result)
      *result = position;
    return kResultOk;
  }
  tresult HOSTCALL tell(int64* pos) override
  {
    if (!pos)
      return kInvalidArgument;
    *pos = position;
    return kResultOk;
  }

  unsigned char bytes[kMsVst3StateCapacity] = {};
  int32 size = 0;
  int32 position = 0;
};

// One point at offset 0.
class ParamValueQueue : public HostObject<IParamValueQueue>
{
public:
  constexpr ParamValueQueue() : HostObject(kParamValueQueueId) {}

  ParamID HOSTCALL getParameterId() override { return id; }
  int32 HOSTCALL getPointCount() override { return 1; }
  tresult HOSTCALL getPoint(int32 index, int32& sampleOffset, ParamValue& point) override
  {
    if (index != 0)
      return kResultFalse;
    sampleOffset = 0;
    point = value;
    return kResultOk;
  }
  tresult HOSTCALL addPoint(int32, ParamValue, int32&) override { return kResultFalse; }

  ParamID id = 0;
  ParamValue value = 0.0;
};

class ParameterChanges : public HostObject<IParameterChanges>
{
public:
  static constexpr int kCapacity = 8;
  constexpr ParameterChanges() : HostObject(kParameterChangesId) {}

  // A change of an id already pending replaces its value.
  bool add(ParamID id, ParamValue value)
  {
    int i = 0;
    while (i < count && queues[i].id != id)
      ++i;
    if (i == kCapacity)
      return false;
    queues[i].id = id;
    queues[i].value = value;
    count = i == count ? count + 1 : count;
    return true;
  }
  int32 HOSTCALL getParameterCount() override { return count; }
  IParamValueQueue* HOSTCALL getParameterData(int32 index) override
  {
    return index >= 0 && index < count ? &queues[index] : nullptr;
  }
  IParamValueQueue* HOSTCALL addParameterData(const ParamID&, int32& index) override
  {
    index = -1;
    return nullptr;
  }

  ParamValueQueue queues[kCapacity];
  int count = 0;
};

// ---- The session -------------------------------------------------------------------------------------

using GetFactoryProc = IPluginFactory*(HOSTCALL*)();

struct Session
{
  GetFactoryProc getFactory = nullptr;
  IPluginFactory* factory = nullptr;
  IComponent* component = nullptr;
  IAudioProcessor* processor = nullptr;
  IEditController* controller = nullptr;
  bool initialized = false;  // a refused initialize is followed by release alone
  bool active = false;
  int32 sampleSize = 0;
  int32 channels = 0;
  ProcessContext transport = {};
  const char* lastCall = "";
};

Session gSession;
HostApplication gApplication;
ComponentHandler gHandler;
MemoryStream gComponentStream;
MemoryStream gControllerStream;
ParameterChanges gChanges;

const char* note(const char* call)
{
  gSession.lastCall = call;
  return call;
}

void narrow(char* out, const char16* text, int capacity)
{
  int i = 0;
  for (; i < capacity - 1 && text[i]; ++i)
    out[i] = text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  out[i] = 0;
}

void copyText(char* out, const char* text, int capacity)
{
  int i = 0;
  for (; i < capacity - 1 && text[i]; ++i)
    out[i] = text[i];
  out[i] = 0;
}

// Asks an interface of an object; null when refused.
template <class Interface>
Interface* query(FUnknown* object, const Uid& id, const char* call)
{
  void* out = nullptr;
  note(call);
  return object->queryInterface(idPointer(id), &out) == kResultOk ? static_cast<Interface*>(out) : nullptr;
}

void resetHostObjects()
{
  gApplication.references = gHandler.references = 1;
  gComponentStream.references = gControllerStream.references = gChanges.references = 1;
  for (ParamValueQueue& q : gChanges.queues)
    q.references = 1;
  gApplication.nameCalls = gHandler.performEdits = 0;
  gComponentStream.reset();
  gControllerStream.reset();
  gChanges.count = 0;
}

// Of two objects' counts, the one that is not back at the host's own reference.
int leftOver(int a, int b)
{
  return a != 1 ? a : b;
}

bool acceptable(tresult r)
{
  return r == kResultOk || r == kNotImplemented;
}

}  // namespace

extern "C" {

int tq_msvst3_open(void* getPluginFactory)
{
  if (!getPluginFactory || gSession.factory)
    return kMsVst3NotReady;
  gSession = Session{};
  resetHostObjects();
  gSession.getFactory = reinterpret_cast<GetFactoryProc>(getPluginFactory);
  note("GetPluginFactory");
  gSession.factory = gSession.getFactory();
  return gSession.factory ? kResultOk : kResultFalse;
}

int tq_msvst3_factory(MsVst3FactoryFacts* out)
{
  if (!gSession.factory || !out)
    return kMsVst3NotReady;
  PFactoryInfo info = {};
  note("getFactoryInfo");
  out->factoryInfoResult = gSession.factory->getFactoryInfo(&info);
  copyText(out->vendor, info.vendor, 64);
  out->factoryFlags = info.flags;
  note("countClasses");
  out->classCount = gSession.factory->countClasses();

  IPluginFactory2* factory2 = query<IPluginFactory2>(gSession.factory, kPluginFactory2Id, "queryInterface(factory 2)");
  if (!factory2)
    return kNoInterface;
  PClassInfo2 cls = {};
  note("getClassInfo2");
  out->classInfoResult = factory2->getClassInfo2(0, &cls);
  factory2->release();
  for (int i = 0; i < 16; ++i)
    out->cid[i] = static_cast<unsigned char>(cls.cid[i]);
  out->cardinality = cls.cardinality;
  copyText(out->category, cls.category, 32);
  copyText(out->name, cls.name, 64);
  out->classFlags = cls.classFlags;
  copyText(out->subCategories, cls.subCategories, 128);
  copyText(out->version, cls.version, 64);
  copyText(out->sdkVersion, cls.sdkVersion, 64);

  note("GetPluginFactory");
  IPluginFactory* again = gSession.getFactory();
  out->sameFactoryAgain = again == gSession.factory;
  note("release");
  out->countAfterSecondRelease = again ? again->release() : 0;
  return out->factoryInfoResult;
}

int tq_msvst3_create(void)
{
  if (!gSession.factory || gSession.component)
    return kMsVst3NotReady;
  IPluginFactory2* factory2 = query<IPluginFactory2>(gSession.factory, kPluginFactory2Id, "queryInterface(factory 2)");
  if (!factory2)
    return kNoInterface;
  PClassInfo2 cls = {};
  note("getClassInfo2");
  const tresult listed = factory2->getClassInfo2(0, &cls);
  factory2->release();
  if (listed != kResultOk)
    return listed;

  void* object = nullptr;
  note("createInstance");
  const tresult created = gSession.factory->createInstance(cls.cid, idPointer(kComponentId), &object);
  if (created != kResultOk || !object)
    return created != kResultOk ? created : kResultFalse;
  gSession.component = static_cast<IComponent*>(object);
  note("initialize");
  const tresult initialized = gSession.component->initialize(&gApplication);
  if (initialized != kResultOk)
    return initialized;
  gSession.initialized = true;
  gSession.processor = query<IAudioProcessor>(gSession.component, kAudioProcessorId, "queryInterface(processor)");
  gSession.controller = query<IEditController>(gSession.component, kEditControllerId, "queryInterface(controller)");
  if (!gSession.processor || !gSession.controller)
    return kNoInterface;
  note("setComponentHandler");
  return gSession.controller->setComponentHandler(&gHandler);
}

int tq_msvst3_parameter_count(void)
{
  if (!gSession.controller)
    return kMsVst3NotReady;
  note("getParameterCount");
  return gSession.controller->getParameterCount();
}

int tq_msvst3_parameter(int index, MsVst3ParameterFacts* out)
{
  if (!gSession.controller || !out)
    return kMsVst3NotReady;
  ParameterInfo info = {};
  note("getParameterInfo");
  const tresult r = gSession.controller->getParameterInfo(index, info);
  out->id = info.id;
  narrow(out->title, info.title, 128);
  narrow(out->units, info.units, 128);
  out->stepCount = info.stepCount;
  out->defaultNormalized = info.defaultNormalizedValue;
  out->unitId = info.unitId;
  out->flags = info.flags;
  char16 display[128] = {};
  note("getParamStringByValue");
  out->displayResult = gSession.controller->getParamStringByValue(info.id, info.defaultNormalizedValue, display);
  narrow(out->display, display, 128);
  return r;
}

int tq_msvst3_bus(int mediaType, int direction, int index, MsVst3BusFacts* out)
{
  if (!gSession.component || !out)
    return kMsVst3NotReady;
  BusInfo bus = {};
  note("getBusInfo");
  const tresult r = gSession.component->getBusInfo(mediaType, direction, index, bus);
  out->mediaType = bus.mediaType;
  out->direction = bus.direction;
  out->channelCount = bus.channelCount;
  narrow(out->name, bus.name, 128);
  out->busType = bus.busType;
  out->flags = bus.flags;
  return r;
}

int tq_msvst3_set_parameter(unsigned id, double normalized)
{
  if (!gSession.controller)
    return kMsVst3NotReady;
  if (!gChanges.add(id, normalized))
    return kResultFalse;
  note("setParamNormalized");
  return gSession.controller->setParamNormalized(id, normalized);
}

double tq_msvst3_get_parameter(unsigned id)
{
  if (!gSession.controller)
    return -1.0;
  note("getParamNormalized");
  return gSession.controller->getParamNormalized(id);
}

int tq_msvst3_start(int channels, int sampleSize, double sampleRate, int maxBlock, double tempo)
{
  if (!gSession.processor || gSession.active || channels < 1 || channels > kMsVst3MaxChannels)
    return kMsVst3NotReady;
  SpeakerArrangement arrangement = channels == 1 ? 0x80000ull : 3ull;
  SpeakerArrangement outArrangement = arrangement;
  note("setBusArrangements");
  tresult r = gSession.processor->setBusArrangements(&arrangement, 1, &outArrangement, 1);
  if (r != kResultOk)
    return r;
  for (int32 direction = 0; direction < 2; ++direction)
  {
    note("activateBus");
    if ((r = gSession.component->activateBus(0, direction, 0, 1)) != kResultOk)
      return r;
  }
  ProcessSetup setup = {0, sampleSize, maxBlock, sampleRate};
  note("setupProcessing");
  if ((r = gSession.processor->setupProcessing(setup)) != kResultOk)
    return r;
  note("setActive");
  if ((r = gSession.component->setActive(1)) != kResultOk)
    return r;
  gSession.active = true;
  gSession.sampleSize = sampleSize;
  gSession.channels = channels;
  gSession.transport = ProcessContext{};
  gSession.transport.state = 0x2 | 0x400 | 0x2000;  // playing; tempo and time signature valid
  gSession.transport.sampleRate = sampleRate;
  gSession.transport.tempo = tempo;
  gSession.transport.timeSigNumerator = 4;
  gSession.transport.timeSigDenominator = 4;
  note("setProcessing");
  gSession.processor->setProcessing(1);  // hosts ignore its answer
  return kResultOk;
}

int tq_msvst3_process(void* const* inputs, void* const* outputs, int channels, int frames)
{
  if (!gSession.active || !inputs || !outputs || channels != gSession.channels || frames < 0)
    return kMsVst3NotReady;
  AudioBusBuffers in = {};
  AudioBusBuffers out = {};
  in.numChannels = out.numChannels = channels;
  if (gSession.sampleSize == 1)
  {
    in.channelBuffers64 = reinterpret_cast<double**>(const_cast<void**>(inputs));
    out.channelBuffers64 = reinterpret_cast<double**>(const_cast<void**>(outputs));
  }
  else
  {
    in.channelBuffers32 = reinterpret_cast<float**>(const_cast<void**>(inputs));
    out.channelBuffers32 = reinterpret_cast<float**>(const_cast<void**>(outputs));
  }
  ProcessData data = {};
  data.symbolicSampleSize = gSession.sampleSize;
  data.numSamples = frames;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &in;
  data.outputs = &out;
  data.inputParameterChanges = &gChanges;
  data.processContext = &gSession.transport;
  note("process");
  const tresult r = gSession.processor->process(data);
  gChanges.count = 0;
  gSession.transport.projectTimeSamples += frames;
  gSession.transport.continousTimeSamples += frames;
  return r;
}

int tq_msvst3_save_state(MsVst3StateResults* results, unsigned char* controller, int capacity, int* size)
{
  if (!gSession.controller || !results || !controller || !size)
    return kMsVst3NotReady;
  gComponentStream.reset();
  gControllerStream.reset();
  note("getState(component)");
  results->componentGetState = gSession.component->getState(&gComponentStream);
  note("getState(controller)");
  results->controllerGetState = gSession.controller->getState(&gControllerStream);
  *size = gControllerStream.size <= capacity ? gControllerStream.size : 0;
  for (int i = 0; i < *size; ++i)
    controller[i] = gControllerStream.bytes[i];
  if (!acceptable(results->componentGetState))
    return results->componentGetState;
  return acceptable(results->controllerGetState) ? kResultOk : results->controllerGetState;
}

int tq_msvst3_load_state(MsVst3StateResults* results, const unsigned char* controller, int size)
{
  if (!gSession.controller || !results || !controller || size < 0 || size > kMsVst3StateCapacity)
    return kMsVst3NotReady;
  gComponentStream.position = 0;
  note("setState(component)");
  results->componentSetState = gSession.component->setState(&gComponentStream);
  gComponentStream.position = 0;
  note("setComponentState");
  results->controllerSetComponentState = gSession.controller->setComponentState(&gComponentStream);
  gControllerStream.reset();
  for (int i = 0; i < size; ++i)
    gControllerStream.bytes[i] = controller[i];
  gControllerStream.size = size;
  note("setState(controller)");
  results->controllerSetState = gSession.controller->setState(&gControllerStream);
  const tresult answers[] = {results->componentSetState, results->controllerSetComponentState,
                             results->controllerSetState};
  for (tresult r : answers)
    if (!acceptable(r))
      return r;
  return kResultOk;
}

int tq_msvst3_stop(void)
{
  if (!gSession.active)
    return kMsVst3NotReady;
  note("setProcessing");
  gSession.processor->setProcessing(0);
  gSession.active = false;
  note("setActive");
  return gSession.component->setActive(0);
}

int tq_msvst3_close(MsVst3Counts* out)
{
  if (!gSession.factory || !out)
    return kMsVst3NotReady;
  if (gSession.active)
    tq_msvst3_stop();
  tresult r = kResultOk;
  if (gSession.component)
  {
    if (gSession.initialized)
    {
      note("terminate");
      r = gSession.component->terminate();
    }
    note("release");
    if (gSession.processor)
      gSession.processor->release();
    if (gSession.controller)
      gSession.controller->release();
    out->componentLeft = gSession.component->release();
  }
  note("release(factory)");
  out->factoryLeft = gSession.factory->release();
  out->applicationReferences = gApplication.references;
  out->handlerReferences = gHandler.references;
  out->streamReferences = leftOver(gComponentStream.references, gControllerStream.references);
  out->changesReferences = gChanges.references;
  out->queueReferences = 1;
  for (const ParamValueQueue& q : gChanges.queues)
    out->queueReferences = leftOver(out->queueReferences, q.references);
  out->handlerPerformEdits = gHandler.performEdits;
  out->applicationNameCalls = gApplication.nameCalls;
  gSession = Session{};
  return r;
}

const char* tq_msvst3_last_call(void)
{
  return gSession.lastCall;
}

}  // extern "C"
