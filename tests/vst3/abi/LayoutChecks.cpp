// Compile-time checks of our declarations against numbers typed in from the binary facts,
// for whichever of the three targets is being built: record sizes, offsets and alignment,
// constants, and every interface method's exact type including its calling convention
// (stdcall on 32-bit Windows, where a method without it would be called wrongly by every
// host). Nothing runs here; in the 32-bit Windows build this is the whole check.
#include "sdk/vst3/Interfaces.h"

#include <cstddef>
#include <type_traits>

namespace {

using namespace vst3;

constexpr bool k64 = sizeof(void*) == 8;

// ---- Basic types -------------------------------------------------------------------------------------
static_assert(sizeof(TBool) == 1 && sizeof(char16) == 2 && sizeof(TChar) == 2, "small types");
static_assert(sizeof(String128) == 256 && sizeof(TUID) == 16, "strings and ids");
static_assert(sizeof(tresult) == 4 && sizeof(ParamID) == 4 && sizeof(ParamValue) == 8, "scalars");
static_assert(sizeof(SpeakerArrangement) == 8 && sizeof(TSize) == 8 && sizeof(UCoord) == 4, "scalars");
static_assert(std::is_unsigned<ParamID>::value && std::is_unsigned<SpeakerArrangement>::value, "unsigned");
static_assert(std::is_same<TBool, unsigned char>::value, "TBool is a byte, not bool");

// ---- Factory records (natural alignment, same everywhere) ------------------------------------------
static_assert(sizeof(PFactoryInfo) == 452 && alignof(PFactoryInfo) == 4, "PFactoryInfo");
static_assert(offsetof(PFactoryInfo, vendor) == 0 && offsetof(PFactoryInfo, url) == 64 &&
                offsetof(PFactoryInfo, email) == 320 && offsetof(PFactoryInfo, flags) == 448,
              "PFactoryInfo");
static_assert(sizeof(PClassInfo) == 116 && alignof(PClassInfo) == 4, "PClassInfo");
static_assert(offsetof(PClassInfo, cid) == 0 && offsetof(PClassInfo, cardinality) == 16 &&
                offsetof(PClassInfo, category) == 20 && offsetof(PClassInfo, name) == 52,
              "PClassInfo");
static_assert(sizeof(PClassInfo2) == 440 && alignof(PClassInfo2) == 4, "PClassInfo2");
static_assert(offsetof(PClassInfo2, cardinality) == 16 && offsetof(PClassInfo2, category) == 20 &&
                offsetof(PClassInfo2, name) == 52 && offsetof(PClassInfo2, classFlags) == 116 &&
                offsetof(PClassInfo2, subCategories) == 120 && offsetof(PClassInfo2, vendor) == 248 &&
                offsetof(PClassInfo2, version) == 312 && offsetof(PClassInfo2, sdkVersion) == 376,
              "PClassInfo2");
static_assert(sizeof(PClassInfoW) == 696 && alignof(PClassInfoW) == 4, "PClassInfoW");
static_assert(offsetof(PClassInfoW, name) == 52 && offsetof(PClassInfoW, classFlags) == 180 &&
                offsetof(PClassInfoW, subCategories) == 184 && offsetof(PClassInfoW, vendor) == 312 &&
                offsetof(PClassInfoW, version) == 440 && offsetof(PClassInfoW, sdkVersion) == 568,
              "PClassInfoW");

// ---- Processing records --------------------------------------------------------------------------------
static_assert(sizeof(ProcessSetup) == 24 && alignof(ProcessSetup) == 8, "ProcessSetup");
static_assert(offsetof(ProcessSetup, processMode) == 0 && offsetof(ProcessSetup, symbolicSampleSize) == 4 &&
                offsetof(ProcessSetup, maxSamplesPerBlock) == 8 && offsetof(ProcessSetup, sampleRate) == 16,
              "ProcessSetup");
static_assert(sizeof(AudioBusBuffers) == 24 && alignof(AudioBusBuffers) == 8, "AudioBusBuffers");
static_assert(offsetof(AudioBusBuffers, numChannels) == 0 && offsetof(AudioBusBuffers, silenceFlags) == 8 &&
                offsetof(AudioBusBuffers, channelBuffers32) == 16 && offsetof(AudioBusBuffers, channelBuffers64) == 16,
              "AudioBusBuffers");
static_assert(sizeof(ProcessData) == (k64 ? 80 : 48) && alignof(ProcessData) == (k64 ? 8 : 4), "ProcessData");
static_assert(offsetof(ProcessData, numSamples) == 8 && offsetof(ProcessData, numInputs) == 12 &&
                offsetof(ProcessData, numOutputs) == 16 && offsetof(ProcessData, inputs) == (k64 ? 24 : 20) &&
                offsetof(ProcessData, outputs) == (k64 ? 32 : 24) &&
                offsetof(ProcessData, inputParameterChanges) == (k64 ? 40 : 28) &&
                offsetof(ProcessData, outputParameterChanges) == (k64 ? 48 : 32) &&
                offsetof(ProcessData, inputEvents) == (k64 ? 56 : 36) &&
                offsetof(ProcessData, outputEvents) == (k64 ? 64 : 40) &&
                offsetof(ProcessData, processContext) == (k64 ? 72 : 44),
              "ProcessData");
static_assert(sizeof(ProcessContext) == 112 && alignof(ProcessContext) == 8, "ProcessContext");
static_assert(offsetof(ProcessContext, state) == 0 && offsetof(ProcessContext, sampleRate) == 8 &&
                offsetof(ProcessContext, projectTimeSamples) == 16 && offsetof(ProcessContext, systemTime) == 24 &&
                offsetof(ProcessContext, continuousTimeSamples) == 32 &&
                offsetof(ProcessContext, projectTimeMusic) == 40 && offsetof(ProcessContext, barPositionMusic) == 48 &&
                offsetof(ProcessContext, cycleStartMusic) == 56 && offsetof(ProcessContext, cycleEndMusic) == 64 &&
                offsetof(ProcessContext, tempo) == 72 && offsetof(ProcessContext, timeSigNumerator) == 80 &&
                offsetof(ProcessContext, timeSigDenominator) == 84 && offsetof(ProcessContext, chord) == 88 &&
                offsetof(ProcessContext, smpteOffsetSubframes) == 92 && offsetof(ProcessContext, frameRate) == 96 &&
                offsetof(ProcessContext, samplesToNextClock) == 104,
              "ProcessContext");
static_assert(sizeof(Chord) == 4 && alignof(Chord) == 2 && sizeof(FrameRate) == 8 && alignof(FrameRate) == 4,
              "Chord, FrameRate");
static_assert(sizeof(Event) == (k64 ? 48 : 40) && alignof(Event) == 8, "Event");
static_assert(offsetof(Event, sampleOffset) == 4 && offsetof(Event, ppqPosition) == 8 && offsetof(Event, flags) == 16 &&
                offsetof(Event, type) == 18 && offsetof(Event, noteOn) == (k64 ? 24 : 20),
              "Event");
static_assert(sizeof(NoteOnEvent) == 20 && offsetof(NoteOnEvent, pitch) == 2 && offsetof(NoteOnEvent, tuning) == 4 &&
                offsetof(NoteOnEvent, velocity) == 8 && offsetof(NoteOnEvent, length) == 12 &&
                offsetof(NoteOnEvent, noteId) == 16,
              "NoteOnEvent");
static_assert(sizeof(NoteOffEvent) == 16 && offsetof(NoteOffEvent, velocity) == 4 &&
                offsetof(NoteOffEvent, noteId) == 8 && offsetof(NoteOffEvent, tuning) == 12,
              "NoteOffEvent");
static_assert(sizeof(DataEvent) == (k64 ? 16 : 12) && offsetof(DataEvent, type) == 4 && offsetof(DataEvent, bytes) == 8,
              "DataEvent");

// ---- Controller records --------------------------------------------------------------------------------
static_assert(sizeof(BusInfo) == 276 && alignof(BusInfo) == 4, "BusInfo");
static_assert(offsetof(BusInfo, direction) == 4 && offsetof(BusInfo, channelCount) == 8 &&
                offsetof(BusInfo, name) == 12 && offsetof(BusInfo, busType) == 268 && offsetof(BusInfo, flags) == 272,
              "BusInfo");
static_assert(sizeof(RoutingInfo) == 12 && offsetof(RoutingInfo, busIndex) == 4 && offsetof(RoutingInfo, channel) == 8,
              "RoutingInfo");
static_assert(sizeof(ParameterInfo) == 792 && alignof(ParameterInfo) == 8, "ParameterInfo");
static_assert(offsetof(ParameterInfo, title) == 4 && offsetof(ParameterInfo, shortTitle) == 260 &&
                offsetof(ParameterInfo, units) == 516 && offsetof(ParameterInfo, stepCount) == 772 &&
                offsetof(ParameterInfo, defaultNormalizedValue) == 776 && offsetof(ParameterInfo, unitId) == 784 &&
                offsetof(ParameterInfo, flags) == 788,
              "ParameterInfo");
static_assert(sizeof(UnitInfo) == 268 && offsetof(UnitInfo, parentUnitId) == 4 && offsetof(UnitInfo, name) == 8 &&
                offsetof(UnitInfo, programListId) == 264,
              "UnitInfo");
static_assert(sizeof(ProgramListInfo) == 264 && offsetof(ProgramListInfo, name) == 4 &&
                offsetof(ProgramListInfo, programCount) == 260,
              "ProgramListInfo");
static_assert(sizeof(ViewRect) == 16 && offsetof(ViewRect, top) == 4 && offsetof(ViewRect, right) == 8 &&
                offsetof(ViewRect, bottom) == 12,
              "ViewRect");
static_assert(sizeof(IContextMenuItem) == 264 && offsetof(IContextMenuItem, tag) == 256 &&
                offsetof(IContextMenuItem, flags) == 260,
              "IContextMenuItem");

// ---- Constants -------------------------------------------------------------------------------------------
#if defined(_WIN32)
static_assert(kNoInterface == static_cast<tresult>(0x80004002u) &&
                kInvalidArgument == static_cast<tresult>(0x80070057u) &&
                kNotImplemented == static_cast<tresult>(0x80004001u) &&
                kInternalError == static_cast<tresult>(0x80004005u) &&
                kNotInitialized == static_cast<tresult>(0x8000FFFFu) &&
                kOutOfMemory == static_cast<tresult>(0x8007000Eu),
              "COM result codes");
#else
static_assert(kNoInterface == -1 && kInvalidArgument == 2 && kNotImplemented == 3 && kInternalError == 4 &&
                kNotInitialized == 5 && kOutOfMemory == 6,
              "result codes");
#endif
static_assert(kResultOk == 0 && kResultTrue == 0 && kResultFalse == 1, "result codes");
static_assert(kManyInstances == 0x7FFFFFFF && PFactoryInfo::kUnicode == 16 && kSimpleModeSupported == 2 &&
                kDistributable == 1,
              "factory constants");
static_assert(ParameterInfo::kCanAutomate == 1 && ParameterInfo::kIsReadOnly == 2 &&
                ParameterInfo::kIsWrapAround == 4 && ParameterInfo::kIsList == 8 && ParameterInfo::kIsHidden == 0x10 &&
                ParameterInfo::kIsProgramChange == 0x8000 && ParameterInfo::kIsBypass == 0x10000,
              "parameter flags");
static_assert(kLatencyChanged == 8 && kParamValuesChanged == 4 && kIoChanged == 2 && kReloadComponent == 1 &&
                kParamTitlesChanged == 0x10 && kMidiCCAssignmentChanged == 0x20 && kIoTitlesChanged == 0x80 &&
                kParamIDMappingChanged == 0x800,
              "restart flags");
static_assert(arrangement::kMono == 0x80000 && arrangement::kStereo == 3 && arrangement::k30Music == 259 &&
                arrangement::kAmbi1stOrderACN == 0xF00000 && arrangement::k50 == 55 && arrangement::k51 == 63,
              "arrangements");
static_assert(ProcessContext::kPlaying == 2 && ProcessContext::kCycleActive == 4 &&
                ProcessContext::kTempoValid == 0x400 && ProcessContext::kTimeSigValid == 0x2000 &&
                ProcessContext::kProjectTimeMusicValid == 0x200 && ProcessContext::kBarPositionValid == 0x800 &&
                ProcessContext::kCycleValid == 0x1000 && ProcessContext::kContTimeValid == 0x20000 &&
                ProcessContext::kChordValid == 0x40000,
              "context state");
static_assert(BusInfo::kDefaultActive == 1 && kAudio == 0 && kEvent == 1 && kInput == 0 && kOutput == 1 && kMain == 0 &&
                kAux == 1 && kSample32 == 0 && kSample64 == 1 && kOffline == 2 && kPrefetch == 1,
              "bus and processing constants");
static_assert(kAfterTouch == 128 && kPitchBend == 129 && kCountCtrlNumber == 130, "controller numbers");
static_assert(IBStream::kIBSeekSet == 0 && IBStream::kIBSeekCur == 1 && IBStream::kIBSeekEnd == 2, "seek modes");
static_assert(Event::kNoteOnEvent == 0 && Event::kNoteOffEvent == 1 && Event::kDataEvent == 2 &&
                Event::kLegacyMIDICCOutEvent == 65535 && Event::kIsLive == 1,
              "event constants");

// ---- Every method's type, calling convention included ---------------------------------------------------
#if defined(_WIN32)
#define TQ_ABI_CC __stdcall
#else
#define TQ_ABI_CC
#endif
#define TQ_SIG(I, method, R, ...)                                                                                      \
  static_assert(std::is_same<decltype(&I::method), R (TQ_ABI_CC I::*)(__VA_ARGS__)>::value,                            \
                #I "::" #method " has the wrong type or calling convention")

TQ_SIG(FUnknown, queryInterface, tresult, const char*, void**);
TQ_SIG(FUnknown, addRef, uint32);
TQ_SIG(FUnknown, release, uint32);

TQ_SIG(IPluginFactory, getFactoryInfo, tresult, PFactoryInfo*);
TQ_SIG(IPluginFactory, countClasses, int32);
TQ_SIG(IPluginFactory, getClassInfo, tresult, int32, PClassInfo*);
TQ_SIG(IPluginFactory, createInstance, tresult, const char*, const char*, void**);
TQ_SIG(IPluginFactory2, getClassInfo2, tresult, int32, PClassInfo2*);
TQ_SIG(IPluginFactory3, getClassInfoUnicode, tresult, int32, PClassInfoW*);
TQ_SIG(IPluginFactory3, setHostContext, tresult, FUnknown*);

TQ_SIG(IPluginBase, initialize, tresult, FUnknown*);
TQ_SIG(IPluginBase, terminate, tresult);

TQ_SIG(IComponent, getControllerClassId, tresult, char*);
TQ_SIG(IComponent, setIoMode, tresult, int32);
TQ_SIG(IComponent, getBusCount, int32, int32, int32);
TQ_SIG(IComponent, getBusInfo, tresult, int32, int32, int32, BusInfo&);
TQ_SIG(IComponent, getRoutingInfo, tresult, RoutingInfo&, RoutingInfo&);
TQ_SIG(IComponent, activateBus, tresult, int32, int32, int32, TBool);
TQ_SIG(IComponent, setActive, tresult, TBool);
TQ_SIG(IComponent, setState, tresult, IBStream*);
TQ_SIG(IComponent, getState, tresult, IBStream*);

TQ_SIG(IAudioProcessor, setBusArrangements, tresult, SpeakerArrangement*, int32, SpeakerArrangement*, int32);
TQ_SIG(IAudioProcessor, getBusArrangement, tresult, int32, int32, SpeakerArrangement&);
TQ_SIG(IAudioProcessor, canProcessSampleSize, tresult, int32);
TQ_SIG(IAudioProcessor, getLatencySamples, uint32);
TQ_SIG(IAudioProcessor, setupProcessing, tresult, ProcessSetup&);
TQ_SIG(IAudioProcessor, setProcessing, tresult, TBool);
TQ_SIG(IAudioProcessor, process, tresult, ProcessData&);
TQ_SIG(IAudioProcessor, getTailSamples, uint32);
TQ_SIG(IProcessContextRequirements, getProcessContextRequirements, uint32);

TQ_SIG(IEditController, setComponentState, tresult, IBStream*);
TQ_SIG(IEditController, setState, tresult, IBStream*);
TQ_SIG(IEditController, getState, tresult, IBStream*);
TQ_SIG(IEditController, getParameterCount, int32);
TQ_SIG(IEditController, getParameterInfo, tresult, int32, ParameterInfo&);
TQ_SIG(IEditController, getParamStringByValue, tresult, uint32, double, char16_t*);
TQ_SIG(IEditController, getParamValueByString, tresult, uint32, char16_t*, double&);
TQ_SIG(IEditController, normalizedParamToPlain, double, uint32, double);
TQ_SIG(IEditController, plainParamToNormalized, double, uint32, double);
TQ_SIG(IEditController, getParamNormalized, double, uint32);
TQ_SIG(IEditController, setParamNormalized, tresult, uint32, double);
TQ_SIG(IEditController, setComponentHandler, tresult, IComponentHandler*);
TQ_SIG(IEditController, createView, IPlugView*, const char*);
TQ_SIG(IEditController2, setKnobMode, tresult, int32);
TQ_SIG(IEditController2, openHelp, tresult, TBool);
TQ_SIG(IEditController2, openAboutBox, tresult, TBool);

TQ_SIG(IConnectionPoint, connect, tresult, IConnectionPoint*);
TQ_SIG(IConnectionPoint, disconnect, tresult, IConnectionPoint*);
TQ_SIG(IConnectionPoint, notify, tresult, IMessage*);
TQ_SIG(IMessage, getMessageID, const char*);
TQ_SIG(IMessage, setMessageID, void, const char*);
TQ_SIG(IMessage, getAttributes, IAttributeList*);
TQ_SIG(IAttributeList, setInt, tresult, const char*, int64);
TQ_SIG(IAttributeList, getInt, tresult, const char*, int64&);
TQ_SIG(IAttributeList, setFloat, tresult, const char*, double);
TQ_SIG(IAttributeList, getFloat, tresult, const char*, double&);
TQ_SIG(IAttributeList, setString, tresult, const char*, const char16_t*);
TQ_SIG(IAttributeList, getString, tresult, const char*, char16_t*, uint32);
TQ_SIG(IAttributeList, setBinary, tresult, const char*, const void*, uint32);
TQ_SIG(IAttributeList, getBinary, tresult, const char*, const void*&, uint32&);

TQ_SIG(IUnitInfo, getUnitCount, int32);
TQ_SIG(IUnitInfo, getUnitInfo, tresult, int32, UnitInfo&);
TQ_SIG(IUnitInfo, getProgramListCount, int32);
TQ_SIG(IUnitInfo, getProgramListInfo, tresult, int32, ProgramListInfo&);
TQ_SIG(IUnitInfo, getProgramName, tresult, int32, int32, char16_t*);
TQ_SIG(IUnitInfo, getProgramInfo, tresult, int32, int32, const char*, char16_t*);
TQ_SIG(IUnitInfo, hasProgramPitchNames, tresult, int32, int32);
TQ_SIG(IUnitInfo, getProgramPitchName, tresult, int32, int32, int16, char16_t*);
TQ_SIG(IUnitInfo, getSelectedUnit, int32);
TQ_SIG(IUnitInfo, selectUnit, tresult, int32);
TQ_SIG(IUnitInfo, getUnitByBus, tresult, int32, int32, int32, int32, int32&);
TQ_SIG(IUnitInfo, setUnitProgramData, tresult, int32, int32, IBStream*);
TQ_SIG(IMidiMapping, getMidiControllerAssignment, tresult, int32, int16, int16, uint32&);

TQ_SIG(IPlugView, isPlatformTypeSupported, tresult, const char*);
TQ_SIG(IPlugView, attached, tresult, void*, const char*);
TQ_SIG(IPlugView, removed, tresult);
TQ_SIG(IPlugView, onWheel, tresult, float);
TQ_SIG(IPlugView, onKeyDown, tresult, char16_t, int16, int16);
TQ_SIG(IPlugView, onKeyUp, tresult, char16_t, int16, int16);
TQ_SIG(IPlugView, getSize, tresult, ViewRect*);
TQ_SIG(IPlugView, onSize, tresult, ViewRect*);
TQ_SIG(IPlugView, onFocus, tresult, TBool);
TQ_SIG(IPlugView, setFrame, tresult, IPlugFrame*);
TQ_SIG(IPlugView, canResize, tresult);
TQ_SIG(IPlugView, checkSizeConstraint, tresult, ViewRect*);
TQ_SIG(IPlugFrame, resizeView, tresult, IPlugView*, ViewRect*);

TQ_SIG(IHostApplication, getName, tresult, char16_t*);
TQ_SIG(IHostApplication, createInstance, tresult, char*, char*, void**);
TQ_SIG(IBStream, read, tresult, void*, int32, int32*);
TQ_SIG(IBStream, write, tresult, void*, int32, int32*);
TQ_SIG(IBStream, seek, tresult, int64, int32, int64*);
TQ_SIG(IBStream, tell, tresult, int64*);
TQ_SIG(ISizeableStream, getStreamSize, tresult, int64&);
TQ_SIG(ISizeableStream, setStreamSize, tresult, int64);
TQ_SIG(IParameterChanges, getParameterCount, int32);
TQ_SIG(IParameterChanges, getParameterData, IParamValueQueue*, int32);
TQ_SIG(IParameterChanges, addParameterData, IParamValueQueue*, const uint32&, int32&);
TQ_SIG(IParamValueQueue, getParameterId, uint32);
TQ_SIG(IParamValueQueue, getPointCount, int32);
TQ_SIG(IParamValueQueue, getPoint, tresult, int32, int32&, double&);
TQ_SIG(IParamValueQueue, addPoint, tresult, int32, double, int32&);
TQ_SIG(IEventList, getEventCount, int32);
TQ_SIG(IEventList, getEvent, tresult, int32, Event&);
TQ_SIG(IEventList, addEvent, tresult, Event&);

TQ_SIG(IComponentHandler, beginEdit, tresult, uint32);
TQ_SIG(IComponentHandler, performEdit, tresult, uint32, double);
TQ_SIG(IComponentHandler, endEdit, tresult, uint32);
TQ_SIG(IComponentHandler, restartComponent, tresult, int32);
TQ_SIG(IComponentHandler2, setDirty, tresult, TBool);
TQ_SIG(IComponentHandler2, requestOpenEditor, tresult, const char*);
TQ_SIG(IComponentHandler2, startGroupEdit, tresult);
TQ_SIG(IComponentHandler2, finishGroupEdit, tresult);
TQ_SIG(IComponentHandler3, createContextMenu, IContextMenu*, IPlugView*, const uint32*);
TQ_SIG(IContextMenu, getItemCount, int32);
TQ_SIG(IContextMenu, getItem, tresult, int32, IContextMenuItem&, IContextMenuTarget**);
TQ_SIG(IContextMenu, addItem, tresult, const IContextMenuItem&, IContextMenuTarget*);
TQ_SIG(IContextMenu, removeItem, tresult, const IContextMenuItem&, IContextMenuTarget*);
TQ_SIG(IContextMenu, popup, tresult, int32, int32);
TQ_SIG(IContextMenuTarget, executeMenuItem, tresult, int32);

// Interfaces are bare tables: no data members, no destructor slots.
template <class I>
constexpr bool bareInterface()
{
  return std::is_abstract<I>::value && !std::has_virtual_destructor<I>::value && sizeof(I) == sizeof(void*);
}
static_assert(bareInterface<FUnknown>() && bareInterface<IPluginBase>() && bareInterface<IPluginFactory>() &&
                bareInterface<IPluginFactory2>() && bareInterface<IPluginFactory3>() && bareInterface<IComponent>() &&
                bareInterface<IAudioProcessor>() && bareInterface<IEditController>() &&
                bareInterface<IEditController2>() && bareInterface<IUnitInfo>() && bareInterface<IMidiMapping>() &&
                bareInterface<IConnectionPoint>() && bareInterface<IPlugView>() && bareInterface<IPlugFrame>() &&
                bareInterface<IHostApplication>() && bareInterface<IBStream>() && bareInterface<IParameterChanges>() &&
                bareInterface<IParamValueQueue>() && bareInterface<IEventList>() &&
                bareInterface<IComponentHandler>() && bareInterface<IComponentHandler2>() &&
                bareInterface<IComponentHandler3>() && bareInterface<IContextMenu>() &&
                bareInterface<IContextMenuTarget>() && bareInterface<IMessage>() && bareInterface<IAttributeList>() &&
                bareInterface<IProcessContextRequirements>() && bareInterface<ISizeableStream>(),
              "interfaces carry nothing but their table pointer");

}  // namespace
